// tests/support/CvsGlueClient.h - the built client library (cvs2ntlib), loaded by path and
// driven through its six entry points the way the provider drives it.
//
// The client plays the provider's part: it answers the environment callback from a map,
// records every chunk of console text and every name asked, and can answer passwords and
// questions, or abort, from inside a callback.
#pragma once

#include "cvsglue/CvsGlue.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

class CvsGlueClient {
public:
    CvsGlueClient();
    // The library at that path (a copy loads apart from the built one, with state of its own).
    explicit CvsGlueClient(const std::string& libraryPath);
    ~CvsGlueClient();
    CvsGlueClient(const CvsGlueClient&) = delete;
    CvsGlueClient& operator=(const CvsGlueClient&) = delete;

    bool Loaded() const { return main_ != nullptr; }
    const std::string& LoadError() const { return loadError_; }

    struct Result {
        int rc = 0;
        std::string out, err;
        std::vector<std::string> outChunks;
        int exitCalls = 0;
        int exitResult = 0;
    };
    // Runs one command in the current folder.
    Result Run(const std::string& executable, const std::vector<std::string>& args);
    // dllglue_abort with this client as the user data.
    void Abort();

    // What the environment callback answers: a name in the map gets its value (also an
    // empty one); any other name gets null.
    std::map<std::string, std::string> env;
    // Every name the library asked for, in order.
    std::vector<std::string> asked;
    // Called with each chunk of standard output (error) as it arrives, after it was recorded.
    std::function<void(CvsGlueClient&, const std::string& chunk)> onOutput;
    std::function<void(CvsGlueClient&, const std::string& chunk)> onError;
    // Called when the library asks CVS_GETPASS or CVSLIB_YESNO; may change env.
    std::function<void(CvsGlueClient&, const std::string& name)> onAsk;
    // The output received so far in the current run.
    const Result& Current() const { return current_; }

private:
    static int OnOut(const char* text, size_t length, void* user, void* reserved);
    static int OnErr(const char* text, size_t length, void* user, void* reserved);
    static int OnExit(int result, void* user);
    static const char* OnGetEnv(const char* name, void* user);

    void* library_ = nullptr;
    std::string loadError_;
    DllGlueMainFn main_ = nullptr;
    DllGlueAbortFn abort_ = nullptr;
    DllGlueSetConsoleFn setOut_ = nullptr, setErr_ = nullptr;
    DllGlueSetExitFn setExit_ = nullptr;
    DllGlueSetGetEnvFn setGetEnv_ = nullptr;
    Result current_;
};

// The path of the test program that stands in for cvs (tests/programs/fakecvs.cpp).
std::string FakeCvsPath();

} // namespace testing_support
