// platform/Launch.h - starting a program the user configured (the text editor, the diff
// tool) and leaving it to run.
//
// The program comes as a Windows command line: the program, then its arguments, each in
// double quotes where it needs them. It never runs through a shell.
//  - Windows: CreateProcessA with the command line as it stands and no application name, so
//    the system finds the program as it always does (among other places in the current
//    folder); no inherited handles, no creation flags, shown normally, standard handles
//    asked for and all null.
//  - POSIX: the command line is split into arguments as the Windows C runtime splits it
//    (SplitWindowsCommandLine). The first names the program: a path with a "/" is taken as
//    it is, a bare name is looked for in programFolder first and then in the absolute
//    folders of PATH (never in the current folder, which is a user's working copy while a
//    command runs). It runs in the current folder, in a session of its own, with standard
//    input, output and error on the null device. It is not a child of this process, so it
//    outlives the provider and leaves nothing to reap.
// The caller neither waits for the program nor controls it.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Starts the command line; on failure false, with the system's text for the cause in error
// (for example "No such file or directory", or Windows' "The system cannot find the file
// specified.").
bool StartProgram(const std::string& commandLine, const std::string& programFolder,
                  std::string& error);

// The arguments of a Windows command line as the C runtime gives them to main: the first
// word (the program) ends at a blank outside double quotes and loses its quotes; the others
// follow the runtime's rules for quotes and backslashes (2n backslashes and a quote give n
// backslashes and start or end a quoted part; 2n+1 give n and a literal quote; "" inside a
// quoted part is one quote). Pure, so the rules are tested everywhere.
std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine);

} // namespace platform
