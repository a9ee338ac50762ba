// tools/scchost/Projects.cpp - connect, open, close and modules through the exports.
#include "tools/scchost/Projects.h"

#include "tools/scchost/Session.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "platform/ProcessList.h"
#include "scc/SccApi.h"

#include <cstdio>
#include <fstream>
#include <memory>

namespace scchost {
HostOptions& Options() {
    static HostOptions options;
    return options;
}

std::string FindProjectFile(const std::string& folder) {
    for (std::string at = folder; !at.empty();) {
        const std::string candidate = Join(at == "/" ? std::string() : at, kProjectFileName);
        if (platform::Exists(candidate) && !platform::IsFolder(candidate))
            return candidate;
        const std::string up = FolderPart(at);
        if (up == at)
            break;
        at = up;
    }
    return std::string();
}

bool ReadProjectFile(const std::string& path, ProjectFile& project) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    bool any = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string::size_type equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "project")
            project.project = value;
        else if (key == "auxpath")
            project.auxPath = value;
        else if (key == "localpath")
            project.localPath = value;
        else
            continue;
        any = true;
    }
    return any && !project.localPath.empty();
}

bool WriteProjectFile(const std::string& path, const ProjectFile& project) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << "# scchost project: the strings an IDE keeps with its solution\n"
            << "project=" << project.project << "\n"
            << "auxpath=" << project.auxPath << "\n"
            << "localpath=" << project.localPath << "\n";
        if (!out.flush())
            return false;
    }
    return platform::MoveFileTo(temporary, path, true);
}

int RunConnect(Provider& provider, const std::vector<std::string>& args) {
    if (args.size() > 1)
        return Fail("connect takes at most one folder (try scchost --help)");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    const std::string folder = FullPath(args.empty() ? std::string() : args[0]);
    const bool wasControlled = IsControlled(exports, folder);

    Session session(exports);
    char user[SCC_USER_SIZE] = "";
    char name[SCC_PRJPATH_SIZE], local[SCC_PRJPATH_SIZE], aux[SCC_AUXPATH_SIZE] = "";
    std::snprintf(name, sizeof name, "%s", LastName(folder).c_str());
    std::snprintf(local, sizeof local, "%s", folder.c_str());
    SccBool isNew = 0;
    const SCCRTN chosen =
        exports.getProjPath(session.Context(), nullptr, user, name, local, aux, 0, &isNew);
    if (chosen == SCC_I_OPERATIONCANCELED)
        return Fail("connecting " + folder + " was cancelled; nothing was changed");
    if (chosen != SCC_OK)
        return Fail("could not connect " + folder + " (SccGetProjPath answered " +
                    Described(chosen) + "; the messages above say why)");

    ProjectFile project{name, aux, local};
    const SCCRTN opened = session.Open(project, wasControlled ? 0 : SCC_OP_CREATEIFNEW);
    if (opened != SCC_OK)
        return Fail("connected " + project.localPath +
                    ", but could not open it (SccOpenProject "
                    "answered " +
                    Described(opened) + ")");
    const std::string file = Join(project.localPath, kProjectFileName);
    if (!WriteProjectFile(file, project))
        return Fail("connected " + project.localPath + ", but cannot write " + file);
    std::printf("connected %s to the module %s of %s\n", project.localPath.c_str(),
                project.project.c_str(), project.auxPath.c_str());
    return 0;
}

namespace {

// Opens the project of the current folder with its stored strings, and closes it when asked.
int OpenStoredProject(Provider& provider, const std::vector<std::string>& args,
                      const std::string& command, bool close) {
    if (!args.empty())
        return Fail(command + " takes no arguments (it works on the project of the current "
                              "folder)");
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    ProjectFile project;
    std::string file, error;
    if (!LoadProject(project, file, error))
        return Fail(error);
    const std::string auxBefore = project.auxPath;
    Session session(exports);
    const SCCRTN result = session.Open(project, 0);
    if (result != SCC_OK)
        return Fail("cannot open the project of " + project.localPath +
                    " (SccOpenProject answered " + Described(result) + ")");
    // The provider fills in a repository the file did not name; the next open needs none.
    if (project.auxPath != auxBefore && !WriteProjectFile(file, project))
        return Fail("cannot write " + file);
    if (close)
        exports.closeProject(session.Context());
    return 0;
}

} // namespace

int RunOpen(Provider& provider, const std::vector<std::string>& args) {
    return OpenStoredProject(provider, args, "open", false);
}

int RunClose(Provider& provider, const std::vector<std::string>& args) {
    return OpenStoredProject(provider, args, "close", true);
}

