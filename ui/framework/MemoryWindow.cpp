// ui/framework/MemoryWindow.cpp - controls in memory, behaving as the system's do.
#include "ui/framework/MemoryWindow.h"

#include "ui/framework/TextUtil.h"

#include <algorithm>
#include <atomic>

namespace uifw {
namespace {

// Tree items are unique in the process, as the system's handles are.
TreeItem NewTreeItem() {
    static std::atomic<TreeItem> next{0x1000};
    return next.fetch_add(1);
}

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
        return "static text";
    case ControlKind::GroupBox:
        return "group box";
    case ControlKind::Separator:
        return "separator";
    case ControlKind::Edit:
        return "edit box";
    case ControlKind::CheckBox:
        return "check box";
    case ControlKind::RadioButton:
        return "radio button";
    case ControlKind::PushButton:
        return "push button";
    case ControlKind::DropList:
        return "drop-down list";
    case ControlKind::ComboBox:
        return "combo box";
    case ControlKind::ListView:
        return "list view";
    case ControlKind::TreeView:
        return "tree view";
    case ControlKind::DatePicker:
        return "date picker";
    case ControlKind::Animation:
        return "animation";
    }
    return "control";
}

constexpr std::initializer_list<ControlKind> kCombos = {ControlKind::DropList,
                                                        ControlKind::ComboBox};

} // namespace

CMemoryWindow::CMemoryWindow(const HostKey& key, CWindowBase& model, CMemoryWindow* parent,
                             platform::WindowHandle owner, FaultSink faults)
    : key_(key), model_(model), parent_(parent), owner_(owner), faults_(std::move(faults)),
      caption_(model.Template().Caption()) {
    for (const ControlSpec& spec : model.Template().Controls()) {
        MemoryControl c;
        c.spec = spec;
        c.enabled = !(spec.style & kDisabled);
        c.visible = !(spec.style & kHidden);
        c.readOnly = (spec.style & kReadOnly) != 0;
        if (spec.kind == ControlKind::Edit || spec.kind == ControlKind::Static ||
            spec.kind == ControlKind::GroupBox || spec.kind == ControlKind::PushButton ||
            spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::RadioButton)
            c.text = spec.text;
        if (spec.kind == ControlKind::DatePicker)
            c.date = DateValue::Now();
        controls_.push_back(std::move(c));
    }
}

CMemoryWindow::~CMemoryWindow() = default;

