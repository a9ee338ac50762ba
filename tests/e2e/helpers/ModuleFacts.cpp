// morvek_module_facts - a module that reports what the platform layer knows about the module
// it is linked into, for tests that load it the way a host loads the provider.
#include "platform/Export.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"

#include <string>

// The folder that holds this module, as the provider looks for the client library beside
// itself.
MORVEK_EXPORT const char* ModuleFactsFolder(void) {
    static std::string folder;
    folder = platform::ThisModuleFolder();
    return folder.c_str();
}

// Whether the platform layer of this module finds the path: a module armed through
// MORVEK_FAULT when it loaded fails the look-up it was told to fail.
MORVEK_EXPORT int ModuleFactsExists(const char* path) {
    return platform::Exists(path) ? 1 : 0;
}
