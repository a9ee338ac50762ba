// cvsglue/Command.cpp - carrying out a plan: one cvs run, or the emulations that take
// several runs and some file work in the command's folder.
#include "cvsglue/Command.h"

#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "platform/User.h"

#include <algorithm>
#include <optional>
#include <sstream>

namespace cvsglue {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// "sub/a.txt" -> folder "sub", name "a.txt"; "a.txt" -> folder ".".
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    std::string::size_type sep = path.find_last_of("/\\");
    folder = sep == std::string::npos ? std::string(".") : path.substr(0, sep);
    name = sep == std::string::npos ? path : path.substr(sep + 1);
}

// The names as operands: after "--" when one begins with "-", which cvs would take for an
// option.
std::vector<std::string> Names(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (!name.empty() && name[0] == '-')
            return Concat({"--"}, names);
    return names;
}

std::string AdminFile(const std::string& folder, const std::string& name) {
    const char sep = platform::kPathSeparator;
    return folder + sep + "CVS" + sep + name;
}

// What identifies a line of CVS/Entries: a file's name, or "D/" and a folder's name.
std::string EntryKey(const std::string& line) {
    const bool folder = line.compare(0, 2, "D/") == 0;
    if (!folder && line.compare(0, 1, "/") != 0)
        return line;
    const std::string::size_type from = folder ? 2 : 1;
    const std::string::size_type slash = line.find('/', from);
    return (folder ? "D/" : "") +
           line.substr(from, slash == std::string::npos ? slash : slash - from);
}

// Whether a whole-file read failed on a file that is there: that file's content is not
// known, and whatever is written in its place would lose it.
bool Unreadable(const std::string& path, std::string& text) {
    return !platform::ReadWholeFile(path, text) && platform::Exists(path);
}

// The lines of CVS/Entries with CVS/Entries.Log applied, as cvs reads them: a cvs that was
// ended early leaves its latest changes in the log. None when either file is there but
// cannot be read.
std::optional<std::vector<std::string>> ReadEntriesLines(const std::string& folder) {
    std::string text;
    std::vector<std::string> lines;
    if (Unreadable(AdminFile(folder, "Entries"), text))
        return std::nullopt;
    lines = Lines(text);
    if (Unreadable(AdminFile(folder, "Entries.Log"), text))
        return std::nullopt;
    for (const std::string& change : Lines(text)) {
        if (change.size() < 3 || change[1] != ' ' || (change[0] != 'A' && change[0] != 'R'))
            continue;
        const std::string line = change.substr(2);
        const std::string key = EntryKey(line);
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return EntryKey(l) == key; }),
                    lines.end());
        if (change[0] == 'A')
            lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> EntriesLines(const std::string& folder) {
    return ReadEntriesLines(folder).value_or(std::vector<std::string>());
}

// Writes CVS/Entries whole (a failed write leaves the old one), and drops the log that is
// now part of it.
bool WriteEntries(const std::string& folder, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    if (!platform::WriteWholeFile(AdminFile(folder, "Entries"), text))
        return false;
    const std::string log = AdminFile(folder, "Entries.Log");
    return !platform::Exists(log) || platform::DeleteFileAt(log);
}

// The file's line, or nothing.
std::optional<std::string> FindEntryLine(const std::vector<std::string>& lines,
                                         const std::string& name) {
    for (const std::string& line : lines)
        if (line.compare(0, 1, "/") == 0 && EntryKey(line) == name)
            return line;
    return std::nullopt;
}

bool FindEntry(const std::string& folder, const std::string& name, EntryLine& found) {
    std::optional<std::string> line = FindEntryLine(EntriesLines(folder), name);
    if (!line)
        return false;
    found = ParseEntryLine(*line);
    return found.ok;
}

