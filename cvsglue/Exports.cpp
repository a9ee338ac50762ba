// cvsglue/Exports.cpp - the six entry points of the client library.
//
// Nothing here is shared with the provider: the library keeps the registered callbacks and
// the commands running now, so that dllglue_abort can find the one it names.
#include "cvsglue/Command.h"
#include "cvsglue/CvsGlue.h"
#include "cvsglue/Session.h"
#include "platform/Export.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace {

std::atomic<DllGlueConsoleFn> g_out{nullptr};
std::atomic<DllGlueConsoleFn> g_err{nullptr};
std::atomic<DllGlueExitFn> g_exit{nullptr};
std::atomic<DllGlueGetEnvFn> g_getenv{nullptr};

std::mutex g_runningMutex;
std::vector<cvsglue::Session*> g_running;

class Registration {
public:
    explicit Registration(cvsglue::Session* s) : s_(s) {
        std::lock_guard<std::mutex> lock(g_runningMutex);
        g_running.push_back(s_);
    }
    ~Registration() {
        std::lock_guard<std::mutex> lock(g_runningMutex);
        g_running.erase(std::remove(g_running.begin(), g_running.end(), s_), g_running.end());
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    cvsglue::Session* s_;
};

int Main(cvsglue::Session& session, int argc, const char* const* argv) {
    if (session.Executable().empty()) {
        session.Error("cvs2ntlib: no cvs program was given\n");
        return DLLGLUE_CANNOT_START;
    }
    std::vector<std::string> args;
    for (int i = 0; argv && i < argc; ++i)
        args.emplace_back(argv[i] ? argv[i] : "");
    cvsglue::Dialect dialect;
    if (!session.Detect(dialect))
        return session.Aborted() ? DLLGLUE_ABORTED : DLLGLUE_CANNOT_START;
    session.PrepareEnvironment(dialect);
    cvsglue::Facts facts;
    facts.environmentRoot = session.Variable("CVSROOT");
    facts.folderRoot = cvsglue::FolderRoot();
    int rc = cvsglue::Execute(session, cvsglue::MakePlan(dialect, args, facts));
    return session.Aborted() ? DLLGLUE_ABORTED : rc;
}

} // namespace

MORVEK_EXPORT int dllglue_main(const char* executable, int argc, const char* const* argv,
                               void* userData) {
    cvsglue::Callbacks callbacks;
    callbacks.out = g_out;
    callbacks.err = g_err;
    callbacks.exit = g_exit;
    callbacks.getenv = g_getenv;
    callbacks.userData = userData;
    int rc = DLLGLUE_CANNOT_START;
    try {
        cvsglue::Session session(callbacks, executable ? executable : "");
        Registration registration(&session);
        rc = Main(session, argc, argv);
    } catch (...) {
        // Nothing may cross the C interface; out of memory is the only likely cause.
        rc = DLLGLUE_CANNOT_START;
    }
    if (callbacks.exit)
        callbacks.exit(rc, userData);
    return rc;
}

MORVEK_EXPORT void dllglue_abort(void* userData) {
    std::lock_guard<std::mutex> lock(g_runningMutex);
    for (cvsglue::Session* s : g_running)
        if (s->UserData() == userData)
            s->Abort();
}

MORVEK_EXPORT void dllglue_setconsoleout(DllGlueConsoleFn callback) {
    g_out = callback;
}

MORVEK_EXPORT void dllglue_setconsoleerr(DllGlueConsoleFn callback) {
    g_err = callback;
}

MORVEK_EXPORT void dllglue_setconsoleexit(DllGlueExitFn callback) {
    g_exit = callback;
}

MORVEK_EXPORT void dllglue_setgetenv(DllGlueGetEnvFn callback) {
    g_getenv = callback;
}
