// platform/win32/NativeDialog.cpp - dialogs from in-memory templates, their controls, the
// modal loop, the system's folder browser, file-open dialog and busy cursor.
#include "platform/NativeDialog.h"
#include "platform/win32/DialogKeyboard.h"
#include "platform/win32/Win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

// Set on a dialog while one of its trees deletes items.
constexpr const char* kDeletingProperty = "MorvekTreeDeleting";

HWND H(WindowHandle w) {
    return static_cast<HWND>(w);
}

HWND Item(WindowHandle dialog, int id) {
    return dialog ? ::GetDlgItem(H(dialog), id) : nullptr;
}

LRESULT Send(WindowHandle dialog, int id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    HWND item = Item(dialog, id);
    return item ? ::SendMessageA(item, message, w, l) : 0;
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

void InitControls() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                  ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&icc);
    });
}

// --- The in-memory template: DLGTEMPLATE, then one DLGITEMTEMPLATE per control, every
// string in UTF-16 from the system's code page.

class TemplateWriter {
public:
    void Word(WORD w) { data_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const std::string& text) {
        if (!text.empty()) {
            const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                static_cast<int>(text.size()), nullptr, 0);
            std::wstring wide(static_cast<size_t>(n), L'\0');
            ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                  wide.data(), n);
            for (wchar_t c : wide)
                Word(static_cast<WORD>(c));
        }
        Word(0);
    }
    void AlignDword() {
        if (data_.size() % 2)
            Word(0);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    std::vector<WORD> data_;
};

