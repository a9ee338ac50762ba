// tools/scchost/main.cpp - scchost: a command-line host for the source-control provider.
//
// It loads the provider module by path, exactly as an IDE does, and drives its exports.
// It is the provider's end-to-end test driver and a tool for scripts: results go to
// standard output, messages to standard error, and the exit status says whether the
// command succeeded.
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "scc/TraceFile.h"
#include "tools/scchost/FileCommands.h"
#include "tools/scchost/History.h"
#include "tools/scchost/Projects.h"
#include "tools/scchost/Provider.h"
#include "tools/scchost/Session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: scchost [--provider PATH] [--trace FILE] [--project DIR] [--quiet] [ANSWERS]\n"
    "               COMMAND [ARGUMENT...]\n"
    "\n"
    "Loads the source-control provider (default: the one beside scchost) as an IDE does\n"
    "and runs one command through its exports.\n"
    "\n"
    "commands:\n"
    "  version              the interface version the provider reports\n"
    "  dirstatus FOLDER...  whether each folder is under CVS control\n"
    "  connect [FOLDER]     connect a working folder (default: the current one) to a\n"
    "                       repository and module, importing a new module from it; keeps\n"
    "                       the project in FOLDER/.scchost-project\n"
    "  open                 open the project of the current folder (found upward)\n"
    "  close                open and close it (logging out when LOGOUTONCLOSE is 1)\n"
    "  modules CVSROOT [PATH]  list a folder of the repository (default: its top)\n"
    "  diff [--visual] [--revision R] FILE\n"
    "                       compare FILE with its revision: exit status 0 when it is the\n"
    "                       same, 1 when it differs, 2 on failure; --visual starts the diff\n"
    "                       tool (DIFFEXE) on the revision chosen, R when given\n"
    "  history FILE...      the revision history: a table of revisions and their actions\n"
    "                       (without a terminal: --answer revisions=...,action=...)\n"
    "  log FILE             the revisions of FILE as a tab-separated table, for scripts\n"
    "  properties FILE      the properties of FILE: what the working copy knows, its\n"
    "                       watchers and editors (without a terminal: the two lists as\n"
    "                       tab-separated tables; --answer watch=\"watch add\" or\n"
    "                       \"watch remove\" changes the user's watch first)\n"
    "  settings             the settings dialog (without a terminal: --answer NAME=VALUE\n"
    "                       by the settings' names, e.g. usecompression=yes)\n"
    "\n"
    "file commands, inside a connected project (names relative to the current folder; a\n"
    "folder stands for its files, -R or --recursive for those below it too):\n"
    "  status [-R] [PATH...]   the state of each file (default: the current folder)\n"
    "  get [-R] PATH...        bring the repository's newest revisions\n"
    "  checkout PATH...        check files out for editing\n"
    "  uncheckout PATH...      undo a check-out (edits that cvs reverts are kept aside)\n"
    "  checkin [-m COMMENT] PATH...  check files in (adding those CVS does not know yet)\n"
    "  add [-m COMMENT] PATH...      add files (for a folder: its files CVS does not know)\n"
    "  remove [-m COMMENT] PATH...   remove files from CVS\n"
    "  rename OLD NEW          rename a file within its folder\n"
    "  get, checkout, checkin and add take --advanced: the command's advanced options\n"
    "  dialog comes first (without a terminal: --answer getoptions=ok or\n"
    "  checkinoptions=ok, and its values, e.g. version=\"By tag (-r)\" versiontag=REL)\n"
    "\n"
    "options:\n"
    "  --provider PATH      load the provider from PATH\n"
    "  --project DIR        look for the project from DIR instead of the current folder\n"
    "  --quiet              do not print the cvs command lines the provider echoes\n"
    "  --trace FILE         copy the provider's call trace to FILE before unloading it\n"
    "                       (the provider writes one only with its TRACELOG setting on,\n"
    "                       and deletes it when it is unloaded)\n"
    "  -h, --help           show this text\n"
    "\n"
    "answers for the provider's dialogs (used instead of asking; without a terminal they\n"
    "are the only answers, and a dialog they leave open fails naming the option to pass):\n"
    "  --password PASSWORD  the repository password (others on this machine may see it)\n"
    "  --password-file FILE the first line of FILE is the password (- : standard input)\n"
    "  --yes, --no          the answer to every yes/no question\n"
    "  --answer NAME=VALUE  the answer for the prompt NAME (e.g. cvsroot=:local:/repo,\n"
    "                       login=cancel)\n"
    "  --ui HOST            how dialogs are shown: windows (real windows, Windows only),\n"
    "                       terminal, headless or auto (default: on the terminal when\n"
    "                       standard input is one)\n";

