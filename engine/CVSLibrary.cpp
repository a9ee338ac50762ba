// engine/CVSLibrary.cpp - loading the client library, resolving cvs, running one command.
#include "engine/CVSLibrary.h"

#include "engine/CVSArgs.h"
#include "engine/CommandThread.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "ui/framework/MessageBox.h"

#include <cstdio>

namespace {

// The one module handle of the client library in the process, shared by every binding.
platform::LibraryHandle g_library = nullptr;

constexpr size_t kPathBuffer = 260;
constexpr const char* kClientLibrary = "cvs2ntlib";

// A string value of a machine key (REG_SZ or REG_EXPAND_SZ, not expanded); empty when the
// key or the value is missing or of another type. opened tells whether the key exists.
std::string MachineString(const char* keyPath, const char* valueName, bool* opened = nullptr) {
    platform::RegKey key = nullptr;
    const bool open = platform::OpenRegKey(platform::RegHive::LocalMachine, keyPath,
                                           platform::RegAccess::Read, &key) == platform::kRegOk;
    if (opened)
        *opened = open;
    if (!open)
        return std::string();
    uint32_t type = platform::kRegNone;
    std::string data;
    std::string value;
    if (platform::QueryRegValue(key, valueName, &type, &data) == platform::kRegOk &&
        (type == platform::kRegSz || type == platform::kRegExpandSz))
        value = data.substr(0, data.find('\0')).substr(0, kPathBuffer - 1);
    platform::CloseRegKey(key);
    return value;
}

std::string FolderOf(const std::string& path) {
    std::string::size_type sep = path.find_last_of("\\/");
    return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    const char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + platform::kPathSeparator + name;
}

} // namespace

std::string LookupValue(const CCVSStringMap& map, const std::string& name) {
    auto it = map.find(name);
    return it == map.end() ? std::string() : it->second;
}

void CCVSLibrary::SetExecutablePath(const std::string& path) {
    executable_ = path.substr(0, kPathBuffer - 1);
}

bool CCVSLibrary::IsLibraryLoaded() {
    return g_library != nullptr;
}

bool CCVSLibrary::LoadLibraryModule() {
    // The machine's registration names the provider's own file; the client library lies
    // beside it. Without one, the provider's own folder stands in for it (an IDE searches
    // its own folder, not the provider's), and last the system's search by bare name.
    const std::string fileName = platform::LibraryFileName(kClientLibrary);
    std::string serverPath = MachineString("SOFTWARE\\Morvek\\VODORO", "SccServerPath");
    std::string candidate;
    if (!serverPath.empty()) {
        candidate = Join(FolderOf(serverPath), fileName);
    } else {
        candidate = Join(platform::ThisModuleFolder(), fileName);
        if (!platform::Exists(candidate))
            candidate = fileName;
    }
    int code = 0;
    std::string text;
    g_library = platform::OpenLibrary(candidate, &code, &text);
    if (g_library)
        return true;
    char message[1024];
    std::snprintf(message, sizeof message, "%s failed with error %d: %s", "LoadLibrary", code,
                  text.c_str());
    RefuseStart(message, "Error", uifw::kMbOk | uifw::kMbIconError);
    return false;
}

void CCVSLibrary::RefuseStart(const std::string& text, const char* caption, unsigned flags) {
    startFailure_ = text;
    uifw::ShowMessageBox(nullptr, text, caption, flags);
}

bool CCVSLibrary::ResolveEntryPoints() {
    DllGlueAbortFn abortEntry = nullptr;
    struct Entry {
        const char* name;
        void** slot;
    } const entries[] = {
        {"dllglue_abort", reinterpret_cast<void**>(&abortEntry)},
        {"dllglue_main", reinterpret_cast<void**>(&main_)},
        {"dllglue_setconsoleout", reinterpret_cast<void**>(&setConsoleOut_)},
        {"dllglue_setconsoleerr", reinterpret_cast<void**>(&setConsoleErr_)},
        {"dllglue_setconsoleexit", reinterpret_cast<void**>(&setConsoleExit_)},
        {"dllglue_setgetenv", reinterpret_cast<void**>(&setGetEnv_)},
    };
    for (const Entry& entry : entries) {
        *entry.slot = platform::FindSymbol(g_library, entry.name);
        if (!*entry.slot) {
            RefuseStart(std::string("The CVS client library has no entry point ") + entry.name +
                            "; reinstall the provider.",
                        "Error", uifw::kMbOk | uifw::kMbIconError);
            return false;
        }
    }
    abort_.store(abortEntry, std::memory_order_release);
    return true;
}

