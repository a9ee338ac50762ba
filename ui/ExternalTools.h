// ui/ExternalTools.h - the text editor and the diff tool: their command lines, and starting
// them.
//
// A tool setting (EDITOR, DIFFEXE) holds a program and, for the diff tool, the placeholders
// "%1" (the working file) and "%2" (the repository's revision). The executable is the text
// without the placeholders, trimmed; the argument text is the setting with every occurrence
// of the executable taken out, so it normally begins with a blank. Anything written between
// the program and the first placeholder stays part of the executable (within its quotes):
// a setting holds the program and the placeholders, nothing else.
//
// The command lines are Windows command lines, each file in double quotes; they are pure
// functions of the texts, and started by platform::StartProgram (never through a shell).
// A placeholder is substituted in the setting's own text only: a file name that happens to
// hold "%1" or "%2" is not substituted again.
#pragma once

#include <string>
#include <vector>

class CCVSContext;

struct ToolText {
    std::string executable;
    std::string arguments;
};
ToolText SplitToolText(const std::string& setting);

// The revision files of a history action as its command line lists them: each in double
// quotes and followed by a blank.
std::string RevisionFileList(const std::vector<std::string>& files);

// The history page's command line. View Revision (the editor) and Diff (two revisions) give
// the executable and the list; Diff /w Local (the diff tool and the working file) places
// the working file by the placeholders of the argument text: after the list when there is
// no "%1", before it when there is "%1" only, and where they stand when there are both. A
// placeholder at the very start of the argument text counts as absent.
std::string HistoryToolCommandLine(const std::string& setting, const std::string& revisionFiles,
                                   const std::string& workingFile, bool useDiffTool,
                                   bool withWorkingFile);

// The diff export's command line, from DIFFEXE trimmed: with both placeholders, each in
// double quotes where it stands; with "%1" only, the working file then the revision file;
// otherwise the revision file then the working file.
std::string CompareCommandLine(const std::string& diffExe, const std::string& workingFile,
                               const std::string& revisionFile);

// Makes the provider library's folder the current folder (a tool named without a folder is
// found there, as Windows finds its default tools) and starts the command line without
// waiting for it. When it cannot start: a message that names the program, the setting and
// the system's reason is echoed to the output pane and shown in a message box with no
// owner, under the caption given (empty: the application's title); false.
bool StartExternalTool(CCVSContext& context, const std::string& commandLine,
                       const std::string& setting, const std::string& caption);
