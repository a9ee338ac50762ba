// ui/framework/DialogWindow.h - one realised window and its controls, as a host makes it.
//
// Dialog code never calls this directly; it goes through the control classes of
// Controls.h. Every operation names a control by id and behaves as the system's control of
// that kind does, so that a Win32 host maps each onto one control message:
//  - Combo boxes and drop-down lists: adding to a sorted one puts the item at its place in
//    alphabetical order, letter case ignored; inserting at an index ignores the order.
//    Find looks for the first item that begins with the text, letter case ignored, starting
//    after the given index and wrapping around to it (-1: from the first item).
//    Setting the selection by program does not notify the dialog; the user's choice does.
//    A drop-down list has no text of its own: setting its text selects the first item that
//    begins with it (none when no item does), and its text is the selected item's.
//  - List views: a row's selected state changing, whoever changed it, notifies the dialog
//    (OnListItemChanged). A list without kMultiSelect keeps at most one row selected.
//  - Tree views: changing the selection notifies the dialog (OnSelChange); expanding by
//    program does not (only the user's expanding asks OnTreeExpanding).
//  - Edits: the text is held as given; a password edit shows its mask character instead.
// Indexes and rows count from 0; -1 means none. Operations on an id the window does not
// hold, or on a control of another kind, do nothing and return the empty answer (a headless
// host reports them as faults of the dialog).
#pragma once

#include "platform/Types.h"
#include "ui/framework/DateValue.h"
#include "ui/framework/DialogTemplate.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace uifw {

// Data carried by an item: a number, or a pointer that the dialog owns.
using ItemData = std::intptr_t;
// An item of a tree view; 0 is none (and, as a parent, the top level).
using TreeItem = std::uintptr_t;
constexpr TreeItem kTreeNone = 0;
constexpr TreeItem kTreeTop = 0;

// Where a window is placed when it opens.
enum class Placement { AsCreated, CentredOnOwner, CentredOnDesktop };

class IDialogWindow {
public:
    virtual ~IDialogWindow() = default;

    // The window's handle as the system knows it; the owner of message boxes and dialogs.
    virtual platform::WindowHandle Handle() const = 0;

    // The window itself.
    virtual void SetCaption(const std::string& caption) = 0;
    virtual std::string GetCaption() const = 0;
    virtual void ShowWindow(bool show) = 0;
    virtual bool IsWindowVisible() const = 0;
    virtual void BringToTop() = 0;
    virtual void Place(Placement placement) = 0;
    virtual void MoveTo(const Rect& rect) = 0;
    // Repaints the whole window at once (invalidate with erase, then update).
    virtual void Redraw() = 0;
    // Ends a modal dialog with the result; the host closes it when the current event ends.
    virtual void EndModal(int result) = 0;

    // Any control.
    virtual bool HasControl(ControlId id) const = 0;
    virtual void SetText(ControlId id, const std::string& text) = 0;
    virtual std::string GetText(ControlId id) const = 0;
    virtual void Enable(ControlId id, bool enable) = 0;
    virtual bool IsEnabled(ControlId id) const = 0;
    virtual void Show(ControlId id, bool show) = 0;
    virtual bool IsVisible(ControlId id) const = 0;
    // Gives a control the keyboard focus; a disabled or hidden control does not take it.
    virtual void SetFocus(ControlId id) = 0;
    // The control that has the focus, or 0.
    virtual ControlId GetFocus() const = 0;

    // Edits.
    virtual void SetReadOnly(ControlId id, bool readOnly) = 0;
    virtual bool IsReadOnly(ControlId id) const = 0;
    virtual void SetPasswordChar(ControlId id, char mask) = 0;

    // Check boxes and radio buttons.
    virtual void SetCheck(ControlId id, bool checked) = 0;
    virtual bool GetCheck(ControlId id) const = 0;

    // Drop-down lists and combo boxes.
    virtual int ComboAdd(ControlId id, const std::string& text) = 0; // the item's index
    virtual int ComboInsert(ControlId id, int index, const std::string& text) = 0; // -1: last
    virtual void ComboDelete(ControlId id, int index) = 0;
    virtual void ComboReset(ControlId id) = 0; // removes all items and the edit text
    virtual int ComboCount(ControlId id) const = 0;
    virtual std::string ComboItemText(ControlId id, int index) const = 0;
    virtual void ComboSetData(ControlId id, int index, ItemData data) = 0;
    virtual ItemData ComboGetData(ControlId id, int index) const = 0;
    virtual int ComboGetSel(ControlId id) const = 0;
    // Selects an item (-1: none); a combo box's edit text becomes the item's text.
    virtual void ComboSetSel(ControlId id, int index) = 0;
    virtual int ComboFind(ControlId id, int after, const std::string& prefix) const = 0;
    virtual int ComboFindExact(ControlId id, int after, const std::string& text) const = 0;

