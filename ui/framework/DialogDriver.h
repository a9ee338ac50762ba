// ui/framework/DialogDriver.h - playing the user on a dialog whose controls live in memory.
//
// A driver does what a user does to an open window - types into a box, ticks, chooses a
// radio button or an item, clicks rows, expands tree items, presses buttons - and sends the
// dialog the events those actions cause; and it reads everything the window shows. Tests
// get one from the headless host (HeadlessHost.h); the terminal host and scripted answers
// use one too.
//
// An action the user could not do (typing into a disabled or read-only box, pressing a
// hidden button, choosing an item that is not listed, acting on a closed window) is refused:
// it is reported to the host's fault sink, changes nothing and answers false.
#pragma once

#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DialogWindow.h"
#include "ui/framework/MemoryWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace uifw {

class DialogDriver {
public:
    // faults: where refused actions are reported once the window is gone.
    DialogDriver(const HostKey& key, std::weak_ptr<CMemoryWindow> window, FaultSink faults);

    // --- The user's actions.
    // Replaces the text of an edit box or a combo box's edit part (a combo box then has no
    // item selected).
    bool Type(ControlId id, const std::string& text);
    // Clicks a push button, check box (it toggles) or radio button (it is chosen and the
    // others of its group are cleared).
    bool Click(ControlId id);
    // Clicks a check box when it is not already in that state.
    bool Tick(ControlId id, bool ticked = true);
    // Enter: the default push button (kDefault), else OK. Escape: Cancel.
    bool PressEnter();
    bool PressEscape();
    // Chooses an item of a drop-down list or combo box: the first whose text equals the
    // given one, letter case ignored, else the first that begins with it.
    bool Choose(ControlId id, const std::string& text);
    bool ChooseIndex(ControlId id, int index);
    // A click on a row selects it alone; a click with Ctrl toggles it (a list without
    // kMultiSelect treats it as a plain click).
    bool ClickRow(ControlId id, int row);
    bool CtrlClickRow(ControlId id, int row);
    bool ClickTreeItem(ControlId id, TreeItem item);
    // Clicks the item's expand button: asks the dialog (OnTreeExpanding), then opens it when
    // allowed and it has children by then. Answers whether it is open.
    bool ExpandTreeItem(ControlId id, TreeItem item);
    bool CollapseTreeItem(ControlId id, TreeItem item);
    // Picks a date, or clears the picker's box (DateValue::Empty(), kShowNone only).
    bool PickDate(ControlId id, const DateValue& value);
    // Gives a control the focus (a click or Tab).
    bool Focus(ControlId id);
    // Chooses a tab of a property sheet.
    bool SelectPage(int index);
    // Notes on a modal dialog that nobody was asked: its answers were all given in advance.
    void MarkAnsweredUnattended();

    // --- What the window shows.
    bool IsOpen() const; // the window still exists
    bool Ended() const;  // a modal dialog has ended
    int Result() const;  // the result it ended with, -1 before
    std::string Caption() const;
    bool IsWindowVisible() const;
    bool WasBroughtToTop() const;
    Placement GetPlacement() const;
    platform::WindowHandle Handle() const;
    platform::WindowHandle Owner() const;
    ControlId FocusedControl() const; // 0: none

    std::string Text(ControlId id) const;      // as the dialog reads it
    std::string Displayed(ControlId id) const; // as the user sees it (a password's mask)
    std::string Label(ControlId id) const;
    bool IsEnabled(ControlId id) const;
    bool IsVisible(ControlId id) const;
    bool IsReadOnly(ControlId id) const;
    bool IsChecked(ControlId id) const;

    std::vector<std::string> Items(ControlId id) const; // drop-down lists and combo boxes
    int Selection(ControlId id) const;
    std::string SelectedText(ControlId id) const;

    std::vector<std::string> Columns(ControlId id) const; // list views
    std::vector<std::vector<std::string>> Rows(ControlId id) const;
    std::vector<std::string> RowTexts(ControlId id) const; // the first column
    std::vector<int> SelectedRows(ControlId id) const;

    std::vector<TreeItem> TreeChildren(ControlId id, TreeItem parent = kTreeTop) const;
    std::vector<std::string> TreeChildTexts(ControlId id, TreeItem parent = kTreeTop) const;
    // The item reached from the top level through children with these texts; kTreeNone
    // (reported) when there is none.
    TreeItem TreeItemAt(ControlId id, const std::vector<std::string>& path) const;
    std::string TreeText(ControlId id, TreeItem item) const;
    bool TreeHasButton(ControlId id, TreeItem item) const;
    bool TreeIsExpanded(ControlId id, TreeItem item) const;
    TreeItem TreeSelection(ControlId id) const;

    DateValue Date(ControlId id) const;

    // Child windows: the pages of a property sheet that have been created, panels.
    int ActivePage() const; // -1 unless the window is a property sheet
    DialogDriver Page(int index) const;
    DialogDriver Child(const CWindowBase& child) const;

    // The window in memory, for what the functions above do not cover.
    CMemoryWindow* Window() const;
    void ReportFault(const std::string& message) const;

private:
    // The window when it is open and the control can be used by the user now.
    CMemoryWindow* Usable(ControlId id, std::initializer_list<ControlKind> kinds,
                          const char* action, MemoryControl** control) const;
    const MemoryControl* Readable(ControlId id) const;

    HostKey key_;
    std::weak_ptr<CMemoryWindow> window_;
    FaultSink faults_;
};

} // namespace uifw
