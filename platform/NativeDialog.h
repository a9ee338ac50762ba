// platform/NativeDialog.h - the system's own dialog windows: a dialog made from a list of
// controls, its controls addressed by id, its modal loop, and the system's folder browser,
// file-open dialog and busy cursor.
//
// The dialog layer's Win32 host (ui/framework/WindowsHost.h) is the only user: it describes
// each window from the dialog layer's templates (NativeLayout), so that a window's layout
// is written once, in ui/, for every host; this floor turns the description into an
// in-memory dialog template and the system makes the window from it. Nothing is loaded
// from dialog resources.
//
// Windows: real windows (user32, comctl32, comdlg32, shell32). POSIX has no window system
// of its own: NativeWindowsAvailable() answers false, CreateNativeDialog fails, and every
// other call does nothing and answers the empty value.
#pragma once

#include "platform/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class NativeControlKind {
    Static,
    GroupBox,
    Separator,
    Edit,
    CheckBox,
    RadioButton,
    PushButton,
    DropList,
    ComboBox,
    ListView,
    TreeView,
    DatePicker,
    Animation,
    Tab, // the tabs of a property sheet
};

// A control's styles; the dialog layer's template styles are these numbers (DialogTemplate.h
// says which kinds each applies to), so that its host hands them on unchanged.
enum : unsigned {
    kNativeDisabled = 1u << 0,
    kNativeHidden = 1u << 1,
    kNativeGroup = 1u << 2,
    kNativeNoTabStop = 1u << 3,
    kNativeDefault = 1u << 4,
    kNativeMultiLine = 1u << 8,
    kNativeReadOnly = 1u << 9,
    kNativePassword = 1u << 10,
    kNativeWantReturn = 1u << 11,
    kNativeVScroll = 1u << 12,
    kNativeSorted = 1u << 16,
    kNativeMultiSelect = 1u << 17,
    kNativeFullRowSelect = 1u << 18,
    kNativeShowSelAlways = 1u << 19,
    kNativeNoSortHeader = 1u << 20,
    kNativeSortAscending = 1u << 21,
    kNativeShowNone = 1u << 22,
};

// Rectangles are in dialog units, relative to the window's client area.
struct NativeRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct NativeControl {
    int id = -1;
    NativeControlKind kind = NativeControlKind::Static;
    std::string text;
    unsigned style = 0;
    NativeRect rect;
};

struct NativeLayout {
    enum class Kind {
        Modal,    // a popup with a caption and a system menu, owned by the owner window
        Modeless, // a popup with a caption and no system menu
        Child,    // a child without a caption (a page, a panel)
    };
    Kind kind = Kind::Modal;
    std::string caption;
    int width = 0, height = 0; // dialog units
    std::vector<NativeControl> controls;
};

// What the window tells whoever made it; every call comes on the window's thread.
class INativeDialogEvents {
public:
    virtual ~INativeDialogEvents() = default;
    // A button was clicked; also OK for Enter, Cancel for Escape and the close box.
    virtual void OnNativeCommand(int id) = 0;
    // A drop-down list or combo box's item was chosen, or a tree view's selection changed.
    virtual void OnNativeSelChange(int id) = 0;
    virtual void OnNativeListItemChanged(int id, int row) = 0;
    // The user is expanding a tree item; false refuses.
    virtual bool OnNativeTreeExpanding(int id, std::uintptr_t item) = 0;
    virtual void OnNativeDateChange(int id) = 0;
    // A tab of a tab control was chosen.
    virtual void OnNativeTabChange(int id, int index) = 0;
    virtual void OnNativeShow(bool show) = 0;
};