bool PrepareModules(const std::vector<std::string>& args, std::string& error) {
    if (args.empty() || args.size() > 2 || args[0].empty()) {
        error = "modules needs a CVSROOT and at most one path (try scchost --help)";
        return false;
    }
    std::string path = args.size() > 1 ? args[1] : std::string();
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    // The connect dialog opens its module browser at the path, and is then closed unused.
    // (The top is listed when the browser opens; a path is listed when it is opened.)
    const std::pair<const char*, std::string> answers[] = {
        {"MORVEK_ANSWER_CONNECT", "dismiss"},    {"MORVEK_ANSWER_CVSROOT", args[0]},
        {"MORVEK_ANSWER_VERIFY", "no"},          {"MORVEK_ANSWER_BROWSE", "yes"},
        {"MORVEK_ANSWER_MODULESELECTION", "ok"},
    };
    for (const auto& [name, value] : answers)
        if (!platform::SetEnvironmentValue(name, value)) {
            error = std::string("cannot set ") + name;
            return false;
        }
    if (path.empty())
        platform::RemoveEnvironmentValue("MORVEK_ANSWER_MODULES");
    else if (!platform::SetEnvironmentValue("MORVEK_ANSWER_MODULES", path + "/")) {
        error = "cannot set MORVEK_ANSWER_MODULES";
        return false;
    }
    return true;
}

int RunModules(Provider& provider, const std::vector<std::string>& args) {
    Exports exports;
    if (!exports.Resolve(provider))
        return Fail(provider.Error());
    const std::string root = args[0];
    std::string path = args.size() > 1 ? args[1] : std::string();
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    const std::string listed = path.empty() ? "." : path;

    // A scratch folder of its own to open the project in; nothing is bound there.
    const std::string scratch =
        Join(FullPath(platform::GetTempFolderPath()),
             "scchost-modules-" + std::to_string(platform::CurrentProcessId()));
    ProjectFile project{std::string(), root, scratch};
    Pane& pane = ThePane();
    pane.listening = true;
    {
        Session session(exports);
        session.Open(project, 0);
        char user[SCC_USER_SIZE] = "", name[SCC_PRJPATH_SIZE] = "", aux[SCC_AUXPATH_SIZE];
        char local[SCC_PRJPATH_SIZE];
        std::snprintf(aux, sizeof aux, "%s", root.c_str());
        std::snprintf(local, sizeof local, "%s", scratch.c_str());
        exports.getProjPath(session.Context(), nullptr, user, name, local, aux, 0, nullptr);
    }
    pane.listening = false;
    platform::SetCurrentFolder(platform::GetTempFolderPath());
    platform::RemoveEmptyFolder(scratch);

    // The lines cvs printed for the listing of the path.
    const std::string command = "cvs -d " + root + " ls -e " + listed;
    bool in = false, found = false;
    std::vector<std::string> lines, said;
    for (const std::string& line : pane.heard) {
        if (line == command) {
            in = found = true;
            lines.clear();
            said.clear();
            continue;
        }
        // Its output runs to the next listing (a login and the listing's second run may come
        // in between); what cvs says on its error stream is kept for a failure.
        if (line.rfind("cvs -d " + root + " ls -e ", 0) == 0)
            in = false;
        else if (in && (line.rfind("D/", 0) == 0 || line.rfind("/", 0) == 0))
            lines.push_back(line);
        else if (in && line.rfind("cvs ", 0) == 0 &&
                 line.find("Listing module") == std::string::npos)
            said.push_back(line);
    }
    // A folder that is there but empty lists nothing, and cvs says nothing about it.
    if (!found || (lines.empty() && !said.empty())) {
        std::string reason;
        for (const std::string& line : said)
            reason += "\n  " + line;
        return Fail("no listing of " + listed + " in " + root +
                    ": the repository or the path is not there, or the login failed" + reason);
    }
    for (const std::string& line : lines) {
        std::vector<std::string> pieces;
        for (std::string::size_type start = 0; start < line.size();) {
            std::string::size_type slash = line.find('/', start);
            if (slash == std::string::npos)
                slash = line.size();
            pieces.push_back(line.substr(start, slash - start));
            start = slash + 1;
        }
        if (line[0] == 'D')
            std::printf("%s/\n", pieces.size() > 1 ? pieces[1].c_str() : "");
        else
            std::printf("%-24s %-10s %s\n", pieces.size() > 1 ? pieces[1].c_str() : "",
                        pieces.size() > 2 ? pieces[2].c_str() : "",
                        pieces.size() > 3 ? pieces[3].c_str() : "");
    }
    return 0;
}

} // namespace scchost
