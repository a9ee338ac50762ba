// tools/scchost/FileCommands.cpp - status and the file commands through the exports.
#include "tools/scchost/FileCommands.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "scc/SccApi.h"
#include "tools/scchost/Projects.h"
#include "tools/scchost/Session.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

namespace scchost {
namespace {

using QueryInfoFn = SCCRTN (*)(void*, SccLong, const char**, SccLong*);
using GetFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, SccLong, SccCmdOptions);
using CommentedFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, const char*, SccLong,
                               SccCmdOptions);
using UncheckoutFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, SccLong, SccCmdOptions);
using AddFn = SCCRTN (*)(void*, SccWindow, SccLong, const char**, const char*, SccLong*,
                         SccCmdOptions);
using RenameFn = SCCRTN (*)(void*, SccWindow, const char*, const char*);
using CommandOptionsFn = SCCRTN (*)(void*, SccWindow, SccLong, SccCmdOptions*);

// The commands that have advanced options, by their number for SccGetCommandOptions.
constexpr SccLong kNoAdvancedOptions = -1;

// What a command line asks for: options, then the names as typed.
struct Request {
    bool recursive = false;
    bool advanced = false; // the command's advanced options are asked for first
    bool hasComment = false;
    std::string comment;
    std::vector<std::string> names;
};

bool Parse(const std::string& command, const std::vector<std::string>& args, bool takesComment,
           Request& request, std::string& error, bool takesAdvanced = false) {
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.size() < 2 || arg[0] != '-')
            break;
        if (arg == "-R" || arg == "--recursive") {
            request.recursive = true;
        } else if (takesAdvanced && arg == "--advanced") {
            request.advanced = true;
        } else if (takesComment && (arg == "-m" || arg == "--message")) {
            if (i + 1 >= args.size()) {
                error = command + ": " + arg + " needs a comment";
                return false;
            }
            request.hasComment = true;
            request.comment = args[++i];
        } else {
            error = command + ": unknown option " + arg +
                    " (a name that begins with - goes after --; try scchost --help)";
            return false;
        }
    }
    request.names.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return true;
}

// Which files of a folder a command takes.
enum class Which {
    Listed,   // those its CVS/Entries lists
    Unlisted, // those on disk it does not list, but for scchost's and cvs's own files
    All,      // both
};

struct FolderContent {
    std::vector<std::string> listedFiles, diskFiles, subfolders;
};

// The names its CVS/Entries lists as files.
std::vector<std::string> ListedFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::ifstream in(Join(Join(folder, "CVS"), "Entries"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 2 || line[0] != '/')
            continue;
        const std::string::size_type end = line.find('/', 1);
        names.push_back(line.substr(1, end == std::string::npos ? std::string::npos : end - 1));
    }
    return names;
}

FolderContent ReadFolder(const std::string& folder) {
    FolderContent content;
    content.listedFiles = ListedFiles(folder);
    std::vector<platform::DirEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::DirEntry& entry : entries) {
        if (entry.IsFolder()) {
            if (entry.name != "CVS")
                content.subfolders.push_back(entry.name);
        } else {
            content.diskFiles.push_back(entry.name);
        }
    }
    for (std::vector<std::string>* list :
         {&content.listedFiles, &content.diskFiles, &content.subfolders})
        std::sort(list->begin(), list->end());
    return content;
}

// Files an add would never mean: the project file of scchost, cvs's backups (".#NAME.REV")
// and the copies the provider keeps aside ("NAME.~...").
bool IsHousekeeping(const std::string& name) {
    return name == kProjectFileName || name.rfind(".#", 0) == 0 ||
           name.find(".~") != std::string::npos;
}

void ExpandFolder(const std::string& folder, Which which, bool recursive,
                  std::vector<std::string>& files) {
    const FolderContent content = ReadFolder(folder);
    std::vector<std::string> names;
    if (which != Which::Unlisted)
        names = content.listedFiles;
    if (which != Which::Listed)
        for (const std::string& name : content.diskFiles) {
            const bool listed =
                std::binary_search(content.listedFiles.begin(), content.listedFiles.end(), name);
            if (!listed && (which == Which::All || !IsHousekeeping(name)))
                names.push_back(name);
        }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& name : names)
        files.push_back(Join(folder, name));
    if (recursive)
        for (const std::string& sub : content.subfolders)
            ExpandFolder(Join(folder, sub), which, true, files);
}