struct ControlClass {
    const char* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(const NativeControl& c) {
    const unsigned s = c.style;
    switch (c.kind) {
    case NativeControlKind::Static:
        return {"STATIC", SS_LEFT, 0};
    case NativeControlKind::GroupBox:
        return {"BUTTON", BS_GROUPBOX, 0};
    case NativeControlKind::Separator:
        return {"STATIC", SS_ETCHEDHORZ, 0};
    case NativeControlKind::Edit: {
        DWORD style = ES_LEFT | WS_TABSTOP;
        if (s & kNativeMultiLine)
            style |= ES_MULTILINE | ES_AUTOVSCROLL;
        else
            style |= ES_AUTOHSCROLL;
        if (s & kNativeReadOnly)
            style |= ES_READONLY;
        if (s & kNativePassword)
            style |= ES_PASSWORD;
        if (s & kNativeWantReturn)
            style |= ES_WANTRETURN;
        if (s & kNativeVScroll)
            style |= WS_VSCROLL;
        return {"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case NativeControlKind::CheckBox:
        return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case NativeControlKind::RadioButton:
        return {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
    case NativeControlKind::PushButton:
        return {"BUTTON",
                static_cast<DWORD>((s & kNativeDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                    WS_TABSTOP,
                0};
    case NativeControlKind::DropList:
    case NativeControlKind::ComboBox: {
        DWORD style = WS_VSCROLL | WS_TABSTOP |
                      (c.kind == NativeControlKind::DropList ? CBS_DROPDOWNLIST
                                                             : CBS_DROPDOWN | CBS_AUTOHSCROLL);
        if (s & kNativeSorted)
            style |= CBS_SORT;
        return {"COMBOBOX", style, 0};
    }
    case NativeControlKind::ListView: {
        DWORD style = LVS_REPORT | WS_TABSTOP;
        if (!(s & kNativeMultiSelect))
            style |= LVS_SINGLESEL;
        if (s & kNativeShowSelAlways)
            style |= LVS_SHOWSELALWAYS;
        if (s & kNativeNoSortHeader)
            style |= LVS_NOSORTHEADER;
        if (s & kNativeSortAscending)
            style |= LVS_SORTASCENDING;
        return {WC_LISTVIEWA, style, WS_EX_CLIENTEDGE};
    }
    case NativeControlKind::TreeView:
        return {WC_TREEVIEWA,
                TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case NativeControlKind::DatePicker:
        return {DATETIMEPICK_CLASSA,
                DTS_SHORTDATEFORMAT | WS_TABSTOP | ((s & kNativeShowNone) ? DTS_SHOWNONE : 0u), 0};
    case NativeControlKind::Animation:
        return {ANIMATE_CLASSA, ACS_CENTER | ACS_TRANSPARENT, 0};
    case NativeControlKind::Tab:
        return {WC_TABCONTROLA, WS_CLIPSIBLINGS, 0};
    }
    return {"STATIC", 0, 0};
}

void WriteTemplate(TemplateWriter& out, const NativeLayout& layout) {
    DWORD style = DS_SETFONT;
    switch (layout.kind) {
    case NativeLayout::Kind::Modal:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        break;
    case NativeLayout::Kind::Modeless:
        style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        break;
    case NativeLayout::Kind::Child:
        style |= WS_CHILD | DS_CONTROL;
        break;
    }
    out.Dword(style);
    out.Dword(layout.kind == NativeLayout::Kind::Child ? WS_EX_CONTROLPARENT : 0);
    out.Word(static_cast<WORD>(layout.controls.size()));
    out.Word(0);
    out.Word(0);
    out.Word(static_cast<WORD>(layout.width));
    out.Word(static_cast<WORD>(layout.height));
    out.Word(0); // no menu
    out.Word(0); // the dialog class
    out.Text(layout.caption);
    out.Word(8);
    out.Text("MS Shell Dlg");
    for (const NativeControl& c : layout.controls) {
        ControlClass cls = ClassOf(c);
        DWORD itemStyle = WS_CHILD | cls.style;
        if (!(c.style & kNativeHidden))
            itemStyle |= WS_VISIBLE;
        if (c.style & kNativeDisabled)
            itemStyle |= WS_DISABLED;
        if (c.style & kNativeGroup)
            itemStyle |= WS_GROUP;
        if (c.style & kNativeNoTabStop)
            itemStyle &= ~static_cast<DWORD>(WS_TABSTOP);
        int height = c.rect.height;
        // A drop-down's height in a dialog template is the height of its open list.
        if (c.kind == NativeControlKind::DropList || c.kind == NativeControlKind::ComboBox)
            height = std::max(height, 100);
        out.AlignDword();
        out.Dword(itemStyle);
        out.Dword(cls.exStyle);
        out.Word(static_cast<WORD>(c.rect.x));
        out.Word(static_cast<WORD>(c.rect.y));
        out.Word(static_cast<WORD>(c.rect.width));
        out.Word(static_cast<WORD>(height));
        out.Word(static_cast<WORD>(c.id));
        out.Text(cls.name);
        out.Text(c.kind == NativeControlKind::Animation ? std::string() : c.text);
        out.Word(0); // no creation data
    }
}

// --- Events

INativeDialogEvents* EventsOf(HWND dialog) {
    return reinterpret_cast<INativeDialogEvents*>(::GetWindowLongPtrA(dialog, DWLP_USER));
}

INT_PTR Answer(HWND dialog, LRESULT result) {
    ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR OnNotify(HWND dialog, INativeDialogEvents* events, const NMHDR* header) {
    const int id = static_cast<int>(header->idFrom);
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED))
            events->OnNativeListItemChanged(id, change->iItem);
        return FALSE;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (!::GetPropA(dialog, kDeletingProperty))
            events->OnNativeSelChange(id);
        return FALSE;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(header);
        if (tree->action & TVE_EXPAND) {
            const bool allow = events->OnNativeTreeExpanding(
                id, reinterpret_cast<std::uintptr_t>(tree->itemNew.hItem));
            return Answer(dialog, allow ? FALSE : TRUE);
        }
        return FALSE;
    }
    case DTN_DATETIMECHANGE:
        events->OnNativeDateChange(id);
        return FALSE;
    case TCN_SELCHANGE:
        events->OnNativeTabChange(
            id, static_cast<int>(::SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, l);
        return FALSE; // the dialog layer gives the first focus itself
    }
    INativeDialogEvents* events = EventsOf(dialog);
    if (!events)
        return FALSE;
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(w);
        const int code = HIWORD(w);
        const HWND control = reinterpret_cast<HWND>(l);
        if (!control || code == BN_CLICKED) {
            // A button, or IsDialogMessage's OK (Enter) and Cancel (Escape).
            if (!control && id != IDOK && id != IDCANCEL)
                return FALSE;
            events->OnNativeCommand(id);
            return TRUE;
        }
        if (code == CBN_SELCHANGE) {
            events->OnNativeSelChange(id);
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY:
        return OnNotify(dialog, events, reinterpret_cast<const NMHDR*>(l));
    case WM_SHOWWINDOW:
        events->OnNativeShow(w != 0);
        return FALSE;
    case WM_CLOSE:
        events->OnNativeCommand(IDCANCEL);
        return TRUE;
    case WM_MOUSEACTIVATE:
        // A hidden window is not made active by a click on its area.
        if (!::IsWindowVisible(dialog))
            return Answer(dialog, MA_NOACTIVATE);
        return FALSE;
    }
    return FALSE;
}

void AfterCreate(HWND dialog, const NativeLayout& layout) {
    for (const NativeControl& c : layout.controls) {
        HWND item = ::GetDlgItem(dialog, c.id);
        if (!item)
            continue;
        if (c.kind == NativeControlKind::ListView) {
            DWORD ex = LVS_EX_LABELTIP;
            if (c.style & kNativeFullRowSelect)
                ex |= LVS_EX_FULLROWSELECT;
            ::SendMessageA(item, LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
        } else if (c.kind == NativeControlKind::Edit && (c.style & kNativePassword)) {
            ::SendMessageA(item, EM_SETPASSWORDCHAR, '*', 0);
        }
    }
}

// --- PNG, stored without compression: screenshots are few and small.

uint32_t Crc(const unsigned char* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc;
}

void Be32(std::string& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<char>((v >> s) & 0xFF));
}

void Chunk(std::string& out, const char* type, const std::string& body) {
    Be32(out, static_cast<uint32_t>(body.size()));
    std::string typed = std::string(type, 4) + body;
    out += typed;
    Be32(out,
         Crc(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()) ^ 0xFFFFFFFFu);
}

std::string EncodePng(int width, int height, const std::vector<unsigned char>& rgb) {
    std::string raw;
    const size_t stride = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(rgb.data()) + y * stride, stride);
    }
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.push_back(pos + n >= raw.size() ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
        if (n == 0)
            break;
    }
    Be32(z, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    Be32(header, static_cast<uint32_t>(width));
    Be32(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", "");
    return png;
}

} // namespace

bool NativeWindowsAvailable() {
    // A window the desktop refuses says more than any variable: under Wine without an X
    // display every top-level window fails.
    static const bool available = [] {
        HWND probe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr);
        if (!probe)
            return false;
        ::DestroyWindow(probe);
        return true;
    }();
    return available;
}

WindowHandle CreateNativeDialog(const NativeLayout& layout, WindowHandle parent,
                                INativeDialogEvents* events) {
    InitControls();
    TemplateWriter out;
    WriteTemplate(out, layout);
    HWND dialog = ::CreateDialogIndirectParamA(ThisModule(), out.Get(), H(parent), DialogProc,
                                               reinterpret_cast<LPARAM>(events));
    if (dialog)
        AfterCreate(dialog, layout);
    return dialog;
}

// A tree view does not destroy its image list; the dialog does, with its windows.
BOOL CALLBACK ReleaseTreeImages(HWND child, LPARAM) {
    char name[32] = {};
    ::GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) == 0) {
        auto old =
            reinterpret_cast<HIMAGELIST>(::SendMessageA(child, TVM_SETIMAGELIST, TVSIL_NORMAL, 0));
        if (old)
            ImageList_Destroy(old);
    }
    return TRUE;
}

void DestroyNativeDialog(WindowHandle dialog) {
    if (dialog && ::IsWindow(H(dialog))) {
        ::SetWindowLongPtrA(H(dialog), DWLP_USER, 0);
        ::EnumChildWindows(H(dialog), ReleaseTreeImages, 0);
        ::DestroyWindow(H(dialog));
    }
}

void ServeNativeMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        win32::DispatchThreadMessage(msg);
    }
}