void CMemoryWindow::RemoveChild(CMemoryWindow* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

MemoryControl* CMemoryWindow::Find(ControlId id) {
    if (id == kIdStatic)
        return nullptr;
    for (MemoryControl& c : controls_)
        if (c.spec.id == id)
            return &c;
    return nullptr;
}

const MemoryControl* CMemoryWindow::Find(ControlId id) const {
    return const_cast<CMemoryWindow*>(this)->Find(id);
}

std::string CMemoryWindow::Label(ControlId id) const {
    for (size_t i = 0; i < controls_.size(); ++i) {
        const MemoryControl& c = controls_[i];
        if (c.spec.id != id)
            continue;
        switch (c.spec.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::GroupBox:
        case ControlKind::Static:
            return WithoutMnemonics(c.text);
        default:
            break;
        }
        if (i > 0 && controls_[i - 1].spec.kind == ControlKind::Static)
            return WithoutMnemonics(controls_[i - 1].text);
        return std::string();
    }
    return std::string();
}

std::string CMemoryWindow::Describe(ControlId id) const {
    const std::string label = Label(id);
    std::string text = label.empty() ? std::string("control") : "\"" + label + "\"";
    text += " (id " + std::to_string(id) + ")";
    return text;
}

std::string CMemoryWindow::Displayed(ControlId id) const {
    const MemoryControl* c = Find(id);
    if (!c)
        return std::string();
    switch (c->spec.kind) {
    case ControlKind::Edit:
        if (c->spec.style & kPassword)
            return std::string(c->text.size(), c->passwordChar);
        return c->text;
    case ControlKind::DatePicker:
        return c->date.Format(c->dateFormat);
    default:
        return GetText(id);
    }
}

std::vector<ControlId> CMemoryWindow::RadioGroupOf(ControlId id) const {
    return model_.Template().RadioGroupOf(id);
}

void CMemoryWindow::PlaceInitialFocus() {
    focus_ = InitialFocus(model_.Template(), *this);
}

void CMemoryWindow::ReportFault(const std::string& message) const {
    if (faults_)
        faults_("dialog \"" + caption_ + "\": " + message);
}

void CMemoryWindow::FireCommand(ControlId id) {
    model_.HostCommand(key_, id);
}

void CMemoryWindow::FireSelChange(ControlId id) {
    model_.HostSelChange(key_, id);
}

void CMemoryWindow::FireListItemChanged(ControlId id, int row) {
    model_.HostListItemChanged(key_, id, row);
}

bool CMemoryWindow::FireTreeExpanding(ControlId id, TreeItem item) {
    return model_.HostTreeExpanding(key_, id, item);
}

void CMemoryWindow::FireDateChange(ControlId id) {
    model_.HostDateChange(key_, id);
}

platform::WindowHandle CMemoryWindow::Handle() const {
    return const_cast<CMemoryWindow*>(this);
}

void CMemoryWindow::ShowWindow(bool show) {
    if (visible_ == show)
        return;
    visible_ = show;
    model_.HostShowWindow(key_, show);
}

void CMemoryWindow::Redraw() {
    ++redraws_;
    if (redrawHook_)
        redrawHook_();
}

void CMemoryWindow::EndModal(int result) {
    ended_ = true;
    result_ = result;
}

MemoryControl* CMemoryWindow::Get(ControlId id, std::initializer_list<ControlKind> kinds,
                                  const char* what) {
    MemoryControl* c = Find(id);
    if (!c) {
        ReportFault(std::string(what) + " on control " + std::to_string(id) +
                    ", which the dialog does not have");
        return nullptr;
    }
    if (kinds.size() == 0 || std::find(kinds.begin(), kinds.end(), c->spec.kind) != kinds.end())
        return c;
    ReportFault(std::string(what) + " on " + Describe(id) + ", which is a " +
                KindName(c->spec.kind));
    return nullptr;
}

const MemoryControl* CMemoryWindow::Get(ControlId id, std::initializer_list<ControlKind> kinds,
                                        const char* what) const {
    return const_cast<CMemoryWindow*>(this)->Get(id, kinds, what);
}

bool CMemoryWindow::HasControl(ControlId id) const {
    return Find(id) != nullptr;
}

void CMemoryWindow::SetText(ControlId id, const std::string& text) {
    MemoryControl* c = Get(id, {}, "setting the text");
    if (!c)
        return;
    if (c->spec.kind == ControlKind::DropList) {
        // A drop-down list has no text of its own: the text chooses an item.
        c->selection = ComboFind(id, -1, text);
        return;
    }
    c->text = text;
}

std::string CMemoryWindow::GetText(ControlId id) const {
    const MemoryControl* c = Get(id, {}, "reading the text");
    if (!c)
        return std::string();
    if (c->spec.kind == ControlKind::DropList)
        return c->selection >= 0 ? c->items[static_cast<size_t>(c->selection)].text : std::string();
    if (c->spec.kind == ControlKind::DatePicker)
        return c->date.Format(c->dateFormat);
    return c->text;
}

void CMemoryWindow::Enable(ControlId id, bool enable) {
    if (MemoryControl* c = Get(id, {}, "enabling"))
        c->enabled = enable;
}

bool CMemoryWindow::IsEnabled(ControlId id) const {
    const MemoryControl* c = Get(id, {}, "asking whether enabled");
    return c && c->enabled;
}

void CMemoryWindow::Show(ControlId id, bool show) {
    if (MemoryControl* c = Get(id, {}, "showing"))
        c->visible = show;
}

bool CMemoryWindow::IsVisible(ControlId id) const {
    const MemoryControl* c = Get(id, {}, "asking whether visible");
    return c && c->visible;
}

void CMemoryWindow::SetFocus(ControlId id) {
    MemoryControl* c = Get(id, {}, "setting the focus");
    if (c && c->enabled && c->visible)
        focus_ = id;
}

void CMemoryWindow::SetReadOnly(ControlId id, bool readOnly) {
    if (MemoryControl* c = Get(id, {ControlKind::Edit}, "making read-only"))
        c->readOnly = readOnly;
}

bool CMemoryWindow::IsReadOnly(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::Edit}, "asking whether read-only");
    return c && c->readOnly;
}

