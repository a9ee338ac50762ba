// ui/framework/WindowsHost.cpp - real windows from the dialog templates.
#include "ui/framework/WindowsHost.h"

#include "platform/MessageBox.h"
#include "platform/NativeDialog.h"
#include "ui/framework/Dialog.h"
#include "ui/framework/OwnerThread.h"

#include <algorithm>

namespace uifw {

namespace {

using platform::NativeControlKind;
using platform::NativeLayout;

NativeControlKind NativeKind(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
        return NativeControlKind::Static;
    case ControlKind::GroupBox:
        return NativeControlKind::GroupBox;
    case ControlKind::Separator:
        return NativeControlKind::Separator;
    case ControlKind::Edit:
        return NativeControlKind::Edit;
    case ControlKind::CheckBox:
        return NativeControlKind::CheckBox;
    case ControlKind::RadioButton:
        return NativeControlKind::RadioButton;
    case ControlKind::PushButton:
        return NativeControlKind::PushButton;
    case ControlKind::DropList:
        return NativeControlKind::DropList;
    case ControlKind::ComboBox:
        return NativeControlKind::ComboBox;
    case ControlKind::ListView:
        return NativeControlKind::ListView;
    case ControlKind::TreeView:
        return NativeControlKind::TreeView;
    case ControlKind::DatePicker:
        return NativeControlKind::DatePicker;
    case ControlKind::Animation:
        return NativeControlKind::Animation;
    }
    return NativeControlKind::Static;
}

platform::NativeRect NativeRectOf(const Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

NativeLayout LayoutOf(const DialogTemplate& t, NativeLayout::Kind kind) {
    NativeLayout layout;
    layout.kind = kind;
    layout.caption = t.Caption();
    layout.width = t.Size().width;
    layout.height = t.Size().height;
    for (const ControlSpec& c : t.Controls())
        layout.controls.push_back(
            {c.id, NativeKind(c.kind), c.text, c.style, NativeRectOf(c.rect)});
    return layout;
}

// A sheet: the tabs over the largest page, OK and Cancel (the sheet's own template) below
// at the right, in the margins a dialog keeps.
NativeLayout SheetLayout(const CPropertySheet& sheet) {
    constexpr int kMargin = 7, kTabHeader = 14, kButtonWidth = 50, kButtonHeight = 14, kGap = 4;
    int pageWidth = 0, pageHeight = 0;
    for (int i = 0; i < sheet.PageCount(); ++i) {
        pageWidth = std::max(pageWidth, sheet.Page(i).Template().Size().width);
        pageHeight = std::max(pageHeight, sheet.Page(i).Template().Size().height);
    }
    NativeLayout layout = LayoutOf(sheet.Template(), NativeLayout::Kind::Modal);
    const int tabWidth = pageWidth + 2 * kGap, tabHeight = pageHeight + kTabHeader + kGap;
    layout.width = tabWidth + 2 * kMargin;
    const int buttonY = kMargin + tabHeight + kMargin;
    layout.height = buttonY + kButtonHeight + kMargin;
    int x = layout.width - kMargin - kButtonWidth;
    for (auto it = layout.controls.rbegin(); it != layout.controls.rend(); ++it) {
        it->rect = {x, buttonY, kButtonWidth, kButtonHeight};
        x -= kButtonWidth + kGap;
    }
    layout.controls.insert(layout.controls.begin(), {CWindowsHost::kSheetTabId,
                                                     NativeControlKind::Tab,
                                                     "",
                                                     0,
                                                     {kMargin, kMargin, tabWidth, tabHeight}});
    return layout;
}

platform::NativeDate NativeDateOf(const DateValue& value) {
    platform::NativeDate date;
    if (!value.IsValid())
        return date;
    date.empty = false;
    date.year = value.year;
    date.month = value.month;
    date.day = value.day;
    date.hour = value.hour;
    date.minute = value.minute;
    date.second = value.second;
    return date;
}

} // namespace

enum { kModal, kModeless, kChild };

// One realised window: the dialog layer's window interface over a system dialog, and the
// system's events carried to the dialog object.
class CNativeWindow : public IDialogWindow, public platform::INativeDialogEvents {
public:
    CNativeWindow(const HostKey& key, CWindowBase& model, CNativeWindow* parent)
        : key_(key), model_(model), parent_(parent) {}

