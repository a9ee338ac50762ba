// platform/DynamicLibrary.h - loading a module at run time and finding its entry points.
#pragma once

#include <string>

namespace platform {

using LibraryHandle = void*;

// Loads the module at the path (or by bare name through the system's search). On failure
// returns null and, when error is given, stores the system's error code and text there.
LibraryHandle OpenLibrary(const std::string& path, int* errorCode = nullptr,
                          std::string* errorText = nullptr);
void* FindSymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);

// The file-name form of a module called base: libbase.so or base.dll.
std::string LibraryFileName(const std::string& base);

} // namespace platform
