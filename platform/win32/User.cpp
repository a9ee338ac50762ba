// platform/win32/User.cpp - the Windows user name.
#include "platform/User.h"
#include "platform/win32/Win32.h"

namespace platform {

std::string GetUserLoginName() {
    char name[1000] = {};
    DWORD size = sizeof name;
    return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string GetUserFullName() {
    return std::string();
}

} // namespace platform
