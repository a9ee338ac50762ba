// platform/posix/User.cpp - the account database.
#include "platform/User.h"

#include <cctype>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool Account(struct passwd& entry, std::vector<char>& buffer) {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    buffer.resize(size > 0 ? static_cast<size_t>(size) : 16384);
    struct passwd* found = nullptr;
    return ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found;
}

} // namespace

std::string GetUserLoginName() {
    struct passwd entry {};
    std::vector<char> buffer;
    if (Account(entry, buffer) && entry.pw_name && *entry.pw_name)
        return entry.pw_name;
    for (const char* variable : {"LOGNAME", "USER"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return std::string();
}

std::string GetUserFullName() {
    struct passwd entry {};
    std::vector<char> buffer;
    if (!Account(entry, buffer) || !entry.pw_gecos)
        return std::string();
    std::string gecos = entry.pw_gecos;
    gecos = gecos.substr(0, gecos.find(','));
    std::string login = entry.pw_name ? entry.pw_name : "";
    if (!login.empty())
        login[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(login[0])));
    std::string name;
    for (char c : gecos) {
        if (c == '&')
            name += login;
        else
            name += c;
    }
    return name;
}

std::string UserProfileFolder() {
    struct passwd entry {};
    std::vector<char> buffer;
    return Account(entry, buffer) && entry.pw_dir ? entry.pw_dir : std::string();
}

} // namespace platform
