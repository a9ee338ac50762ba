// operations/CVSLogEntry.h - one revision of a file as "cvs log" tells it, and the readers of
// the log texts behind the history, diff and tag dialogs.
//
// The readers are pure functions of the text (no files, no cvs), so that they can be
// measured and fed arbitrary input on their own. They take the text as cvs printed it,
// whatever its version: lines they do not know are skipped or, inside a revision, taken as
// part of its message; a text cut off anywhere gives the revisions read so far.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CCVSLogEntry {
    // The log message: its lines joined without a separator. A carriage return before a line
    // feed stays, so the lines of a message written with CR LF are separated by single CRs.
    std::string message;
    std::string revision;   // the text after "revision " (1.4; anything else there stays)
    std::string date;       // the text after "date: " up to the next ";"
    std::string author;     // the text after "author: " up to the next ";"
    std::string branches;   // the text after "branches: " on the line after the date, if any
    bool isHead = false;    // the revision is the file's head ("head: ")
    bool isWorking = false; // the revision is the one CVS/Entries records for the file
};

// "head " for the head, else "ancestor " for the working revision, else nothing; then the
// revision, the date and the author, separated by single spaces.
std::string Describe(const CCVSLogEntry& entry);

// The revisions of "cvs log FILE" in the order of the text (newest first as cvs prints
// them). workingRevision is the file's revision in CVS/Entries.
std::vector<CCVSLogEntry> ParseLog(std::string_view text, std::string_view workingRevision);

// Appends to tags every name listed under "symbolic names:" in the headers of "cvs log -h"
// that tags does not hold yet, in the order of first appearance.
void ParseTagNames(std::string_view text, std::vector<std::string>& tags);