    bool Make(const NativeLayout& layout, platform::WindowHandle owner) {
        handle_ = platform::CreateNativeDialog(layout, owner, this);
        return handle_ != nullptr;
    }
    void Unmake() {
        platform::DestroyNativeDialog(handle_);
        handle_ = nullptr;
    }
    CWindowBase& Model() const { return model_; }
    CNativeWindow* Parent() const { return parent_; }
    std::vector<CNativeWindow*>& Children() { return children_; }
    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    void SetAttached(bool attached) { attached_ = attached; }

    // --- IDialogWindow
    platform::WindowHandle Handle() const override { return handle_; }
    void SetCaption(const std::string& caption) override {
        platform::SetNativeCaption(handle_, caption);
    }
    std::string GetCaption() const override { return platform::NativeCaption(handle_); }
    void ShowWindow(bool show) override { platform::ShowNativeWindow(handle_, show); }
    bool IsWindowVisible() const override { return platform::IsNativeWindowVisible(handle_); }
    void BringToTop() override { platform::BringNativeToTop(handle_); }
    void Place(Placement placement) override {
        if (placement != Placement::AsCreated)
            platform::CentreNativeWindow(handle_, placement == Placement::CentredOnDesktop);
    }
    void MoveTo(const Rect& rect) override {
        platform::MoveNativeChild(handle_, NativeRectOf(rect));
    }
    void Redraw() override { platform::RedrawNativeWindow(handle_); }
    void EndModal(int result) override {
        ended_ = true;
        result_ = result;
    }

    bool HasControl(ControlId id) const override { return platform::HasNativeControl(handle_, id); }
    void SetText(ControlId id, const std::string& text) override {
        platform::SetNativeText(handle_, id, text);
    }
    std::string GetText(ControlId id) const override { return platform::NativeText(handle_, id); }
    void Enable(ControlId id, bool enable) override {
        platform::EnableNativeControl(handle_, id, enable);
    }
    bool IsEnabled(ControlId id) const override {
        return platform::IsNativeControlEnabled(handle_, id);
    }
    void Show(ControlId id, bool show) override { platform::ShowNativeControl(handle_, id, show); }
    bool IsVisible(ControlId id) const override {
        return platform::IsNativeControlVisible(handle_, id);
    }
    void SetFocus(ControlId id) override { platform::FocusNativeControl(handle_, id); }
    ControlId GetFocus() const override { return platform::NativeFocus(handle_); }

    void SetReadOnly(ControlId id, bool readOnly) override {
        platform::SetNativeReadOnly(handle_, id, readOnly);
    }
    bool IsReadOnly(ControlId id) const override { return platform::IsNativeReadOnly(handle_, id); }
    void SetPasswordChar(ControlId id, char mask) override {
        platform::SetNativePasswordChar(handle_, id, mask);
    }
    void SetCheck(ControlId id, bool checked) override {
        platform::SetNativeCheck(handle_, id, checked);
    }
    bool GetCheck(ControlId id) const override { return platform::NativeCheck(handle_, id); }

    int ComboAdd(ControlId id, const std::string& text) override {
        return platform::NativeComboAdd(handle_, id, text);
    }
    int ComboInsert(ControlId id, int index, const std::string& text) override {
        return platform::NativeComboInsert(handle_, id, index, text);
    }
    void ComboDelete(ControlId id, int index) override {
        platform::NativeComboDelete(handle_, id, index);
    }
    void ComboReset(ControlId id) override { platform::NativeComboReset(handle_, id); }
    int ComboCount(ControlId id) const override { return platform::NativeComboCount(handle_, id); }
    std::string ComboItemText(ControlId id, int index) const override {
        return platform::NativeComboItemText(handle_, id, index);
    }
    void ComboSetData(ControlId id, int index, ItemData data) override {
        platform::NativeComboSetData(handle_, id, index, data);
    }
    ItemData ComboGetData(ControlId id, int index) const override {
        return platform::NativeComboGetData(handle_, id, index);
    }
    int ComboGetSel(ControlId id) const override {
        return platform::NativeComboGetSel(handle_, id);
    }
    void ComboSetSel(ControlId id, int index) override {
        platform::NativeComboSetSel(handle_, id, index);
    }
    int ComboFind(ControlId id, int after, const std::string& prefix) const override {
        return platform::NativeComboFind(handle_, id, after, prefix, false);
    }
    int ComboFindExact(ControlId id, int after, const std::string& text) const override {
        return platform::NativeComboFind(handle_, id, after, text, true);
    }