void CMemoryWindow::SetPasswordChar(ControlId id, char mask) {
    if (MemoryControl* c = Get(id, {ControlKind::Edit}, "setting the password character"))
        c->passwordChar = mask;
}

void CMemoryWindow::SetCheck(ControlId id, bool checked) {
    if (MemoryControl* c =
            Get(id, {ControlKind::CheckBox, ControlKind::RadioButton}, "setting the check"))
        c->checked = checked;
}

bool CMemoryWindow::GetCheck(ControlId id) const {
    const MemoryControl* c =
        Get(id, {ControlKind::CheckBox, ControlKind::RadioButton}, "reading the check");
    return c && c->checked;
}

int CMemoryWindow::ComboAdd(ControlId id, const std::string& text) {
    MemoryControl* c = Get(id, kCombos, "adding an item");
    if (!c)
        return -1;
    size_t at = c->items.size();
    if (c->spec.style & kSorted) {
        at = 0;
        while (at < c->items.size() && CompareNoCase(c->items[at].text, text) <= 0)
            ++at;
    }
    c->items.insert(c->items.begin() + static_cast<std::ptrdiff_t>(at), MemoryControl::Item{text});
    if (c->selection >= static_cast<int>(at))
        ++c->selection;
    return static_cast<int>(at);
}

int CMemoryWindow::ComboInsert(ControlId id, int index, const std::string& text) {
    MemoryControl* c = Get(id, kCombos, "inserting an item");
    if (!c)
        return -1;
    size_t at = index < 0 || static_cast<size_t>(index) > c->items.size()
                    ? c->items.size()
                    : static_cast<size_t>(index);
    c->items.insert(c->items.begin() + static_cast<std::ptrdiff_t>(at), MemoryControl::Item{text});
    if (c->selection >= static_cast<int>(at))
        ++c->selection;
    return static_cast<int>(at);
}

void CMemoryWindow::ComboDelete(ControlId id, int index) {
    MemoryControl* c = Get(id, kCombos, "deleting an item");
    if (!c || index < 0 || static_cast<size_t>(index) >= c->items.size())
        return;
    c->items.erase(c->items.begin() + index);
    if (c->selection == index)
        c->selection = -1;
    else if (c->selection > index)
        --c->selection;
}

void CMemoryWindow::ComboReset(ControlId id) {
    MemoryControl* c = Get(id, kCombos, "emptying");
    if (!c)
        return;
    c->items.clear();
    c->selection = -1;
    c->text.clear();
}

int CMemoryWindow::ComboCount(ControlId id) const {
    const MemoryControl* c = Get(id, kCombos, "counting items");
    return c ? static_cast<int>(c->items.size()) : 0;
}

std::string CMemoryWindow::ComboItemText(ControlId id, int index) const {
    const MemoryControl* c = Get(id, kCombos, "reading an item");
    if (!c || index < 0 || static_cast<size_t>(index) >= c->items.size())
        return std::string();
    return c->items[static_cast<size_t>(index)].text;
}

void CMemoryWindow::ComboSetData(ControlId id, int index, ItemData data) {
    MemoryControl* c = Get(id, kCombos, "setting item data");
    if (c && index >= 0 && static_cast<size_t>(index) < c->items.size())
        c->items[static_cast<size_t>(index)].data = data;
}

