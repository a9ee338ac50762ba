// cvsglue/Session.h - one call of dllglue_main: the callbacks it reports to, the environment
// of its cvs runs, and the runs themselves, any of which dllglue_abort may end.
#pragma once

#include "cvsglue/CvsGlue.h"
#include "cvsglue/Dialect.h"
#include "platform/Process.h"

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace cvsglue {

// The callbacks registered when the command started, and its user data.
struct Callbacks {
    DllGlueConsoleFn out = nullptr;
    DllGlueConsoleFn err = nullptr;
    DllGlueExitFn exit = nullptr;
    DllGlueGetEnvFn getenv = nullptr;
    void* userData = nullptr;
};

struct RunOptions {
    bool deliver = true;          // hand the text to the console callbacks as it comes
    bool captureOutput = false;   // keep all standard output in RunResult::output
    bool answerPassword = false;  // answer "CVS password: " on standard error from CVS_GETPASS
    bool answerQuestions = false; // answer yes/no questions from CVSLIB_YESNO
    const ListingRewriter* listing = nullptr; // rewrite standard output (copied per run)
    std::string folder;                       // where cvs runs; empty: the current folder
    int timeoutMs = 0;                        // end the run after this long; 0: never
};

struct RunResult {
    bool started = false;
    bool aborted = false; // dllglue_abort (or the timeout) ended it
    int status = -1;      // exit status
    size_t outputBytes = 0;
    std::string output; // with captureOutput
    std::string error;  // standard error (its first megabyte)
    std::string startError;
    std::string endSignal; // how the child died by a signal, if it did
};

class Session {
public:
    Session(const Callbacks& callbacks, std::string executable);

    // The dialect of the executable, found once per path for the process.
    bool Detect(Dialect& dialect);
    // Asks the callback for the variables of AskedVariables and fixes the environment.
    void PrepareEnvironment(Dialect dialect);

    RunResult Run(const std::vector<std::string>& args, const RunOptions& options);

    void Output(const std::string& text); // to the output callback
    void Error(const std::string& text);  // to the error callback
    const char* GetEnv(const char* name);

    void Abort();
    bool Aborted() const { return aborted_; }
    void* UserData() const { return callbacks_.userData; }
    const std::string& Executable() const { return executable_; }
    // The value a variable has for the runs: the callback's answer, else inherited.
    std::string Variable(const std::string& name) const;

private:
    Callbacks callbacks_;
    std::string executable_;
    std::vector<std::pair<std::string, std::string>> environment_;
    std::atomic<bool> aborted_{false};
    std::mutex mutex_; // guards current_
    platform::ChildProcess* current_ = nullptr;
};

} // namespace cvsglue
