// cvsglue/Dialect.cpp - the command-line rewriting for GNU CVS.
#include "cvsglue/Dialect.h"

#include <algorithm>

namespace cvsglue {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// One option of a command: its letter and, for options that take one, its value.
struct Option {
    char letter = 0;
    std::string value;
    bool hasValue = false;
    bool joined = false; // the value was written in the same word ("-kb")
};

struct CommandArgs {
    std::vector<Option> options;
    bool endMarker = false; // "--" came before the operands
    std::vector<std::string> operands;
};

// Splits a command's arguments the way cvs's getopt does: options up to the first word that
// is not one, or up to "--". withValue lists the letters that take a value.
CommandArgs SplitCommandArgs(const std::vector<std::string>& rest, const std::string& withValue) {
    CommandArgs out;
    size_t i = 0;
    for (; i < rest.size(); ++i) {
        const std::string& word = rest[i];
        if (word == "--") {
            out.endMarker = true;
            ++i;
            break;
        }
        if (word.size() < 2 || word[0] != '-')
            break;
        for (size_t k = 1; k < word.size(); ++k) {
            Option o;
            o.letter = word[k];
            if (withValue.find(o.letter) != std::string::npos) {
                o.hasValue = true;
                if (k + 1 < word.size()) {
                    o.value = word.substr(k + 1);
                    o.joined = true;
                } else if (i + 1 < rest.size()) {
                    o.value = rest[++i];
                }
                out.options.push_back(o);
                break;
            }
            out.options.push_back(o);
        }
    }
    out.operands.assign(rest.begin() + static_cast<std::ptrdiff_t>(std::min(i, rest.size())),
                        rest.end());
    return out;
}

void AppendOption(std::vector<std::string>& words, const Option& o) {
    std::string flag = std::string("-") + o.letter;
    if (!o.hasValue) {
        words.push_back(flag);
    } else if (o.joined) {
        words.push_back(flag + o.value);
    } else {
        words.push_back(flag);
        words.push_back(o.value);
    }
}

std::vector<std::string> OptionWords(const std::vector<Option>& options) {
    std::vector<std::string> words;
    for (const Option& o : options)
        AppendOption(words, o);
    return words;
}

bool HasOption(const CommandArgs& a, char letter) {
    return std::any_of(a.options.begin(), a.options.end(),
                       [letter](const Option& o) { return o.letter == letter; });
}

// GNU spells two keyword modes otherwise: "vl" (values with locker) is "kvl", and it has
// no Unicode mode, where "b" keeps the bytes unchanged.
std::string GnuKeywordMode(const std::string& mode) {
    if (mode == "vl")
        return "kvl";
    if (mode == "u")
        return "b";
    return mode;
}

void RewriteKeywordOptions(CommandArgs& a) {
    for (Option& o : a.options)
        if (o.letter == 'k' && o.hasValue)
            o.value = GnuKeywordMode(o.value);
}

std::vector<std::string> Join(const std::vector<std::string>& globals, const std::string& command,
                              const std::vector<std::string>& options, bool endMarker,
                              const std::vector<std::string>& operands) {
    std::vector<std::string> words = globals;
    words.push_back(command);
    words.insert(words.end(), options.begin(), options.end());
    if (endMarker)
        words.push_back("--");
    words.insert(words.end(), operands.begin(), operands.end());
    return words;
}

bool HasSeparator(const std::string& name) {
    return name.find_first_of("/\\") != std::string::npos;
}

} // namespace

Dialect DialectFromVersionText(const std::string& versionText) {
    return versionText.find("Concurrent Versions System (CVS)") != std::string::npos
               ? Dialect::Gnu
               : Dialect::Other;
}

