// morvek_module_facts - a module that reports what the platform layer knows about the module
// it is linked into, for tests that load it the way a host loads the provider.
#include "platform/Export.h"
#include "platform/Module.h"

#include <string>

// The folder that holds this module, as the provider looks for the client library beside
// itself.
MORVEK_EXPORT const char* ModuleFactsFolder(void) {
    static std::string folder;
    folder = platform::ThisModuleFolder();
    return folder.c_str();
}
