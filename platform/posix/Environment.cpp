// platform/posix/Environment.cpp - the process environment.
#include "platform/Environment.h"

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value)
        return std::nullopt;
    return std::string(value);
}

bool SetEnvironmentValue(const std::string& name, const std::string& value) {
    return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool RemoveEnvironmentValue(const std::string& name) {
    return ::unsetenv(name.c_str()) == 0;
}

std::vector<std::string> EnvironmentNames(const std::string& prefix) {
    std::vector<std::string> names;
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        std::string name = equals ? std::string(*entry, static_cast<size_t>(equals - *entry))
                                  : std::string(*entry);
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(name);
    }
    return names;
}

} // namespace platform
