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

// Runs a program with arguments (no shell), in folder when it is given. On Windows the
// program is a full path; standard input is at its end at once.
RunResult Run(const std::vector<std::string>& argv, const std::string& folder = "");
// Runs a command line through /bin/sh; fixtures use it to drive cvs. Under Wine it runs the
// Linux shell through the test shim (cvs-shim.exe beside the tests); elsewhere on Windows
// the result has status -1.
RunResult Shell(const std::string& script, const std::string& folder = "");
// The path as the Linux side of a shell script sees it: under Wine the Unix path of a
// Windows path, elsewhere the path itself.
std::string UnixPath(const std::string& path);

// Whether the shell finds a program, e.g. HaveProgram("cvs").
bool HaveProgram(const std::string& name);

bool RunningUnderWine();
// Whether a process of that id still runs (a zombie counts as ended).
bool ProcessIsAlive(long pid);
bool RunningAsRoot();

// Where the build put its products (the provider, scchost, the test programs).
std::string BinDir();
std::string SourceDir();
char Sep();

} // namespace testing_support