// Scripted answers travel to the provider as environment variables, set before it is
// loaded; the provider reads them once and takes them out of the environment.
const char kAnswerPrefix[] = "MORVEK_ANSWER_";
const char kHostVariable[] = "MORVEK_UI_HOST";

using scchost::Fail;

bool SetAnswer(const std::string& name, const std::string& value, std::string& error) {
    if (name.empty() ||
        name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                               "0123456789_") != std::string::npos) {
        error = "--answer needs NAME=VALUE with a NAME of letters, digits and _";
        return false;
    }
    std::string variable = kAnswerPrefix;
    for (char c : name)
        variable.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    if (!platform::SetEnvironmentValue(variable, value)) {
        error = "cannot set " + variable;
        return false;
    }
    return true;
}

// The first line of the file (or of standard input for "-"), without its line end.
bool ReadPasswordFile(const std::string& path, std::string& password, std::string& error) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file) {
            error = "cannot read the password file '" + path + "'";
            return false;
        }
        in = &file;
    }
    password.clear();
    std::getline(*in, password);
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}

int RunVersion(scchost::Provider& provider, const std::vector<std::string>& args) {
    if (!args.empty())
        return Fail("version takes no arguments");
    auto getVersion = provider.Resolve<SccLong (*)()>("SccGetVersion");
    if (!getVersion)
        return Fail(provider.Error());
    const uint32_t version = static_cast<uint32_t>(getVersion());
    std::printf("%u.%u (0x%08x)\n", version >> 16, version & 0xFFFF, version);
    return 0;
}

int RunDirStatus(scchost::Provider& provider, const std::vector<std::string>& args) {
    if (args.empty())
        return Fail("dirstatus needs at least one folder (try scchost --help)");
    auto dirQueryInfo =
        provider.Resolve<SCCRTN (*)(void*, SccLong, const char**, SccLong*)>("SccDirQueryInfo");
    if (!dirQueryInfo)
        return Fail(provider.Error());
    std::vector<const char*> names;
    for (const std::string& a : args)
        names.push_back(a.c_str());
    std::vector<SccLong> status(args.size(), 0);
    SCCRTN result =
        dirQueryInfo(nullptr, static_cast<SccLong>(names.size()), names.data(), status.data());
    if (result != SCC_OK)
        return Fail("SccDirQueryInfo failed with " + std::to_string(result));
    for (size_t i = 0; i < args.size(); ++i)
        std::printf("%-16s %s\n",
                    status[i] == SCC_DIRSTATUS_CONTROLLED ? "controlled" : "not-controlled",
                    args[i].c_str());
    return 0;
}

// The trace of the provider loaded between the two moments. The provider names its trace
// after the local time it was loaded at, to the second ("Trace%y%m%dT%H%M%S.log" in the
// Morvek folder of the application-data folder), so the file is the one whose time lies
// between the moments just before and just after loading; of several such files, the
// latest. A trace of another process loaded in the same second cannot be told apart.
std::string FindTrace(const platform::LocalTime& before, const platform::LocalTime& after) {
    const std::string folder = TraceFolder(false);
    std::vector<platform::DirEntry> entries;
    if (folder.empty() || !platform::ListFolder(folder, entries))
        return std::string();
    std::string low = TraceFileName(TraceStamp(before));
    std::string high = TraceFileName(TraceStamp(after));
    if (high < low) // the clock was set back while loading
        std::swap(low, high);
    std::string found;
    for (const platform::DirEntry& entry : entries)
        if (!entry.IsFolder() && entry.name.size() == low.size() && entry.name >= low &&
            entry.name <= high && entry.name > found)
            found = entry.name;
    return found.empty() ? std::string() : folder + platform::kPathSeparator + found;
}

int KeepTrace(const std::string& trace, const std::string& copy) {
    if (trace.empty())
        return Fail("no trace to copy to " + copy +
                    ": the provider traces only with its TRACELOG setting on");
    if (!platform::CopyFileTo(trace, copy, false))
        return Fail("cannot copy the trace " + trace + " to " + copy);
    return 0;
}

struct Command {
    const char* name;
    int (*run)(scchost::Provider&, const std::vector<std::string>&);
    // Before the provider is loaded (what it reads when it loads); null: nothing.
    bool (*prepare)(const std::vector<std::string>&, std::string&) = nullptr;
    // The exit status of a failure (diff says "differs" with 1).
    int failure = 1;
};

