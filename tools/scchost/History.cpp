// tools/scchost/History.cpp - diff, history and log through SccDiff and SccHistory; a
// file's properties and the settings through SccProperties and SccRunScc.
#include "tools/scchost/History.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "scc/SccApi.h"
#include "tools/scchost/Session.h"

#include <cstdio>

namespace scchost {
namespace {

using DiffFn = SCCRTN (*)(void*, SccWindow, const char*, SccLong, SccCmdOptions);
using HistoryFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, SccLong, SccCmdOptions);
using PropertiesFn = SCCRTN (*)(void*, SccWindow, const char*);
using InitializeFn = SCCRTN (*)(void**, SccWindow, const char*, char*, SccLong*, char*, SccLong*,
                                SccLong*);
using UninitializeFn = SCCRTN (*)(void*);
using RunSccFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**);

// The exit status of diff for a failure: 0 and 1 say same and differs.
constexpr int kDiffTrouble = 2;

struct DiffArgs {
    bool visual = false;
    std::string revision;
    std::string file;
};

bool ParseDiff(const std::vector<std::string>& args, DiffArgs& diff, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--visual") {
            diff.visual = true;
        } else if (args[i] == "--revision") {
            if (i + 1 >= args.size()) {
                error = "--revision needs a revision (try scchost --help)";
                return false;
            }
            diff.revision = args[++i];
        } else if (diff.file.empty() && !args[i].empty()) {
            diff.file = args[i];
        } else {
            error = "diff takes one file (try scchost --help)";
            return false;
        }
    }
    if (diff.file.empty()) {
        error = "diff needs a file (try scchost --help)";
        return false;
    }
    if (!diff.revision.empty() && !diff.visual) {
        error = "--revision picks the revision of --visual; the quick diff compares with the "
                "working file's own revision";
        return false;
    }
    return true;
}

// The provider's output pane, held while the command ran, to standard error: what cvs said
// when the command failed.
void TellHeard(const OpenProject& project) {
    for (const std::string& line : project.Heard())
        std::fprintf(stderr, "%s\n", line.c_str());
}

bool Heard(const OpenProject& project, const std::string& line) {
    for (const std::string& heard : project.Heard())
        if (heard == line)
            return true;
    return false;
}

} // namespace

bool PrepareDiff(const std::vector<std::string>& args, std::string& error) {
    DiffArgs diff;
    if (!ParseDiff(args, diff, error))
        return false;
    if (!diff.revision.empty() &&
        !platform::SetEnvironmentValue("MORVEK_ANSWER_REVISION", diff.revision)) {
        error = "cannot set MORVEK_ANSWER_REVISION";
        return false;
    }
    return true;
}

int RunDiff(Provider& provider, const std::vector<std::string>& args) {
    DiffArgs diff;
    std::string error;
    if (!ParseDiff(args, diff, error))
        return Fail(error, kDiffTrouble);
    auto sccDiff = provider.Resolve<DiffFn>("SccDiff");
    if (!sccDiff)
        return Fail(provider.Error(), kDiffTrouble);
    const std::string file = FullPath(diff.file);
    // The output pane is held: standard output stays empty for scripts, and what cvs said is
    // shown when the comparison fails.
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error(), kDiffTrouble);
    OpenProject project(exports, FolderPart(file), true);
    if (!project.Ok())
        return Fail(project.Error(), kDiffTrouble);
    const SCCRTN result = sccDiff(project.Context(), nullptr, file.c_str(),
                                  diff.visual ? 0 : SCC_DIFF_QD_CONTENTS, nullptr);
    switch (result) {
    case SCC_OK:
        // A revision choice that was cancelled (or a --revision it does not list) answers
        // SCC_OK too, but fetches nothing.
        if (diff.visual && !Heard(project, "Getting file revision ..."))
            return Fail("no revision was chosen for " + file +
                            (diff.revision.empty() ? std::string()
                                                   : " (--revision names one of the 30 newest)"),
                        kDiffTrouble);
        return 0;
    case SCC_I_FILEDIFFERS:
        return 1;
    case SCC_E_FILENOTEXIST:
        return Fail(file + " does not exist", kDiffTrouble);
    case SCC_E_FILENOTCONTROLLED:
        return Fail(file + " is not under CVS", kDiffTrouble);
    default:
        TellHeard(project);
        return Fail("cannot compare " + file + " (SccDiff answered " + std::to_string(result) + ")",
                    kDiffTrouble);
    }
}

