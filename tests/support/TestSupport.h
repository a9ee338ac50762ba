// tests/support/TestSupport.h - what every test program shares: temporary folders, files,
// environment variables, and running programs.
//
// Tests make their own folders under the temporary folder and never touch the real user's
// files. Operating-system details stay in TestSupport.cpp.
#pragma once

#include <map>
#include <memory>
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
// Every file below a folder with its content, by its path relative to the folder ('/'
// between names); folders themselves are not listed. For checking that a step left a tree's
// files as they were, byte for byte.
std::map<std::string, std::string> ReadTree(const std::string& folder);

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

// A user of the test's own, for the life of the object: the registry, the configuration and
// the application-data folders point into a fresh temporary folder.
//  - POSIX: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and MORVEK_MACHINE_REGISTRY are set, so the
//    user hive is Folder()/config/Morvek/user.reg and the machine hive Folder()/machine.reg.
//  - Windows: MORVEK_REGISTRY_KEY names a scratch key of the current user (with the hives
//    HKCU and HKLM below it, each with its "software" key) that is deleted afterwards; the
//    store of this process and of the programs it starts lies there (platform/Registry.h).
//  - Both: MORVEK_APPDATA_FOLDER and XDG_DATA_HOME name AppDataFolder(), which is not made.
class IsolatedUser {
public:
    IsolatedUser();
    ~IsolatedUser();
    IsolatedUser(const IsolatedUser&) = delete;
    IsolatedUser& operator=(const IsolatedUser&) = delete;

    const std::string& Folder() const { return dir_.Path(); }
    std::string UserHiveFile() const;    // POSIX
    std::string MachineHiveFile() const; // POSIX
    std::string AppDataFolder() const;

private:
    TempDir dir_{"user"};
    std::vector<std::unique_ptr<ScopedEnv>> env_;
    std::string scratchKey_; // Windows
};

struct RunResult {
    int status = -1; // exit status, or -1 when the program could not be run
    std::string out; // standard output
    std::string err; // standard error
};

// Runs a program with arguments (no shell), in folder when it is given. On Windows the
// program is a full path; standard input is at its end at once.
RunResult Run(const std::vector<std::string>& argv, const std::string& folder = "");

// A program started and left running (its output goes to the test's own streams); it is
// killed, if still running, when the object goes.
class Started {
public:
    explicit Started(const std::vector<std::string>& argv);
    ~Started();
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    bool Ok() const { return id_ != 0; }
    unsigned long Id() const { return id_; }
    // Whether it still runs; once it has ended, it is reaped and Running stays false.
    bool Running();
    // Waits up to the given time for it to end; true when it has.
    bool WaitForEnd(int milliseconds);
    void Kill();

private:
    unsigned long id_ = 0;
    void* handle_ = nullptr; // Windows process handle
    bool ended_ = false;
};
// Runs a command line through /bin/sh; fixtures use it to drive cvs. Under Wine it runs the
// Linux shell through the test shim (cvs-shim.exe beside the tests); elsewhere on Windows
// the result has status -1.
RunResult Shell(const std::string& script, const std::string& folder = "");
// The path as the Linux side of a shell script sees it: under Wine the Unix path of a
// Windows path, elsewhere the path itself.
std::string UnixPath(const std::string& path);

// Whether the shell finds a program, e.g. HaveProgram("cvs").
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
// Whether a process of that id still runs (a zombie counts as ended).
bool ProcessIsAlive(long pid);
bool RunningAsRoot();

// Where the build put its products (the provider, scchost, the test programs).
std::string BinDir();
std::string SourceDir();
char Sep();

} // namespace testing_support
