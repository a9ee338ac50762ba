// host/ModuleHost.cpp - the provider module: the process-wide values and their lifetime.
#include "host/ModuleHost.h"

#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "platform/ProcessList.h"
#include "scc/CommandOptions.h"
#include "scc/Trace.h"
#include "scc/TraceFile.h"
#include "settings/SccSettings.h"
#include "ui/framework/HostChoice.h"
#include "workcopy/Entries.h"

namespace {

constexpr const char* kSwitchingTool = "Belmora.exe";
constexpr const char* kToolFolder = "Morvek CVS SCC";

// Made before the settings so that the trace path outlives the shutdown that reads it.
struct EmptyTracePath {
    EmptyTracePath() { SetTracePath(std::string()); }
};

// Advanced options have not been offered yet, and no options map is remembered.
struct NoOfferedOptions {
    NoOfferedOptions() { ResetOfferedOptions(); }
};

// The cache is never destroyed (see EntriesCache::Instance); its entries go at unload.
struct EmptyEntriesCache {
    EmptyEntriesCache() { EntriesCache::Instance().Clear(); }
    ~EmptyEntriesCache() { EntriesCache::Instance().Clear(); }
};

class CModule {
public:
    CModule() {
        SetProcessSettings(&settings_);
        app_.InitInstance();
    }
    ~CModule() {
        app_.ExitInstance();
        SetProcessSettings(nullptr);
        uifw::ReleaseProcessHost();
    }
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;

private:
    CVODOroApp app_;
    EmptyTracePath tracePath_;
    CSccSettings settings_;
    EmptyEntriesCache entries_;
    NoOfferedOptions offeredOptions_;
};

CModule g_module;

} // namespace

bool CVODOroApp::InitInstance() {
    libraryFolder_ = platform::ThisModuleFolder();
    // The dialog host is chosen now, before any cvs runs: choosing it takes the scripted
    // answers (a password among them) out of the environment that children inherit.
    uifw::ProcessHost();

    CSccSettings settings;
    settings.Load();
    if (settings.GetTraceLog()) {
        // Without any application-data folder there is nowhere sensible to write; tracing
        // then stays off.
        const std::string folder = TraceFolder(true);
        if (!folder.empty()) {
            // A folder that cannot be made is not reported here: the first trace piece
            // fails to open the file and says so.
            platform::MakeFolder(folder);
            const std::string path =
                folder + platform::kPathSeparator + TraceFileName(TraceStamp(platform::LocalNow()));
            // Each load starts a new, empty trace.
            platform::DeleteFileAt(path);
            SetTracePath(path);
        }
    }
    return true;
}

int CVODOroApp::ExitInstance() {
    const std::string path = GetTracePath();
    if (!path.empty()) {
        platform::DeleteFileAt(path);
        // Nothing written during the rest of the unloading brings the file back.
        SetTracePath(std::string());
    }
    return 0;
}

MORVEK_EXPORT intptr_t Commit2(void) {
    const std::string programs = platform::GetProgramFilesFolder();
    if (!programs.empty())
        platform::ShellOpen(programs + platform::kPathSeparator + kToolFolder +
                            platform::kPathSeparator + kSwitchingTool);
    return 0;
}

MORVEK_EXPORT intptr_t Uninstall(void) {
    std::vector<platform::ProcessEntry> processes;
    if (!platform::ListProcesses(processes))
        return 0;
    const uint32_t self = platform::CurrentProcessId();
    bool selfToo = false;
    for (const platform::ProcessEntry& process : processes) {
        if (process.baseName != kSwitchingTool)
            continue;
        if (process.id == self)
            selfToo = true;
        else
            platform::TerminateProcessById(process.id);
    }
    if (selfToo)
        platform::TerminateProcessById(self);
    return 0;
}