// Sets the folder's CVS/Tag to a branch for the life of the object and then puts back what
// was there, so that GNU's "add" schedules files (and folders) on that branch. The folder's
// own tag exists nowhere else: it is moved aside, never rewritten, and when it cannot be
// moved back it stays aside under a name that Problem() gives.
class StickyBranch {
public:
    StickyBranch(const std::string& folder, const std::string& branch)
        : path_(AdminFile(folder, "Tag")), aside_(path_ + ".kept-during-add") {
        if (!platform::IsFolder(folder + platform::kPathSeparator + "CVS"))
            return;
        had_ = platform::Exists(path_);
        if (had_ && !platform::MoveFileTo(path_, aside_, false)) {
            problem_ = platform::Exists(aside_) ? aside_ + " is in the way"
                                                : "cannot set " + path_ + " aside";
            return;
        }
        active_ = platform::WriteWholeFile(path_, "T" + branch + "\n");
        if (active_)
            return;
        problem_ = "cannot write " + path_;
        if (had_ && !platform::MoveFileTo(aside_, path_, true))
            problem_ += "; the folder's tag is kept in " + aside_;
    }
    ~StickyBranch() { PutBack(); }
    StickyBranch(const StickyBranch&) = delete;
    StickyBranch& operator=(const StickyBranch&) = delete;

    // Puts the folder's own tag back; false when it could not, and Problem() says why.
    bool PutBack() {
        if (!active_)
            return problem_.empty();
        active_ = false;
        if (had_ ? platform::MoveFileTo(aside_, path_, true) : platform::DeleteFileAt(path_))
            return true;
        problem_ = had_ ? "the folder's tag could not be put back; it is kept in " + aside_
                        : "the branch's tag could not be removed from " + path_;
        return false;
    }
    const std::string& Problem() const { return problem_; }

private:
    std::string path_, aside_, problem_;
    bool had_ = false, active_ = false;
};

class Executor {
public:
    Executor(Session& session, const Plan& plan) : s_(session), plan_(plan) {}

    int Execute() {
        switch (plan_.action) {
        case Action::Succeed:
            return 0;
        case Action::Refuse:
            s_.Error(plan_.message + "\n");
            return 1;
        case Action::EditExclusive:
            return EditExclusive();
        case Action::Unedit:
            return Unedit();
        case Action::AddOnBranch:
            return AddOnBranch(plan_.args, plan_.files, plan_.branch);
        case Action::Rename:
            return Rename();
        case Action::ImportCreate:
            return ImportCreate();
        case Action::UpdateClean:
            return UpdateClean();
        case Action::Run:
            break;
        }
        return Single();
    }

private:
    int Result(const RunResult& r) {
        if (r.aborted)
            return DLLGLUE_ABORTED;
        if (!r.started) {
            s_.Error("cvs2ntlib: " + r.startError + "\n");
            return DLLGLUE_CANNOT_START;
        }
        if (r.status != 0 && plan_.loginHint && Contains(r.error, "authorization failed: server") &&
            !Contains(r.error, "cvs login")) // a wrong stored password: say what helps
            s_.Error("cvs " + plan_.command + ": try \"cvs login\"\n");
        // A cvs killed from outside (out of memory, a signal) says nothing itself.
        if (!r.endSignal.empty())
            s_.Error("cvs " + plan_.command + ": cvs was ended by " + r.endSignal +
                     " before it finished; the command may have been carried out in part\n");
        return r.status;
    }

    RunResult Run(const std::vector<std::string>& args, RunOptions options = RunOptions()) {
        options.answerPassword = plan_.answerPassword;
        options.answerQuestions = options.answerQuestions || plan_.answerQuestions;
        return s_.Run(args, options);
    }

    int Single() {
        RunOptions options;
        ListingRewriter listing(plan_.listedPath);
        if (plan_.listingRewrite)
            options.listing = &listing;
        RunResult r = Run(plan_.args, options);
        int rc = Result(r);
        if (rc == 0 && plan_.revisionCheck && r.outputBytes == 0 && !PrintedARevision(r.error))
            rc = 1;
        return rc;
    }

