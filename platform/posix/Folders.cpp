// platform/posix/Folders.cpp - the XDG data folder and the install prefix.
#include "platform/Folders.h"
#include "platform/posix/Posix.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#ifndef MORVEK_INSTALL_PREFIX
#define MORVEK_INSTALL_PREFIX "/usr/local"
#endif

namespace platform {
namespace {

bool MakeFolders(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    std::string::size_type slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    // The XDG base directories are private to their user.
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string GetAppDataFolder(bool create) {
    std::string folder;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') {
        folder = WithoutTrailingSlash(data);
    } else {
        const std::string home = posix::HomeFolder();
        if (home.empty())
            return std::string();
        folder = WithoutTrailingSlash(home) + "/.local/share";
    }
    if (create && !MakeFolders(folder))
        return std::string();
    return folder;
}

std::string GetProgramFilesFolder() {
    const char* folder = std::getenv("MORVEK_PROGRAM_FILES");
    return WithoutTrailingSlash(folder && *folder ? folder : MORVEK_INSTALL_PREFIX);
}

} // namespace platform
