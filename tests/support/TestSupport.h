// tests/support/TestSupport.h - what every test program shares: temporary folders, files,
// environment variables, and running programs.
//
// Tests make their own folders under the temporary folder and never touch the real user's
// files. Operating-system details stay in TestSupport.cpp.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

// A fresh folder that is removed with everything in it when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& tag = "t");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() joined with a relative name using the platform's separator.
    std::string operator/(const std::string& name) const;

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
// Removes a folder tree, making read-only entries writable first.
void RemoveTree(const std::string& path);

void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);
std::string GetEnv(const std::string& name);

// Sets (or unsets) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ScopedEnv(std::string name, std::nullptr_t);
    ~ScopedEnv();

private:
    std::string name_;
    std::string old_;
    bool hadOld_;
};

struct RunResult {
    int status = -1; // exit status, or -1 when the program could not be run
    std::string out; // standard output
    std::string err; // standard error
};

// Runs a program with arguments (no shell), in folder when it is given. POSIX only; on
// Windows the result has status -1.
RunResult Run(const std::vector<std::string>& argv, const std::string& folder = "");
// Runs a command line through /bin/sh (POSIX only; fixtures use it to drive cvs).
RunResult Shell(const std::string& script, const std::string& folder = "");

// Whether a program is on PATH (POSIX), e.g. HaveProgram("cvs").
bool HaveProgram(const std::string& name);

// Runs a program with a terminal (a pseudo-terminal) as its standard input, output and error.
// Each step waits until the program's output holds the text (10 seconds at most), notes
// whether the terminal echoes typing at that moment, and types the answer. POSIX only; on
// Windows the result has status -1.
struct TerminalStep {
    std::string waitFor;
    std::string type;
};
struct TerminalRunResult {
    int status = -1;         // exit status, or -1 when it could not be run or timed out
    std::string transcript;  // everything the terminal showed
    std::vector<bool> echo;  // per step: whether typing was echoed when it was reached
    std::vector<bool> found; // per step: whether the text appeared in time
};
TerminalRunResult RunOnTerminal(const std::vector<std::string>& argv,
                                const std::vector<TerminalStep>& steps);

// Reports a failure of the running test (for code that takes a function to report with).
void FailTest(const std::string& message);

bool RunningUnderWine();
bool RunningAsRoot();

// Where the build put its products (the provider, scchost, the test programs).
std::string BinDir();
std::string SourceDir();
char Sep();

} // namespace testing_support
