// platform/common/RegistryPath.cpp - the spelling of registry key paths.
#include "platform/common/RegistryPath.h"

#include "platform/Registry.h"

namespace platform::registry {

long SplitKeyPath(const std::string& path, std::vector<std::string>& components) {
    components.clear();
    if (!path.empty() && path[0] == '\\')
        return kRegBadPathname;
    std::string::size_type start = 0;
    while (start < path.size()) {
        std::string::size_type end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start) {
            if (end - start > kMaxKeyNameLength) {
                components.clear();
                return kRegInvalidParameter;
            }
            components.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return kRegOk;
}

std::string JoinKeyPath(const std::vector<std::string>& components) {
    std::string path;
    for (const std::string& c : components) {
        if (!path.empty())
            path += '\\';
        path += c;
    }
    return path;
}

bool SameRegName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace platform::registry

namespace platform {

long SetRegString(RegKey key, const std::string& name, const std::string& text) {
    return SetRegValue(key, name, kRegSz, text + '\0');
}

} // namespace platform
