// platform/posix/Module.cpp - the module and program this code runs in.
#include "platform/Module.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace platform {
namespace {

void AddressInThisModule() {}

std::string ModulePathNow() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&AddressInThisModule), &info) == 0 || !info.dli_fname)
        return std::string();
    const std::string name = info.dli_fname;
    // The loader names the main program as it was started, possibly relative to a folder
    // that is no longer the current one; the kernel knows its real path.
    if (name.empty() || name[0] != '/') {
        const std::string program = ExecutablePath();
        const std::string::size_type slash = name.find_last_of('/');
        const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
        if (!program.empty() && program.substr(program.find_last_of('/') + 1) == base)
            return program;
    }
    char resolved[PATH_MAX];
    if (::realpath(name.c_str(), resolved))
        return resolved;
    return name;
}

// A library loaded by a relative path is named by that path, which means something only
// against the folder that was current while it loaded: the provider changes the current
// folder before every command, so the path is fixed, absolute, while the module loads.
const std::string& ModulePathAtLoad() {
    static const std::string path = ModulePathNow();
    return path;
}
[[maybe_unused]] const std::string& g_fixedAtLoad = ModulePathAtLoad();

} // namespace

std::string ThisModulePath() {
    return ModulePathAtLoad();
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
