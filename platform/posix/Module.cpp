// platform/posix/Module.cpp - the module and program this code runs in.
#include "platform/Module.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace platform {
namespace {
void AddressInThisModule() {}
} // namespace

std::string ThisModulePath() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&AddressInThisModule), &info) == 0 || !info.dli_fname)
        return std::string();
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved))
        return resolved;
    return info.dli_fname;
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

} // namespace platform

namespace platform {

std::string ThisModuleVersionText() {
    return MORVEK_VERSION_TEXT;
}

} // namespace platform