ItemData CMemoryWindow::ComboGetData(ControlId id, int index) const {
    const MemoryControl* c = Get(id, kCombos, "reading item data");
    if (!c || index < 0 || static_cast<size_t>(index) >= c->items.size())
        return 0;
    return c->items[static_cast<size_t>(index)].data;
}

int CMemoryWindow::ComboGetSel(ControlId id) const {
    const MemoryControl* c = Get(id, kCombos, "reading the selection");
    return c ? c->selection : -1;
}

void CMemoryWindow::ComboSetSel(ControlId id, int index) {
    MemoryControl* c = Get(id, kCombos, "selecting an item");
    if (!c)
        return;
    c->selection = index >= 0 && static_cast<size_t>(index) < c->items.size() ? index : -1;
    if (c->spec.kind == ControlKind::ComboBox)
        c->text =
            c->selection >= 0 ? c->items[static_cast<size_t>(c->selection)].text : std::string();
}

// The first item the test accepts, starting after an index and wrapping around to it.
static int FindItem(const MemoryControl* c, int after,
                    const std::function<bool(const std::string&)>& accepts) {
    if (!c || c->items.empty())
        return -1;
    const int n = static_cast<int>(c->items.size());
    const int start = after < 0 || after >= n ? 0 : after + 1;
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        if (accepts(c->items[static_cast<size_t>(i)].text))
            return i;
    }
    return -1;
}

int CMemoryWindow::ComboFind(ControlId id, int after, const std::string& prefix) const {
    return FindItem(Get(id, kCombos, "searching the items"), after,
                    [&](const std::string& text) { return StartsWithNoCase(text, prefix); });
}

int CMemoryWindow::ComboFindExact(ControlId id, int after, const std::string& text) const {
    return FindItem(Get(id, kCombos, "searching the items"), after,
                    [&](const std::string& item) { return EqualsNoCase(item, text); });
}

void CMemoryWindow::ListInsertColumn(ControlId id, int index, const std::string& title, int width) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "inserting a column");
    if (!c)
        return;
    size_t at = index < 0 || static_cast<size_t>(index) > c->columns.size()
                    ? c->columns.size()
                    : static_cast<size_t>(index);
    c->columns.insert(c->columns.begin() + static_cast<std::ptrdiff_t>(at),
                      MemoryControl::Column{title, width});
}

int CMemoryWindow::ListColumnCount(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "counting columns");
    return c ? static_cast<int>(c->columns.size()) : 0;
}

std::string CMemoryWindow::ListColumnTitle(ControlId id, int index) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "reading a column");
    if (!c || index < 0 || static_cast<size_t>(index) >= c->columns.size())
        return std::string();
    return c->columns[static_cast<size_t>(index)].title;
}

int CMemoryWindow::ListInsertRow(ControlId id, int row, const std::string& text) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "inserting a row");
    if (!c)
        return -1;
    size_t at = row < 0 || static_cast<size_t>(row) > c->rows.size() ? c->rows.size()
                                                                     : static_cast<size_t>(row);
    if (c->spec.style & kSortAscending) {
        at = 0;
        while (at < c->rows.size() && CompareNoCase(c->rows[at].cells[0], text) <= 0)
            ++at;
    }
    MemoryControl::Row r;
    r.cells.push_back(text);
    c->rows.insert(c->rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(r));
    return static_cast<int>(at);
}

void CMemoryWindow::ListSetCell(ControlId id, int row, int column, const std::string& text) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "setting a cell");
    if (!c || row < 0 || static_cast<size_t>(row) >= c->rows.size() || column < 0)
        return;
    std::vector<std::string>& cells = c->rows[static_cast<size_t>(row)].cells;
    if (static_cast<size_t>(column) >= cells.size())
        cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = text;
}

std::string CMemoryWindow::ListGetCell(ControlId id, int row, int column) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "reading a cell");
    if (!c || row < 0 || static_cast<size_t>(row) >= c->rows.size() || column < 0)
        return std::string();
    const std::vector<std::string>& cells = c->rows[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(column) < cells.size() ? cells[static_cast<size_t>(column)]
                                                      : std::string();
}

