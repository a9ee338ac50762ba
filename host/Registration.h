// host/Registration.h - installing the provider where development environments look for one.
//
// An environment finds source-control providers under HKEY_LOCAL_MACHINE: each provider's own
// key holds its display name and the full path of its library; one shared key lists the
// installed providers by display name and names the machine's default one. Registering
// writes the provider's key and its entry in the list, and makes it the default only when no
// other installed provider is; unregistering removes exactly what registering wrote and
// leaves every other provider's keys and values as they are.
#pragma once

#include "platform/Export.h"

#include <cstdint>
#include <string>

namespace registration {

constexpr const char* kProviderKey = "SOFTWARE\\Morvek\\VODORO";
constexpr const char* kDisplayName = "Morvek CVS SCC";
constexpr const char* kSharedKey = "SOFTWARE\\SourceCodeControlProvider";
constexpr const char* kInstalledKey = "SOFTWARE\\SourceCodeControlProvider\\InstalledSCCProviders";

// Registers the library at libraryPath (a full path). Returns a registry result code: kRegOk,
// or the first failure (typically access denied without administrator rights).
long Register(const std::string& libraryPath);
// Removes the registration. A registration that is not there is no error.
long Unregister();

} // namespace registration

// The self-registration entry points that regsvr32 calls. S_OK, or SELFREG_E_CLASS
// (0x80040201) when the registry refused a change.
MORVEK_EXPORT int32_t DllRegisterServer(void);
MORVEK_EXPORT int32_t DllUnregisterServer(void);
