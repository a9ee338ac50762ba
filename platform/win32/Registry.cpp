// platform/win32/Registry.cpp - the Win32 registry.
//
// Paths are brought into one spelling first (see platform/common/RegistryPath.h), so that a
// run of backslashes means the same here as in the POSIX store.
#include "platform/Registry.h"

#include "platform/common/RegistryPath.h"
#include "platform/win32/Win32.h"

#include <vector>

namespace platform {
namespace {

// Where a hive's keys are: its own root, or, while MORVEK_REGISTRY_KEY names a key of the
// current user, that key's HKCU or HKLM key (tests give the programs they start a registry
// of their own this way). The path is the cleaned path below the hive; the result is the
// path below the root.
HKEY RootOf(RegHive hive, std::string& path) {
    char redirect[512];
    const DWORD n = ::GetEnvironmentVariableA("MORVEK_REGISTRY_KEY", redirect, sizeof redirect);
    if (n == 0 || n >= sizeof redirect)
        return hive == RegHive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    std::string base =
        std::string(redirect, n) + (hive == RegHive::CurrentUser ? "\\HKCU" : "\\HKLM");
    path = path.empty() ? base : base + "\\" + path;
    return HKEY_CURRENT_USER;
}

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

REGSAM SamOf(RegAccess access) {
    return access == RegAccess::ReadWrite ? (KEY_READ | KEY_WRITE) : KEY_READ;
}

long Clean(const std::string& path, std::string& clean) {
    std::vector<std::string> components;
    long result = registry::SplitKeyPath(path, components);
    clean = registry::JoinKeyPath(components);
    return result;
}

long Open(HKEY parent, const std::string& path, REGSAM sam, RegKey* key) {
    if (!key)
        return kRegInvalidParameter;
    std::string clean;
    long result = Clean(path, clean);
    if (result != kRegOk)
        return result;
    HKEY opened = nullptr;
    result = ::RegOpenKeyExA(parent, clean.c_str(), 0, sam, &opened);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<RegKey>(opened);
    return result;
}

long Create(HKEY parent, const std::string& path, RegKey* key) {
    if (!key)
        return kRegInvalidParameter;
    std::string clean;
    long result = Clean(path, clean);
    if (result != kRegOk)
        return result;
    HKEY created = nullptr;
    result = ::RegCreateKeyExA(parent, clean.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<RegKey>(created);
    return result;
}

} // namespace

long OpenRegKey(RegHive hive, const std::string& path, RegAccess access, RegKey* key) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "OpenRegKey", path))
        return kRegAccessDenied;
    std::string clean;
    long result = Clean(path, clean);
    if (result != kRegOk)
        return result;
    HKEY root = RootOf(hive, clean);
    return Open(root, clean, SamOf(access), key);
}

long OpenRegKey(RegKey parent, const std::string& path, RegAccess access, RegKey* key) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "OpenRegKey", path))
        return kRegAccessDenied;
    return parent ? Open(ToHkey(parent), path, SamOf(access), key) : kRegInvalidHandle;
}

long CreateRegKey(RegHive hive, const std::string& path, RegKey* key) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "CreateRegKey", path))
        return kRegAccessDenied;
    std::string clean;
    long result = Clean(path, clean);
    if (result != kRegOk)
        return result;
    HKEY root = RootOf(hive, clean);
    return Create(root, clean, key);
}

long CreateRegKey(RegKey parent, const std::string& path, RegKey* key) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "CreateRegKey", path))
        return kRegAccessDenied;
    return parent ? Create(ToHkey(parent), path, key) : kRegInvalidHandle;
}

void CloseRegKey(RegKey key) {
    if (key)
        ::RegCloseKey(ToHkey(key));
}

long QueryRegValue(RegKey key, const std::string& name, uint32_t* type, std::string* data) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "QueryRegValue", name))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    DWORD kind = 0;
    DWORD size = 0;
    long result = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &kind, nullptr, &size);
    std::string buffer;
    // The value may grow between the two calls; ask again until it fits.
    while (result == ERROR_SUCCESS && data) {
        buffer.resize(size);
        DWORD got = size;
        result = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &kind,
                                    reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2 + 16;
            result = ERROR_SUCCESS;
            continue;
        }
        buffer.resize(got);
        break;
    }
    if (result != ERROR_SUCCESS)
        return result;
    if (type)
        *type = kind;
    if (data)
        *data = std::move(buffer);
    return kRegOk;
}

long SetRegValue(RegKey key, const std::string& name, uint32_t type, const std::string& data) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "SetRegValue", name))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
}

long EnumRegValueName(RegKey key, uint32_t index, std::string* name) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "EnumRegValueName",
                        std::to_string(index)))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    DWORD longest = 0;
    long result = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, &longest, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<char> buffer(longest + 2);
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        result = ::RegEnumValueA(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr,
                                 nullptr, nullptr);
        if (result == ERROR_MORE_DATA && buffer.size() < 65536) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result == ERROR_SUCCESS && name)
            name->assign(buffer.data(), length);
        return result;
    }
}

long DeleteRegValue(RegKey key, const std::string& name) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "DeleteRegValue", name))
        return kRegAccessDenied;
    return key ? ::RegDeleteValueA(ToHkey(key), name.c_str()) : kRegInvalidHandle;
}

long DeleteAllRegValues(RegKey key) {
    if (win32::Injected(FaultKind::Registry, ERROR_ACCESS_DENIED, "DeleteAllRegValues",
                        std::string()))
        return kRegAccessDenied;
    if (!key)
        return kRegInvalidHandle;
    // Names first: deleting while enumerating would shift the indexes and skip values.
    std::vector<std::string> names;
    std::string name;
    for (uint32_t i = 0; EnumRegValueName(key, i, &name) == kRegOk; ++i)
        names.push_back(name);
    long result = kRegOk;
    for (const std::string& n : names) {
        long r = DeleteRegValue(key, n);
        if (r != kRegOk)
            result = r;
    }
    return result;
}

long FlushRegKey(RegKey key) {
    if (win32::Injected(FaultKind::Registry, ERROR_WRITE_FAULT, "FlushRegKey", std::string()))
        return kRegWriteFault;
    return key ? ::RegFlushKey(ToHkey(key)) : kRegInvalidHandle;
}

long DeleteRegTree(RegHive hive, const std::string& path) {
    std::string clean;
    long result = Clean(path, clean);
    if (result != kRegOk)
        return result;
    if (clean.empty())
        return kRegInvalidParameter; // never the whole hive
    HKEY root = RootOf(hive, clean);
    return ::RegDeleteTreeA(root, clean.c_str());
}

std::string RegHiveFilePath(RegHive) {
    return std::string();
}

} // namespace platform
