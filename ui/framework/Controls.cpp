// ui/framework/Controls.cpp - control handles: each call forwards to the realised window.
#include "ui/framework/Controls.h"

#include "ui/framework/Dialog.h"

namespace uifw {

IDialogWindow* CControl::Window() const {
    return owner_ ? owner_->Window() : nullptr;
}

// Calls the window when there is one, else answers the empty value.
#define MORVEK_CALL(expr, empty)                                                                   \
    do {                                                                                           \
        IDialogWindow* w = Window();                                                               \
        if (!w)                                                                                    \
            return empty;                                                                          \
        return w->expr;                                                                            \
    } while (0)

void CControl::Enable(bool enable) {
    MORVEK_CALL(Enable(id_, enable), );
}
bool CControl::IsEnabled() const {
    MORVEK_CALL(IsEnabled(id_), false);
}
void CControl::Show(bool show) {
    MORVEK_CALL(Show(id_, show), );
}
bool CControl::IsVisible() const {
    MORVEK_CALL(IsVisible(id_), false);
}
void CControl::SetFocus() {
    MORVEK_CALL(SetFocus(id_), );
}
void CControl::SetText(const std::string& text) {
    MORVEK_CALL(SetText(id_, text), );
}
std::string CControl::GetText() const {
    MORVEK_CALL(GetText(id_), std::string());
}

void CEdit::SetReadOnly(bool readOnly) {
    MORVEK_CALL(SetReadOnly(id_, readOnly), );
}
bool CEdit::IsReadOnly() const {
    MORVEK_CALL(IsReadOnly(id_), false);
}
void CEdit::SetPasswordChar(char mask) {
    MORVEK_CALL(SetPasswordChar(id_, mask), );
}

void CButton::SetCheck(bool checked) {
    MORVEK_CALL(SetCheck(id_, checked), );
}
bool CButton::GetCheck() const {
    MORVEK_CALL(GetCheck(id_), false);
}

int CComboBox::AddString(const std::string& text) {
    MORVEK_CALL(ComboAdd(id_, text), -1);
}
int CComboBox::InsertString(int index, const std::string& text) {
    MORVEK_CALL(ComboInsert(id_, index, text), -1);
}
void CComboBox::DeleteString(int index) {
    MORVEK_CALL(ComboDelete(id_, index), );
}
void CComboBox::ResetContent() {
    MORVEK_CALL(ComboReset(id_), );
}
int CComboBox::GetCount() const {
    MORVEK_CALL(ComboCount(id_), 0);
}
std::string CComboBox::GetItemText(int index) const {
    MORVEK_CALL(ComboItemText(id_, index), std::string());
}
void CComboBox::SetItemData(int index, ItemData data) {
    MORVEK_CALL(ComboSetData(id_, index, data), );
}
ItemData CComboBox::GetItemData(int index) const {
    MORVEK_CALL(ComboGetData(id_, index), 0);
}
int CComboBox::GetCurSel() const {
    MORVEK_CALL(ComboGetSel(id_), -1);
}
void CComboBox::SetCurSel(int index) {
    MORVEK_CALL(ComboSetSel(id_, index), );
}
int CComboBox::FindString(int after, const std::string& prefix) const {
    MORVEK_CALL(ComboFind(id_, after, prefix), -1);
}
int CComboBox::FindStringExact(int after, const std::string& text) const {
    MORVEK_CALL(ComboFindExact(id_, after, text), -1);
}
int CComboBox::SelectString(int after, const std::string& prefix) {
    const int index = FindString(after, prefix);
    if (index >= 0)
        SetCurSel(index);
    return index;
}

void CListView::InsertColumn(int index, const std::string& title, int width) {
    MORVEK_CALL(ListInsertColumn(id_, index, title, width), );
}
int CListView::GetColumnCount() const {
    MORVEK_CALL(ListColumnCount(id_), 0);
}
int CListView::InsertItem(int row, const std::string& text, ItemData data) {
    IDialogWindow* w = Window();
    if (!w)
        return -1;
    const int at = w->ListInsertRow(id_, row, text);
    if (at >= 0)
        w->ListSetData(id_, at, data);
    return at;
}
void CListView::SetItemText(int row, int column, const std::string& text) {
    MORVEK_CALL(ListSetCell(id_, row, column, text), );
}
std::string CListView::GetItemText(int row, int column) const {
    MORVEK_CALL(ListGetCell(id_, row, column), std::string());
}
void CListView::SetItemData(int row, ItemData data) {
    MORVEK_CALL(ListSetData(id_, row, data), );
}
ItemData CListView::GetItemData(int row) const {
    MORVEK_CALL(ListGetData(id_, row), 0);
}
void CListView::DeleteItem(int row) {
    MORVEK_CALL(ListDeleteRow(id_, row), );
}
void CListView::DeleteAllItems() {
    MORVEK_CALL(ListDeleteAll(id_), );
}
int CListView::GetItemCount() const {
    MORVEK_CALL(ListRowCount(id_), 0);
}
void CListView::SetSelected(int row, bool selected) {
    MORVEK_CALL(ListSetSelected(id_, row, selected), );
}
bool CListView::IsSelected(int row) const {
    MORVEK_CALL(ListIsSelected(id_, row), false);
}
int CListView::GetSelectedCount() const {
    MORVEK_CALL(ListSelectedCount(id_), 0);
}
int CListView::GetNextSelected(int after) const {
    MORVEK_CALL(ListNextSelected(id_, after), -1);
}
void CListView::SortItems(const std::function<int(ItemData, ItemData)>& compare) {
    MORVEK_CALL(ListSort(id_, compare), );
}

TreeItem CTreeView::InsertItem(TreeItem parent, const std::string& text, ItemData data,
                               bool hasChildren, bool first) {
    MORVEK_CALL(TreeInsert(id_, parent, text, data, hasChildren, first), kTreeNone);
}
void CTreeView::DeleteItem(TreeItem item) {
    MORVEK_CALL(TreeDelete(id_, item), );
}
void CTreeView::DeleteAllItems() {
    MORVEK_CALL(TreeDeleteAll(id_), );
}
TreeItem CTreeView::GetRootItem() const {
    MORVEK_CALL(TreeChild(id_, kTreeTop), kTreeNone);
}
TreeItem CTreeView::GetChildItem(TreeItem item) const {
    MORVEK_CALL(TreeChild(id_, item), kTreeNone);
}
TreeItem CTreeView::GetNextSiblingItem(TreeItem item) const {
    MORVEK_CALL(TreeNext(id_, item), kTreeNone);
}
TreeItem CTreeView::GetParentItem(TreeItem item) const {
    MORVEK_CALL(TreeParent(id_, item), kTreeNone);
}
std::string CTreeView::GetItemText(TreeItem item) const {
    MORVEK_CALL(TreeGetText(id_, item), std::string());
}
void CTreeView::SetItemText(TreeItem item, const std::string& text) {
    MORVEK_CALL(TreeSetText(id_, item, text), );
}
ItemData CTreeView::GetItemData(TreeItem item) const {
    MORVEK_CALL(TreeGetData(id_, item), 0);
}
void CTreeView::SetItemData(TreeItem item, ItemData data) {
    MORVEK_CALL(TreeSetData(id_, item, data), );
}
void CTreeView::SetHasChildren(TreeItem item, bool hasChildren) {
    MORVEK_CALL(TreeSetHasChildren(id_, item, hasChildren), );
}
bool CTreeView::ItemHasChildren(TreeItem item) const {
    MORVEK_CALL(TreeHasChildren(id_, item), false);
}
void CTreeView::Expand(TreeItem item, bool expand) {
    MORVEK_CALL(TreeExpand(id_, item, expand), );
}
bool CTreeView::IsExpanded(TreeItem item) const {
    MORVEK_CALL(TreeIsExpanded(id_, item), false);
}
void CTreeView::SelectItem(TreeItem item) {
    MORVEK_CALL(TreeSelect(id_, item), );
}
TreeItem CTreeView::GetSelectedItem() const {
    MORVEK_CALL(TreeSelection(id_), kTreeNone);
}
void CTreeView::SetImageList(const std::vector<int>& iconResources) {
    MORVEK_CALL(TreeSetImages(id_, iconResources), );
}
void CTreeView::SetItemImage(TreeItem item, int image) {
    MORVEK_CALL(TreeSetItemImage(id_, item, image), );
}
int CTreeView::GetItemImage(TreeItem item) const {
    MORVEK_CALL(TreeGetItemImage(id_, item), -1);
}

void CDatePicker::SetFormat(const std::string& format) {
    MORVEK_CALL(DateSetFormat(id_, format), );
}
void CDatePicker::SetTime(const DateValue& value) {
    MORVEK_CALL(DateSet(id_, value), );
}
DateValue CDatePicker::GetTime() const {
    MORVEK_CALL(DateGet(id_), DateValue());
}

bool CAnimation::Open(int resourceId) {
    MORVEK_CALL(AnimationOpen(id_, resourceId), false);
}
void CAnimation::Play(int from, int to, int repeat) {
    MORVEK_CALL(AnimationPlay(id_, from, to, repeat), );
}
void CAnimation::Stop() {
    MORVEK_CALL(AnimationStop(id_), );
}

#undef MORVEK_CALL

} // namespace uifw
