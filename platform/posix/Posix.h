// platform/posix/Posix.h - small helpers shared by the POSIX implementation files.
//
// Only platform/posix includes this.
#pragma once

#include "platform/FaultInjection.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace platform::posix {

// $HOME, else the account database's home folder; empty when neither is known.
inline std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (const struct passwd* pw = ::getpwuid(::getuid()))
        if (pw->pw_dir && *pw->pw_dir)
            return pw->pw_dir;
    return std::string();
}

// Whether an armed fault fails this call; errno is then what the real failure sets.
inline bool Injected(FaultKind kind, int error, const char* call, const std::string& subject) {
    if (!FaultDue(kind, call, subject))
        return false;
    errno = error;
    return true;
}

} // namespace platform::posix
