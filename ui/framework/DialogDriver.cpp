// ui/framework/DialogDriver.cpp - the user's actions on a window in memory.
#include "ui/framework/DialogDriver.h"

#include "ui/framework/Dialog.h"
#include "ui/framework/TextUtil.h"

namespace uifw {

DialogDriver::DialogDriver(const HostKey& key, std::weak_ptr<CMemoryWindow> window,
                           FaultSink faults)
    : key_(key), window_(std::move(window)), faults_(std::move(faults)) {}

void DialogDriver::MarkAnsweredUnattended() {
    if (CMemoryWindow* w = Window())
        if (auto* dialog = dynamic_cast<CDialog*>(&w->Model()))
            dialog->HostAnsweredUnattended(key_);
}

CMemoryWindow* DialogDriver::Window() const {
    return window_.lock().get();
}

void DialogDriver::ReportFault(const std::string& message) const {
    if (CMemoryWindow* w = Window())
        w->ReportFault(message);
    else if (faults_)
        faults_("a closed window: " + message);
}

CMemoryWindow* DialogDriver::Usable(ControlId id, std::initializer_list<ControlKind> kinds,
                                    const char* action, MemoryControl** control) const {
    CMemoryWindow* w = Window();
    if (!w) {
        ReportFault(std::string("cannot ") + action + ": the window is closed");
        return nullptr;
    }
    if (w->Ended()) {
        w->ReportFault(std::string("cannot ") + action + ": the dialog has already ended");
        return nullptr;
    }
    for (const CMemoryWindow* p = w; p; p = p->Parent())
        if (!p->IsWindowVisible()) {
            w->ReportFault(std::string("cannot ") + action + ": the window is hidden");
            return nullptr;
        }
    if (id == 0) {
        *control = nullptr;
        return w;
    }
    MemoryControl* c = w->Find(id);
    if (!c) {
        w->ReportFault(std::string("cannot ") + action + ": there is no control " +
                       std::to_string(id));
        return nullptr;
    }
    bool kindOk = kinds.size() == 0;
    for (ControlKind k : kinds)
        kindOk = kindOk || c->spec.kind == k;
    if (!kindOk) {
        w->ReportFault(std::string("cannot ") + action + ": " + w->Describe(id) +
                       " is not that kind of control");
        return nullptr;
    }
    if (!c->visible) {
        w->ReportFault(std::string("cannot ") + action + ": " + w->Describe(id) + " is hidden");
        return nullptr;
    }
    if (!c->enabled) {
        w->ReportFault(std::string("cannot ") + action + ": " + w->Describe(id) + " is disabled");
        return nullptr;
    }
    *control = c;
    return w;
}

const MemoryControl* DialogDriver::Readable(ControlId id) const {
    CMemoryWindow* w = Window();
    if (!w)
        return nullptr;
    const MemoryControl* c = w->Find(id);
    if (!c)
        w->ReportFault("there is no control " + std::to_string(id) + " to read");
    return c;
}

bool DialogDriver::Type(ControlId id, const std::string& text) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::Edit, ControlKind::ComboBox}, "type", &c);
    if (!w)
        return false;
    if (c->readOnly) {
        w->ReportFault("cannot type into " + w->Describe(id) + ": it is read-only");
        return false;
    }
    w->SetFocus(id);
    c->text = text;
    if (c->spec.kind == ControlKind::ComboBox)
        c->selection = -1;
    return true;
}

bool DialogDriver::Click(ControlId id) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w =
        Usable(id, {ControlKind::PushButton, ControlKind::CheckBox, ControlKind::RadioButton},
               "click", &c);
    if (!w)
        return false;
    w->SetFocus(id);
    if (c->spec.kind == ControlKind::CheckBox) {
        c->checked = !c->checked;
    } else if (c->spec.kind == ControlKind::RadioButton) {
        for (ControlId member : w->RadioGroupOf(id))
            if (MemoryControl* m = w->Find(member))
                m->checked = member == id;
    }
    w->FireCommand(id);
    return true;
}

bool DialogDriver::Tick(ControlId id, bool ticked) {
    MemoryControl* c = nullptr;
    if (!Usable(id, {ControlKind::CheckBox}, "tick", &c))
        return false;
    return c->checked == ticked || Click(id);
}

bool DialogDriver::PressEnter() {
    MemoryControl* none = nullptr;
    CMemoryWindow* w = Usable(0, {}, "press Enter", &none);
    if (!w)
        return false;
    ControlId target = kIdOk;
    for (const MemoryControl& c : w->Controls())
        if (c.spec.kind == ControlKind::PushButton && (c.spec.style & kDefault)) {
            target = c.spec.id;
            break;
        }
    if (const MemoryControl* c = w->Find(target))
        if (!c->enabled || !c->visible)
            return false; // Enter does nothing when the default button is unavailable
    w->FireCommand(target);
    return true;
}

