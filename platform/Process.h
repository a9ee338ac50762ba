// platform/Process.h - child processes: start with pipes, read both output streams together,
// answer on standard input, wait, and end a child with everything it started.
//
// A child never runs through a shell: it gets its arguments as a vector. On POSIX it starts a
// new session (no controlling terminal, so it can never talk to the user's terminal, and it
// leads a process group and a session that hold its descendants unless they leave them; on
// Linux those are still found through /proc while they have a parent in the tree). On
// Windows it runs in a job object that holds its descendants, and its command line is quoted
// so that the C runtime splits it back into the same arguments (QuoteWindowsArgument below).
#pragma once

#include "platform/PathStyle.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct ProcessSpec {
    std::string program;           // full path of the executable
    std::vector<std::string> args; // the arguments after the program name
    std::string folder;            // the child's current folder; empty: the caller's
    // The child inherits this process's environment with these changes applied in order:
    // each pair sets a variable; a name in unset removes it. On Windows names compare
    // without letter case, as the system compares them.
    std::vector<std::pair<std::string, std::string>> set;
    std::vector<std::string> unset;
    // Keep standard input open for WriteInput; otherwise the child reads end of file at once.
    bool keepInput = false;
};

// What the reader is told: a chunk of a stream, in arrival order per stream.
enum class ProcessStream { Output = 0, Error = 1 };
using ProcessSink = std::function<void(ProcessStream stream, const char* data, size_t size)>;

// One child process. Start, then Pump on one thread; Terminate may come from any thread
// (also from inside the sink) while Pump runs. The destructor ends a child still running.
class ChildProcess {
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the child. On failure returns false and describes the cause in error (for
    // example "cannot run /x/cvs: No such file or directory").
    bool Start(const ProcessSpec& spec, std::string& error);

    // Reads standard output and standard error together until both are closed, handing
    // each chunk to sink as it arrives, so that neither pipe can fill up and stall the child.
    // After Terminate it stops within a short time even if a stray process keeps a pipe open.
    void Pump(const ProcessSink& sink);

    // Writes to the child's standard input (only with keepInput). False when the child has
    // closed it; never raises a signal in this process.
    bool WriteInput(const std::string& data);
    void CloseInput();

    // Waits for the child and gives its exit status; a child ended by a signal gives 128 +
    // the signal number (POSIX), a terminated one the code it was terminated with (Windows).
    // After Terminate it returns only when nothing of the child's tree runs any more.
    int Wait();

    // Ends the child and every process it started, whatever they do (ignore SIGTERM, close
    // their output and linger, start groups or sessions of their own): POSIX asks the child's
    // group, session and descendants to stop (SIGTERM, so cvs can remove its repository
    // locks) and kills what is left after a fraction of a second (SIGKILL), also while Wait
    // is waiting; Windows terminates the job. Safe from any thread, and repeatable; returns
    // at once. Pump and Wait then end within about a second.
    void Terminate();
    bool WasTerminated() const;

    // The process id, or 0 before Start.
    long Id() const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

// Quotes one argument for a Windows command line so that CommandLineToArgvW and the C
// runtime give it back unchanged: plain when it holds no space, tab, line feed, vertical tab
// or double quote and is not empty; otherwise in double quotes with each quote escaped and
// backslashes doubled only where they precede a quote. A pure function, compiled and tested
// on every platform.
std::string QuoteWindowsArgument(const std::string& argument);
// The whole command line: the program in double quotes when it holds a space or tab (the
// first word is split by simpler rules that know no backslash escapes), then each argument,
// separated by single spaces.
std::string BuildWindowsCommandLine(const std::string& program,
                                    const std::vector<std::string>& args);

// The file name of a program called base: base.exe on Windows, base elsewhere.
std::string ProgramFileName(const std::string& base);

// The full path of a program (a bare file name) found in the folders of PATH, or empty.
// Only the absolute folders count (see ProgramSearchFolders), and never the current folder
// or the running program's own (where Windows' own search would look first): in this
// process the current folder is a user's working copy, and nothing in a checkout may stand
// in for a program.
std::string FindProgramOnPath(const std::string& program);
// The folders of a PATH value that a program is looked for in, in order: only absolute
// ones. An empty or relative entry names a folder relative to the current one; Windows
// entries may carry double quotes. Pure, so each style's rules are tested everywhere.
std::vector<std::string> ProgramSearchFolders(const std::string& pathValue, PathStyle style);
// Where the program a setting names is: an absolute path as it stands (whether or not a
// file is there); a bare file name as FindProgramOnPath finds it; anything else, a path
// relative to the current folder, is nowhere (empty).
std::string ResolveProgramPath(const std::string& program);

} // namespace platform
