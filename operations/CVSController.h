// operations/CVSController.h - one CVS task at a time over a context.
//
// The operations floor holds the controller and the records it parses from cvs output.
// Every interface command and every dialog that needs CVS makes a controller on its stack
// over the context, calls one operation and reads the result. While it lives, the
// controller is the context's controller: it answers the login, password and yes/no
// requests that arrive while a command runs; when it ends, the controller it replaced (one
// whose operation opened the dialog that made this one) is the context's controller again.
//
// Each operation takes the context's turn (CCVSContext::CCommandScope) for its length: its
// commands run whole, it reads its own output, and the requests of its commands come back
// to it, also while other threads wait to use the context (the item-properties pages).
//
// Errors are values: operations return false and leave the failure text in the error
// message (and in the output pane). Only the update and commit operations store the text
// of a failed run; others report failure by their result alone.
#pragma once

#include "engine/CVSContext.h"
#include "operations/CVSEditor.h"
#include "operations/CVSLogEntry.h"

#include <string>
#include <vector>

// The keys of the command options map that the update reads, in the order its options go
// onto the command line.
namespace options {
constexpr const char* kResetSticky = "CHECKOUT_RESETSTICKY";     // -A
constexpr const char* kPruneEmpty = "CHECKOUT_PRUNEEMPTY";       // -P
constexpr const char* kUseKeywordSub = "CHECKOUT_USEKEYWORDSUB"; // the keyword option
constexpr const char* kKeyword = "CHECKOUT_USEKEYWORD";          //   such as -kb
constexpr const char* kGetCleanCopy = "CHECKOUT_GETCLEANCOPY";   // -C
constexpr const char* kCreateNewDir = "CHECKOUT_CREATENEWDIR";   // -d
constexpr const char* kDontMerge = "CHECKOUT_DONTMERGE";         // dialog only
constexpr const char* kMergeBranch1 = "CHECKOUT_MERGEBRANCH1";   // -j tag 1
constexpr const char* kMergeTag1 = "CHECKOUT_MERGETAG1";
constexpr const char* kMergeBranch2 = "CHECKOUT_MERGEBRANCH2"; // -j tag 2
constexpr const char* kMergeTag2 = "CHECKOUT_MERGETAG2";
constexpr const char* kUseDefaultVer = "CHECKOUT_USEDEFAULTVER"; // dialog only
constexpr const char* kUseRevVer = "CHECKOUT_USEREVVER";         // -r revision
constexpr const char* kGetRevVer = "CHECKOUT_GETREVVER";
constexpr const char* kUseDateVer = "CHECKOUT_USEDATEVER"; // -D date
constexpr const char* kGetDateVer = "CHECKOUT_GETDATEVER";
constexpr const char* kCommitForced = "COMMIT_FORCED";         // commit -f
constexpr const char* kCommitCheckEdits = "COMMIT_CHECKEDITS"; // commit -c
constexpr const char* kCommitBranch = "COMMIT_BRANCH";         // add -r branch
constexpr const char* kCommitBranchName = "COMMIT_BRANCHNAME";

// Only the exact value "1" turns a flag on; a missing key counts as off.
bool IsOn(const CCVSStringMap& map, const char* key);
// The update's options from the map, in their order.
std::vector<std::string> UpdateOptions(const CCVSStringMap& map);
} // namespace options

// One line of a repository listing (GetModules). An entry is a file exactly when its
// revision is not empty.
struct CCVSModuleEntry {
    std::string path;     // the listed path (with "/" after it), then the name
    std::string name;     // for a file after a folder line: the folder's name, "\", the file's
    std::string revision; // empty for a folder
    std::string date;     // empty for a folder

    bool IsFile() const { return !revision.empty(); }
};

// The entries of a listing's output ("ls -e" lines: D/name//// for a folder, /name/rev/date//
// for a file), for the path that was listed ("" or "." for the top of the repository).
std::vector<CCVSModuleEntry> ParseModuleListing(const std::string& output, const std::string& path,
                                                bool foldersOnly);

// Whether two CVSROOT texts name the same repository: ":local:" before a path and the
// pserver's default port 2401 make no difference, nor does a "/" at the end.
bool SameCvsRoot(const std::string& a, const std::string& b);

// The values of the connection dialog, both ways.
struct ConnectDialogValues {
    std::string localPath;
    std::string cvsRoot;
    std::string module;
    std::string initialModule; // offered first in the module list
    bool repositoryEditable = true;
    bool localPathEditable = false;
};

