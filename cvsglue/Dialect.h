// cvsglue/Dialect.h - what the client library does to a command line before cvs sees it.
//
// The provider builds its command lines for the Windows variant of CVS. GNU CVS refuses some
// of those forms or spells them otherwise; MakePlan turns one command line into a plan: the
// arguments to run, or one of the emulations that take several cvs runs and some file work
// (carried out by cvsglue/Command.cpp). Everything here is pure: arguments and facts in,
// plan out.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cvsglue {

enum class Dialect {
    Gnu,  // GNU CVS: the rewrites below apply
    Other // any other cvs: the command runs as the provider built it (with -f)
};

// "cvs --version" output to the dialect.
Dialect DialectFromVersionText(const std::string& versionText);

// A command line split into its global options, the command name and what follows it.
struct CommandLine {
    std::vector<std::string> globals; // as given, each option with its value
    std::string root;                 // the value of -d, if any
    std::string command;              // empty when there is none
    std::vector<std::string> rest;    // the command's options and operands
};
CommandLine SplitCommandLine(const std::vector<std::string>& args);

enum class Action {
    Run,           // run args
    Succeed,       // run nothing; the result is 0
    Refuse,        // run nothing; fail with message
    EditExclusive, // "edit -c FILES"; when only this user in this folder edits, "edit FILES"
    Unedit,        // "unedit" of only those files that "cvs edit" saw
    AddOnBranch,   // "add" with the folder's CVS/Tag naming branch while it runs
    Rename,        // move on disk, remove, add, commit
    ImportCreate,  // "import", then "checkout -d FOLDER MODULE" in the parent folder
    UpdateClean    // "update -C FILES", each file in conflict first kept as .#NAME.REV
};

// What the library needs to know about the command's folder and environment.
struct Facts {
    std::string environmentRoot; // CVSROOT as the command will see it
    std::string folderRoot;      // the first line of CVS/Root in the command's folder
};

struct Plan {
    Action action = Action::Run;
    std::string command;           // the cvs command as the provider named it
    std::vector<std::string> args; // the rewritten command line (the first run's)
    std::string message;           // Refuse: the reason, one line

    std::vector<std::string> globals; // global options for follow-up runs (-f included)
    std::string root;                 // the root the command works on (-d, CVS/Root, CVSROOT)
    std::vector<std::string> options; // EditExclusive, Unedit, AddOnBranch: command options
    std::vector<std::string> files;   // operands; Rename: old and new name; update -p
    std::string branch;               // AddOnBranch
    std::string module;               // ImportCreate

    bool answerPassword = false;  // cvs asks for the password on standard error (login)
    bool answerQuestions = false; // cvs may ask yes/no questions on standard output
    bool listingRewrite = false;  // rls -e -R: folder headers become D/ lines
    std::string listedPath;       // the path rls lists
    bool revisionCheck = false;   // update -p: no output and no revision announced fails
    bool loginHint = false;       // a refused authorisation says to log in
};

Plan MakePlan(Dialect dialect, const std::vector<std::string>& args, const Facts& facts);

// Whether a root uses the pserver method, and its user ("alice" of
// ":pserver:alice@host:/repo"), empty when it names none.
bool IsPserverRoot(const std::string& root);
std::string RootUser(const std::string& root);

// One line of CVS/Entries: "/name/revision/timestamp/options/tag". Fields that are missing
// are empty; ok is false for lines that are not file lines.
struct EntryLine {
    bool ok = false;
    std::string name, revision, timestamp, options, tag;
};
EntryLine ParseEntryLine(const std::string& line);

// The environment of one command, from the callback's answers (name, answer; a missing
// pair means the callback answered null). Gives the variables to set; the child inherits
// the rest. passFile is used for CVS_PASSFILE when neither the answers nor the inherited
// environment (inheritedPassFile) give one.
std::vector<std::pair<std::string, std::string>>
CommandEnvironment(Dialect dialect, const std::vector<std::pair<std::string, std::string>>& answers,
                   const std::string& inheritedPassFile, const std::string& passFile);
// The names the library asks the environment callback for before every command.
const std::vector<std::string>& AskedVariables();

// Rewrites the output of "rls -e -R PATH" so that each file follows the D/ line of its
// folder: empty lines, the listed path's own header and the original D/ lines go, and every
// other header "PATH/X/Y:" becomes "D/X\Y////". Fed in chunks cut anywhere.
class ListingRewriter {
public:
    explicit ListingRewriter(std::string listedPath);
    std::string Feed(const char* data, size_t size); // the complete lines rewritten so far
    std::string Finish();                            // what is left at the end

private:
    std::string Line(const std::string& line) const;
    std::string listed_;
    std::string pending_;
};

} // namespace cvsglue