bool DialogDriver::PressEscape() {
    MemoryControl* none = nullptr;
    CMemoryWindow* w = Usable(0, {}, "press Escape", &none);
    if (!w)
        return false;
    if (const MemoryControl* c = w->Find(kIdCancel))
        if (!c->enabled)
            return false;
    w->FireCommand(kIdCancel);
    return true;
}

bool DialogDriver::Choose(ControlId id, const std::string& text) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w =
        Usable(id, {ControlKind::DropList, ControlKind::ComboBox}, "choose an item", &c);
    if (!w)
        return false;
    int index = w->ComboFindExact(id, -1, text);
    if (index < 0)
        index = w->ComboFind(id, -1, text);
    if (index < 0) {
        std::string items;
        for (const MemoryControl::Item& item : c->items)
            items += (items.empty() ? "" : ", ") + ("\"" + item.text + "\"");
        w->ReportFault("cannot choose \"" + text + "\" in " + w->Describe(id) + ": its items are " +
                       (items.empty() ? std::string("none") : items));
        return false;
    }
    return ChooseIndex(id, index);
}

bool DialogDriver::ChooseIndex(ControlId id, int index) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w =
        Usable(id, {ControlKind::DropList, ControlKind::ComboBox}, "choose an item", &c);
    if (!w)
        return false;
    if (index < 0 || static_cast<size_t>(index) >= c->items.size()) {
        w->ReportFault("cannot choose item " + std::to_string(index) + " of " + w->Describe(id) +
                       ": it has " + std::to_string(c->items.size()));
        return false;
    }
    w->SetFocus(id);
    const bool changed = c->selection != index;
    w->ComboSetSel(id, index);
    if (changed)
        w->FireSelChange(id);
    return true;
}

bool DialogDriver::ClickRow(ControlId id, int row) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::ListView}, "click a row", &c);
    if (!w)
        return false;
    if (row < 0 || static_cast<size_t>(row) >= c->rows.size()) {
        w->ReportFault("cannot click row " + std::to_string(row) + " of " + w->Describe(id) +
                       ": it has " + std::to_string(c->rows.size()));
        return false;
    }
    w->SetFocus(id);
    for (int i = 0; i < w->ListRowCount(id); ++i)
        if (i != row && w->ListIsSelected(id, i))
            w->ListSetSelected(id, i, false);
    if (row < w->ListRowCount(id))
        w->ListSetSelected(id, row, true);
    return true;
}

bool DialogDriver::CtrlClickRow(ControlId id, int row) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::ListView}, "click a row", &c);
    if (!w)
        return false;
    if (!(c->spec.style & kMultiSelect))
        return ClickRow(id, row);
    if (row < 0 || static_cast<size_t>(row) >= c->rows.size()) {
        w->ReportFault("cannot click row " + std::to_string(row) + " of " + w->Describe(id) +
                       ": it has " + std::to_string(c->rows.size()));
        return false;
    }
    w->SetFocus(id);
    w->ListSetSelected(id, row, !c->rows[static_cast<size_t>(row)].selected);
    return true;
}

bool DialogDriver::ClickTreeItem(ControlId id, TreeItem item) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::TreeView}, "click a tree item", &c);
    if (!w)
        return false;
    if (!c->nodes.count(item)) {
        w->ReportFault("cannot click an item that " + w->Describe(id) + " does not hold");
        return false;
    }
    w->SetFocus(id);
    w->TreeSelect(id, item);
    return true;
}

bool DialogDriver::ExpandTreeItem(ControlId id, TreeItem item) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::TreeView}, "expand a tree item", &c);
    if (!w)
        return false;
    if (!c->nodes.count(item)) {
        w->ReportFault("cannot expand an item that " + w->Describe(id) + " does not hold");
        return false;
    }
    if (!w->TreeHasChildren(id, item)) {
        w->ReportFault("cannot expand \"" + c->nodes[item].text + "\" in " + w->Describe(id) +
                       ": it has no expand button");
        return false;
    }
    if (c->nodes[item].expanded)
        return true;
    if (!w->FireTreeExpanding(id, item))
        return false;
    // The dialog may have changed the tree meanwhile.
    MemoryControl* after = w->Find(id);
    if (!after || !after->nodes.count(item))
        return false;
    w->TreeExpand(id, item, true);
    return after->nodes[item].expanded;
}

