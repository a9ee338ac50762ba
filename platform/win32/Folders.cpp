// platform/win32/Folders.cpp - the shell's special folders.
#include "platform/Folders.h"
#include "platform/win32/Win32.h"

#include <shlobj.h>

namespace platform {
namespace {

std::string Environment(const char* name) {
    char buffer[MAX_PATH + 1];
    DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

std::string SpecialFolder(int csidl, bool create) {
    char buffer[MAX_PATH + 1] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, buffer, csidl, create ? TRUE : FALSE))
        return std::string();
    return WithoutTrailingSeparator(buffer);
}

} // namespace

std::string GetAppDataFolder(bool create) {
    std::string folder = Environment("MORVEK_APPDATA_FOLDER");
    if (folder.empty())
        return SpecialFolder(CSIDL_APPDATA, create);
    folder = WithoutTrailingSeparator(folder);
    if (create) {
        int r = ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        if (r != ERROR_SUCCESS && r != ERROR_ALREADY_EXISTS && r != ERROR_FILE_EXISTS)
            return std::string();
    }
    return folder;
}

std::string GetProgramFilesFolder() {
    std::string folder = Environment("MORVEK_PROGRAM_FILES");
    return folder.empty() ? SpecialFolder(CSIDL_PROGRAM_FILES, false)
                          : WithoutTrailingSeparator(folder);
}

} // namespace platform
