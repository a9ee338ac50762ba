// platform/win32/DynamicLibrary.cpp - LoadLibrary and friends.
#include "platform/DynamicLibrary.h"
#include "platform/win32/Win32.h"

namespace platform {

LibraryHandle OpenLibrary(const std::string& path, int* errorCode, std::string* errorText) {
    if (win32::Injected(FaultKind::Library, ERROR_MOD_NOT_FOUND, "OpenLibrary", path)) {
        if (errorCode)
            *errorCode = ERROR_MOD_NOT_FOUND;
        if (errorText)
            *errorText = win32::ErrorText(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    HMODULE module = ::LoadLibraryA(path.c_str());
    if (!module) {
        DWORD code = ::GetLastError();
        if (errorCode)
            *errorCode = static_cast<int>(code);
        if (errorText)
            *errorText = win32::ErrorText(code);
    }
    return reinterpret_cast<LibraryHandle>(module);
}

void* FindSymbol(LibraryHandle library, const char* name) {
    if (win32::Injected(FaultKind::Library, ERROR_PROC_NOT_FOUND, "FindSymbol", name))
        return nullptr;
    if (!library)
        return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
    if (library)
        ::FreeLibrary(static_cast<HMODULE>(library));
}

std::string LibraryFileName(const std::string& base) {
    return base + ".dll";
}

} // namespace platform