// The connection dialog as ConnectProject shows it. The dialogs run the controller
// themselves (the connection test, the module browser), so this floor cannot include them:
// ui/DlgConnect.h implements this, and the caller hands it in.
class IConnectDialog {
public:
    virtual ~IConnectDialog() = default;
    // Shows the dialog modally with the values; true on OK, with the values as it left them.
    virtual bool Ask(ConnectDialogValues& values) = 0;
    // Whether a person answered the last showing. Answers given in advance (scripted) would
    // be given again unchanged, so asking once more after a failure would never end.
    virtual bool AnsweredByPerson() const { return true; }
};

class CCVSController : public CCVSContextCallBack {
public:
    static constexpr size_t kErrorMessageSize = 1024; // with its terminating NUL

    explicit CCVSController(CCVSContext& context);
    ~CCVSController() override;
    CCVSController(const CCVSController&) = delete;
    CCVSController& operator=(const CCVSController&) = delete;

    const std::string& GetErrorMessage() const { return errorMessage_; }
    CCVSContext& Context() { return context_; }

    // --- Answers to the context.
    bool OnLoginRequired(const std::string& cvsRoot) override;
    void OnPasswordRequest() override;
    void OnYesNoQuestion() override;

    // Asks for the password of the root and logs in. temporary: the run uses the dialog's
    // root as the context's CVSROOT and the temporary folder, and restores both.
    bool Login(const std::string& cvsRoot, bool temporary);

    // Get, check out (the cvs command edit) and undo check-out, in batches by folder. The
    // options map is the context's when none is given.
    bool UpdateFiles(const std::vector<std::string>& files, bool revert, bool checkOut,
                     bool undoCheckOut, const CCVSStringMap* options);
    bool CheckOutFiles(const std::vector<std::string>& files, const CCVSStringMap* options);
    bool UncheckOutFiles(const std::vector<std::string>& files);

    // --- Repositories and module folders (CVSControllerProjects.cpp).
    // Logs out of the context's repository, in the context's local path.
    bool Logout();
    // The entries of a repository path ("" or "." for the top), in listing order; with
    // foldersOnly, folders alone. A listing that fails gives what it printed, usually nothing.
    std::vector<CCVSModuleEntry> GetModules(const std::string& cvsRoot, const std::string& path,
                                            bool foldersOnly, bool recursive);
    // Whether the repository has the module.
    bool TestModule(const std::string& cvsRoot, const std::string& module);
    // Imports the folder as a new module and makes it a working folder of it; a folder whose
    // parent is already a working folder is left alone (true). The module goes to the front
    // of the settings' module list.
    bool Import(const std::string& module, const std::string& folder);
    // Binds the folder to an existing module of the context's repository and brings its
    // files (not its subfolders).
    bool InitModuleFolder(const std::string& module, const std::string& folder);
    // Shows the connection dialog until the folder is a working folder of the chosen
    // repository and module (an existing module, else a new one imported from the folder) or
    // the user cancels; true when the folder is a working folder at the end.
    bool ConnectProject(const std::string& module, const std::string& folder,
                        bool repositoryEditable, IConnectDialog& dialog);
    // Makes a folder that is not a working folder one of the module of the repository (made
    // the context's): bound to an existing module, else imported as a new one. On failure
    // the folder has no CVS folder, and a box and the output pane say what went wrong.
    bool BindFolder(const std::string& folder, const std::string& cvsRoot,
                    const std::string& module);
    // Brings the folder up to date, with new subfolders; recursive goes through every
    // subfolder, else the folder's own files only.
    bool UpdateFolder(const std::string& folder, bool recursive);

    // --- History (operations/CVSControllerHistory.cpp): the log, the tags, the content of a
    // revision, the differences and the log messages of files. Each runs in the folder of
    // the path it is given and reads the output capture; none stores an error message.
    // The revisions of a file, newest first; empty when the log fails.
    std::vector<CCVSLogEntry> GetHistory(const std::string& file);
    // Appends the tags of the folder (and below) that the list lacks. Always true.
    bool GetTags(const std::string& path, std::vector<std::string>& tags);
    // Writes a revision (the working one when empty) to CVS/Diff/NAME.REV, or over the
    // working file when replaceLocal is on, and gives that path; "invalid" on failure.
    std::string GetRevision(const std::string& file, const std::string& revision,
                            bool replaceLocal);
    // The differences of the working file from its revision; true when cvs said nothing on
    // its error stream.
    bool DiffFile(const std::string& file, std::string& difference);
    // Replaces the log message of one revision.
    bool SetLogMessage(const std::string& file, const std::string& revision,
                       const std::string& message);

