// host/ModuleHost.h - the provider module: start-up and shutdown of the library.
//
// The module host is the top floor: it creates the process-wide values when the library is
// loaded and releases them when it is unloaded, and it exports the two calls that start and
// stop the provider-switching tool. Nothing includes it but its own files and its tests.
//
// Load and unload are the construction and destruction of one static object: the C++
// runtime constructs it when the library is loaded (Windows: during the DLL's process
// attach; POSIX: while dlopen runs the library's initialisers) and destroys it when the
// library is unloaded (process detach; dlclose or exit). Its members are made in this order
// and destroyed in the reverse one: the application object, the empty trace path, the
// process-wide settings (which load), the entries cache, the advanced-options flag and the
// remembered options map (both empty); then start-up runs. At unload,
// shutdown runs first (the trace file is deleted), then the settings save.
//
// Values other floors use live where those floors can reach them: the library's folder is
// platform::ThisModuleFolder(), the settings GetSettings() (settings/SccSettings.h), the
// trace path GetTracePath() (scc/Trace.h), the advanced-options flag and the remembered
// options AdvancedOptionsOffered() and RememberedOptions() (scc/CommandOptions.h), the help
// facility platform::ShowHtmlHelp().
#pragma once

#include "platform/Export.h"

#include <cstdint>
#include <string>

// The library's application object: start-up and shutdown only.
class CVODOroApp {
public:
    // Records the library's folder and, when TRACELOG is on, fixes a fresh trace file's
    // path: "Trace" + start-up local time ("%y%m%dT%H%M%S") + ".log" in the folder Morvek of
    // the per-user application-data folder, which is made when missing. Returns true.
    bool InitInstance();
    // Deletes the trace file, if there is one.
    int ExitInstance();

    const std::string& GetLibraryFolder() const { return libraryFolder_; }

private:
    std::string libraryFolder_;
};

// Starts the provider-switching tool, <program files>/Morvek CVS SCC/Belmora.exe, with the
// shell's "open". Always 0, whether or not the tool is there.
MORVEK_EXPORT intptr_t Commit2(void);
// Stops every running process whose executable is named exactly "Belmora.exe" (POSIX: of
// the same user; this process last, if it is one of them). Always 0.
MORVEK_EXPORT intptr_t Uninstall(void);