// The full paths a command works on: each name made full, a folder replaced by its files.
std::vector<std::string> FilesOf(const Request& request, Which which) {
    std::vector<std::string> files;
    for (const std::string& typed : request.names) {
        const std::string full = FullPath(typed);
        if (platform::IsFolder(full))
            ExpandFolder(full, which, request.recursive, files);
        else
            files.push_back(full);
    }
    return files;
}

std::vector<const char*> Pointers(const std::vector<std::string>& paths) {
    std::vector<const char*> pointers;
    for (const std::string& path : paths)
        pointers.push_back(path.c_str());
    return pointers;
}

SccLong Count(const std::vector<std::string>& paths) {
    return static_cast<SccLong>(paths.size());
}

// The export a command needs, or null after saying which is missing.
template <typename Fn> Fn Need(Provider& provider, const char* name) {
    Fn fn = provider.Resolve<Fn>(name);
    if (!fn)
        Fail(provider.Error());
    return fn;
}

int Finish(const std::string& command, const char* exportName, SCCRTN result) {
    if (result == SCC_OK)
        return 0;
    return Fail(command + " failed: " + exportName + " answered " + Described(result) +
                "; the messages above say why");
}

// The states a status word shows, in words.
std::string StateWords(SccLong status, bool onDisk) {
    std::string words;
    auto add = [&words](const char* word) {
        words += (words.empty() ? "" : ", ") + std::string(word);
    };
    if (status == SCC_STATUS_INVALID) {
        add("invalid");
    } else if ((status & SCC_STATUS_CONTROLLED) == 0) {
        add("not controlled");
    } else {
        add((status & SCC_STATUS_CHECKEDOUT) != 0 ? "checked out" : "controlled");
        const struct {
            SccLong bit;
            const char* word;
        } others[] = {
            {SCC_STATUS_OUTOTHER, "checked out by another"},
            {SCC_STATUS_OUTEXCLUSIVE, "exclusive"},
            {SCC_STATUS_MODIFIED, "modified"},
            {SCC_STATUS_OUTOFDATE, "out of date"},
            {SCC_STATUS_DELETED, "deleted"},
            {SCC_STATUS_LOCKED, "locked"},
            {SCC_STATUS_MERGED, "merged"},
        };
        for (const auto& other : others)
            if (status & other.bit)
                add(other.word);
    }
    if (!onDisk)
        add("not on disk");
    return words;
}

// The commands that take files (a folder for its files) and one comment at most.
struct FileCommand {
    const char* name;
    const char* exportName;
    Which which;
    bool takesComment;
    SccLong optionsCommand = kNoAdvancedOptions;
};

// With --advanced, the command's options as the provider's dialog sets them, asked for as an
// IDE asks before the command; null without --advanced. False, said, when the dialog was
// cancelled or the provider has none: the command is not run then.
bool AdvancedOptions(Provider& provider, void* context, const std::string& command,
                     SccLong optionsCommand, const Request& request, SccCmdOptions& options) {
    options = nullptr;
    if (!request.advanced)
        return true;
    auto choose = Need<CommandOptionsFn>(provider, "SccGetCommandOptions");
    if (!choose)
        return false;
    if (choose(context, nullptr, optionsCommand, nullptr) != SCC_I_ADV_SUPPORT) {
        Fail(command + ": the provider has no advanced options for it");
        return false;
    }
    const SCCRTN result = choose(context, nullptr, optionsCommand, &options);
    if (result != SCC_OK) {
        Fail(command + ": SccGetCommandOptions answered " + Described(result) +
             "; nothing was done");
        return false;
    }
    if (!options) {
        Fail(command + ": the advanced options were cancelled; nothing was done");
        return false;
    }
    return true;
}