int RunHistory(Provider& provider, const std::vector<std::string>& args) {
    if (args.empty())
        return Fail("history needs at least one file (try scchost --help)");
    auto sccHistory = provider.Resolve<HistoryFn>("SccHistory");
    if (!sccHistory)
        return Fail(provider.Error());
    std::vector<std::string> files;
    std::vector<const char*> names;
    for (const std::string& a : args)
        files.push_back(FullPath(a));
    for (const std::string& f : files)
        names.push_back(f.c_str());
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    OpenProject project(exports, FolderPart(files[0]), false);
    if (!project.Ok())
        return Fail(project.Error());
    sccHistory(project.Context(), nullptr, static_cast<SccLong>(names.size()), names.data(), 0,
               nullptr);
    return 0;
}

bool PrepareLog(const std::vector<std::string>& args, std::string& error) {
    if (args.size() != 1 || args[0].empty()) {
        error = "log takes one file (try scchost --help)";
        return false;
    }
    // The sheet without a terminal writes its table to standard output; no action is taken.
    if (!platform::SetEnvironmentValue("MORVEK_UI_HOST", "headless") ||
        !platform::SetEnvironmentValue("MORVEK_ANSWER_ACTION", "close")) {
        error = "cannot set the answers of the history";
        return false;
    }
    platform::RemoveEnvironmentValue("MORVEK_ANSWER_HISTORYFILE");
    platform::RemoveEnvironmentValue("MORVEK_ANSWER_REVISIONS");
    return true;
}

int RunLog(Provider& provider, const std::vector<std::string>& args) {
    auto sccHistory = provider.Resolve<HistoryFn>("SccHistory");
    if (!sccHistory)
        return Fail(provider.Error());
    const std::string file = FullPath(args[0]);
    if (!platform::Exists(file) || platform::IsFolder(file))
        return Fail(file + " is no file");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    OpenProject project(exports, FolderPart(file), true);
    if (!project.Ok())
        return Fail(project.Error());
    const char* names[] = {file.c_str()};
    sccHistory(project.Context(), nullptr, 1, names, 0, nullptr);
    // The log's own complaints (a file cvs does not know, a repository it cannot reach).
    bool failed = false;
    for (const std::string& line : project.Heard())
        if (line.rfind("cvs log: ", 0) == 0 || line.rfind("cvs [log aborted]", 0) == 0 ||
            line.rfind("cvs: ", 0) == 0)
            failed = true;
    if (failed) {
        TellHeard(project);
        return Fail("no history of " + file);
    }
    return 0;
}

int RunProperties(Provider& provider, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].empty())
        return Fail("properties takes one file (try scchost --help)");
    auto sccProperties = provider.Resolve<PropertiesFn>("SccProperties");
    if (!sccProperties)
        return Fail(provider.Error());
    const std::string file = FullPath(args[0]);
    if (!platform::Exists(file) || platform::IsFolder(file))
        return Fail(file + " is no file");
    // The output pane is held: without a terminal, standard output is the lists' tables.
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    OpenProject project(exports, FolderPart(file), true);
    if (!project.Ok())
        return Fail(project.Error());
    return sccProperties(project.Context(), nullptr, file.c_str()) == SCC_OK ? 0 : 1;
}

int RunSettings(Provider& provider, const std::vector<std::string>& args) {
    if (!args.empty())
        return Fail("settings takes no arguments (try scchost --help)");
    auto initialize = provider.Resolve<InitializeFn>("SccInitialize");
    auto uninitialize = provider.Resolve<UninitializeFn>("SccUninitialize");
    auto runScc = provider.Resolve<RunSccFn>("SccRunScc");
    if (!initialize || !uninitialize || !runScc)
        return Fail(provider.Error());
    void* context = nullptr;
    char name[SCC_NAME_SIZE] = "", label[SCC_AUXLABEL_SIZE] = "";
    SccLong caps = 0, coLength = 0, length = 0;
    if (initialize(&context, nullptr, "scchost", name, &caps, label, &coLength, &length) !=
            SCC_OK ||
        !context)
        return Fail("the provider made no context");
    const SCCRTN result = runScc(context, nullptr, 0, nullptr);
    uninitialize(context);
    return result == SCC_OK ? 0 : 1;
}

} // namespace scchost