    // List views in report mode.
    virtual void ListInsertColumn(ControlId id, int index, const std::string& title, int width) = 0;
    virtual int ListColumnCount(ControlId id) const = 0;
    virtual std::string ListColumnTitle(ControlId id, int index) const = 0;
    virtual int ListInsertRow(ControlId id, int row, const std::string& text) = 0; // its row
    virtual void ListSetCell(ControlId id, int row, int column, const std::string& text) = 0;
    virtual std::string ListGetCell(ControlId id, int row, int column) const = 0;
    virtual void ListSetData(ControlId id, int row, ItemData data) = 0;
    virtual ItemData ListGetData(ControlId id, int row) const = 0;
    virtual void ListDeleteRow(ControlId id, int row) = 0;
    virtual void ListDeleteAll(ControlId id) = 0;
    virtual int ListRowCount(ControlId id) const = 0;
    virtual void ListSetSelected(ControlId id, int row, bool selected) = 0;
    virtual bool ListIsSelected(ControlId id, int row) const = 0;
    virtual int ListSelectedCount(ControlId id) const = 0;
    virtual int ListNextSelected(ControlId id, int after) const = 0; // -1: from the start
    // Sorts the rows by their data; compare answers <0, 0 or >0 as strcmp does.
    virtual void ListSort(ControlId id, const std::function<int(ItemData, ItemData)>& compare) = 0;

    // Tree views.
    // Inserts under parent (kTreeTop: at the top level), last or first among its children.
    // hasChildren gives the item an expand button before any child is inserted.
    virtual TreeItem TreeInsert(ControlId id, TreeItem parent, const std::string& text,
                                ItemData data, bool hasChildren, bool first) = 0;
    virtual void TreeDelete(ControlId id, TreeItem item) = 0; // with its children
    virtual void TreeDeleteAll(ControlId id) = 0;
    virtual TreeItem TreeChild(ControlId id, TreeItem item) const = 0; // first child
    virtual TreeItem TreeNext(ControlId id, TreeItem item) const = 0;  // next sibling
    virtual TreeItem TreeParent(ControlId id, TreeItem item) const = 0;
    virtual std::string TreeGetText(ControlId id, TreeItem item) const = 0;
    virtual void TreeSetText(ControlId id, TreeItem item, const std::string& text) = 0;
    virtual ItemData TreeGetData(ControlId id, TreeItem item) const = 0;
    virtual void TreeSetData(ControlId id, TreeItem item, ItemData data) = 0;
    virtual void TreeSetHasChildren(ControlId id, TreeItem item, bool hasChildren) = 0;
    // Whether the item shows an expand button: it has children or is marked so.
    virtual bool TreeHasChildren(ControlId id, TreeItem item) const = 0;
    virtual void TreeExpand(ControlId id, TreeItem item, bool expand) = 0;
    virtual bool TreeIsExpanded(ControlId id, TreeItem item) const = 0;
    virtual void TreeSelect(ControlId id, TreeItem item) = 0;
    virtual TreeItem TreeSelection(ControlId id) const = 0;
    // The tree's pictures: 16 by 16 icon resources of the module, numbered from 0 in this
    // order; an item shows the one its image names (-1: none, as items start).
    virtual void TreeSetImages(ControlId id, const std::vector<int>& iconResources) = 0;
    virtual void TreeSetItemImage(ControlId id, TreeItem item, int image) = 0;
    virtual int TreeGetItemImage(ControlId id, TreeItem item) const = 0;

    // Date pickers.
    virtual void DateSetFormat(ControlId id, const std::string& format) = 0;
    // Sets the value; an empty value clears the picker's check box (kShowNone).
    virtual void DateSet(ControlId id, const DateValue& value) = 0;
    virtual DateValue DateGet(ControlId id) const = 0;

    // Animations.
    virtual bool AnimationOpen(ControlId id, int resourceId) = 0;
    // Plays frames from to to, repeat times (-1: without end).
    virtual void AnimationPlay(ControlId id, int from, int to, int repeat) = 0;
    virtual void AnimationStop(ControlId id) = 0;
};

// The control a window's first focus goes to: the first control that can take it, enabled,
// shown and not passed by the Tab key; for a radio button, the chosen one of its group
// when it can take it. 0 when none can.
ControlId InitialFocus(const DialogTemplate& t, const IDialogWindow& window);

} // namespace uifw
