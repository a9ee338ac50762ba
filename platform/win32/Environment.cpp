// platform/win32/Environment.cpp - the process environment, the system's copy and the C
// runtime's kept alike.
#include "platform/Environment.h"
#include "platform/win32/Win32.h"

#include <cstdlib>
#include <cstring>

namespace platform {

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
    DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                          : std::optional<std::string>("");
    std::string value(size, '\0');
    DWORD n = ::GetEnvironmentVariableA(name.c_str(), &value[0], size);
    value.resize(n < size ? n : 0);
    return value;
}

bool SetEnvironmentValue(const std::string& name, const std::string& value) {
    ::_putenv_s(name.c_str(), value.c_str());
    return ::SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

bool RemoveEnvironmentValue(const std::string& name) {
    ::_putenv_s(name.c_str(), "");
    return ::SetEnvironmentVariableA(name.c_str(), nullptr) != 0 ||
           ::GetLastError() == ERROR_ENVVAR_NOT_FOUND;
}

std::vector<std::string> EnvironmentNames(const std::string& prefix) {
    std::vector<std::string> names;
    char* block = ::GetEnvironmentStringsA();
    if (!block)
        return names;
    for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
        // Entries such as "=C:=C:\" name the current folder of a drive; they are not variables.
        if (*entry == '=')
            continue;
        const char* equals = std::strchr(entry, '=');
        std::string name =
            equals ? std::string(entry, static_cast<size_t>(equals - entry)) : std::string(entry);
        if (name.compare(0, prefix.size(), prefix) == 0)
            names.push_back(name);
    }
    ::FreeEnvironmentStringsA(block);
    return names;
}

} // namespace platform
