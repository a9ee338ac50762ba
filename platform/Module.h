// platform/Module.h - facts about the module this code is linked into, and the program.
#pragma once

#include <string>

namespace platform {

// Full path of the module (shared library or program) that holds this code, fixed when the
// module loads: whatever the current folder is later, it names the same file.
std::string ThisModulePath();
// The folder that holds that module, without a trailing separator.
std::string ThisModuleFolder();
// Full path of the running program.
std::string ExecutablePath();

// The product version of this module as "major.minor.build.revision": the version resource
// on Windows, the version compiled in elsewhere (and on Windows when there is no resource).
std::string ThisModuleVersionText();

} // namespace platform
