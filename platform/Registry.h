// platform/Registry.h - keys and values of the registry: the current user's and the machine's.
//
// A key is opened below a hive or below another open key, by a path whose components are
// separated by backslashes. Names of keys and of values compare without ASCII letter case,
// and keep the case they were created with. Every function returns a Win32 registry result
// code (kRegOk, kRegFileNotFound, ...) and never throws; out-arguments are defined only when
// kRegOk is returned. A path may hold runs of backslashes and a trailing one (they count as
// one separator and nothing); a path that begins with a backslash is kRegBadPathname.
//
// Windows: the Win32 registry (RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, ...). While
// MORVEK_REGISTRY_KEY names a key below HKEY_CURRENT_USER, its subkeys HKCU and HKLM stand in
// for the two hives (tests give a program they start a registry of its own, as the POSIX
// files below are chosen through the environment).
//
// POSIX stands in with two REGEDIT4 text files, the format the Windows registry editor
// exports and imports:
//  - the current user's hive: $XDG_CONFIG_HOME/Morvek/user.reg, or ~/.config/Morvek/user.reg
//    when XDG_CONFIG_HOME is unset or not an absolute path;
//  - the machine hive: the file named by MORVEK_MACHINE_REGISTRY, else /etc/Morvek/machine.reg.
// The paths are taken when the first key of a hive is opened in the process.
//  - A process reads a hive file when it opens the first key of it, and works on that copy
//    while any key of the hive stays open. Changes are kept as a list of operations and
//    written when a key is flushed or when the last open key of the hive is closed: under
//    an advisory lock (flock on the file name + ".lock"), the file is read again, the
//    operations are replayed on what it now holds, and the result goes to a temporary file
//    that is renamed over the hive file. A reader therefore always sees a complete file, and
//    everything one process writes between two flushes lands at once: changes made by other
//    processes to other values survive, and for the same value the last writer wins.
//  - Values are enumerated in the order they stand in the file, which is the order of their
//    creation (Windows shows the same order for values it keeps; Wine sorts them by name).
//  - Strings are bytes; REGEDIT4 files hold text in the ANSI code page, so non-ASCII bytes
//    are read by Windows in its code page, not as UTF-8.
//  - A file edited by hand reads as the registry editor imports it: in quoted text only
//    "\\" and "\"" are escapes and any other backslash is itself; of two values of one
//    name under a key the last counts, and the next write keeps only that one.
//  - A key or value name with a line feed in it is refused (kRegInvalidParameter): the
//    format has no way to write it. Values may hold any bytes.
//  - The key "software" of each hive always exists, as on Windows.
//  - A damaged file (lines that are not REGEDIT4) is reported once per process on standard
//    error and read as far as it is sound. Its unreadable lines are kept: a save writes them
//    back, in place below the key they followed, so the file never holds less than it did.
//    Values below a damaged key header are kept with it and are not read.
//  - A hive whose file cannot be written (a folder without write permission, a path below
//    a file) opens existing keys for reading; creating a key or writing a value gives
//    kRegAccessDenied.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class RegHive {
    CurrentUser, // HKEY_CURRENT_USER
    LocalMachine // HKEY_LOCAL_MACHINE
};

enum class RegAccess {
    Read,     // KEY_READ
    ReadWrite // KEY_READ | KEY_WRITE
};

struct RegKeyObject;
using RegKey = RegKeyObject*; // an open key; null is never a valid key

// Win32 result codes, the same numbers on every platform.
constexpr long kRegOk = 0;
constexpr long kRegFileNotFound = 2;
constexpr long kRegAccessDenied = 5;
constexpr long kRegInvalidHandle = 6;
constexpr long kRegWriteFault = 29;
constexpr long kRegInvalidParameter = 87;
constexpr long kRegBadPathname = 161;
constexpr long kRegMoreData = 234;
constexpr long kRegNoMoreItems = 259;

// Value types.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

long OpenRegKey(RegHive hive, const std::string& path, RegAccess access, RegKey* key);
long OpenRegKey(RegKey parent, const std::string& path, RegAccess access, RegKey* key);
// Opens the key, creating it and any missing key above it (non-volatile, read and write).
long CreateRegKey(RegHive hive, const std::string& path, RegKey* key);
long CreateRegKey(RegKey parent, const std::string& path, RegKey* key);
void CloseRegKey(RegKey key); // null is ignored

// The value's type and its data exactly as stored (a string written as REG_SZ includes its
// terminating NUL when the writer counted it). An empty name is the key's default value.
long QueryRegValue(RegKey key, const std::string& name, uint32_t* type, std::string* data);
long SetRegValue(RegKey key, const std::string& name, uint32_t type, const std::string& data);
// REG_SZ with the text and its terminating NUL.
long SetRegString(RegKey key, const std::string& name, const std::string& text);
// The name of the value at index, counting from 0; kRegNoMoreItems past the last one.
long EnumRegValueName(RegKey key, uint32_t index, std::string* name);
long DeleteRegValue(RegKey key, const std::string& name);
// Deletes every value of the key. Windows: the names are collected first and then deleted
// one by one. POSIX: one operation, so that a concurrent writer's values under the same key
// are cleared too and the key ends up holding exactly what this process writes next.
long DeleteAllRegValues(RegKey key);
// Writes the key's hive to disk (POSIX: every pending change of the hive).
long FlushRegKey(RegKey key);

// Deletes a key with everything below it (used by tests to clean up after themselves).
long DeleteRegTree(RegHive hive, const std::string& path);

// POSIX: the file that holds the hive, as it would be chosen now. Windows: empty.
std::string RegHiveFilePath(RegHive hive);

} // namespace platform
