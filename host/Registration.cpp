// host/Registration.cpp - the provider's entries among the machine's source-control providers.
#include "host/Registration.h"

#include "platform/Module.h"
#include "platform/Registry.h"
#include "ui/framework/TextUtil.h"

namespace registration {
namespace {

using namespace platform;

// Closes the key when it goes.
struct Key {
    RegKey key = nullptr;
    ~Key() { CloseRegKey(key); }
};

// A REG_SZ or REG_EXPAND_SZ value without its terminating NULs; empty when missing or of
// another type.
std::string ReadString(RegKey key, const std::string& name) {
    uint32_t type = 0;
    std::string data;
    if (QueryRegValue(key, name, &type, &data) != kRegOk ||
        (type != kRegSz && type != kRegExpandSz))
        return std::string();
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

// Whether the default named by ProviderRegKey is a provider that is still installed: its key
// names a library. A default left behind by a provider that was removed without unregistering
// is no one's choice any more.
bool NamesInstalledProvider(const std::string& providerKey) {
    if (providerKey.empty())
        return false;
    Key k;
    if (OpenRegKey(RegHive::LocalMachine, providerKey, RegAccess::Read, &k.key) != kRegOk)
        return false;
    return !ReadString(k.key, "SCCServerPath").empty();
}

} // namespace

long Register(const std::string& libraryPath) {
    Key own;
    long rc = CreateRegKey(RegHive::LocalMachine, kProviderKey, &own.key);
    if (rc == kRegOk)
        rc = SetRegString(own.key, "SCCServerName", kDisplayName);
    if (rc == kRegOk)
        rc = SetRegString(own.key, "SCCServerPath", libraryPath);
    if (rc != kRegOk)
        return rc;

    Key installed;
    rc = CreateRegKey(RegHive::LocalMachine, kInstalledKey, &installed.key);
    if (rc == kRegOk)
        rc = SetRegString(installed.key, kDisplayName, kProviderKey);
    if (rc != kRegOk)
        return rc;

    // Another provider that is installed stays the default: the user chose it, and we cannot
    // ask from here. The environment still offers this one in its list.
    Key shared;
    rc = CreateRegKey(RegHive::LocalMachine, kSharedKey, &shared.key);
    if (rc != kRegOk)
        return rc;
    const std::string current = ReadString(shared.key, "ProviderRegKey");
    if (!uifw::EqualsNoCase(current, kProviderKey) && NamesInstalledProvider(current))
        return kRegOk;
    return SetRegString(shared.key, "ProviderRegKey", kProviderKey);
}

long Unregister() {
    long result = kRegOk;
    auto note = [&result](long rc) {
        if (rc != kRegOk && rc != kRegFileNotFound && result == kRegOk)
            result = rc;
    };

    {
        Key shared;
        long rc = OpenRegKey(RegHive::LocalMachine, kSharedKey, RegAccess::ReadWrite, &shared.key);
        if (rc == kRegOk &&
            uifw::EqualsNoCase(ReadString(shared.key, "ProviderRegKey"), kProviderKey))
            rc = DeleteRegValue(shared.key, "ProviderRegKey");
        note(rc);
    }
    {
        // Only our own entry: the value named by our display name, and only while it still
        // points at our key (another provider could have taken the name since).
        Key installed;
        long rc =
            OpenRegKey(RegHive::LocalMachine, kInstalledKey, RegAccess::ReadWrite, &installed.key);
        if (rc == kRegOk &&
            uifw::EqualsNoCase(ReadString(installed.key, kDisplayName), kProviderKey))
            rc = DeleteRegValue(installed.key, kDisplayName);
        note(rc);
    }
    {
        // The key itself stays: it may hold values of other versions or tools of ours.
        Key own;
        long rc = OpenRegKey(RegHive::LocalMachine, kProviderKey, RegAccess::ReadWrite, &own.key);
        if (rc == kRegOk) {
            note(DeleteRegValue(own.key, "SCCServerName"));
            rc = DeleteRegValue(own.key, "SCCServerPath");
        }
        note(rc);
    }
    return result;
}

} // namespace registration

namespace {
constexpr int32_t kOk = 0;
constexpr int32_t kSelfRegClassError = static_cast<int32_t>(0x80040201u);
} // namespace

MORVEK_EXPORT int32_t DllRegisterServer(void) {
    return registration::Register(platform::ThisModulePath()) == platform::kRegOk
               ? kOk
               : kSelfRegClassError;
}

MORVEK_EXPORT int32_t DllUnregisterServer(void) {
    return registration::Unregister() == platform::kRegOk ? kOk : kSelfRegClassError;
}