CommandLine SplitCommandLine(const std::vector<std::string>& args) {
    // The global options of cvs that take a value.
    static const std::string withValue = "deTzs";
    CommandLine cl;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || word[0] != '-')
            break;
        if (StartsWith(word, "--")) { // long options (--allow-root=...) carry their value
            cl.globals.push_back(word);
            continue;
        }
        cl.globals.push_back(word);
        for (size_t k = 1; k < word.size(); ++k) {
            if (withValue.find(word[k]) == std::string::npos)
                continue;
            std::string value;
            if (k + 1 < word.size()) {
                value = word.substr(k + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
                cl.globals.push_back(value);
            }
            if (word[k] == 'd')
                cl.root = value;
            break;
        }
    }
    if (i < args.size())
        cl.command = args[i++];
    cl.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(std::min(i, args.size())),
                   args.end());
    return cl;
}

bool IsPserverRoot(const std::string& root) {
    return StartsWith(root, ":pserver:") || StartsWith(root, ":pserver;");
}

std::string RootUser(const std::string& root) {
    if (root.empty() || root[0] != ':')
        return std::string();
    std::string::size_type method = root.find(':', 1);
    if (method == std::string::npos)
        return std::string();
    std::string rest = root.substr(method + 1);
    std::string::size_type at = rest.rfind('@', rest.find('/'));
    if (at == std::string::npos)
        return std::string();
    std::string user = rest.substr(0, at);
    return user.substr(0, user.find(':'));
}

