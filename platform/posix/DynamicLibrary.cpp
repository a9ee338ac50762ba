// platform/posix/DynamicLibrary.cpp - dlopen and friends.
#include "platform/DynamicLibrary.h"
#include "platform/posix/Posix.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string& path, int* errorCode, std::string* errorText) {
    if (posix::Injected(FaultKind::Library, ENOENT, "OpenLibrary", path)) {
        if (errorCode)
            *errorCode = 1;
        if (errorText)
            *errorText = path + ": cannot open shared object file: No such file or directory";
        return nullptr;
    }
    // RTLD_LOCAL keeps a provider's symbols from resolving into another module's.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* text = ::dlerror();
        if (errorCode)
            *errorCode = 1;
        if (errorText)
            *errorText = text ? text : "cannot load library";
    }
    return handle;
}

void* FindSymbol(LibraryHandle library, const char* name) {
    if (posix::Injected(FaultKind::Library, ENOENT, "FindSymbol", name))
        return nullptr;
    return library ? ::dlsym(library, name) : nullptr;
}

void CloseLibrary(LibraryHandle library) {
    if (library)
        ::dlclose(library);
}

std::string LibraryFileName(const std::string& base) {
    return "lib" + base + ".so";
}

} // namespace platform