    void ListInsertColumn(ControlId id, int index, const std::string& title, int width) override {
        platform::NativeListInsertColumn(handle_, id, index, title, width);
    }
    int ListColumnCount(ControlId id) const override {
        return platform::NativeListColumnCount(handle_, id);
    }
    std::string ListColumnTitle(ControlId id, int index) const override {
        return platform::NativeListColumnTitle(handle_, id, index);
    }
    int ListInsertRow(ControlId id, int row, const std::string& text) override {
        return platform::NativeListInsertRow(handle_, id, row, text);
    }
    void ListSetCell(ControlId id, int row, int column, const std::string& text) override {
        platform::NativeListSetCell(handle_, id, row, column, text);
    }
    std::string ListGetCell(ControlId id, int row, int column) const override {
        return platform::NativeListGetCell(handle_, id, row, column);
    }
    void ListSetData(ControlId id, int row, ItemData data) override {
        platform::NativeListSetData(handle_, id, row, data);
    }
    ItemData ListGetData(ControlId id, int row) const override {
        return platform::NativeListGetData(handle_, id, row);
    }
    void ListDeleteRow(ControlId id, int row) override {
        platform::NativeListDeleteRow(handle_, id, row);
    }
    void ListDeleteAll(ControlId id) override { platform::NativeListDeleteAll(handle_, id); }
    int ListRowCount(ControlId id) const override {
        return platform::NativeListRowCount(handle_, id);
    }
    void ListSetSelected(ControlId id, int row, bool selected) override {
        platform::NativeListSetSelected(handle_, id, row, selected);
    }
    bool ListIsSelected(ControlId id, int row) const override {
        return platform::NativeListIsSelected(handle_, id, row);
    }
    int ListSelectedCount(ControlId id) const override {
        return platform::NativeListSelectedCount(handle_, id);
    }
    int ListNextSelected(ControlId id, int after) const override {
        return platform::NativeListNextSelected(handle_, id, after);
    }
    void ListSort(ControlId id, const std::function<int(ItemData, ItemData)>& compare) override {
        platform::NativeListSort(handle_, id, compare);
    }

    TreeItem TreeInsert(ControlId id, TreeItem parent, const std::string& text, ItemData data,
                        bool hasChildren, bool first) override {
        return platform::NativeTreeInsert(handle_, id, parent, text, data, hasChildren, first);
    }
    void TreeDelete(ControlId id, TreeItem item) override {
        if (item != kTreeNone)
            platform::NativeTreeDelete(handle_, id, item);
    }
    void TreeDeleteAll(ControlId id) override { platform::NativeTreeDelete(handle_, id, 0); }
    TreeItem TreeChild(ControlId id, TreeItem item) const override {
        return platform::NativeTreeRelative(handle_, id, item, platform::NativeTreeRelation::Child);
    }
    TreeItem TreeNext(ControlId id, TreeItem item) const override {
        return platform::NativeTreeRelative(handle_, id, item, platform::NativeTreeRelation::Next);
    }
    TreeItem TreeParent(ControlId id, TreeItem item) const override {
        return platform::NativeTreeRelative(handle_, id, item,
                                            platform::NativeTreeRelation::Parent);
    }
    std::string TreeGetText(ControlId id, TreeItem item) const override {
        return platform::NativeTreeGetText(handle_, id, item);
    }
    void TreeSetText(ControlId id, TreeItem item, const std::string& text) override {
        platform::NativeTreeSetText(handle_, id, item, text);
    }
    ItemData TreeGetData(ControlId id, TreeItem item) const override {
        return platform::NativeTreeGetData(handle_, id, item);
    }
    void TreeSetData(ControlId id, TreeItem item, ItemData data) override {
        platform::NativeTreeSetData(handle_, id, item, data);
    }
    void TreeSetHasChildren(ControlId id, TreeItem item, bool hasChildren) override {
        platform::NativeTreeSetHasChildren(handle_, id, item, hasChildren);
    }
    bool TreeHasChildren(ControlId id, TreeItem item) const override {
        return platform::NativeTreeHasChildren(handle_, id, item);
    }
    void TreeExpand(ControlId id, TreeItem item, bool expand) override {
        platform::NativeTreeExpand(handle_, id, item, expand);
    }
    bool TreeIsExpanded(ControlId id, TreeItem item) const override {
        return platform::NativeTreeIsExpanded(handle_, id, item);
    }
    void TreeSelect(ControlId id, TreeItem item) override {
        platform::NativeTreeSelect(handle_, id, item);
    }
    TreeItem TreeSelection(ControlId id) const override {
        return platform::NativeTreeRelative(handle_, id, 0,
                                            platform::NativeTreeRelation::Selection);
    }