int RunFiles(Provider& provider, const std::vector<std::string>& args, const FileCommand& command,
             const std::function<SCCRTN(void*, std::vector<const char*>&, const Request&,
                                        SccCmdOptions)>& call) {
    Request request;
    std::string error;
    if (!Parse(command.name, args, command.takesComment, request, error,
               command.optionsCommand != kNoAdvancedOptions))
        return Fail(error);
    if (request.names.empty())
        return Fail(std::string(command.name) + " needs at least one file or folder (try "
                                                "scchost --help)");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    OpenProject open(exports);
    if (!open.Ok())
        return Fail(open.Error());
    SccCmdOptions options = nullptr;
    if (!AdvancedOptions(provider, open.Context(), command.name, command.optionsCommand, request,
                         options))
        return 1;
    const std::vector<std::string> files = FilesOf(request, command.which);
    std::vector<const char*> names = Pointers(files);
    return Finish(command.name, command.exportName, call(open.Context(), names, request, options));
}

} // namespace

bool PrepareComment(const std::vector<std::string>& args, std::string& error) {
    Request request;
    if (!Parse("", args, true, request, error, true)) {
        error.clear(); // said again, with the command's name, once the command runs
        return true;
    }
    if (!request.hasComment)
        return true;
    // An answer the user gave on the command line is theirs.
    const std::pair<const char*, std::string> answers[] = {
        {"MORVEK_ANSWER_COMMENT", request.comment},
        {"MORVEK_ANSWER_DONOTDISPLAY", "no"},
    };
    for (const auto& [name, value] : answers)
        if (!platform::GetEnvironmentValue(name) && !platform::SetEnvironmentValue(name, value)) {
            error = std::string("cannot set ") + name;
            return false;
        }
    return true;
}

int RunStatus(Provider& provider, const std::vector<std::string>& args) {
    Request request;
    std::string error;
    if (!Parse("status", args, false, request, error))
        return Fail(error);
    if (request.names.empty())
        request.names.push_back(".");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    auto queryInfo = Need<QueryInfoFn>(provider, "SccQueryInfo");
    if (!queryInfo)
        return 1;
    OpenProject open(exports);
    if (!open.Ok())
        return Fail(open.Error());
    // The other commands leave that check to the provider; a status query does not make it.
    const std::string project = FullPath(open.Project().localPath);
    for (const std::string& typed : request.names)
        if (ShownPath(FullPath(typed), project) == FullPath(typed))
            return Fail(FullPath(typed) + " lies outside the project " + project);
    const std::vector<std::string> files = FilesOf(request, Which::All);
    std::vector<const char*> names = Pointers(files);
    std::vector<SccLong> status(files.size(), 0);
    const SCCRTN result = queryInfo(open.Context(), Count(files), names.data(), status.data());
    if (result != SCC_OK)
        return Finish("status", "SccQueryInfo", result);
    const std::string here = FullPath("");
    for (size_t i = 0; i < files.size(); ++i)
        std::printf("%-24s %s\n", StateWords(status[i], platform::Exists(files[i])).c_str(),
                    ShownPath(files[i], here).c_str());
    return 0;
}

int RunGet(Provider& provider, const std::vector<std::string>& args) {
    Request request;
    std::string error;
    if (!Parse("get", args, false, request, error, true))
        return Fail(error);
    if (request.names.empty())
        return Fail("get needs at least one file or folder (try scchost --help)");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    auto get = Need<GetFn>(provider, "SccGet");
    if (!get)
        return 1;
    OpenProject open(exports);
    if (!open.Ok())
        return Fail(open.Error());
    SccCmdOptions options = nullptr;
    if (!AdvancedOptions(provider, open.Context(), "get", SCC_COMMAND_GET, request, options))
        return 1;
    // Folders go to the provider as folders, files as files: one call for each kind.
    std::vector<std::string> folders, files;
    for (const std::string& typed : request.names) {
        const std::string full = FullPath(typed);
        (platform::IsFolder(full) ? folders : files).push_back(full);
    }
    if (!files.empty()) {
        std::vector<const char*> names = Pointers(files);
        const SCCRTN result = get(open.Context(), nullptr, Count(files), names.data(), 0, options);
        if (result != SCC_OK)
            return Finish("get", "SccGet", result);
    }
    if (!folders.empty()) {
        std::vector<const char*> names = Pointers(folders);
        const SccLong flags = SCC_GET_ALL | (request.recursive ? SCC_GET_RECURSIVE : 0);
        return Finish("get", "SccGet",
                      get(open.Context(), nullptr, Count(folders), names.data(), flags, options));
    }
    return 0;
}

