// platform/common/Module.cpp - module facts derived from the module's path.
#include "platform/Module.h"

namespace platform {

std::string ThisModuleFolder() {
    const std::string path = ThisModulePath();
    const std::string::size_type sep = path.find_last_of("\\/");
    if (sep == std::string::npos)
        return std::string();
    return sep == 0 ? path.substr(0, 1) : path.substr(0, sep);
}

} // namespace platform