// By the time a command runs, the current folder is the user's working copy: nothing is
// looked up relative to it, so a cvs in a checkout never stands in for the real one. An
// empty result is reported as "cvs.exe not found".
bool CCVSLibrary::ResolveExecutable(std::string& path) {
    if (!executable_.empty()) {
        path = platform::ResolveProgramPath(executable_);
    } else {
        bool keyOpened = false;
        const std::string installPath =
            MachineString("SOFTWARE\\CVS\\Pserver", "InstallPath", &keyOpened);
        if (!installPath.empty()) {
            path =
                platform::ResolveProgramPath(Join(installPath, platform::ProgramFileName("cvs")));
        } else {
            path = platform::FindProgramOnPath(platform::ProgramFileName("cvs"));
            if (path.empty() && !keyOpened) {
                RefuseStart("cvs.exe path could not be resolved.", "Morvek CVS SCC", uifw::kMbOk);
                return false;
            }
        }
    }
    path = path.substr(0, kPathBuffer - 1);
    return true;
}

bool CCVSLibrary::Execute(CCVSArgs& args, CCVSStringMap* environment) {
    startFailure_.clear();
    if (!g_library && !LoadLibraryModule())
        return false;
    if (!ResolveEntryPoints())
        return false;
    setConsoleOut_(&CCVSLibrary::OnOutput);
    setConsoleErr_(&CCVSLibrary::OnError);
    setConsoleExit_(&CCVSLibrary::OnExit);
    setGetEnv_(&CCVSLibrary::OnGetEnv);

    CCVSStringMap* const remembered = environment_;
    if (environment)
        environment_ = environment;
    std::string path;
    bool ok = false;
    if (!ResolveExecutable(path)) {
        ok = false;
    } else if (path.empty() || !platform::Exists(path)) {
        RefuseStart("cvs.exe not found", "Morvek CVS SCC", uifw::kMbOk);
    } else {
        ok = commandthread::Run(
                 [&] { return main_(path.c_str(), args.GetCount(), args.GetArgv(), this); }) == 0;
    }
    environment_ = remembered;
    return ok;
}

void CCVSLibrary::Abort() {
    if (const DllGlueAbortFn abort = abort_.load(std::memory_order_acquire))
        abort(this);
}

void CCVSLibrary::Unload() {
    if (!g_library)
        return;
    platform::CloseLibrary(g_library);
    g_library = nullptr;
    abort_.store(nullptr, std::memory_order_release);
    main_ = nullptr;
    setConsoleOut_ = setConsoleErr_ = nullptr;
    setConsoleExit_ = nullptr;
    setGetEnv_ = nullptr;
}

int CCVSLibrary::OnOutput(const char* text, size_t length, void* user, void*) {
    auto* self = static_cast<CCVSLibrary*>(user);
    commandthread::Back([&] {
        if (self && self->owner_)
            self->owner_->OnConsoleText(text, length, 0);
    });
    return 0;
}

int CCVSLibrary::OnError(const char* text, size_t length, void* user, void*) {
    auto* self = static_cast<CCVSLibrary*>(user);
    commandthread::Back([&] {
        if (self && self->owner_)
            self->owner_->OnConsoleText(text, length, 1);
    });
    return 0;
}

int CCVSLibrary::OnExit(int, void*) {
    return 0;
}

const char* CCVSLibrary::OnGetEnv(const char* name, void* user) {
    auto* self = static_cast<CCVSLibrary*>(user);
    const char* answer = nullptr;
    commandthread::Back([&] { answer = self && name ? self->EnvironmentAnswer(name) : nullptr; });
    return answer;
}

const char* CCVSLibrary::EnvironmentAnswer(const char* name) {
    if (!environment_)
        return nullptr;
    const std::string key = name;
    if (key == "CVSLIB_YESNO") {
        if (owner_)
            owner_->OnYesNoQuestion();
        auto it = environment_->find(key);
        return it == environment_->end() ? nullptr : it->second.c_str();
    }
    auto it = environment_->find(key);
    if (it != environment_->end() && !it->second.empty())
        return it->second.c_str();
    if (key == "CVS_GETPASS" && owner_) {
        owner_->OnPasswordRequest();
        it = environment_->find(key);
        if (it != environment_->end() && !it->second.empty())
            return it->second.c_str();
    }
    return nullptr;
}