void CMemoryWindow::ListSetData(ControlId id, int row, ItemData data) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "setting row data");
    if (c && row >= 0 && static_cast<size_t>(row) < c->rows.size())
        c->rows[static_cast<size_t>(row)].data = data;
}

ItemData CMemoryWindow::ListGetData(ControlId id, int row) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "reading row data");
    if (!c || row < 0 || static_cast<size_t>(row) >= c->rows.size())
        return 0;
    return c->rows[static_cast<size_t>(row)].data;
}

void CMemoryWindow::ListDeleteRow(ControlId id, int row) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "deleting a row");
    if (c && row >= 0 && static_cast<size_t>(row) < c->rows.size())
        c->rows.erase(c->rows.begin() + row);
}

void CMemoryWindow::ListDeleteAll(ControlId id) {
    if (MemoryControl* c = Get(id, {ControlKind::ListView}, "deleting the rows"))
        c->rows.clear();
}

int CMemoryWindow::ListRowCount(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "counting rows");
    return c ? static_cast<int>(c->rows.size()) : 0;
}

void CMemoryWindow::ListSetSelected(ControlId id, int row, bool selected) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "selecting a row");
    if (!c || row < 0 || static_cast<size_t>(row) >= c->rows.size())
        return;
    if (selected && !(c->spec.style & kMultiSelect)) {
        for (size_t i = 0; i < c->rows.size(); ++i) {
            if (static_cast<int>(i) == row || !c->rows[i].selected)
                continue;
            c->rows[i].selected = false;
            FireListItemChanged(id, static_cast<int>(i));
            if (static_cast<size_t>(row) >= c->rows.size())
                return; // the dialog deleted rows meanwhile
        }
    }
    if (c->rows[static_cast<size_t>(row)].selected == selected)
        return;
    c->rows[static_cast<size_t>(row)].selected = selected;
    FireListItemChanged(id, row);
}

bool CMemoryWindow::ListIsSelected(ControlId id, int row) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "reading a row's selection");
    return c && row >= 0 && static_cast<size_t>(row) < c->rows.size() &&
           c->rows[static_cast<size_t>(row)].selected;
}

int CMemoryWindow::ListSelectedCount(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "counting selected rows");
    if (!c)
        return 0;
    return static_cast<int>(std::count_if(c->rows.begin(), c->rows.end(),
                                          [](const MemoryControl::Row& r) { return r.selected; }));
}

int CMemoryWindow::ListNextSelected(ControlId id, int after) const {
    const MemoryControl* c = Get(id, {ControlKind::ListView}, "finding selected rows");
    if (!c)
        return -1;
    for (size_t i = after < 0 ? 0 : static_cast<size_t>(after) + 1; i < c->rows.size(); ++i)
        if (c->rows[i].selected)
            return static_cast<int>(i);
    return -1;
}

void CMemoryWindow::ListSort(ControlId id, const std::function<int(ItemData, ItemData)>& compare) {
    MemoryControl* c = Get(id, {ControlKind::ListView}, "sorting");
    if (!c || !compare)
        return;
    std::stable_sort(c->rows.begin(), c->rows.end(),
                     [&](const MemoryControl::Row& a, const MemoryControl::Row& b) {
                         return compare(a.data, b.data) < 0;
                     });
}

MemoryControl::Node* CMemoryWindow::Node(MemoryControl& c, TreeItem item, const char* what) {
    auto it = c.nodes.find(item);
    if (it != c.nodes.end())
        return &it->second;
    ReportFault(std::string(what) + " on an item that " + Describe(c.spec.id) + " does not hold");
    return nullptr;
}

const MemoryControl::Node* CMemoryWindow::Node(const MemoryControl& c, TreeItem item,
                                               const char* what) const {
    return const_cast<CMemoryWindow*>(this)->Node(const_cast<MemoryControl&>(c), item, what);
}