    // GNU's "update -p" succeeds also when it printed nothing: for a revision the file lacks
    // ("is no longer in the repository"), a file it does not know ("nothing known about"),
    // a file that is not under CVS ("use `cvs add'"), and silently for such a file with -r.
    // An empty revision file would follow. What it printed is a revision exactly when it
    // announced one on standard error ("Checking out NAME", left out under -q and -Q); a
    // revision may be empty. Fills in the reason when cvs gave none.
    bool PrintedARevision(const std::string& error) {
        bool quiet = false;
        for (const std::string& g : plan_.globals) {
            if (g.size() < 2 || g[0] != '-' || g[1] == '-')
                continue;
            for (size_t k = 1; k < g.size() && std::string("deTzs").find(g[k]) == std::string::npos;
                 ++k)
                quiet = quiet || g[k] == 'q' || g[k] == 'Q';
        }
        const bool reason = Contains(error, "is no longer in the repository") ||
                            Contains(error, "nothing known about") ||
                            Contains(error, "use `cvs add'");
        if (quiet ? !reason : Contains(error, "Checking out "))
            return true;
        if (!reason)
            s_.Error("cvs update: the repository has no such revision of " + Operands() + "\n");
        return false;
    }

    // The command's file names, quoted as cvs quotes them.
    std::string Operands() const {
        std::string names;
        for (const std::string& file : plan_.files)
            names += (names.empty() ? "`" : ", `") + file + "'";
        return names.empty() ? std::string("the file") : names;
    }

    int EditExclusive() {
        RunOptions probe;
        probe.deliver = false;
        probe.captureOutput = true;
        RunResult r = Run(plan_.args, probe);
        if (r.aborted || !r.started || r.status == 0) {
            s_.Output(r.output);
            s_.Error(r.error);
            return Result(r);
        }
        // -c refused: fine when every editor it listed is this user in this folder.
        const std::string user = IsPserverRoot(plan_.root) && !RootUser(plan_.root).empty()
                                     ? RootUser(plan_.root)
                                     : platform::GetUserLoginName();
        const std::string here = platform::GetCurrentFolder();
        int editors = 0;
        bool onlySelf = true;
        for (const std::string& line : Lines(r.output)) {
            if (line.empty())
                continue;
            std::vector<std::string> f = SplitTabs(line);
            if (f.size() < 5) {
                onlySelf = false;
                continue;
            }
            ++editors;
            if (f[1] != user || f[4] != here)
                onlySelf = false;
        }
        if (editors == 0 || !onlySelf) {
            s_.Output(r.output);
            s_.Error(r.error);
            return Result(r);
        }
        return Result(
            Run(Concat(Concat(plan_.globals, {"edit"}), Concat(plan_.options, plan_.files))));
    }

    int Unedit() {
        // GNU's unedit acts on its own bookkeeping (CVS/Baserev and the copy in CVS/Base).
        // For a file "cvs edit" never saw, or saw at another revision, it would restore a
        // wrong base copy or delete the file: those are left to the update that follows.
        std::vector<std::string> files;
        for (const std::string& file : plan_.files) {
            std::string folder, name, baserev;
            SplitPath(file, folder, name);
            EntryLine entry;
            if (!FindEntry(folder, name, entry) ||
                !platform::ReadWholeFile(AdminFile(folder, "Baserev"), baserev))
                continue;
            const char sep = platform::kPathSeparator;
            if (!platform::Exists(folder + sep + "CVS" + sep + "Base" + sep + name))
                continue;
            for (const std::string& line : Lines(baserev))
                if (line == "B" + name + "/" + entry.revision + "/") {
                    files.push_back(file);
                    break;
                }
        }
        if (files.empty())
            return 0;
        return Result(Run(Concat(Concat(plan_.globals, {"unedit"}), Concat(plan_.options, files))));
    }