// A date picker's value: empty when its check box is clear.
struct NativeDate {
    bool empty = true;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Whether this process can make top-level windows (a desktop it can draw on). Under Wine
// without an X display it cannot.
bool NativeWindowsAvailable();

// Makes the window, hidden, with its controls; events go to events (which must outlive
// the window). parent: the owner of a popup, the parent of a child. Null when the system
// refuses.
WindowHandle CreateNativeDialog(const NativeLayout& layout, WindowHandle parent,
                                INativeDialogEvents* events);
void DestroyNativeDialog(WindowHandle dialog);
// Serves the thread's messages, the owner disabled, until ended() holds; idle runs after
// every batch of messages and at least every few milliseconds (other threads' actions).
void RunNativeModalLoop(WindowHandle dialog, WindowHandle owner, const std::function<bool()>& ended,
                        const std::function<void()>& idle);
// Serves the messages waiting now.
void ServeNativeMessages();

// The window.
void SetNativeCaption(WindowHandle dialog, const std::string& caption);
std::string NativeCaption(WindowHandle dialog);
void ShowNativeWindow(WindowHandle window, bool show);
bool IsNativeWindowVisible(WindowHandle window);
void BringNativeToTop(WindowHandle dialog);
// Centres a popup on its owner (or the desktop).
void CentreNativeWindow(WindowHandle dialog, bool onDesktop);
// Places a child window at a rectangle in its parent's dialog units.
void MoveNativeChild(WindowHandle child, const NativeRect& rect);
// Places a child window over the page area of a tab control of its parent.
void PlaceInNativeTab(WindowHandle child, int tabId);
void RedrawNativeWindow(WindowHandle dialog);

// Any control.
bool HasNativeControl(WindowHandle dialog, int id);
void SetNativeText(WindowHandle dialog, int id, const std::string& text);
std::string NativeText(WindowHandle dialog, int id);
void EnableNativeControl(WindowHandle dialog, int id, bool enable);
bool IsNativeControlEnabled(WindowHandle dialog, int id);
void ShowNativeControl(WindowHandle dialog, int id, bool show);
bool IsNativeControlVisible(WindowHandle dialog, int id);
void FocusNativeControl(WindowHandle dialog, int id);
// The control of the dialog that has the focus (or holds the window that has it), or 0. Any
// thread may ask: the answer is the focus of the dialog's own thread.
int NativeFocus(WindowHandle dialog);
// Writes the window as it is drawn now to a PNG file (screenshots of the tests).
bool SaveNativeWindowImage(WindowHandle window, const std::string& pngPath);

// Edits.
void SetNativeReadOnly(WindowHandle dialog, int id, bool readOnly);
bool IsNativeReadOnly(WindowHandle dialog, int id);
void SetNativePasswordChar(WindowHandle dialog, int id, char mask);

// Check boxes and radio buttons.
void SetNativeCheck(WindowHandle dialog, int id, bool checked);
bool NativeCheck(WindowHandle dialog, int id);

// Drop-down lists and combo boxes (answers as the system's: -1 for none).
int NativeComboAdd(WindowHandle dialog, int id, const std::string& text);
int NativeComboInsert(WindowHandle dialog, int id, int index, const std::string& text);
void NativeComboDelete(WindowHandle dialog, int id, int index);
void NativeComboReset(WindowHandle dialog, int id);
int NativeComboCount(WindowHandle dialog, int id);
std::string NativeComboItemText(WindowHandle dialog, int id, int index);
void NativeComboSetData(WindowHandle dialog, int id, int index, std::intptr_t data);
std::intptr_t NativeComboGetData(WindowHandle dialog, int id, int index);
int NativeComboGetSel(WindowHandle dialog, int id);
void NativeComboSetSel(WindowHandle dialog, int id, int index);
int NativeComboFind(WindowHandle dialog, int id, int after, const std::string& text, bool exact);

// List views in report mode.
void NativeListInsertColumn(WindowHandle dialog, int id, int index, const std::string& title,
                            int width);
int NativeListColumnCount(WindowHandle dialog, int id);
std::string NativeListColumnTitle(WindowHandle dialog, int id, int index);
int NativeListInsertRow(WindowHandle dialog, int id, int row, const std::string& text);
void NativeListSetCell(WindowHandle dialog, int id, int row, int column, const std::string& text);
std::string NativeListGetCell(WindowHandle dialog, int id, int row, int column);
void NativeListSetData(WindowHandle dialog, int id, int row, std::intptr_t data);
std::intptr_t NativeListGetData(WindowHandle dialog, int id, int row);
void NativeListDeleteRow(WindowHandle dialog, int id, int row);
void NativeListDeleteAll(WindowHandle dialog, int id);
int NativeListRowCount(WindowHandle dialog, int id);
void NativeListSetSelected(WindowHandle dialog, int id, int row, bool selected);
bool NativeListIsSelected(WindowHandle dialog, int id, int row);
int NativeListSelectedCount(WindowHandle dialog, int id);
int NativeListNextSelected(WindowHandle dialog, int id, int after);
void NativeListSort(WindowHandle dialog, int id,
                    const std::function<int(std::intptr_t, std::intptr_t)>& compare);

// Tree views; items are the system's item handles, 0 for none and for the top.
std::uintptr_t NativeTreeInsert(WindowHandle dialog, int id, std::uintptr_t parent,
                                const std::string& text, std::intptr_t data, bool hasChildren,
                                bool first);
void NativeTreeDelete(WindowHandle dialog, int id, std::uintptr_t item);
// Which item: 0 first child, 1 next sibling, 2 parent, 3 selection (item ignored).
enum class NativeTreeRelation { Child, Next, Parent, Selection };
std::uintptr_t NativeTreeRelative(WindowHandle dialog, int id, std::uintptr_t item,
                                  NativeTreeRelation relation);
std::string NativeTreeGetText(WindowHandle dialog, int id, std::uintptr_t item);
void NativeTreeSetText(WindowHandle dialog, int id, std::uintptr_t item, const std::string& text);
std::intptr_t NativeTreeGetData(WindowHandle dialog, int id, std::uintptr_t item);
void NativeTreeSetData(WindowHandle dialog, int id, std::uintptr_t item, std::intptr_t data);
void NativeTreeSetHasChildren(WindowHandle dialog, int id, std::uintptr_t item, bool has);
bool NativeTreeHasChildren(WindowHandle dialog, int id, std::uintptr_t item);
void NativeTreeExpand(WindowHandle dialog, int id, std::uintptr_t item, bool expand);
bool NativeTreeIsExpanded(WindowHandle dialog, int id, std::uintptr_t item);
void NativeTreeSelect(WindowHandle dialog, int id, std::uintptr_t item);
// The tree's image list: 16 by 16 icon resources of the module that holds this code
// (32-bit colour with mask), indexed from 0 in this order; the tree owns it from then on.
void NativeTreeSetImages(WindowHandle dialog, int id, const std::vector<int>& iconResources);
int NativeTreeImageCount(WindowHandle dialog, int id);
void NativeTreeSetItemImage(WindowHandle dialog, int id, std::uintptr_t item, int image);
int NativeTreeGetItemImage(WindowHandle dialog, int id, std::uintptr_t item);

// Date pickers.
void NativeDateSetFormat(WindowHandle dialog, int id, const std::string& format);
void NativeDateSet(WindowHandle dialog, int id, const NativeDate& value);
NativeDate NativeDateGet(WindowHandle dialog, int id);

// Animations: the AVI resource of the module that holds this code.
bool NativeAnimationOpen(WindowHandle dialog, int id, int resourceId);
void NativeAnimationPlay(WindowHandle dialog, int id, int from, int to, int repeat);
void NativeAnimationStop(WindowHandle dialog, int id);

// Tab controls.
void NativeTabInsert(WindowHandle dialog, int id, int index, const std::string& title);
void NativeTabSelect(WindowHandle dialog, int id, int index);
int NativeTabSelection(WindowHandle dialog, int id);

// What a user does, by the messages the controls send when a user does it (automated use:
// the tests fill windows this way rather than by keystrokes).
void ClickNativeButton(WindowHandle dialog, int id);
// The same click queued for the window's thread (from any thread): it happens when that
// thread next serves its messages.
void PostNativeButtonClick(WindowHandle dialog, int id);
// A key pressed and released, queued (from any thread) as the keyboard delivers it: to the
// control id of the dialog, or to the dialog itself when id is 0 (no control has the focus).
enum class NativeKey { Tab, Space, Enter, Escape };
void PostNativeKey(WindowHandle dialog, int id, NativeKey key);
void ChooseNativeComboItem(WindowHandle dialog, int id, int index);
void ChooseNativeTab(WindowHandle dialog, int id, int index);
// The system's message box of this process with that caption, when one is open: its
// window, or null.
WindowHandle FindNativeMessageBox(const std::string& caption);
// Its text.
std::string NativeMessageBoxText(WindowHandle box);
// Presses its button of that answer (kIdOk, kIdYes, ... of MessageBox.h).
void AnswerNativeMessageBox(WindowHandle box, int answer);

// The system's modal dialogs. filter: "Name|pattern|...||".
std::optional<std::string> NativeBrowseForFolder(WindowHandle owner, const std::string& title);
std::optional<std::string> NativeChooseFileToOpen(WindowHandle owner, const std::string& filter,
                                                  const std::string& defaultExtension,
                                                  const std::string& initialPath, bool hideReadOnly,
                                                  bool overwritePrompt);
// The busy cursor on or off.
void ShowNativeBusyCursor(bool busy);

} // namespace platform
