// engine/CVSLibrary.h - the binding of the CVS client library (cvs2ntlib).
//
// The provider never links to the client library: the first run in the process loads it
// (beside the provider, as the machine's SccServerPath says), every run resolves its six
// entry points again and registers the callbacks, and Unload frees it for the whole
// process. The executable cvs comes from CVSEXEPATH, else the machine's CVS install key,
// else the absolute folders of the PATH; never from the current folder, which is the user's
// working copy while a command runs (a bare CVSEXEPATH is looked up on the PATH too).
//
// The command runs on a thread of its own while the thread that called Execute goes on
// serving its windows (engine/CommandThread.h); the owner is called back on the calling
// thread all the same.
//
// The library's environment callback sees only the context's map: a name with a non-empty
// value there exists for cvs, anything else does not. CVS_GETPASS and CVSLIB_YESNO are
// answered by asking the owner first.
#pragma once

#include "cvsglue/CvsGlue.h"
#include "platform/DynamicLibrary.h"

#include <atomic>
#include <map>
#include <string>

class CCVSArgs;

// The context's name-to-value maps (the environment cvs sees, the command options). A
// missing name reads as empty.
using CCVSStringMap = std::map<std::string, std::string>;
std::string LookupValue(const CCVSStringMap& map, const std::string& name);

// What the binding calls back into while a command runs (the context implements it).
class CCVSConnectCallBack {
public:
    virtual ~CCVSConnectCallBack() = default;
    // One chunk of console text: stream 0 is the output stream, 1 the error stream. The
    // chunk may hold any byte, NUL included.
    virtual void OnConsoleText(const char* text, size_t length, int stream) = 0;
    // The library needs the repository password: on return the map holds it under
    // CVS_GETPASS, or nothing when the user declined.
    virtual void OnPasswordRequest() = 0;
    // The library asks a yes/no question: on return the map holds "yes" or "no" under
    // CVSLIB_YESNO.
    virtual void OnYesNoQuestion() = 0;
};

class CCVSLibrary {
public:
    CCVSLibrary() = default;
    ~CCVSLibrary() = default;
    CCVSLibrary(const CCVSLibrary&) = delete;
    CCVSLibrary& operator=(const CCVSLibrary&) = delete;

    void SetOwner(CCVSConnectCallBack* owner) { owner_ = owner; }
    CCVSConnectCallBack* GetOwner() const { return owner_; }
    // The cvs program for the next run; empty: found as described above.
    void SetExecutablePath(const std::string& path);
    const std::string& GetExecutablePath() const { return executable_; }
    void SetEnvironment(CCVSStringMap* environment) { environment_ = environment; }

    // Runs one command; true when the library returned 0. With a map, the environment
    // callback reads that one during this run. Failures to load the library or to find cvs
    // are shown in a message box and make the run fail; they never end the host's process.
    bool Execute(CCVSArgs& args, CCVSStringMap* environment);
    // Why the last run failed before cvs started (the message box's text); empty when it
    // started, so that a caller's own line can carry the reason the box gave.
    const std::string& GetStartFailure() const { return startFailure_; }
    // Asks the running command to stop (from any thread).
    void Abort();
    // Frees the library for the whole process; the next run of any context loads it again.
    void Unload();

    // The process-wide module handle (null until the first run loads the library).
    static bool IsLibraryLoaded();

private:
    static int OnOutput(const char* text, size_t length, void* user, void* reserved);
    static int OnError(const char* text, size_t length, void* user, void* reserved);
    static int OnExit(int result, void* user);
    static const char* OnGetEnv(const char* name, void* user);

    bool LoadLibraryModule();
    bool ResolveEntryPoints();
    bool ResolveExecutable(std::string& path);
    const char* EnvironmentAnswer(const char* name);
    // Shows why cvs cannot start and keeps it as the run's start failure.
    void RefuseStart(const std::string& text, const char* caption, unsigned flags);

    std::string executable_; // at most 260 bytes, as the library's callers expect
    std::string startFailure_;
    CCVSConnectCallBack* owner_ = nullptr;
    CCVSStringMap* environment_ = nullptr;
    // Abort is called from another thread while a command runs, when the entry points may
    // be looked up again for the next run.
    std::atomic<DllGlueAbortFn> abort_{nullptr};
    DllGlueMainFn main_ = nullptr;
    DllGlueSetConsoleFn setConsoleOut_ = nullptr;
    DllGlueSetConsoleFn setConsoleErr_ = nullptr;
    DllGlueSetExitFn setConsoleExit_ = nullptr;
    DllGlueSetGetEnvFn setGetEnv_ = nullptr;
};