    int AddOnBranch(const std::vector<std::string>& args, const std::vector<std::string>& files,
                    const std::string& branch) {
        StickyBranch sticky(".", branch);
        if (!sticky.Problem().empty()) {
            s_.Error("cvs add: " + sticky.Problem() + "; nothing was added\n");
            return 1;
        }
        int rc = Result(Run(args));
        if (!sticky.PutBack()) {
            s_.Error("cvs add: " + sticky.Problem() + "\n");
            rc = rc ? rc : 1;
        }
        if (rc == 0) {
            // A folder added on a branch keeps the branch for what is added in it later.
            for (const std::string& file : files) {
                const std::string admin = file + platform::kPathSeparator + "CVS";
                if (platform::IsFolder(admin) && !platform::Exists(AdminFile(file, "Tag")))
                    platform::WriteWholeFile(AdminFile(file, "Tag"), "T" + branch + "\n");
            }
        }
        return rc;
    }

    // GNU has no rename: the file is moved on disk, OLD removed, NEW added and both committed.
    // Until the commit starts nothing has reached the repository, so a failure or an abort
    // before it puts the working copy back as it was: the file under its old name and both
    // names' Entries lines as they were (written back directly: after an abort no more cvs
    // runs). A commit that started may have reached the repository in part; then the error
    // text says what the working copy holds now.
    int Rename() {
        const std::string& from = plan_.files[0];
        const std::string& to = plan_.files[1];
        EntryLine entry;
        if (!FindEntry(".", from, entry) || entry.revision.empty() || entry.revision[0] == '-') {
            s_.Error("cvs rename: `" + from + "' is not under CVS control\n");
            return 1;
        }
        if (!platform::Exists(from)) {
            s_.Error("cvs rename: `" + from + "' does not exist\n");
            return 1;
        }
        if (platform::Exists(to)) {
            s_.Error("cvs rename: `" + to + "' already exists\n");
            return 1;
        }
        const RenameUndo undo(from, to);
        if (!undo.known) {
            s_.Error("cvs rename: cannot read CVS/Entries; nothing was renamed\n");
            return 1;
        }
        if (!platform::MoveFileTo(from, to, false)) {
            s_.Error("cvs rename: cannot rename `" + from + "' to `" + to + "'\n");
            return 1;
        }
        int rc = Result(Run(Concat(plan_.globals, Concat({"remove"}, Names({from})))));
        if (rc != 0)
            return PutBack(undo, rc, "`" + from + "' could not be scheduled for removal");
        std::vector<std::string> add = Concat(plan_.globals, {"add"});
        if (!entry.options.empty())
            add.push_back(entry.options);
        add.insert(add.end(), {"-m", ""});
        add = Concat(add, Names({to}));
        if (!entry.tag.empty() && entry.tag[0] == 'T')
            rc = AddOnBranch(add, {to}, entry.tag.substr(1));
        else
            rc = Result(Run(add));
        if (rc != 0)
            return PutBack(undo, rc, "`" + to + "' could not be added");
        RunResult commit =
            Run(Concat(plan_.globals, Concat({"commit", "-m", "Renamed " + from + " to " + to},
                                             Names({from, to}))));
        if (commit.aborted && !commit.started)
            return PutBack(undo, DLLGLUE_ABORTED, std::string());
        rc = Result(commit);
        if (rc != 0)
            s_.Error("cvs rename: the commit " +
                     std::string(rc == DLLGLUE_ABORTED ? "was aborted" : "failed") + ": " +
                     RenameState(from, to) + "\n");
        return rc;
    }

    // What the working copy held for both names before the rename.
    struct RenameUndo {
        RenameUndo(const std::string& from, const std::string& to) : from(from), to(to) {
            const std::optional<std::vector<std::string>> lines = ReadEntriesLines(".");
            known = lines && !Unreadable(AdminFile(".", from + ",t"), fromText);
            if (!known)
                return;
            fromLine = FindEntryLine(*lines, from);
            toLine = FindEntryLine(*lines, to);
            hadFromText = platform::Exists(AdminFile(".", from + ",t"));
            hadToText = platform::Exists(AdminFile(".", to + ",t"));
        }
        std::string from, to;
        bool known = false; // what there is to put back could be read
        std::optional<std::string> fromLine, toLine;
        bool hadFromText = false, hadToText = false;
        std::string fromText; // the description of a file added but not yet committed
    };