int RunCheckout(Provider& provider, const std::vector<std::string>& args) {
    auto checkout = Need<CommentedFn>(provider, "SccCheckout");
    if (!checkout)
        return 1;
    return RunFiles(
        provider, args, {"checkout", "SccCheckout", Which::Listed, false, SCC_COMMAND_CHECKOUT},
        [&](void* context, std::vector<const char*>& names, const Request&, SccCmdOptions options) {
            return checkout(context, nullptr, static_cast<SccLong>(names.size()), names.data(), "",
                            0, options);
        });
}

int RunUncheckout(Provider& provider, const std::vector<std::string>& args) {
    auto uncheckout = Need<UncheckoutFn>(provider, "SccUncheckout");
    if (!uncheckout)
        return 1;
    return RunFiles(
        provider, args, {"uncheckout", "SccUncheckout", Which::Listed, false},
        [&](void* context, std::vector<const char*>& names, const Request&, SccCmdOptions) {
            return uncheckout(context, nullptr, static_cast<SccLong>(names.size()), names.data(), 0,
                              nullptr);
        });
}

int RunCheckin(Provider& provider, const std::vector<std::string>& args) {
    auto checkin = Need<CommentedFn>(provider, "SccCheckin");
    if (!checkin)
        return 1;
    return RunFiles(provider, args,
                    {"checkin", "SccCheckin", Which::Listed, true, SCC_COMMAND_CHECKIN},
                    [&](void* context, std::vector<const char*>& names, const Request& request,
                        SccCmdOptions options) {
                        return checkin(context, nullptr, static_cast<SccLong>(names.size()),
                                       names.data(), request.comment.c_str(), 0, options);
                    });
}

int RunAdd(Provider& provider, const std::vector<std::string>& args) {
    auto add = Need<AddFn>(provider, "SccAdd");
    if (!add)
        return 1;
    return RunFiles(provider, args, {"add", "SccAdd", Which::Unlisted, true, SCC_COMMAND_ADD},
                    [&](void* context, std::vector<const char*>& names, const Request& request,
                        SccCmdOptions options) {
                        std::vector<SccLong> flags(names.size(), SCC_FILETYPE_AUTO);
                        return add(context, nullptr, static_cast<SccLong>(names.size()),
                                   names.data(), request.comment.c_str(), flags.data(), options);
                    });
}

int RunRemove(Provider& provider, const std::vector<std::string>& args) {
    auto remove = Need<CommentedFn>(provider, "SccRemove");
    if (!remove)
        return 1;
    return RunFiles(
        provider, args, {"remove", "SccRemove", Which::Listed, true},
        [&](void* context, std::vector<const char*>& names, const Request& request, SccCmdOptions) {
            return remove(context, nullptr, static_cast<SccLong>(names.size()), names.data(),
                          request.comment.c_str(), 0, nullptr);
        });
}

int RunRename(Provider& provider, const std::vector<std::string>& args) {
    Request request;
    std::string error;
    if (!Parse("rename", args, false, request, error))
        return Fail(error);
    if (request.names.size() != 2 || request.recursive)
        return Fail("rename takes the old name and the new name (try scchost --help)");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    auto rename = Need<RenameFn>(provider, "SccRename");
    if (!rename)
        return 1;
    OpenProject open(exports);
    if (!open.Ok())
        return Fail(open.Error());
    const std::string from = FullPath(request.names[0]), to = FullPath(request.names[1]);
    return Finish("rename", "SccRename", rename(open.Context(), nullptr, from.c_str(), to.c_str()));
}

} // namespace scchost
