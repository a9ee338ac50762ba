// ui/framework/MemoryWindow.h - a realised window whose controls live in memory.
//
// The headless and the terminal hosts realise dialogs with it. It keeps every control's
// state as the system's control of that kind would (DialogWindow.h) and passes the events
// that programs cause (a list row's selection, a tree's selection, showing a window) on to
// the dialog. What the user does is played by DialogDriver (UserDriver.h), which changes the
// same state and sends the events that the user's actions cause.
//
// A dialog addressing a control its template lacks, or using a control as another kind, is
// a fault of the dialog: the window reports it to its fault sink and carries on.
#pragma once

#include "ui/framework/Dialog.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/DialogWindow.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace uifw {

using FaultSink = std::function<void(const std::string&)>;

struct MemoryControl {
    ControlSpec spec;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    bool checked = false;
    char passwordChar = kDefaultPasswordChar;

    struct Item {
        std::string text;
        ItemData data = 0;
    };
    std::vector<Item> items; // drop-down lists and combo boxes
    int selection = -1;

    struct Column {
        std::string title;
        int width = 0;
    };
    struct Row {
        std::vector<std::string> cells;
        ItemData data = 0;
        bool selected = false;
    };
    std::vector<Column> columns; // list views
    std::vector<Row> rows;

    struct Node {
        std::string text;
        ItemData data = 0;
        bool marked = false; // shows an expand button before it has children
        bool expanded = false;
        int image = -1;
        TreeItem parent = kTreeTop;
        std::vector<TreeItem> children;
    };
    std::map<TreeItem, Node> nodes; // tree views
    std::vector<TreeItem> topLevel;
    TreeItem treeSelection = kTreeNone;
    std::vector<int> images; // icon resources

    DateValue date;
    std::string dateFormat = "M/d/yyyy";

    int animation = 0;
    bool playing = false;

    // The mask a password edit shows when the dialog sets none: the system's own bullet
    // (the ANSI code page's), not "*".
    static constexpr char kDefaultPasswordChar = '\x95';
};

class CMemoryWindow : public IDialogWindow, public std::enable_shared_from_this<CMemoryWindow> {
public:
    CMemoryWindow(const HostKey& key, CWindowBase& model, CMemoryWindow* parent,
                  platform::WindowHandle owner, FaultSink faults);
    ~CMemoryWindow() override;

    CWindowBase& Model() const { return model_; }
    const DialogTemplate& Template() const { return model_.Template(); }
    CMemoryWindow* Parent() const { return parent_; }
    const std::vector<CMemoryWindow*>& Children() const { return children_; }
    void AddChild(CMemoryWindow* child) { children_.push_back(child); }
    void RemoveChild(CMemoryWindow* child);
    platform::WindowHandle Owner() const { return owner_; }

    bool Ended() const { return ended_; }
    int Result() const { return result_; }
    bool WasBroughtToTop() const { return broughtToTop_; }
    Placement GetPlacement() const { return placement_; }
    const Rect& Position() const { return position_; }
    int RedrawCount() const { return redraws_; }
    // Called when the window is redrawn; the terminal host draws its progress line there.
    void SetRedrawHook(std::function<void()> hook) { redrawHook_ = std::move(hook); }

    // Controls in template order.
    std::vector<MemoryControl>& Controls() { return controls_; }
    MemoryControl* Find(ControlId id);
    const MemoryControl* Find(ControlId id) const;
    // The text the user sees as the control's name: a button's own caption, else the static
    // text just before it in the template; empty when it has none.
    std::string Label(ControlId id) const;
    // The control for messages: its label in quotes and its id.
    std::string Describe(ControlId id) const;
    // What the control shows: a password edit its mask characters, a date picker its
    // formatted date, a drop-down list its chosen item, else its text.
    std::string Displayed(ControlId id) const;
    // The radio buttons of the group that id belongs to.
    std::vector<ControlId> RadioGroupOf(ControlId id) const;
    // The focus the framework gives when OnInitDialog answers true: the first control that
    // can take it, is a tab stop, enabled and visible (a group's chosen radio button).
    void PlaceInitialFocus();
    void ReportFault(const std::string& message) const;

    // Events, as the system sends them to the dialog.
    void FireCommand(ControlId id);
    void FireSelChange(ControlId id);
    void FireListItemChanged(ControlId id, int row);
    bool FireTreeExpanding(ControlId id, TreeItem item);
    void FireDateChange(ControlId id);

    // IDialogWindow.
    platform::WindowHandle Handle() const override;
    void SetCaption(const std::string& caption) override { caption_ = caption; }
    std::string GetCaption() const override { return caption_; }
    void ShowWindow(bool show) override;
    bool IsWindowVisible() const override { return visible_; }
    void BringToTop() override { broughtToTop_ = true; }
    void Place(Placement placement) override { placement_ = placement; }
    void MoveTo(const Rect& rect) override { position_ = rect; }
    void Redraw() override;
    void EndModal(int result) override;

    bool HasControl(ControlId id) const override;
    void SetText(ControlId id, const std::string& text) override;
    std::string GetText(ControlId id) const override;
    void Enable(ControlId id, bool enable) override;
    bool IsEnabled(ControlId id) const override;
    void Show(ControlId id, bool show) override;
    bool IsVisible(ControlId id) const override;
    void SetFocus(ControlId id) override;
    ControlId GetFocus() const override { return focus_; }

