// platform/win32/Help.cpp - the HTML Help control, found once per process.
#include "platform/Help.h"
#include "platform/win32/Win32.h"

#include <mutex>

namespace platform {
namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

constexpr const char* kControlClass =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

// The file of the registered control, with environment references expanded.
std::string RegisteredControl() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kControlClass, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return std::string();
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    DWORD type = 0;
    LONG result =
        ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    value[size < MAX_PATH ? size : MAX_PATH] = '\0';
    if (type == REG_SZ)
        return value;
    char expanded[MAX_PATH + 1] = {};
    DWORD n = ::ExpandEnvironmentStringsA(value, expanded, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::string(expanded) : std::string();
}

HtmlHelpFn FindHtmlHelp() {
    HMODULE control = nullptr;
    const std::string registered = RegisteredControl();
    if (!registered.empty())
        control = ::LoadLibraryExA(registered.c_str(), nullptr, 0);
    if (!control)
        control = ::LoadLibraryA("hhctrl.ocx");
    if (!control)
        return nullptr;
    return reinterpret_cast<HtmlHelpFn>(
        reinterpret_cast<void*>(::GetProcAddress(control, MAKEINTRESOURCEA(14))));
}

} // namespace

bool ShowHtmlHelp(const std::string& helpFile) {
    static std::once_flag once;
    static HtmlHelpFn htmlHelp = nullptr;
    std::call_once(once, [] { htmlHelp = FindHtmlHelp(); });
    if (!htmlHelp)
        return false;
    htmlHelp(nullptr, helpFile.c_str(), 0, 0);
    return true;
}

} // namespace platform
