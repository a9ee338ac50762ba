// tests/e2e/ProviderHost.h - a host environment for the built provider: the module loaded
// by path, its exports resolved by name, an output pane, the call trace, and the user's
// settings written before the module loads (it reads them when it loads).
#pragma once

#include "scc/SccApi.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The host's output pane: every text the provider sent, one per line.
class HostPane {
public:
    static SccLong TextOut(char* text, SccLong kind);
    static std::vector<std::string>& Lines();
    static std::string All();
    // The cvs command lines echoed since the last call (each follows the folder it runs in);
    // forgets everything received so far.
    static std::vector<std::string> TakeCommands();
    static void Clear() { Lines().clear(); }
    // Called with each text as it arrives, on the thread that delivers it (the provider
    // calls the host from there, as a host's own code would).
    static std::function<void(const std::string&)>& OnText();
};

// The exports a host calls, resolved by name.
struct Exports {
    using InitializeFn = SCCRTN (*)(void**, SccWindow, const char*, char*, SccLong*, char*,
                                    SccLong*, SccLong*);
    using UninitializeFn = SCCRTN (*)(void*);
    using OpenProjectFn = SCCRTN (*)(void*, SccWindow, char*, char*, const char*, char*,
                                     const char*, LPTEXTOUTPROC, SccLong);
    using GetFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, SccLong, SccCmdOptions);
    using CheckoutFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, const char*, SccLong,
                                  SccCmdOptions);
    using UncheckoutFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, SccLong,
                                    SccCmdOptions);
    using AddFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, const char*, SccLong*,
                             SccCmdOptions);
    using RenameFn = SCCRTN (*)(void*, SccWindow, const char*, const char*);

    InitializeFn initialize = nullptr;
    UninitializeFn uninitialize = nullptr;
    OpenProjectFn openProject = nullptr;
    GetFn get = nullptr;
    CheckoutFn checkout = nullptr;
    UncheckoutFn uncheckout = nullptr;
    CheckoutFn checkin = nullptr; // the same parameters
    AddFn add = nullptr;
    CheckoutFn remove = nullptr; // the same parameters
    RenameFn rename = nullptr;

    // False when one is missing.
    bool Resolve(LoadedProvider& provider);
};

// The repository a working folder's CVS/Root names (under Wine the Linux cvs wrote it, and
// the provider opens a working folder only with the repository it names).
std::string WorkingCopyRoot(const std::string& folder);

// The values of the user's settings a test cares about, written before the module loads.
struct UserSettings {
    bool traceLog = true;
    bool independentMode = true;
    bool useComments = false;
    bool autoCommit = true;
    std::string cvsExePath; // empty: the cvs the tests use here
};
void StoreUserSettings(const UserSettings& settings);

// The trace of the loaded module, which the tests' fixed clock names; Take gives what was
// written since the last Take.
class TraceReader {
public:
    explicit TraceReader(const std::string& appDataFolder);
    std::string Take();

private:
    std::string path_;
    size_t seen_ = 0;
};
// The clock the tests fix, and the file name of the trace it gives.
constexpr const char* kTestClock = "2022-08-26T12:35:38";

// A working copy of the module for each way to reach the repository, and another user who
// commits from a working copy of their own; the clock fixed, so that the provider's trace
// has a known name.
class WorkingCopyTest : public RepositoryByMethod {
protected:
    void SetUp() override;
    // A fresh working copy of the module in the sandbox.
    std::string NewCopy(const std::string& name);
    // A path of a working copy ("sub/c.txt"), with the platform's separators; the test's own
    // working copy when none is named.
    std::string File(const std::string& relative, const std::string& copy = "") const;
    // Another user commits a change (a new file when add is true).
    void TheyCommit(const std::string& relative, const std::string& content, bool add = false);

    testing_support::ScopedEnv clock_{"MORVEK_TEST_CLOCK", kTestClock};
    std::string work_;
    int copies_ = 0;
};

} // namespace e2e