bool DialogDriver::CollapseTreeItem(ControlId id, TreeItem item) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::TreeView}, "collapse a tree item", &c);
    if (!w || !c->nodes.count(item))
        return false;
    c->nodes[item].expanded = false;
    return true;
}

bool DialogDriver::PickDate(ControlId id, const DateValue& value) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {ControlKind::DatePicker}, "pick a date", &c);
    if (!w)
        return false;
    if (value.state == DateValue::State::Invalid ||
        (value.state == DateValue::State::Empty && !(c->spec.style & kShowNone))) {
        w->ReportFault("cannot pick that date in " + w->Describe(id) +
                       (value.IsValid() || value.state == DateValue::State::Invalid
                            ? ": it is not a date"
                            : ": the picker cannot be empty"));
        return false;
    }
    w->SetFocus(id);
    const bool changed = c->date != value;
    c->date = value;
    if (changed)
        w->FireDateChange(id);
    return true;
}

bool DialogDriver::Focus(ControlId id) {
    MemoryControl* c = nullptr;
    CMemoryWindow* w = Usable(id, {}, "move the focus", &c);
    if (!w)
        return false;
    if (!CanTakeFocus(c->spec.kind)) {
        w->ReportFault("cannot move the focus to " + w->Describe(id) + ": it takes none");
        return false;
    }
    w->SetFocus(id);
    return true;
}

bool DialogDriver::SelectPage(int index) {
    MemoryControl* none = nullptr;
    CMemoryWindow* w = Usable(0, {}, "choose a tab", &none);
    if (!w)
        return false;
    auto* sheet = dynamic_cast<CPropertySheet*>(&w->Model());
    if (!sheet || index < 0 || index >= sheet->PageCount()) {
        w->ReportFault("cannot choose tab " + std::to_string(index) +
                       (sheet ? ": the sheet has " + std::to_string(sheet->PageCount())
                              : std::string(": the window is not a property sheet")));
        return false;
    }
    sheet->HostSelectPage(key_, index);
    return sheet->ActiveIndex() == index;
}

bool DialogDriver::IsOpen() const {
    return Window() != nullptr;
}

bool DialogDriver::Ended() const {
    CMemoryWindow* w = Window();
    return !w || w->Ended();
}

int DialogDriver::Result() const {
    CMemoryWindow* w = Window();
    return w ? w->Result() : -1;
}

std::string DialogDriver::Caption() const {
    CMemoryWindow* w = Window();
    return w ? w->GetCaption() : std::string();
}

bool DialogDriver::IsWindowVisible() const {
    CMemoryWindow* w = Window();
    return w && w->IsWindowVisible();
}

bool DialogDriver::WasBroughtToTop() const {
    CMemoryWindow* w = Window();
    return w && w->WasBroughtToTop();
}

Placement DialogDriver::GetPlacement() const {
    CMemoryWindow* w = Window();
    return w ? w->GetPlacement() : Placement::AsCreated;
}

platform::WindowHandle DialogDriver::Handle() const {
    CMemoryWindow* w = Window();
    return w ? w->Handle() : nullptr;
}

platform::WindowHandle DialogDriver::Owner() const {
    CMemoryWindow* w = Window();
    return w ? w->Owner() : nullptr;
}

ControlId DialogDriver::FocusedControl() const {
    CMemoryWindow* w = Window();
    return w ? w->GetFocus() : 0;
}

std::string DialogDriver::Text(ControlId id) const {
    return Readable(id) ? Window()->GetText(id) : std::string();
}

std::string DialogDriver::Displayed(ControlId id) const {
    return Readable(id) ? Window()->Displayed(id) : std::string();
}

std::string DialogDriver::Label(ControlId id) const {
    return Readable(id) ? Window()->Label(id) : std::string();
}

bool DialogDriver::IsEnabled(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c && c->enabled;
}

bool DialogDriver::IsVisible(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c && c->visible;
}

bool DialogDriver::IsReadOnly(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c && c->readOnly;
}

bool DialogDriver::IsChecked(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c && c->checked;
}

std::vector<std::string> DialogDriver::Items(ControlId id) const {
    std::vector<std::string> items;
    if (const MemoryControl* c = Readable(id))
        for (const MemoryControl::Item& item : c->items)
            items.push_back(item.text);
    return items;
}

int DialogDriver::Selection(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c ? c->selection : -1;
}

std::string DialogDriver::SelectedText(ControlId id) const {
    const MemoryControl* c = Readable(id);
    if (!c || c->selection < 0)
        return std::string();
    return c->items[static_cast<size_t>(c->selection)].text;
}

