// tests/support/EngineTestSupport.h - what tests of the engine and the floors above share:
// an isolated user with settings of the test's own, a headless dialog host, and an
// output pane that records what the provider sends it.
#pragma once

#include "engine/CVSContext.h"
#include "settings/SccSettings.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// The environment's output pane: every text the text-out procedure received.
class OutputPane {
public:
    OutputPane();
    ~OutputPane();
    static int32_t TextOut(char* text, int32_t kind);
    const std::vector<std::string>& Lines() const { return lines_; }
    std::string All() const; // the lines joined, each followed by a line feed
    bool Has(const std::string& line) const;
    // The cvs command lines echoed since the last call (each run echoes its folder, then its
    // command line); forgets everything received so far.
    std::vector<std::string> TakeCommands();
    // The thread that delivered the first text equal to line (a default id when none was).
    std::thread::id DeliveredBy(const std::string& line) const;
    void Clear() {
        lines_.clear();
        threads_.clear();
    }

private:
    std::vector<std::string> lines_;
    std::vector<std::thread::id> threads_; // per line
};

// An isolated user whose settings object is the process's, the headless host, and a pane.
class EngineEnvironment {
public:
    EngineEnvironment();
    ~EngineEnvironment();

    CSccSettings& Settings() { return *settings_; }
    uifw::HeadlessHost& Host() { return host_; }
    OutputPane& Pane() { return pane_; }
    // A context whose text goes to the pane.
    std::unique_ptr<CCVSContext> MakeContext();

private:
    IsolatedUser user_;
    std::unique_ptr<CSccSettings> settings_;
    uifw::HeadlessHost host_{FailTest};
    OutputPane pane_;
};

// A worker thread that the thread which made it keeps serving until the worker has ended. A
// worker may send to that thread up to its last moment, the end of what its body made
// included (a controller that ends has the context's thread close its progress window): a
// plain join, which serves nothing, would then wait for a worker that waits for it.
class ServedWorker {
public:
    explicit ServedWorker(std::function<void()> body);
    ~ServedWorker(); // joins, as Join does, when nothing has yet
    ServedWorker(const ServedWorker&) = delete;
    ServedWorker& operator=(const ServedWorker&) = delete;

    // Serves the calling thread's queue until the body has returned, then joins; a worker
    // that has not ended within a minute fails the test (and is still waited for).
    void Join();

private:
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

// The stand-in for cvs (tests/programs/fakecvs) playing what the test gives it for each
// command (FAKECVS_PLAY), while the object lives: a command's output and exit code, and a
// hold that keeps it running until the test releases it.
class FakeCvsPlay {
public:
    FakeCvsPlay();
    // What "cvs COMMAND ..." prints on its output and the code it ends with.
    void Set(const std::string& command, const std::string& output, int exitCode = 0,
             const std::string& errors = std::string());
    // The command waits, once started, until Release (or a minute).
    void Hold(const std::string& command);
    void Release(const std::string& command);
    // Whether a held command has started.
    bool Started(const std::string& command) const;
    // Forgets that a command was held and released, for the next run of it.
    void Reset(const std::string& command);
    // The nice value the command last ran with (POSIX; empty elsewhere, or before it ran).
    std::string Nice(const std::string& command) const;

private:
    std::string File(const std::string& command, const char* kind) const;
    TempDir dir_;
    ScopedEnv play_;
};

} // namespace testing_support
