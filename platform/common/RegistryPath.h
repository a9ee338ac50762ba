// platform/common/RegistryPath.h - the spelling of registry key paths, shared by both stores.
//
// Only the two registry implementations include this. It holds no system calls.
#pragma once

#include <string>
#include <vector>

namespace platform::registry {

// The longest name of one key, in characters.
constexpr size_t kMaxKeyNameLength = 255;
// The longest name of a value, in characters.
constexpr size_t kMaxValueNameLength = 16383;

// Splits a key path into its components: runs of backslashes count as one separator and a
// trailing one is dropped; an empty path gives no components. Returns kRegOk,
// kRegBadPathname for a path that begins with a backslash, or kRegInvalidParameter for a
// component longer than kMaxKeyNameLength.
long SplitKeyPath(const std::string& path, std::vector<std::string>& components);
std::string JoinKeyPath(const std::vector<std::string>& components);

// ASCII letter case folded, as the registry compares names.
bool SameRegName(const std::string& a, const std::string& b);

} // namespace platform::registry