    // --- Editors and watchers (operations/CVSControllerWatch.cpp): who edits the files and
    // who watches them, and the user's own watch. The files lie in one folder (the first
    // one's is used). Each answers the result of its run. A failed listing leaves the list
    // as it was and keeps the failure's text in the error message, for the page that shows
    // it; the watch commands store nothing.
    // Appends one record per line of "cvs editors".
    bool GetEditors(const std::vector<std::string>& files, std::vector<CCVSEditor>& editors);
    // Appends one record per line of "cvs watchers".
    bool GetWatchers(const std::vector<std::string>& files, std::vector<CCVSWatcher>& watchers);
    // "cvs watch add" and "cvs watch remove" of the files, for every action.
    bool AddWatch(const std::vector<std::string>& files);
    bool RemoveWatch(const std::vector<std::string>& files);

    // --- Adding, checking in, removing and renaming files (CVSControllerFiles.cpp). A file
    // name that begins with "-" reaches cvs after "--", so that cvs takes it for a name.
    // Adds the file, with every folder above it that is not yet a working folder; with
    // AUTOCOMMIT on, commits it too. A file CVS already lists is left alone (true). A folder
    // inside the project whose CVS folder names another repository path than the project's
    // layout gives is rebound first, but only when no scheduled addition or removal and no
    // base copy in it or below it would be lost; otherwise the add is refused.
    bool AddFile(const std::string& path, const CCVSStringMap* options);
    // Adds every folder from the first one below a working folder down to the folder; true
    // when the folder is a working folder at the end.
    bool AddFolder(const std::string& folder, const CCVSStringMap* options);
    // Checks the files in, one commit per folder batch, adding first the files CVS does not
    // list yet (they go in with their folder's commit). Stops at the first refused commit.
    bool CommitFiles(const std::vector<std::string>& files, bool keepCheckedOut,
                     const CCVSStringMap* options);
    // Removes the file from CVS; with AUTOCOMMIT on, commits the removal and leaves the file
    // on disk, unversioned. cvs deletes the working file: content that the repository does
    // not hold (changes never checked in) stays in NAME.~bak (NAME.~bak2, ... when taken),
    // and the output pane says so.
    bool RemoveFromCVS(const std::string& path);
    // Renames a file within its folder. A file the environment has renamed already is moved
    // back for cvs (and keeps its new name when cvs fails); two different files under the
    // two names are refused.
    bool RenameFile(const std::string& oldPath, const std::string& newPath);

private:
    bool AddFile(const std::string& path, const CCVSStringMap* options, bool autoCommit);
    // The fixed failure of an add, after the reason (when there is one) in the output pane.
    bool AddFailed(const std::string& reason);
    // Rebuilds the folder's CVS folders for the expected repository path; false, with the
    // reason in the output pane, when that would lose work recorded only there.
    bool RebindFolder(const std::string& folder, const std::string& recorded,
                      const std::string& expected);
    bool CommitBatch(const std::vector<std::string>& batch, bool keepCheckedOut,
                     const CCVSStringMap& options);

protected:
    // The error convention: the failed run's error text goes to the output pane and into
    // the error message.
    bool Failed();
    void SetErrorMessage(const std::string& text);
    // Announces what the operation does: the progress window's activity and the pane.
    void Announce(const std::string& activity);

private:
    bool ProcessBatch(const std::vector<std::string>& batch, bool revert, bool checkOut,
                      bool undoCheckOut, const CCVSStringMap& options);
    bool RunOn(std::initializer_list<const char*> command, const std::vector<std::string>& files);
    // Runs the command in the folder (the path's folder for a file).
    bool RunIn(const std::string& folder, std::initializer_list<std::string> command);

    // A file that is there but that CVS does not know (by CVS/Entries and CVS/Entries.Log as
    // they are on disk at that moment) is in the way of the repository's copy. Just before
    // the update it is moved to a name beside it that no other operation writes or deletes,
    // NAME.~unversioned (NAME.~unversioned2, ... when that is taken), and moved back when
    // the update brought nothing in its place; the output pane says so each time. Folders
    // are never moved.
    struct SetAside {
        std::string file, backup;
    };
    std::vector<SetAside> SetAsideUnversioned(const std::vector<std::string>& batch);
    void RestoreSetAside(const std::vector<SetAside>& setAside, bool updated);

    CCVSContext& context_;
    CCVSContextCallBack* outer_; // the controller registered before this one, if any
    std::string errorMessage_;
};