    void SetReadOnly(ControlId id, bool readOnly) override;
    bool IsReadOnly(ControlId id) const override;
    void SetPasswordChar(ControlId id, char mask) override;

    void SetCheck(ControlId id, bool checked) override;
    bool GetCheck(ControlId id) const override;

    int ComboAdd(ControlId id, const std::string& text) override;
    int ComboInsert(ControlId id, int index, const std::string& text) override;
    void ComboDelete(ControlId id, int index) override;
    void ComboReset(ControlId id) override;
    int ComboCount(ControlId id) const override;
    std::string ComboItemText(ControlId id, int index) const override;
    void ComboSetData(ControlId id, int index, ItemData data) override;
    ItemData ComboGetData(ControlId id, int index) const override;
    int ComboGetSel(ControlId id) const override;
    void ComboSetSel(ControlId id, int index) override;
    int ComboFind(ControlId id, int after, const std::string& prefix) const override;
    int ComboFindExact(ControlId id, int after, const std::string& text) const override;

    void ListInsertColumn(ControlId id, int index, const std::string& title, int width) override;
    int ListColumnCount(ControlId id) const override;
    std::string ListColumnTitle(ControlId id, int index) const override;
    int ListInsertRow(ControlId id, int row, const std::string& text) override;
    void ListSetCell(ControlId id, int row, int column, const std::string& text) override;
    std::string ListGetCell(ControlId id, int row, int column) const override;
    void ListSetData(ControlId id, int row, ItemData data) override;
    ItemData ListGetData(ControlId id, int row) const override;
    void ListDeleteRow(ControlId id, int row) override;
    void ListDeleteAll(ControlId id) override;
    int ListRowCount(ControlId id) const override;
    void ListSetSelected(ControlId id, int row, bool selected) override;
    bool ListIsSelected(ControlId id, int row) const override;
    int ListSelectedCount(ControlId id) const override;
    int ListNextSelected(ControlId id, int after) const override;
    void ListSort(ControlId id, const std::function<int(ItemData, ItemData)>& compare) override;

    TreeItem TreeInsert(ControlId id, TreeItem parent, const std::string& text, ItemData data,
                        bool hasChildren, bool first) override;
    void TreeDelete(ControlId id, TreeItem item) override;
    void TreeDeleteAll(ControlId id) override;
    TreeItem TreeChild(ControlId id, TreeItem item) const override;
    TreeItem TreeNext(ControlId id, TreeItem item) const override;
    TreeItem TreeParent(ControlId id, TreeItem item) const override;
    std::string TreeGetText(ControlId id, TreeItem item) const override;
    void TreeSetText(ControlId id, TreeItem item, const std::string& text) override;
    ItemData TreeGetData(ControlId id, TreeItem item) const override;
    void TreeSetData(ControlId id, TreeItem item, ItemData data) override;
    void TreeSetHasChildren(ControlId id, TreeItem item, bool hasChildren) override;
    bool TreeHasChildren(ControlId id, TreeItem item) const override;
    void TreeExpand(ControlId id, TreeItem item, bool expand) override;
    bool TreeIsExpanded(ControlId id, TreeItem item) const override;
    void TreeSelect(ControlId id, TreeItem item) override;
    TreeItem TreeSelection(ControlId id) const override;
    void TreeSetImages(ControlId id, const std::vector<int>& iconResources) override;
    void TreeSetItemImage(ControlId id, TreeItem item, int image) override;
    int TreeGetItemImage(ControlId id, TreeItem item) const override;
    // The icon resources of the tree's image list.
    std::vector<int> TreeImages(ControlId id) const;

    void DateSetFormat(ControlId id, const std::string& format) override;
    void DateSet(ControlId id, const DateValue& value) override;
    DateValue DateGet(ControlId id) const override;

    bool AnimationOpen(ControlId id, int resourceId) override;
    void AnimationPlay(ControlId id, int from, int to, int repeat) override;
    void AnimationStop(ControlId id) override;

private:
    // The control of that id when it is of one of the kinds; reports a fault otherwise.
    MemoryControl* Get(ControlId id, std::initializer_list<ControlKind> kinds, const char* what);
    const MemoryControl* Get(ControlId id, std::initializer_list<ControlKind> kinds,
                             const char* what) const;
    MemoryControl::Node* Node(MemoryControl& c, TreeItem item, const char* what);
    const MemoryControl::Node* Node(const MemoryControl& c, TreeItem item, const char* what) const;
    void RemoveNode(MemoryControl& c, TreeItem item);

    HostKey key_;
    CWindowBase& model_;
    CMemoryWindow* parent_;
    std::vector<CMemoryWindow*> children_;
    platform::WindowHandle owner_;
    FaultSink faults_;
    std::string caption_;
    std::vector<MemoryControl> controls_;
    bool visible_ = false;
    bool broughtToTop_ = false;
    Placement placement_ = Placement::AsCreated;
    Rect position_;
    int redraws_ = 0;
    std::function<void()> redrawHook_;
    ControlId focus_ = 0;
    bool ended_ = false;
    int result_ = -1;
};

} // namespace uifw
