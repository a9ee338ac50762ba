// platform/Environment.h - the process environment.
//
// Windows keeps two copies of the environment, the system's and the C runtime's; these
// functions read the system's and change both, so that getenv and child processes agree.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The value of a variable, or nothing when it is not set.
std::optional<std::string> GetEnvironmentValue(const std::string& name);
bool SetEnvironmentValue(const std::string& name, const std::string& value);
bool RemoveEnvironmentValue(const std::string& name);
// The names of all variables that begin with prefix (letter case counts).
std::vector<std::string> EnvironmentNames(const std::string& prefix);

} // namespace platform