    // Puts the working copy back as the rename found it and says so, or says exactly what
    // could not be put back. The file's content is never overwritten: it stays under the
    // new name when the old one is taken.
    int PutBack(const RenameUndo& undo, int rc, const std::string& failure) {
        // Lines that cannot be read now are not written back: every other file's line
        // would go with them.
        std::optional<std::vector<std::string>> read = ReadEntriesLines(".");
        std::vector<std::string> lines = read.value_or(std::vector<std::string>());
        auto restore = [&lines](const std::string& name, const std::optional<std::string>& line) {
            auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.compare(0, 1, "/") == 0 && EntryKey(l) == name;
            });
            if (it != lines.end() && line)
                *it = *line;
            else if (it != lines.end())
                lines.erase(it);
            else if (line)
                lines.insert(lines.begin(), *line);
        };
        restore(undo.from, undo.fromLine);
        restore(undo.to, undo.toLine);
        const bool entriesBack = read && WriteEntries(".", lines);
        if (!undo.hadToText)
            platform::DeleteFileAt(AdminFile(".", undo.to + ",t"));
        if (undo.hadFromText && !platform::Exists(AdminFile(".", undo.from + ",t")))
            platform::WriteWholeFile(AdminFile(".", undo.from + ",t"), undo.fromText);
        const bool fileBack = platform::MoveFileTo(undo.to, undo.from, false);

        std::string what = rc == DLLGLUE_ABORTED ? "aborted" : failure;
        if (entriesBack && fileBack) {
            s_.Error("cvs rename: " + what + "; `" + undo.from +
                     "' is as it was before the rename\n");
        } else {
            std::string state = entriesBack ? "CVS/Entries is as it was before the rename"
                                            : "CVS/Entries could not be put back: " +
                                                  RenameState(undo.from, undo.to);
            if (!fileBack)
                state += "; the file's content is in `" + undo.to + "' (`" + undo.from +
                         "' could not take it back)";
            s_.Error("cvs rename: " + what + "; " + state + "\n");
        }
        return rc;
    }

    // What CVS/Entries says of both names, and what is left to do.
    static std::string RenameState(const std::string& from, const std::string& to) {
        EntryLine old, added;
        const bool hasOld = FindEntry(".", from, old), hasNew = FindEntry(".", to, added);
        std::string state, pending;
        if (!hasOld) {
            state = "the removal of `" + from + "' is committed";
        } else if (!old.revision.empty() && old.revision[0] == '-') {
            state = "`" + from + "' is scheduled for removal";
            pending = "`" + from + "'";
        } else {
            state = "`" + from + "' is under CVS control as before";
        }
        if (!hasNew) {
            state += "; `" + to + "' is not under CVS control";
        } else if (added.revision == "0") {
            state += "; `" + to + "' is scheduled for addition";
            pending += (pending.empty() ? "`" : " and `") + to + "'";
        } else {
            state += "; `" + to + "' is committed as revision " + added.revision;
        }
        if (platform::Exists(to))
            state += "; the file's content is in `" + to + "'";
        if (!pending.empty())
            state += "; commit " + pending + " to finish the rename";
        return state;
    }

    int ImportCreate() {
        int rc = Single();
        if (rc != 0)
            return rc;
        // Make the imported folder a working folder of the new module: check it out over
        // itself from its parent, which leaves the files there alone.
        std::string here = platform::GetCurrentFolder();
        while (here.size() > 1 && (here.back() == '/' || here.back() == '\\'))
            here.pop_back();
        std::string::size_type sep = here.find_last_of("/\\");
        if (sep == std::string::npos || sep + 1 >= here.size() || plan_.root.empty()) {
            s_.Error("cvs import: the module was imported, but this folder cannot be made a "
                     "working folder of it\n");
            return 1;
        }
        std::string parent = sep == 0 ? here.substr(0, 1) : here.substr(0, sep);
        if (parent.size() == 2 && parent[1] == ':')
            parent += '\\'; // a drive root
        std::vector<std::string> args = plan_.globals;
        if (std::find(args.begin(), args.end(), "-d") == args.end() &&
            std::find(args.begin(), args.end(), "-d" + plan_.root) == args.end())
            args.insert(args.end(), {"-d", plan_.root});
        args.insert(args.end(), {"checkout", "-d", here.substr(sep + 1), plan_.module});
        RunOptions options;
        options.folder = parent;
        rc = Result(Run(args, options));
        if (rc != 0 && rc != DLLGLUE_ABORTED)
            s_.Error("cvs import: the module was imported, but this folder could not be made a "
                     "working folder of it\n");
        return rc;
    }

    // GNU's "update -C" leaves a file alone that is still in conflict and untouched since the
    // merge: it prints "C NAME" and fails without a word. So every file in conflict (by
    // CVS/Entries) is first kept the way cvs itself keeps a file that -C replaces, as
    // .#NAME.REV beside it; cvs then fetches the repository's copy in its place. A file cvs
    // did not fetch goes back to its name.
    int UpdateClean() {
        std::vector<std::pair<std::string, std::string>> kept; // file, its kept name
        for (const std::string& file : plan_.files) {
            std::string folder, name, keptName;
            SplitPath(file, folder, name);
            EntryLine entry;
            if (!FindEntry(folder, name, entry) ||
                entry.timestamp.rfind("Result of merge", 0) != 0 || !platform::Exists(file))
                continue;
            if (!KeepConflicted(file, keptName)) {
                for (const auto& [done, doneName] : kept)
                    platform::MoveFileTo(doneName, done, false);
                s_.Error("cvs update: cannot move `" + file + "' out of the way\n");
                return 1;
            }
            kept.emplace_back(file, keptName);
        }
        if (kept.empty())
            return Single();
        RunOptions quiet;
        quiet.deliver = false;
        quiet.captureOutput = true;
        RunResult r = Run(plan_.args, quiet);
        std::string output;
        for (const auto& [file, keptName] : kept) {
            if (!platform::Exists(file) && platform::MoveFileTo(keptName, file, false))
                continue;
            output += "(Locally modified " + file + " moved to " + keptName + ")\n";
        }
        s_.Output(output + r.output);
        // GNU says of each file it fetched in place of a kept one that it "was lost".
        std::string error;
        for (const std::string& line : Lines(r.error)) {
            const bool lost = std::any_of(kept.begin(), kept.end(), [&line](const auto& k) {
                return Contains(line, "warning: `" + k.first + "' was lost");
            });
            if (!lost)
                error += line + "\n";
        }
        s_.Error(error);
        return Result(r);
    }

    // Moves a file to .#NAME.REV (REV: its revision in CVS/Entries). When that name holds
    // other content already, to .#NAME.REV~2, ~3, ...: nothing kept before is overwritten.
    bool KeepConflicted(const std::string& file, std::string& kept) {
        std::string folder, name, mine, there;
        SplitPath(file, folder, name);
        EntryLine entry;
        FindEntry(folder, name, entry);
        const std::string base =
            file.substr(0, file.size() - name.size()) + ".#" + name + "." + entry.revision;
        kept = base;
        const bool readMine = platform::ReadWholeFile(file, mine);
        for (int n = 2; platform::Exists(kept); ++n) {
            if (readMine && platform::ReadWholeFile(kept, there) && there == mine)
                return platform::MoveFileTo(file, kept, true);
            kept = base + "~" + std::to_string(n);
        }
        return platform::MoveFileTo(file, kept, false);
    }

    Session& s_;
    const Plan& plan_;
};

} // namespace

std::string FolderRoot() {
    std::string root;
    if (!platform::ReadWholeFile(AdminFile(".", "Root"), root))
        return std::string();
    std::string::size_type end = root.find_first_of("\r\n");
    return end == std::string::npos ? root : root.substr(0, end);
}

int Execute(Session& session, const Plan& plan) {
    return Executor(session, plan).Execute();
}

} // namespace cvsglue