Plan MakePlan(Dialect dialect, const std::vector<std::string>& args, const Facts& facts) {
    CommandLine cl = SplitCommandLine(args);
    Plan plan;
    plan.command = cl.command;
    plan.globals = cl.globals;
    // Never a .cvsrc: HOME is the command's working folder.
    if (std::find(plan.globals.begin(), plan.globals.end(), "-f") == plan.globals.end())
        plan.globals.insert(plan.globals.begin(), "-f");
    plan.root = !cl.root.empty()            ? cl.root
                : !facts.folderRoot.empty() ? facts.folderRoot
                                            : facts.environmentRoot;
    const std::string& cmd = cl.command;
    plan.answerPassword = cmd == "login";
    plan.answerQuestions = cmd == "unedit" || cmd == "release";
    plan.args = Join(plan.globals, cmd, cl.rest, false, {});
    if (cmd.empty())
        plan.args = plan.globals;
    if (dialect != Dialect::Gnu || cmd.empty())
        return plan;

    plan.loginHint = cmd != "login" && cmd != "logout";

    if (cmd == "login" || cmd == "logout") {
        // GNU refuses both for roots that have no password; there is nothing to do.
        if (!IsPserverRoot(plan.root))
            plan.action = Action::Succeed;
        return plan;
    }

    if (cmd == "diff") {
        // A trace (-t) goes to standard error and would make every comparison look failed.
        plan.globals.erase(std::remove(plan.globals.begin(), plan.globals.end(), "-t"),
                           plan.globals.end());
        plan.args = Join(plan.globals, cmd, cl.rest, false, {});
        return plan;
    }

    if (cmd == "ls") {
        // The provider lists repository paths; GNU's ls takes working-folder paths, rls
        // repository paths. -q is rls's global -q; -e and -l exclude each other in GNU,
        // where -e alone gives the entry lines the provider reads.
        CommandArgs a = SplitCommandArgs(cl.rest, "rD");
        const bool entries = HasOption(a, 'e');
        const bool quiet = HasOption(a, 'q');
        std::vector<Option> kept;
        for (const Option& o : a.options) {
            if (o.letter == 'q' || (o.letter == 'l' && entries))
                continue;
            kept.push_back(o);
        }
        std::vector<std::string> globals = plan.globals;
        if (quiet && std::find(globals.begin(), globals.end(), "-q") == globals.end() &&
            std::find(globals.begin(), globals.end(), "-Q") == globals.end())
            globals.push_back("-q");
        plan.args = Join(globals, "rls", OptionWords(kept), a.endMarker, a.operands);
        if (entries && HasOption(a, 'R')) {
            plan.listingRewrite = true;
            plan.listedPath = a.operands.empty() ? std::string() : a.operands.front();
        }
        return plan;
    }

    if (cmd == "update") {
        CommandArgs a = SplitCommandArgs(cl.rest, "krDjIW");
        RewriteKeywordOptions(a);
        plan.revisionCheck = HasOption(a, 'p');
        if (plan.revisionCheck)
            plan.files = a.operands;
        plan.args = Join(plan.globals, cmd, OptionWords(a.options), a.endMarker, a.operands);
        // GNU's -C leaves a file alone that is still in conflict and untouched since the
        // merge, and fails without a word; such files are moved aside first.
        if (HasOption(a, 'C') && !plan.revisionCheck && !a.operands.empty()) {
            plan.action = Action::UpdateClean;
            plan.files = a.operands;
        }
        return plan;
    }

    if (cmd == "add") {
        CommandArgs a = SplitCommandArgs(cl.rest, "kmr");
        RewriteKeywordOptions(a);
        std::vector<Option> kept;
        for (const Option& o : a.options) {
            if (o.letter == 'r')
                plan.branch = o.value;
            else
                kept.push_back(o);
        }
        // The provider puts the branch after a folder's name ("add NAME -r BRANCH").
        std::vector<std::string> operands;
        for (size_t i = 0; i < a.operands.size(); ++i) {
            if (a.operands[i] == "-r" && i + 1 < a.operands.size()) {
                plan.branch = a.operands[++i];
                continue;
            }
            operands.push_back(a.operands[i]);
        }
        plan.options = OptionWords(kept);
        plan.files = operands;
        plan.args = Join(plan.globals, cmd, plan.options, a.endMarker, operands);
        if (!plan.branch.empty())
            plan.action = Action::AddOnBranch;
        return plan;
    }

    if (cmd == "edit") {
        CommandArgs a = SplitCommandArgs(cl.rest, "a");
        if (!HasOption(a, 'x'))
            return plan;
        // GNU has no reserved edit; -c refuses while anybody else edits the file.
        std::vector<Option> kept;
        for (const Option& o : a.options)
            if (o.letter != 'x' && o.letter != 'c')
                kept.push_back(o);
        plan.action = Action::EditExclusive;
        plan.options = OptionWords(kept);
        plan.files = a.operands;
        std::vector<std::string> withCheck = plan.options;
        withCheck.push_back("-c");
        plan.args = Join(plan.globals, cmd, withCheck, a.endMarker, a.operands);
        return plan;
    }

    if (cmd == "unedit") {
        CommandArgs a = SplitCommandArgs(cl.rest, "");
        if (a.operands.empty())
            return plan; // a whole folder: cvs itself knows what it has edited
        plan.action = Action::Unedit;
        plan.options = OptionWords(a.options);
        plan.files = a.operands;
        return plan;
    }

    if (cmd == "rename") {
        if (cl.rest.size() != 2 || cl.rest[0].empty() || cl.rest[1].empty() ||
            cl.rest[0][0] == '-' || HasSeparator(cl.rest[0]) || HasSeparator(cl.rest[1])) {
            plan.action = Action::Refuse;
            plan.message = "cvs rename: GNU CVS has no rename command; this library carries out "
                           "only \"rename OLD NEW\" of one file within its folder";
            return plan;
        }
        plan.action = Action::Rename;
        plan.files = cl.rest;
        return plan;
    }

    if (cmd == "import") {
        CommandArgs a = SplitCommandArgs(cl.rest, "bmIkWX");
        const bool create = HasOption(a, 'C');
        std::vector<Option> kept;
        for (const Option& o : a.options)
            if (o.letter != 'C')
                kept.push_back(o);
        std::vector<std::string> operands = a.operands;
        // GNU wants a release tag after the vendor tag.
        if (operands.size() == 2)
            operands.push_back("start");
        plan.args = Join(plan.globals, cmd, OptionWords(kept), a.endMarker, operands);
        if (create && !operands.empty()) {
            plan.action = Action::ImportCreate;
            plan.module = operands.front();
        }
        return plan;
    }

    return plan;
}

