// ui/framework/Controls.h - a dialog's controls, addressed by id.
//
// Each class is a light handle (the window and the id) to pass around by value; each call
// goes to the realised window (DialogWindow.h says how each kind behaves). Before the
// window is realised, or after it is gone, calls do nothing and answer empty values.
#pragma once

#include "ui/framework/DateValue.h"
#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DialogWindow.h"

#include <functional>
#include <string>

namespace uifw {

class CWindowBase;

class CControl {
public:
    CControl(CWindowBase* owner, ControlId id) : id_(id), owner_(owner) {}
    ControlId Id() const { return id_; }

    void Enable(bool enable = true);
    bool IsEnabled() const;
    void Show(bool show = true);
    bool IsVisible() const;
    void SetFocus();
    void SetText(const std::string& text);
    std::string GetText() const;

protected:
    IDialogWindow* Window() const;
    ControlId id_;

private:
    CWindowBase* owner_;
};

class CEdit : public CControl {
public:
    using CControl::CControl;
    void SetReadOnly(bool readOnly = true);
    bool IsReadOnly() const;
    // The character shown for each character of a password edit.
    void SetPasswordChar(char mask);
};

// Push buttons, check boxes and radio buttons.
class CButton : public CControl {
public:
    using CControl::CControl;
    void SetCheck(bool checked);
    bool GetCheck() const;
};

// Drop-down lists and combo boxes.
class CComboBox : public CControl {
public:
    using CControl::CControl;
    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    void DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::string GetItemText(int index) const;
    void SetItemData(int index, ItemData data);
    ItemData GetItemData(int index) const;
    int GetCurSel() const;
    void SetCurSel(int index);
    int FindString(int after, const std::string& prefix) const;
    int FindStringExact(int after, const std::string& text) const;
    // Finds as FindString does and selects what it found; answers its index or -1 (and
    // then leaves the selection as it was).
    int SelectString(int after, const std::string& prefix);
};

class CListView : public CControl {
public:
    using CControl::CControl;
    void InsertColumn(int index, const std::string& title, int width);
    int GetColumnCount() const;
    // Answers the row where it landed (a kSortAscending list puts it in order).
    int InsertItem(int row, const std::string& text, ItemData data = 0);
    void SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    void SetItemData(int row, ItemData data);
    ItemData GetItemData(int row) const;
    void DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const;
    void SetSelected(int row, bool selected);
    bool IsSelected(int row) const;
    int GetSelectedCount() const;
    int GetNextSelected(int after = -1) const;
    void SortItems(const std::function<int(ItemData, ItemData)>& compare);
};

class CTreeView : public CControl {
public:
    using CControl::CControl;
    TreeItem InsertItem(TreeItem parent, const std::string& text, ItemData data = 0,
                        bool hasChildren = false, bool first = false);
    void DeleteItem(TreeItem item);
    void DeleteAllItems();
    TreeItem GetRootItem() const; // the first item of the top level
    TreeItem GetChildItem(TreeItem item) const;
    TreeItem GetNextSiblingItem(TreeItem item) const;
    TreeItem GetParentItem(TreeItem item) const;
    std::string GetItemText(TreeItem item) const;
    void SetItemText(TreeItem item, const std::string& text);
    ItemData GetItemData(TreeItem item) const;
    void SetItemData(TreeItem item, ItemData data);
    void SetHasChildren(TreeItem item, bool hasChildren);
    bool ItemHasChildren(TreeItem item) const;
    void Expand(TreeItem item, bool expand = true);
    bool IsExpanded(TreeItem item) const;
    void SelectItem(TreeItem item);
    TreeItem GetSelectedItem() const;
    // Icon resources shown beside the items; SetItemImage picks one by its index.
    void SetImageList(const std::vector<int>& iconResources);
    void SetItemImage(TreeItem item, int image);
    int GetItemImage(TreeItem item) const;
};

class CDatePicker : public CControl {
public:
    using CControl::CControl;
    void SetFormat(const std::string& format);
    void SetTime(const DateValue& value);
    DateValue GetTime() const;
};

class CAnimation : public CControl {
public:
    using CControl::CControl;
    bool Open(int resourceId);
    void Play(int from, int to, int repeat);
    void Stop();
};

} // namespace uifw
