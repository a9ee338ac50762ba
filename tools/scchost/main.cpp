// tools/scchost/main.cpp - scchost: a command-line host for the source-control provider.
//
// It loads the provider module by path, exactly as an IDE does, and drives its exports.
// It is the provider's end-to-end test driver and a tool for scripts: results go to
// standard output, messages to standard error, and the exit status says whether the
// command succeeded.
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "scc/TraceFile.h"
#include "tools/scchost/Provider.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: scchost [--provider PATH] [--trace FILE] COMMAND [ARGUMENT...]\n"
    "\n"
    "Loads the source-control provider (default: the one beside scchost) as an IDE does\n"
    "and runs one command through its exports.\n"
    "\n"
    "commands:\n"
    "  version              the interface version the provider reports\n"
    "  dirstatus FOLDER...  whether each folder is under CVS control\n"
    "\n"
    "options:\n"
    "  --provider PATH      load the provider from PATH\n"
    "  --trace FILE         copy the provider's call trace to FILE before unloading it\n"
    "                       (the provider writes one only with its TRACELOG setting on,\n"
    "                       and deletes it when it is unloaded)\n"
    "  -h, --help           show this text\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "scchost: %s\n", message.c_str());
    return 1;
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
};

const Command kCommands[] = {
    {"version", RunVersion},
    {"dirstatus", RunDirStatus},
};

} // namespace

int main(int argc, char** argv) {
    std::string providerPath;
    std::string traceCopy;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string option = argv[i];
        if (option == "-h" || option == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option == "--provider") {
            if (i + 1 >= argc)
                return Fail("--provider needs a path");
            providerPath = argv[++i];
        } else if (option.rfind("--provider=", 0) == 0) {
            providerPath = option.substr(std::strlen("--provider="));
        } else if (option == "--trace") {
            if (i + 1 >= argc)
                return Fail("--trace needs a file name");
            traceCopy = argv[++i];
        } else if (option.rfind("--trace=", 0) == 0) {
            traceCopy = option.substr(std::strlen("--trace="));
        } else if (option == "--") {
            ++i;
            break;
        } else {
            return Fail("unknown option " + option + " (try scchost --help)");
        }
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
        scchost::Provider provider;
        const platform::LocalTime before = platform::LocalNow();
        if (!provider.Load(providerPath.empty() ? scchost::DefaultProviderPath() : providerPath))
            return Fail(provider.Error());
        const platform::LocalTime after = platform::LocalNow();
        int status = command.run(provider, args);
        // Now, while the provider is loaded: it deletes its trace when it is unloaded.
        if (!traceCopy.empty()) {
            int kept = KeepTrace(FindTrace(before, after), traceCopy);
            if (status == 0)
                status = kept;
        }
        return status;
    }
    return Fail("unknown command " + commandName + " (try scchost --help)");
}