EntryLine ParseEntryLine(const std::string& text) {
    EntryLine e;
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    if (line.empty() || line[0] != '/')
        return e;
    std::vector<std::string> fields;
    std::string::size_type start = 1;
    for (;;) {
        std::string::size_type slash = line.find('/', start);
        fields.push_back(line.substr(start, slash == std::string::npos ? slash : slash - start));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    fields.resize(5);
    e.ok = !fields[0].empty();
    e.name = fields[0];
    e.revision = fields[1];
    e.timestamp = fields[2];
    e.options = fields[3];
    e.tag = fields[4];
    return e;
}

const std::vector<std::string>& AskedVariables() {
    static const std::vector<std::string> names = {
        "CVSROOT",         "HOME",           "CVS_RSH",      "CVS_SERVER", "CVS_PSERVER_PORT",
        "CVS_CLIENT_PORT", "CVS_CLIENT_LOG", "CVS_PASSFILE", "CVSREAD",    "CVSEDITOR",
        "VISUAL",          "EDITOR",         "CVSUSEUNIXLF", "CVSIGNORE",  "CVSWRAPPERS",
        "CVSUMASK",        "TMPDIR"};
    return names;
}

std::vector<std::pair<std::string, std::string>>
CommandEnvironment(Dialect dialect, const std::vector<std::pair<std::string, std::string>>& answers,
                   const std::string& inheritedPassFile, const std::string& passFile) {
    std::vector<std::pair<std::string, std::string>> set;
    auto answered = [&answers](const std::string& name) {
        return std::any_of(answers.begin(), answers.end(),
                           [&name](const auto& a) { return a.first == name; });
    };
    for (const auto& [name, value] : answers) {
        if (dialect == Dialect::Gnu && name == "CVS_CLIENT_LOG" &&
            (EndsWith(value, "/") || EndsWith(value, "\\")))
            continue; // a folder: GNU would log everything sent as hidden files in it
        set.emplace_back(name, value);
        // GNU reads the pserver port of a root without one from CVS_CLIENT_PORT.
        if (dialect == Dialect::Gnu && name == "CVS_PSERVER_PORT" && !answered("CVS_CLIENT_PORT"))
            set.emplace_back("CVS_CLIENT_PORT", value);
    }
    if (!answered("CVS_PASSFILE") && inheritedPassFile.empty() && !passFile.empty())
        set.emplace_back("CVS_PASSFILE", passFile);
    return set;
}

ListingRewriter::ListingRewriter(std::string listedPath) : listed_(std::move(listedPath)) {
    while (!listed_.empty() && listed_.back() == '/')
        listed_.pop_back();
}

std::string ListingRewriter::Line(const std::string& line) const {
    if (line.empty() || StartsWith(line, "D/"))
        return std::string();
    if (line[0] == '/' || line.back() != ':')
        return line + "\n";
    std::string folder = line.substr(0, line.size() - 1);
    if (folder == listed_ || folder == "." || folder.empty())
        return std::string();
    if (!listed_.empty() && StartsWith(folder, listed_ + "/"))
        folder = folder.substr(listed_.size() + 1);
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return "D/" + folder + "////\n";
}

std::string ListingRewriter::Feed(const char* data, size_t size) {
    pending_.append(data, size);
    std::string out;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type nl = pending_.find('\n', start);
        if (nl == std::string::npos)
            break;
        out += Line(pending_.substr(start, nl - start));
        start = nl + 1;
    }
    pending_.erase(0, start);
    return out;
}

std::string ListingRewriter::Finish() {
    std::string out = pending_.empty() ? std::string() : Line(pending_);
    pending_.clear();
    return out;
}

} // namespace cvsglue