TreeItem CMemoryWindow::TreeInsert(ControlId id, TreeItem parent, const std::string& text,
                                   ItemData data, bool hasChildren, bool first) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "inserting an item");
    if (!c)
        return kTreeNone;
    std::vector<TreeItem>* siblings = &c->topLevel;
    if (parent != kTreeTop) {
        MemoryControl::Node* p = Node(*c, parent, "inserting a child");
        if (!p)
            return kTreeNone;
        siblings = &p->children;
    }
    const TreeItem item = NewTreeItem();
    if (first)
        siblings->insert(siblings->begin(), item);
    else
        siblings->push_back(item);
    MemoryControl::Node node;
    node.text = text;
    node.data = data;
    node.marked = hasChildren;
    node.parent = parent;
    c->nodes.emplace(item, std::move(node));
    return item;
}

void CMemoryWindow::RemoveNode(MemoryControl& c, TreeItem item) {
    auto it = c.nodes.find(item);
    if (it == c.nodes.end())
        return;
    const std::vector<TreeItem> children = it->second.children;
    for (TreeItem child : children)
        RemoveNode(c, child);
    if (c.treeSelection == item)
        c.treeSelection = kTreeNone;
    c.nodes.erase(item);
}

void CMemoryWindow::TreeDelete(ControlId id, TreeItem item) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "deleting an item");
    if (!c)
        return;
    MemoryControl::Node* node = Node(*c, item, "deleting");
    if (!node)
        return;
    std::vector<TreeItem>& siblings =
        node->parent == kTreeTop ? c->topLevel : c->nodes[node->parent].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
    RemoveNode(*c, item);
}

void CMemoryWindow::TreeDeleteAll(ControlId id) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "deleting the items");
    if (!c)
        return;
    c->nodes.clear();
    c->topLevel.clear();
    c->treeSelection = kTreeNone;
}

TreeItem CMemoryWindow::TreeChild(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "finding a child");
    if (!c)
        return kTreeNone;
    if (item == kTreeTop)
        return c->topLevel.empty() ? kTreeNone : c->topLevel.front();
    const MemoryControl::Node* node = Node(*c, item, "finding a child");
    return node && !node->children.empty() ? node->children.front() : kTreeNone;
}

TreeItem CMemoryWindow::TreeNext(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "finding a sibling");
    if (!c)
        return kTreeNone;
    const MemoryControl::Node* node = Node(*c, item, "finding a sibling");
    if (!node)
        return kTreeNone;
    const std::vector<TreeItem>& siblings =
        node->parent == kTreeTop ? c->topLevel : c->nodes.at(node->parent).children;
    auto it = std::find(siblings.begin(), siblings.end(), item);
    return it != siblings.end() && it + 1 != siblings.end() ? *(it + 1) : kTreeNone;
}

TreeItem CMemoryWindow::TreeParent(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "finding a parent");
    const MemoryControl::Node* node = c ? Node(*c, item, "finding a parent") : nullptr;
    return node ? node->parent : kTreeNone;
}

std::string CMemoryWindow::TreeGetText(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "reading an item");
    const MemoryControl::Node* node = c ? Node(*c, item, "reading") : nullptr;
    return node ? node->text : std::string();
}

void CMemoryWindow::TreeSetText(ControlId id, TreeItem item, const std::string& text) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "setting an item's text");
    if (MemoryControl::Node* node = c ? Node(*c, item, "setting the text") : nullptr)
        node->text = text;
}

ItemData CMemoryWindow::TreeGetData(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "reading item data");
    const MemoryControl::Node* node = c ? Node(*c, item, "reading the data") : nullptr;
    return node ? node->data : 0;
}

void CMemoryWindow::TreeSetData(ControlId id, TreeItem item, ItemData data) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "setting item data");
    if (MemoryControl::Node* node = c ? Node(*c, item, "setting the data") : nullptr)
        node->data = data;
}

void CMemoryWindow::TreeSetImages(ControlId id, const std::vector<int>& iconResources) {
    if (MemoryControl* c = Get(id, {ControlKind::TreeView}, "setting the images"))
        c->images = iconResources;
}