void RunNativeModalLoop(WindowHandle dialog, WindowHandle owner, const std::function<bool()>& ended,
                        const std::function<void()>& idle) {
    const bool disableOwner = owner && ::IsWindow(H(owner)) && ::IsWindowEnabled(H(owner));
    if (disableOwner)
        ::EnableWindow(H(owner), FALSE);
    while (!ended() && ::IsWindow(H(dialog))) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        ServeNativeMessages();
        if (idle)
            idle();
    }
    if (disableOwner) {
        ::EnableWindow(H(owner), TRUE);
        ::SetActiveWindow(H(owner));
    }
}

void SetNativeCaption(WindowHandle dialog, const std::string& caption) {
    if (dialog)
        ::SetWindowTextA(H(dialog), caption.c_str());
}

std::string NativeCaption(WindowHandle dialog) {
    if (!dialog)
        return std::string();
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(H(dialog))) + 1, '\0');
    text.resize(static_cast<size_t>(
        ::GetWindowTextA(H(dialog), text.data(), static_cast<int>(text.size()))));
    return text;
}

void ShowNativeWindow(WindowHandle window, bool show) {
    if (window)
        ::ShowWindow(H(window), show ? SW_SHOW : SW_HIDE);
}

bool IsNativeWindowVisible(WindowHandle window) {
    return window && ::IsWindowVisible(H(window));
}

