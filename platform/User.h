// platform/User.h - who runs the process.
#pragma once

#include <string>

namespace platform {

// The login name. Windows: GetUserNameA. POSIX: the account database's name for the real
// user id, else $LOGNAME, else $USER.
std::string GetUserLoginName();
// The user's full name. Windows: empty (the system keeps none that the provider reads).
// POSIX: the first comma-separated field of the account's GECOS entry, with "&" standing
// for the login name with its first letter in upper case; empty when there is none.
std::string GetUserFullName();
// The user's own home (profile) folder from the account database, whatever HOME says:
// getpwuid on POSIX, the profile folder on Windows. Empty when unknown.
std::string UserProfileFolder();

} // namespace platform