void CMemoryWindow::TreeSetItemImage(ControlId id, TreeItem item, int image) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "setting an item's image");
    MemoryControl::Node* node = c ? Node(*c, item, "setting the image") : nullptr;
    if (!node)
        return;
    if (image < -1 || image >= static_cast<int>(c->images.size())) {
        ReportFault("image " + std::to_string(image) + " of tree " + std::to_string(id) +
                    " is not in its image list");
        return;
    }
    node->image = image;
}

std::vector<int> CMemoryWindow::TreeImages(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "reading the images");
    return c ? c->images : std::vector<int>();
}

int CMemoryWindow::TreeGetItemImage(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "reading an item's image");
    const MemoryControl::Node* node = c ? Node(*c, item, "reading the image") : nullptr;
    return node ? node->image : -1;
}

void CMemoryWindow::TreeSetHasChildren(ControlId id, TreeItem item, bool hasChildren) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "marking children");
    MemoryControl::Node* node = c ? Node(*c, item, "marking children") : nullptr;
    if (!node)
        return;
    node->marked = hasChildren;
    if (!hasChildren && node->children.empty())
        node->expanded = false;
}

bool CMemoryWindow::TreeHasChildren(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "asking for children");
    const MemoryControl::Node* node = c ? Node(*c, item, "asking for children") : nullptr;
    return node && (node->marked || !node->children.empty());
}

void CMemoryWindow::TreeExpand(ControlId id, TreeItem item, bool expand) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "expanding");
    MemoryControl::Node* node = c ? Node(*c, item, "expanding") : nullptr;
    if (!node)
        return;
    node->expanded = expand && (node->marked || !node->children.empty());
}

bool CMemoryWindow::TreeIsExpanded(ControlId id, TreeItem item) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "asking whether expanded");
    const MemoryControl::Node* node = c ? Node(*c, item, "asking whether expanded") : nullptr;
    return node && node->expanded;
}

void CMemoryWindow::TreeSelect(ControlId id, TreeItem item) {
    MemoryControl* c = Get(id, {ControlKind::TreeView}, "selecting an item");
    if (!c)
        return;
    if (item != kTreeNone && !Node(*c, item, "selecting"))
        return;
    if (c->treeSelection == item)
        return;
    c->treeSelection = item;
    FireSelChange(id);
}

TreeItem CMemoryWindow::TreeSelection(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::TreeView}, "reading the selection");
    return c ? c->treeSelection : kTreeNone;
}

void CMemoryWindow::DateSetFormat(ControlId id, const std::string& format) {
    if (MemoryControl* c = Get(id, {ControlKind::DatePicker}, "setting the format"))
        c->dateFormat = format;
}

void CMemoryWindow::DateSet(ControlId id, const DateValue& value) {
    MemoryControl* c = Get(id, {ControlKind::DatePicker}, "setting the date");
    if (!c)
        return;
    // As the system's picker: it holds a date, or none when it may be empty; anything else
    // leaves it as it was.
    if (value.IsValid() || (value.state == DateValue::State::Empty && (c->spec.style & kShowNone)))
        c->date = value;
}

DateValue CMemoryWindow::DateGet(ControlId id) const {
    const MemoryControl* c = Get(id, {ControlKind::DatePicker}, "reading the date");
    return c ? c->date : DateValue();
}

bool CMemoryWindow::AnimationOpen(ControlId id, int resourceId) {
    MemoryControl* c = Get(id, {ControlKind::Animation}, "opening a clip");
    if (!c)
        return false;
    c->animation = resourceId;
    return true;
}

void CMemoryWindow::AnimationPlay(ControlId id, int, int, int) {
    if (MemoryControl* c = Get(id, {ControlKind::Animation}, "playing"))
        c->playing = c->animation != 0;
}

void CMemoryWindow::AnimationStop(ControlId id) {
    if (MemoryControl* c = Get(id, {ControlKind::Animation}, "stopping"))
        c->playing = false;
}

} // namespace uifw