std::vector<std::string> DialogDriver::Columns(ControlId id) const {
    std::vector<std::string> titles;
    if (const MemoryControl* c = Readable(id))
        for (const MemoryControl::Column& column : c->columns)
            titles.push_back(column.title);
    return titles;
}

std::vector<std::vector<std::string>> DialogDriver::Rows(ControlId id) const {
    std::vector<std::vector<std::string>> rows;
    if (const MemoryControl* c = Readable(id))
        for (const MemoryControl::Row& row : c->rows)
            rows.push_back(row.cells);
    return rows;
}

std::vector<std::string> DialogDriver::RowTexts(ControlId id) const {
    std::vector<std::string> texts;
    if (const MemoryControl* c = Readable(id))
        for (const MemoryControl::Row& row : c->rows)
            texts.push_back(row.cells.empty() ? std::string() : row.cells[0]);
    return texts;
}

std::vector<int> DialogDriver::SelectedRows(ControlId id) const {
    std::vector<int> rows;
    if (const MemoryControl* c = Readable(id))
        for (size_t i = 0; i < c->rows.size(); ++i)
            if (c->rows[i].selected)
                rows.push_back(static_cast<int>(i));
    return rows;
}

std::vector<TreeItem> DialogDriver::TreeChildren(ControlId id, TreeItem parent) const {
    const MemoryControl* c = Readable(id);
    if (!c)
        return {};
    if (parent == kTreeTop)
        return c->topLevel;
    auto it = c->nodes.find(parent);
    return it == c->nodes.end() ? std::vector<TreeItem>() : it->second.children;
}

std::vector<std::string> DialogDriver::TreeChildTexts(ControlId id, TreeItem parent) const {
    std::vector<std::string> texts;
    for (TreeItem item : TreeChildren(id, parent))
        texts.push_back(TreeText(id, item));
    return texts;
}

TreeItem DialogDriver::TreeItemAt(ControlId id, const std::vector<std::string>& path) const {
    TreeItem at = kTreeTop;
    for (const std::string& part : path) {
        TreeItem found = kTreeNone;
        for (TreeItem child : TreeChildren(id, at))
            if (TreeText(id, child) == part) {
                found = child;
                break;
            }
        if (found == kTreeNone) {
            ReportFault("the tree " + (Window() ? Window()->Describe(id) : std::string()) +
                        " has no item \"" + part + "\" there");
            return kTreeNone;
        }
        at = found;
    }
    return at;
}

std::string DialogDriver::TreeText(ControlId id, TreeItem item) const {
    const MemoryControl* c = Readable(id);
    if (!c)
        return std::string();
    auto it = c->nodes.find(item);
    return it == c->nodes.end() ? std::string() : it->second.text;
}

bool DialogDriver::TreeHasButton(ControlId id, TreeItem item) const {
    const MemoryControl* c = Readable(id);
    if (!c)
        return false;
    auto it = c->nodes.find(item);
    return it != c->nodes.end() && (it->second.marked || !it->second.children.empty());
}

bool DialogDriver::TreeIsExpanded(ControlId id, TreeItem item) const {
    const MemoryControl* c = Readable(id);
    if (!c)
        return false;
    auto it = c->nodes.find(item);
    return it != c->nodes.end() && it->second.expanded;
}

TreeItem DialogDriver::TreeSelection(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c ? c->treeSelection : kTreeNone;
}

DateValue DialogDriver::Date(ControlId id) const {
    const MemoryControl* c = Readable(id);
    return c ? c->date : DateValue();
}

int DialogDriver::ActivePage() const {
    CMemoryWindow* w = Window();
    auto* sheet = w ? dynamic_cast<CPropertySheet*>(&w->Model()) : nullptr;
    return sheet ? sheet->ActiveIndex() : -1;
}

DialogDriver DialogDriver::Page(int index) const {
    CMemoryWindow* w = Window();
    auto* sheet = w ? dynamic_cast<CPropertySheet*>(&w->Model()) : nullptr;
    if (!sheet || index < 0 || index >= sheet->PageCount()) {
        ReportFault("there is no page " + std::to_string(index));
        return DialogDriver(key_, std::weak_ptr<CMemoryWindow>(), faults_);
    }
    return Child(sheet->Page(index));
}

DialogDriver DialogDriver::Child(const CWindowBase& child) const {
    if (CMemoryWindow* w = Window())
        for (CMemoryWindow* c : w->Children())
            if (&c->Model() == &child)
                return DialogDriver(key_, c->weak_from_this(), faults_);
    ReportFault("the window has no such child window (not created yet?)");
    return DialogDriver(key_, std::weak_ptr<CMemoryWindow>(), faults_);
}

} // namespace uifw