    void TreeSetImages(ControlId id, const std::vector<int>& iconResources) override {
        platform::NativeTreeSetImages(handle_, id, iconResources);
    }
    void TreeSetItemImage(ControlId id, TreeItem item, int image) override {
        platform::NativeTreeSetItemImage(handle_, id, item, image);
    }
    int TreeGetItemImage(ControlId id, TreeItem item) const override {
        return platform::NativeTreeGetItemImage(handle_, id, item);
    }

    void DateSetFormat(ControlId id, const std::string& format) override {
        platform::NativeDateSetFormat(handle_, id, format);
    }
    void DateSet(ControlId id, const DateValue& value) override {
        platform::NativeDateSet(handle_, id, NativeDateOf(value));
    }
    DateValue DateGet(ControlId id) const override {
        const platform::NativeDate d = platform::NativeDateGet(handle_, id);
        if (d.empty)
            return DateValue::Empty();
        return DateValue::Make(d.year, d.month, d.day, d.hour, d.minute, d.second);
    }

    bool AnimationOpen(ControlId id, int resourceId) override {
        return platform::NativeAnimationOpen(handle_, id, resourceId);
    }
    void AnimationPlay(ControlId id, int from, int to, int repeat) override {
        platform::NativeAnimationPlay(handle_, id, from, to, repeat);
    }
    void AnimationStop(ControlId id) override { platform::NativeAnimationStop(handle_, id); }

