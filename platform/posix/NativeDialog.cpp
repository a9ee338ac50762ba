// platform/posix/NativeDialog.cpp - no window system: no native dialog can be made, and
// every operation on one does nothing.
#include "platform/NativeDialog.h"

namespace platform {

bool NativeWindowsAvailable() {
    return false;
}
WindowHandle CreateNativeDialog(const NativeLayout&, WindowHandle, INativeDialogEvents*) {
    return nullptr;
}
void DestroyNativeDialog(WindowHandle) {}
void RunNativeModalLoop(WindowHandle, WindowHandle, const std::function<bool()>&,
                        const std::function<void()>&) {}
void ServeNativeMessages() {}
void SetNativeCaption(WindowHandle, const std::string&) {}
std::string NativeCaption(WindowHandle) {
    return {};
}
void ShowNativeWindow(WindowHandle, bool) {}
bool IsNativeWindowVisible(WindowHandle) {
    return false;
}
void BringNativeToTop(WindowHandle) {}
void CentreNativeWindow(WindowHandle, bool) {}
void MoveNativeChild(WindowHandle, const NativeRect&) {}
void PlaceInNativeTab(WindowHandle, int) {}
void RedrawNativeWindow(WindowHandle) {}
bool HasNativeControl(WindowHandle, int) {
    return false;
}
void SetNativeText(WindowHandle, int, const std::string&) {}
std::string NativeText(WindowHandle, int) {
    return {};
}
void EnableNativeControl(WindowHandle, int, bool) {}
bool IsNativeControlEnabled(WindowHandle, int) {
    return false;
}
void ShowNativeControl(WindowHandle, int, bool) {}
bool IsNativeControlVisible(WindowHandle, int) {
    return false;
}
void FocusNativeControl(WindowHandle, int) {}
int NativeFocus(WindowHandle) {
    return 0;
}
bool SaveNativeWindowImage(WindowHandle, const std::string&) {
    return false;
}
void SetNativeReadOnly(WindowHandle, int, bool) {}
bool IsNativeReadOnly(WindowHandle, int) {
    return false;
}
void SetNativePasswordChar(WindowHandle, int, char) {}
void SetNativeCheck(WindowHandle, int, bool) {}
bool NativeCheck(WindowHandle, int) {
    return false;
}
int NativeComboAdd(WindowHandle, int, const std::string&) {
    return -1;
}
int NativeComboInsert(WindowHandle, int, int, const std::string&) {
    return -1;
}
void NativeComboDelete(WindowHandle, int, int) {}
void NativeComboReset(WindowHandle, int) {}
int NativeComboCount(WindowHandle, int) {
    return 0;
}
std::string NativeComboItemText(WindowHandle, int, int) {
    return {};
}
void NativeComboSetData(WindowHandle, int, int, std::intptr_t) {}
std::intptr_t NativeComboGetData(WindowHandle, int, int) {
    return {};
}
int NativeComboGetSel(WindowHandle, int) {
    return -1;
}
void NativeComboSetSel(WindowHandle, int, int) {}
int NativeComboFind(WindowHandle, int, int, const std::string&, bool) {
    return -1;
}
void NativeListInsertColumn(WindowHandle, int, int, const std::string&, int) {}
int NativeListColumnCount(WindowHandle, int) {
    return 0;
}
std::string NativeListColumnTitle(WindowHandle, int, int) {
    return {};
}
int NativeListInsertRow(WindowHandle, int, int, const std::string&) {
    return -1;
}
void NativeListSetCell(WindowHandle, int, int, int, const std::string&) {}
std::string NativeListGetCell(WindowHandle, int, int, int) {
    return {};
}
void NativeListSetData(WindowHandle, int, int, std::intptr_t) {}
std::intptr_t NativeListGetData(WindowHandle, int, int) {
    return {};
}
void NativeListDeleteRow(WindowHandle, int, int) {}
void NativeListDeleteAll(WindowHandle, int) {}
int NativeListRowCount(WindowHandle, int) {
    return 0;
}
void NativeListSetSelected(WindowHandle, int, int, bool) {}
bool NativeListIsSelected(WindowHandle, int, int) {
    return false;
}
int NativeListSelectedCount(WindowHandle, int) {
    return -1;
}
int NativeListNextSelected(WindowHandle, int, int) {
    return -1;
}
void NativeListSort(WindowHandle, int, const std::function<int(std::intptr_t, std::intptr_t)>&) {}
std::uintptr_t NativeTreeInsert(WindowHandle, int, std::uintptr_t, const std::string&,
                                std::intptr_t, bool, bool) {
    return {};
}
void NativeTreeDelete(WindowHandle, int, std::uintptr_t) {}
std::uintptr_t NativeTreeRelative(WindowHandle, int, std::uintptr_t, NativeTreeRelation) {
    return {};
}
std::string NativeTreeGetText(WindowHandle, int, std::uintptr_t) {
    return {};
}
void NativeTreeSetText(WindowHandle, int, std::uintptr_t, const std::string&) {}
std::intptr_t NativeTreeGetData(WindowHandle, int, std::uintptr_t) {
    return {};
}
void NativeTreeSetData(WindowHandle, int, std::uintptr_t, std::intptr_t) {}
void NativeTreeSetHasChildren(WindowHandle, int, std::uintptr_t, bool) {}
bool NativeTreeHasChildren(WindowHandle, int, std::uintptr_t) {
    return false;
}
void NativeTreeExpand(WindowHandle, int, std::uintptr_t, bool) {}
bool NativeTreeIsExpanded(WindowHandle, int, std::uintptr_t) {
    return false;
}
void NativeTreeSelect(WindowHandle, int, std::uintptr_t) {}
void NativeTreeSetImages(WindowHandle, int, const std::vector<int>&) {}
int NativeTreeImageCount(WindowHandle, int) {
    return 0;
}
void NativeTreeSetItemImage(WindowHandle, int, std::uintptr_t, int) {}
int NativeTreeGetItemImage(WindowHandle, int, std::uintptr_t) {
    return -1;
}
void NativeDateSetFormat(WindowHandle, int, const std::string&) {}
void NativeDateSet(WindowHandle, int, const NativeDate&) {}
NativeDate NativeDateGet(WindowHandle, int) {
    return {};
}
bool NativeAnimationOpen(WindowHandle, int, int) {
    return false;
}
void NativeAnimationPlay(WindowHandle, int, int, int, int) {}
void NativeAnimationStop(WindowHandle, int) {}
void NativeTabInsert(WindowHandle, int, int, const std::string&) {}
void NativeTabSelect(WindowHandle, int, int) {}
int NativeTabSelection(WindowHandle, int) {
    return -1;
}
void ClickNativeButton(WindowHandle, int) {}
void PostNativeButtonClick(WindowHandle, int) {}
void PostNativeKey(WindowHandle, int, NativeKey) {}
void ChooseNativeComboItem(WindowHandle, int, int) {}
void ChooseNativeTab(WindowHandle, int, int) {}
WindowHandle FindNativeMessageBox(const std::string&) {
    return nullptr;
}
std::string NativeMessageBoxText(WindowHandle) {
    return {};
}
void AnswerNativeMessageBox(WindowHandle, int) {}
std::optional<std::string> NativeBrowseForFolder(WindowHandle, const std::string&) {
    return {};
}
std::optional<std::string> NativeChooseFileToOpen(WindowHandle, const std::string&,
                                                  const std::string&, const std::string&, bool,
                                                  bool) {
    return {};
}
void ShowNativeBusyCursor(bool) {}

} // namespace platform