void BringNativeToTop(WindowHandle dialog) {
    if (dialog)
        ::SetWindowPos(H(dialog), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CentreNativeWindow(WindowHandle dialog, bool onDesktop) {
    if (!dialog)
        return;
    RECT area{}, own{};
    HWND owner = onDesktop ? nullptr : ::GetWindow(H(dialog), GW_OWNER);
    if (owner && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(H(dialog), &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    ::SetWindowPos(H(dialog), nullptr, area.left + (area.right - area.left - w) / 2,
                   area.top + (area.bottom - area.top - h) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveNativeChild(WindowHandle child, const NativeRect& rect) {
    if (!child)
        return;
    HWND parent = ::GetParent(H(child));
    RECT r{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
    if (parent)
        ::MapDialogRect(parent, &r);
    ::MoveWindow(H(child), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void PlaceInNativeTab(WindowHandle child, int tabId) {
    if (!child)
        return;
    HWND parent = ::GetParent(H(child));
    HWND tab = parent ? ::GetDlgItem(parent, tabId) : nullptr;
    if (!tab)
        return;
    RECT r{};
    ::GetWindowRect(tab, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    ::SetWindowPos(H(child), tab, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE);
}

void RedrawNativeWindow(WindowHandle dialog) {
    if (dialog)
        ::RedrawWindow(H(dialog), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool HasNativeControl(WindowHandle dialog, int id) {
    return Item(dialog, id) != nullptr;
}

namespace {
bool IsClass(HWND item, const char* name) {
    char cls[64] = {};
    ::GetClassNameA(item, cls, sizeof cls);
    return ::lstrcmpiA(cls, name) == 0;
}
bool IsDropList(HWND item) {
    return IsClass(item, "COMBOBOX") && (::GetWindowLongA(item, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
}
} // namespace

void SetNativeText(WindowHandle dialog, int id, const std::string& text) {
    HWND item = Item(dialog, id);
    if (!item)
        return;
    if (IsDropList(item)) {
        // A drop-down list has no text of its own: the text chooses an item.
        if (text.empty() || ::SendMessageA(item, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str())) == CB_ERR)
            ::SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    ::SetWindowTextA(item, text.c_str());
}

std::string NativeText(WindowHandle dialog, int id) {
    return NativeCaption(Item(dialog, id));
}

void EnableNativeControl(WindowHandle dialog, int id, bool enable) {
    if (HWND item = Item(dialog, id))
        ::EnableWindow(item, enable);
}

bool IsNativeControlEnabled(WindowHandle dialog, int id) {
    HWND item = Item(dialog, id);
    return item && ::IsWindowEnabled(item);
}

void ShowNativeControl(WindowHandle dialog, int id, bool show) {
    if (HWND item = Item(dialog, id))
        ::ShowWindow(item, show ? SW_SHOW : SW_HIDE);
}

bool IsNativeControlVisible(WindowHandle dialog, int id) {
    HWND item = Item(dialog, id);
    return item && (::GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE);
}

void FocusNativeControl(WindowHandle dialog, int id) {
    HWND item = Item(dialog, id);
    if (item && ::IsWindowEnabled(item) && (::GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE))
        ::SetFocus(item);
}

namespace {
// The focus of the thread that owns the window (GetFocus answers only for the caller's own).
HWND FocusOfThreadOf(HWND window) {
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    if (thread == ::GetCurrentThreadId())
        return ::GetFocus();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return thread && ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}
} // namespace

int NativeFocus(WindowHandle dialog) {
    if (!dialog)
        return 0;
    for (HWND w = FocusOfThreadOf(H(dialog)); w; w = ::GetParent(w))
        if (::GetParent(w) == H(dialog))
            return ::GetDlgCtrlID(w);
    return 0;
}

bool SaveNativeWindowImage(WindowHandle window, const std::string& pngPath) {
    if (!window)
        return false;
    RECT r{};
    ::GetWindowRect(H(window), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    // The window as drawn, its children and frame included (a window asked to print itself
    // leaves its children out under Wine).
    HDC own = ::GetWindowDC(H(window));
    ::BitBlt(memory, 0, 0, w, h, own, 0, 0, SRCCOPY);
    ::ReleaseDC(H(window), own);
    ::GdiFlush();
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    const auto* px = static_cast<const unsigned char*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        rgb[i * 3] = px[i * 4 + 2];
        rgb[i * 3 + 1] = px[i * 4 + 1];
        rgb[i * 3 + 2] = px[i * 4];
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const std::string png = EncodePng(w, h, rgb);
    FILE* f = std::fopen(pngPath.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

void SetNativeReadOnly(WindowHandle dialog, int id, bool readOnly) {
    Send(dialog, id, EM_SETREADONLY, readOnly);
}

bool IsNativeReadOnly(WindowHandle dialog, int id) {
    HWND item = Item(dialog, id);
    return item && (::GetWindowLongA(item, GWL_STYLE) & ES_READONLY);
}

void SetNativePasswordChar(WindowHandle dialog, int id, char mask) {
    Send(dialog, id, EM_SETPASSWORDCHAR, static_cast<unsigned char>(mask));
    if (HWND item = Item(dialog, id))
        ::InvalidateRect(item, nullptr, TRUE);
}

void SetNativeCheck(WindowHandle dialog, int id, bool checked) {
    Send(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool NativeCheck(WindowHandle dialog, int id) {
    return Send(dialog, id, BM_GETCHECK) == BST_CHECKED;
}

int NativeComboAdd(WindowHandle dialog, int id, const std::string& text) {
    return static_cast<int>(
        Send(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int NativeComboInsert(WindowHandle dialog, int id, int index, const std::string& text) {
    return static_cast<int>(Send(dialog, id, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                 reinterpret_cast<LPARAM>(text.c_str())));
}

void NativeComboDelete(WindowHandle dialog, int id, int index) {
    Send(dialog, id, CB_DELETESTRING, static_cast<WPARAM>(index));
}

void NativeComboReset(WindowHandle dialog, int id) {
    Send(dialog, id, CB_RESETCONTENT);
    if (HWND item = Item(dialog, id))
        if (!IsDropList(item))
            ::SetWindowTextA(item, "");
}

int NativeComboCount(WindowHandle dialog, int id) {
    return static_cast<int>(Send(dialog, id, CB_GETCOUNT));
}

std::string NativeComboItemText(WindowHandle dialog, int id, int index) {
    const LRESULT n = Send(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (n <= 0)
        return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    const LRESULT got = Send(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void NativeComboSetData(WindowHandle dialog, int id, int index, std::intptr_t data) {
    Send(dialog, id, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

std::intptr_t NativeComboGetData(WindowHandle dialog, int id, int index) {
    const LRESULT data = Send(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(index));
    return data == CB_ERR ? 0 : static_cast<std::intptr_t>(data);
}

int NativeComboGetSel(WindowHandle dialog, int id) {
    return HasNativeControl(dialog, id) ? static_cast<int>(Send(dialog, id, CB_GETCURSEL)) : -1;
}

void NativeComboSetSel(WindowHandle dialog, int id, int index) {
    Send(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int NativeComboFind(WindowHandle dialog, int id, int after, const std::string& text, bool exact) {
    if (!HasNativeControl(dialog, id))
        return -1;
    const LRESULT found = Send(dialog, id, exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING,
                               static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(text.c_str()));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

void NativeListInsertColumn(WindowHandle dialog, int id, int index, const std::string& title,
                            int width) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    Send(dialog, id, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
         reinterpret_cast<LPARAM>(&column));
}

int NativeListColumnCount(WindowHandle dialog, int id) {
    HWND header = reinterpret_cast<HWND>(Send(dialog, id, LVM_GETHEADER));
    return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string NativeListColumnTitle(WindowHandle dialog, int id, int index) {
    char buffer[256] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = buffer;
    column.cchTextMax = sizeof buffer;
    if (!Send(dialog, id, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
              reinterpret_cast<LPARAM>(&column)))
        return std::string();
    return buffer;
}

int NativeListInsertRow(WindowHandle dialog, int id, int row, const std::string& text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row < 0 ? 0x7FFFFFFF : row;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(Send(dialog, id, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void NativeListSetCell(WindowHandle dialog, int id, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    Send(dialog, id, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string NativeListGetCell(WindowHandle dialog, int id, int row, int column) {
    std::string text(1024, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const LRESULT n = Send(dialog, id, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                               reinterpret_cast<LPARAM>(&item));
        if (n < static_cast<LRESULT>(text.size()) - 1) {
            text.resize(static_cast<size_t>(n < 0 ? 0 : n));
            return text;
        }
        text.resize(text.size() * 4);
    }
}

void NativeListSetData(WindowHandle dialog, int id, int row, std::intptr_t data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = static_cast<LPARAM>(data);
    Send(dialog, id, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::intptr_t NativeListGetData(WindowHandle dialog, int id, int row) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!Send(dialog, id, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return static_cast<std::intptr_t>(item.lParam);
}

void NativeListDeleteRow(WindowHandle dialog, int id, int row) {
    Send(dialog, id, LVM_DELETEITEM, static_cast<WPARAM>(row));
}

void NativeListDeleteAll(WindowHandle dialog, int id) {
    Send(dialog, id, LVM_DELETEALLITEMS);
}

int NativeListRowCount(WindowHandle dialog, int id) {
    return static_cast<int>(Send(dialog, id, LVM_GETITEMCOUNT));
}

void NativeListSetSelected(WindowHandle dialog, int id, int row, bool selected) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    Send(dialog, id, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool NativeListIsSelected(WindowHandle dialog, int id, int row) {
    return Send(dialog, id, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
           LVIS_SELECTED;
}

int NativeListSelectedCount(WindowHandle dialog, int id) {
    return static_cast<int>(Send(dialog, id, LVM_GETSELECTEDCOUNT));
}

int NativeListNextSelected(WindowHandle dialog, int id, int after) {
    if (!HasNativeControl(dialog, id))
        return -1;
    return static_cast<int>(
        Send(dialog, id, LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

namespace {
int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM compare) {
    return (*reinterpret_cast<const std::function<int(std::intptr_t, std::intptr_t)>*>(compare))(
        static_cast<std::intptr_t>(a), static_cast<std::intptr_t>(b));
}
} // namespace

void NativeListSort(WindowHandle dialog, int id,
                    const std::function<int(std::intptr_t, std::intptr_t)>& compare) {
    Send(dialog, id, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare),
         reinterpret_cast<LPARAM>(&CompareRows));
}

namespace {
HTREEITEM TreeHandle(std::uintptr_t item) {
    return reinterpret_cast<HTREEITEM>(item);
}
} // namespace

std::uintptr_t NativeTreeInsert(WindowHandle dialog, int id, std::uintptr_t parent,
                                const std::string& text, std::intptr_t data, bool hasChildren,
                                bool first) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent ? TreeHandle(parent) : TVI_ROOT;
    insert.hInsertAfter = first ? TVI_FIRST : TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = insert.item.iSelectedImage = -1; // no picture until one is chosen
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = static_cast<LPARAM>(data);
    insert.item.cChildren = hasChildren ? 1 : 0;
    return static_cast<std::uintptr_t>(
        Send(dialog, id, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void NativeTreeDelete(WindowHandle dialog, int id, std::uintptr_t item) {
    // The selection a deletion moves is not the user's choice: the dialog is not told.
    if (dialog)
        ::SetPropA(H(dialog), kDeletingProperty, reinterpret_cast<HANDLE>(1));
    Send(dialog, id, TVM_DELETEITEM, 0,
         item ? reinterpret_cast<LPARAM>(TreeHandle(item)) : reinterpret_cast<LPARAM>(TVI_ROOT));
    if (dialog)
        ::RemovePropA(H(dialog), kDeletingProperty);
}

std::uintptr_t NativeTreeRelative(WindowHandle dialog, int id, std::uintptr_t item,
                                  NativeTreeRelation relation) {
    WPARAM code = TVGN_CHILD;
    switch (relation) {
    case NativeTreeRelation::Child:
        code = item ? TVGN_CHILD : TVGN_ROOT;
        break;
    case NativeTreeRelation::Next:
        code = TVGN_NEXT;
        break;
    case NativeTreeRelation::Parent:
        code = TVGN_PARENT;
        break;
    case NativeTreeRelation::Selection:
        code = TVGN_CARET;
        item = 0;
        break;
    }
    if (!item && (code == TVGN_NEXT || code == TVGN_PARENT))
        return 0;
    return static_cast<std::uintptr_t>(
        Send(dialog, id, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(TreeHandle(item))));
}

std::string NativeTreeGetText(WindowHandle dialog, int id, std::uintptr_t item) {
    char buffer[1024] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = TreeHandle(item);
    tv.pszText = buffer;
    tv.cchTextMax = sizeof buffer;
    if (!item || !Send(dialog, id, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return std::string();
    return buffer;
}

void NativeTreeSetText(WindowHandle dialog, int id, std::uintptr_t item, const std::string& text) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = TreeHandle(item);
    tv.pszText = const_cast<char*>(text.c_str());
    if (item)
        Send(dialog, id, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

std::intptr_t NativeTreeGetData(WindowHandle dialog, int id, std::uintptr_t item) {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = TreeHandle(item);
    if (!item || !Send(dialog, id, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return 0;
    return static_cast<std::intptr_t>(tv.lParam);
}

void NativeTreeSetData(WindowHandle dialog, int id, std::uintptr_t item, std::intptr_t data) {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = TreeHandle(item);
    tv.lParam = static_cast<LPARAM>(data);
    if (item)
        Send(dialog, id, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void NativeTreeSetHasChildren(WindowHandle dialog, int id, std::uintptr_t item, bool has) {
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = TreeHandle(item);
    tv.cChildren = has ? 1 : 0;
    if (item)
        Send(dialog, id, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

bool NativeTreeHasChildren(WindowHandle dialog, int id, std::uintptr_t item) {
    if (!item)
        return false;
    if (NativeTreeRelative(dialog, id, item, NativeTreeRelation::Child))
        return true;
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = TreeHandle(item);
    return Send(dialog, id, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)) && tv.cChildren > 0;
}

void NativeTreeExpand(WindowHandle dialog, int id, std::uintptr_t item, bool expand) {
    if (item)
        Send(dialog, id, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
             reinterpret_cast<LPARAM>(TreeHandle(item)));
}

bool NativeTreeIsExpanded(WindowHandle dialog, int id, std::uintptr_t item) {
    return item && (Send(dialog, id, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(TreeHandle(item)),
                         TVIS_EXPANDED) &
                    TVIS_EXPANDED);
}

void NativeTreeSelect(WindowHandle dialog, int id, std::uintptr_t item) {
    Send(dialog, id, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(TreeHandle(item)));
}

void NativeTreeSetImages(WindowHandle dialog, int id, const std::vector<int>& iconResources) {
    HWND tree = Item(dialog, id);
    if (!tree)
        return;
    HIMAGELIST list =
        ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, static_cast<int>(iconResources.size()));
    for (int resource : iconResources) {
        auto icon = static_cast<HICON>(::LoadImageA(ThisModule(), MAKEINTRESOURCEA(resource),
                                                    IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        // A missing picture keeps its place, so that the indexes stay those of the list.
        if (!icon || ImageList_AddIcon(list, icon) < 0)
            ImageList_Add(list, nullptr, nullptr);
        if (icon)
            ::DestroyIcon(icon);
    }
    auto old = reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list)));
    if (old)
        ImageList_Destroy(old);
}

int NativeTreeImageCount(WindowHandle dialog, int id) {
    auto list = reinterpret_cast<HIMAGELIST>(Send(dialog, id, TVM_GETIMAGELIST, TVSIL_NORMAL));
    return list ? ImageList_GetImageCount(list) : 0;
}

void NativeTreeSetItemImage(WindowHandle dialog, int id, std::uintptr_t item, int image) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = TreeHandle(item);
    tv.iImage = tv.iSelectedImage = image;
    Send(dialog, id, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

int NativeTreeGetItemImage(WindowHandle dialog, int id, std::uintptr_t item) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = TreeHandle(item);
    if (!Send(dialog, id, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv)))
        return -1;
    return tv.iImage;
}

void NativeDateSetFormat(WindowHandle dialog, int id, const std::string& format) {
    Send(dialog, id, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(format.c_str()));
}

void NativeDateSet(WindowHandle dialog, int id, const NativeDate& value) {
    SYSTEMTIME st{};
    if (value.empty) {
        Send(dialog, id, DTM_SETSYSTEMTIME, GDT_NONE, 0);
        return;
    }
    st.wYear = static_cast<WORD>(value.year);
    st.wMonth = static_cast<WORD>(value.month);
    st.wDay = static_cast<WORD>(value.day);
    st.wHour = static_cast<WORD>(value.hour);
    st.wMinute = static_cast<WORD>(value.minute);
    st.wSecond = static_cast<WORD>(value.second);
    Send(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

NativeDate NativeDateGet(WindowHandle dialog, int id) {
    SYSTEMTIME st{};
    NativeDate value;
    if (!HasNativeControl(dialog, id) ||
        Send(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) != GDT_VALID)
        return value;
    value.empty = false;
    value.year = st.wYear;
    value.month = st.wMonth;
    value.day = st.wDay;
    value.hour = st.wHour;
    value.minute = st.wMinute;
    value.second = st.wSecond;
    return value;
}

bool NativeAnimationOpen(WindowHandle dialog, int id, int resourceId) {
    HWND item = Item(dialog, id);
    if (!item)
        return false;
    ::SetWindowLongPtrA(item, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(ThisModule()));
    return ::SendMessageA(item, ACM_OPENA, reinterpret_cast<WPARAM>(ThisModule()),
                          static_cast<LPARAM>(resourceId)) != 0;
}

void NativeAnimationPlay(WindowHandle dialog, int id, int from, int to, int repeat) {
    Send(dialog, id, ACM_PLAY, static_cast<WPARAM>(repeat), MAKELONG(from, to));
}

void NativeAnimationStop(WindowHandle dialog, int id) {
    Send(dialog, id, ACM_STOP);
}

void NativeTabInsert(WindowHandle dialog, int id, int index, const std::string& title) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(title.c_str());
    Send(dialog, id, TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void NativeTabSelect(WindowHandle dialog, int id, int index) {
    Send(dialog, id, TCM_SETCURSEL, static_cast<WPARAM>(index));
}

int NativeTabSelection(WindowHandle dialog, int id) {
    return HasNativeControl(dialog, id) ? static_cast<int>(Send(dialog, id, TCM_GETCURSEL)) : -1;
}

void ClickNativeButton(WindowHandle dialog, int id) {
    Send(dialog, id, BM_CLICK);
}

void PostNativeButtonClick(WindowHandle dialog, int id) {
    if (HWND item = Item(dialog, id))
        ::PostMessageA(item, BM_CLICK, 0, 0);
}

void PostNativeKey(WindowHandle dialog, int id, NativeKey key) {
    HWND target = id ? Item(dialog, id) : H(dialog);
    if (!target)
        return;
    // In the order of NativeKey.
    constexpr UINT kVirtualKeys[] = {VK_TAB, VK_SPACE, VK_RETURN, VK_ESCAPE};
    const UINT vk = kVirtualKeys[static_cast<int>(key)];
    // The repeat count and scan code as the keyboard gives them; the release has the
    // previous-state and transition bits set. The thread's loop translates the press into
    // its character, as it does a typed one.
    const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageA(target, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageA(target, WM_KEYUP, vk, scan | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

void ChooseNativeComboItem(WindowHandle dialog, int id, int index) {
    HWND item = Item(dialog, id);
    if (!item)
        return;
    ::SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(H(dialog), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(item));
}

void ChooseNativeTab(WindowHandle dialog, int id, int index) {
    HWND item = Item(dialog, id);
    if (!item)
        return;
    ::SendMessageA(item, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{item, static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageA(H(dialog), WM_NOTIFY, static_cast<WPARAM>(id),
                   reinterpret_cast<LPARAM>(&header));
}

namespace {
struct BoxSearch {
    std::string caption;
    HWND found = nullptr;
};
BOOL CALLBACK FindBox(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<BoxSearch*>(search);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && IsClass(window, "#32770") &&
        NativeCaption(window) == s->caption && ::IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

WindowHandle FindNativeMessageBox(const std::string& caption) {
    BoxSearch search{caption};
    ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string NativeMessageBoxText(WindowHandle box) {
    // The box's text is its static control 0xFFFF (65535).
    return NativeText(box, 0xFFFF);
}

void AnswerNativeMessageBox(WindowHandle box, int answer) {
    if (box)
        ::PostMessageA(H(box), WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

std::optional<std::string> NativeBrowseForFolder(WindowHandle owner, const std::string& title) {
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = H(owner);
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
    if (!chosen)
        return std::nullopt;
    char path[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListA(chosen, path);
    ::CoTaskMemFree(chosen);
    if (!ok)
        return std::nullopt;
    std::string folder = path;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

std::optional<std::string> NativeChooseFileToOpen(WindowHandle owner, const std::string& filter,
                                                  const std::string& defaultExtension,
                                                  const std::string& initialPath, bool hideReadOnly,
                                                  bool overwritePrompt) {
    std::string filters = filter;
    for (char& c : filters)
        if (c == '|')
            c = '\0';
    filters.push_back('\0');
    std::string extension = defaultExtension;
    while (!extension.empty() && (extension[0] == '*' || extension[0] == '.'))
        extension.erase(0, 1);
    char file[32768] = {};
    std::strncpy(file, initialPath.c_str(), sizeof file - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = H(owner);
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | (hideReadOnly ? OFN_HIDEREADONLY : 0u) |
                (overwritePrompt ? OFN_OVERWRITEPROMPT : 0u);
    if (!::GetOpenFileNameA(&ofn))
        return std::nullopt;
    return std::string(file);
}

void ShowNativeBusyCursor(bool busy) {
    static HCURSOR previous = nullptr;
    if (busy)
        previous = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    else
        ::SetCursor(previous ? previous
                             : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

} // namespace platform