    // --- The system's events, once the dialog object holds the window.
    void OnNativeCommand(int id) override {
        if (attached_)
            model_.HostCommand(key_, id);
    }
    void OnNativeSelChange(int id) override {
        if (attached_)
            model_.HostSelChange(key_, id);
    }
    void OnNativeListItemChanged(int id, int row) override {
        if (attached_)
            model_.HostListItemChanged(key_, id, row);
    }
    bool OnNativeTreeExpanding(int id, std::uintptr_t item) override {
        return !attached_ || model_.HostTreeExpanding(key_, id, item);
    }
    void OnNativeDateChange(int id) override {
        if (attached_)
            model_.HostDateChange(key_, id);
    }
    void OnNativeTabChange(int id, int index) override {
        auto* sheet = dynamic_cast<CPropertySheet*>(&model_);
        if (!attached_ || !sheet)
            return;
        sheet->HostSelectPage(key_, index);
        // A page that refuses to be left keeps its tab.
        if (sheet->ActiveIndex() != index)
            platform::NativeTabSelect(handle_, id, sheet->ActiveIndex());
    }
    void OnNativeShow(bool show) override {
        if (attached_)
            model_.HostShowWindow(key_, show);
    }

private:
    HostKey key_;
    CWindowBase& model_;
    CNativeWindow* parent_;
    std::vector<CNativeWindow*> children_;
    platform::WindowHandle handle_ = nullptr;
    bool attached_ = false;
    bool ended_ = false;
    int result_ = -1;
};

CWindowsHost::CWindowsHost() = default;

CWindowsHost::~CWindowsHost() {
    while (!windows_.empty()) {
        CNativeWindow* top = windows_.begin()->second.get();
        while (top->Parent())
            top = top->Parent();
        Destroy(*top);
    }
}

bool CWindowsHost::Available() {
    return platform::NativeWindowsAvailable();
}

CNativeWindow* CWindowsHost::Realise(CWindowBase& model, CNativeWindow* parent,
                                     platform::WindowHandle owner, int kind) {
    auto window = std::make_unique<CNativeWindow>(Key(), model, parent);
    auto* sheet = dynamic_cast<CPropertySheet*>(&model);
    NativeLayout layout =
        sheet ? SheetLayout(*sheet)
              : LayoutOf(model.Template(), kind == kModal      ? NativeLayout::Kind::Modal
                                           : kind == kModeless ? NativeLayout::Kind::Modeless
                                                               : NativeLayout::Kind::Child);
    if (!window->Make(layout, parent ? parent->Handle() : owner))
        return nullptr;
    if (sheet)
        for (int i = 0; i < sheet->PageCount(); ++i)
            platform::NativeTabInsert(window->Handle(), kSheetTabId, i, sheet->Page(i).Title());
    CNativeWindow* raw = window.get();
    windows_[&model] = std::move(window);
    if (parent)
        parent->Children().push_back(raw);
    model.HostAttach(Key(), this, raw);
    raw->SetAttached(true);
    return raw;
}

void CWindowsHost::Destroy(CNativeWindow& window) {
    CWindowBase& model = window.Model();
    auto* modeless = dynamic_cast<CModelessDialog*>(&model);
    // As the system does: the window is told first, then its children.
    model.HostDestroy(Key());
    const std::vector<CNativeWindow*> children = window.Children();
    for (CNativeWindow* child : children)
        Destroy(*child);
    if (CNativeWindow* parent = window.Parent()) {
        auto& siblings = parent->Children();
        siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    }
    window.SetAttached(false);
    model.HostDetach(Key());
    window.Unmake();
    windows_.erase(&model);
    if (modeless)
        modeless->HostAfterDestroy(Key());
}

int CWindowsHost::RunModal(CDialog& dialog) {
    if (dialog.IsRealised())
        return -1;
    dialog.HostBeginModal(Key());
    CNativeWindow* window = Realise(dialog, nullptr, dialog.Owner(), kModal);
    if (!window)
        return -1;
    platform::CentreNativeWindow(window->Handle(), false);
    if (dialog.HostInit(Key()))
        window->SetFocus(InitialFocus(dialog.Template(), *window));
    if (!window->Ended()) {
        window->ShowWindow(true);
        if (observer_)
            observer_(dialog);
        platform::RunNativeModalLoop(
            window->Handle(), dialog.Owner(), [window] { return window->Ended(); },
            [] { ServeThisThread(); });
    }
    const int result = window->Ended() ? window->Result() : kIdCancel;
    if (windows_.count(&dialog))
        Destroy(*window);
    return result;
}

bool CWindowsHost::CreateChild(CWindowBase& child, CWindowBase& parent) {
    auto it = windows_.find(&parent);
    if (it == windows_.end() || child.IsRealised())
        return false;
    CNativeWindow* window = Realise(child, it->second.get(), nullptr, kChild);
    if (!window)
        return false;
    if (dynamic_cast<CPropertyPage*>(&child) && dynamic_cast<CPropertySheet*>(&parent))
        platform::PlaceInNativeTab(window->Handle(), kSheetTabId);
    if (child.HostInit(Key()))
        window->SetFocus(InitialFocus(child.Template(), *window));
    return true;
}

bool CWindowsHost::CreateModeless(CModelessDialog& window, platform::WindowHandle owner) {
    if (window.IsRealised())
        return false;
    CNativeWindow* native = Realise(window, nullptr, owner, kModeless);
    if (!native)
        return false;
    if (window.HostInit(Key()))
        native->SetFocus(InitialFocus(window.Template(), *native));
    return true;
}

void CWindowsHost::DestroyWindow(CWindowBase& window) {
    auto it = windows_.find(&window);
    if (it != windows_.end())
        Destroy(*it->second);
}

int CWindowsHost::MessageBox(platform::WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned style) {
    return platform::ShowSystemMessageBox(owner, text, caption, style);
}

std::optional<std::string> CWindowsHost::BrowseForFolder(platform::WindowHandle owner,
                                                         const std::string& title) {
    return platform::NativeBrowseForFolder(owner, title);
}

std::optional<std::string> CWindowsHost::ChooseFileToOpen(platform::WindowHandle owner,
                                                          const FileDialogRequest& request) {
    return platform::NativeChooseFileToOpen(owner, request.filter, request.defaultExtension,
                                            request.initialPath, request.hideReadOnly,
                                            request.overwritePrompt);
}

void CWindowsHost::BeginBusyCursor() {
    if (busyDepth_++ == 0)
        platform::ShowNativeBusyCursor(true);
}

void CWindowsHost::EndBusyCursor() {
    if (busyDepth_ > 0 && --busyDepth_ == 0)
        platform::ShowNativeBusyCursor(false);
}

} // namespace uifw
