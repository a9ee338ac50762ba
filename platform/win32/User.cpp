// platform/win32/User.cpp - the Windows user name.
#include "platform/User.h"
#include "platform/Environment.h"
#include "platform/win32/Win32.h"

#include <shlobj.h>

namespace platform {

std::string GetUserLoginName() {
    char name[1000] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string GetUserFullName() {
    return std::string();
}

std::string UserProfileFolder() {
    char path[MAX_PATH] = {0};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, path)))
        return path;
    return GetEnvironmentValue("USERPROFILE").value_or(std::string());
}

} // namespace platform
