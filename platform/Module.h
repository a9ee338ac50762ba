// platform/Module.h - facts about the module this code is linked into, and the program.
#pragma once

#include <string>

namespace platform {

// Full path of the module (shared library or program) that holds this code.
std::string ThisModulePath();
// The folder that holds that module, without a trailing separator.
std::string ThisModuleFolder();
// Full path of the running program.
std::string ExecutablePath();

} // namespace platform