const Command kCommands[] = {
    {"version", RunVersion},
    {"dirstatus", RunDirStatus},
    {"connect", scchost::RunConnect},
    {"open", scchost::RunOpen},
    {"close", scchost::RunClose},
    {"modules", scchost::RunModules, scchost::PrepareModules},
    {"status", scchost::RunStatus},
    {"get", scchost::RunGet},
    {"checkout", scchost::RunCheckout},
    {"uncheckout", scchost::RunUncheckout},
    {"checkin", scchost::RunCheckin, scchost::PrepareComment},
    {"add", scchost::RunAdd, scchost::PrepareComment},
    {"remove", scchost::RunRemove, scchost::PrepareComment},
    {"rename", scchost::RunRename},
    {"diff", scchost::RunDiff, scchost::PrepareDiff, 2},
    {"history", scchost::RunHistory},
    {"log", scchost::RunLog, scchost::PrepareLog},
    {"properties", scchost::RunProperties},
    {"settings", scchost::RunSettings},
};

} // namespace

int main(int argc, char** argv) {
    scchost::UserFolder();
    std::string providerPath;
    std::string yesNo;
    std::string traceCopy;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string option = argv[i];
        if (option == "-h" || option == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option == "--") {
            ++i;
            break;
        }
        if (option == "--quiet") {
            scchost::Options().quiet = true;
            continue;
        }
        if (option == "--yes" || option == "--no") {
            if (!yesNo.empty() && yesNo != option)
                return Fail("--yes and --no exclude each other");
            yesNo = option;
            continue;
        }
        // The options with a value: "--name VALUE" or "--name=VALUE".
        std::string value;
        const std::string::size_type equals = option.find('=');
        if (equals != std::string::npos && option.compare(0, 2, "--") == 0) {
            value = option.substr(equals + 1);
            option.resize(equals);
        } else if (option == "--provider" || option == "--password" ||
                   option == "--password-file" || option == "--answer" || option == "--ui" ||
                   option == "--trace" || option == "--project") {
            if (i + 1 >= argc)
                return Fail(option + " needs a value (try scchost --help)");
            value = argv[++i];
        }
        std::string error;
        if (option == "--provider") {
            providerPath = value;
        } else if (option == "--trace") {
            traceCopy = value;
        } else if (option == "--project") {
            scchost::Options().projectDir = value;
        } else if (option == "--password") {
            SetAnswer("password", value, error);
        } else if (option == "--password-file") {
            std::string password;
            if (ReadPasswordFile(value, password, error))
                SetAnswer("password", password, error);
        } else if (option == "--answer") {
            const std::string::size_type at = value.find('=');
            if (at == std::string::npos)
                error = "--answer needs NAME=VALUE";
            else
                SetAnswer(value.substr(0, at), value.substr(at + 1), error);
        } else if (option == "--ui") {
            if (value != "windows" && value != "terminal" && value != "headless" && value != "auto")
                error = "--ui takes windows, terminal, headless or auto";
            else
                platform::SetEnvironmentValue(kHostVariable, value);
        } else {
            return Fail("unknown option " + option + " (try scchost --help)");
        }
        if (!error.empty())
            return Fail(error);
    }
    if (!yesNo.empty()) {
        std::string error;
        SetAnswer("yesno", yesNo == "--yes" ? "yes" : "no", error);
    }
    if (i >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string commandName = argv[i++];
    const std::vector<std::string> args(argv + i, argv + argc);

    for (const Command& command : kCommands) {
        if (commandName != command.name)
            continue;
        if (command.prepare) {
            std::string error;
            if (!command.prepare(args, error))
                return Fail(error) ? command.failure : 0;
        }
        scchost::Provider provider;
        const platform::LocalTime before = platform::LocalNow();
        if (!provider.Load(providerPath.empty() ? scchost::DefaultProviderPath() : providerPath))
            return Fail(provider.Error()) ? command.failure : 0;
        const platform::LocalTime after = platform::LocalNow();
        int status = command.run(provider, args);
        // Now, while the provider is loaded: it deletes its trace when it is unloaded.
        if (!traceCopy.empty()) {
            int kept = KeepTrace(FindTrace(before, after), traceCopy);
            if (status == 0 && kept != 0)
                status = command.failure;
        }
        return status;
    }
    return Fail("unknown command " + commandName + " (try scchost --help)");
}
