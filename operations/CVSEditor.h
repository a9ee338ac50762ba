// operations/CVSEditor.h - who edits a file and who watches it, as "cvs editors" and
// "cvs watchers" tell it, and the readers of those texts.
//
// Both commands print one line per file and user, its fields separated by tabs:
//
//     a.txt<TAB>alice<TAB>Thu Dec 10 02:42:21 2026 -0000<TAB>HOST<TAB>/work/one
//     <TAB>bob<TAB>Thu Dec 10 02:42:21 2026 -0000<TAB>HOST<TAB>/work/two
//     b.txt<TAB>bob<TAB>edit<TAB>unedit<TAB>commit<TAB>tedit<TAB>tunedit<TAB>tcommit
//
// A line that starts with a tab is a further user of the file named on a line before it:
// its record takes that file, and its fields start with the user. Runs of tabs count as one
// separator, so no field is empty; missing fields stay empty and further ones are dropped.
// An empty line gives a record with every field empty; a text that ends with a line feed
// has no empty line after it. A carriage return before a line feed is not part of the line.
//
// The readers are pure functions of the text (no files, no cvs), so that they can be fed
// arbitrary input on their own; a line may be of any length.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One editor of a file: the columns of the editors page, in this order.
struct CCVSEditor {
    std::string file;   // "Filename"
    std::string user;   // "Username"
    std::string date;   // "Date/Time"
    std::string host;   // "Hostname"
    std::string folder; // "Working Directory": the editor's working folder
};

// One watcher of a file and the actions it is told of. cvs names each action a user watches
// after the file and the user: "edit", "unedit", "commit" for a watch the user added
// ("cvs watch add"), "tedit", "tunedit", "tcommit" for the one that lasts while the user
// edits the file. A flag is on when either names its action, in any position.
struct CCVSWatcher {
    bool edit = false;
    bool unedit = false;
    bool commit = false;
    std::string user;
    std::string file;
};

// Appends one record per line of the output of "cvs editors".
void ParseEditors(std::string_view text, std::vector<CCVSEditor>& editors);
// Appends one record per line of the output of "cvs watchers".
void ParseWatchers(std::string_view text, std::vector<CCVSWatcher>& watchers);
