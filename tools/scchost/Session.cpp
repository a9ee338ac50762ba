// tools/scchost/Session.cpp - paths, the output pane, the exports and the open project.
#include "tools/scchost/Session.h"

#include "platform/FileSystem.h"
#include "platform/PathStyle.h"

#include <cstdio>

namespace scchost {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

} // namespace

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "scchost: %s\n", message.c_str());
    return status;
}

const std::string& UserFolder() {
    static const std::string folder = platform::GetCurrentFolder();
    return folder;
}

std::string FullPath(const std::string& typed) {
    const char sep = platform::kPathSeparator;
    std::string path = typed;
    if (path.empty() || !(IsSeparator(path[0]) || HasDrive(path)))
        path = UserFolder() + sep + path;
    std::string root;
    size_t at = 0;
    if (HasDrive(path)) {
        root = path.substr(0, 2) + sep;
        at = 2;
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        root = std::string(2, sep); // a network share: \\server\share
        at = 2;
    } else {
        root = std::string(1, sep);
        at = 1;
    }
    std::vector<std::string> parts;
    while (at <= path.size()) {
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        const std::string part = path.substr(at, end - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::string full = root;
    for (size_t i = 0; i < parts.size(); ++i)
        full += (i ? std::string(1, sep) : std::string()) + parts[i];
    return full;
}

std::string FolderPart(const std::string& path) {
    const std::string::size_type sep = path.find_last_of("/\\");
    if (sep == std::string::npos)
        return std::string();
    return sep == 0 ? path.substr(0, 1) : path.substr(0, sep);
}

std::string LastName(const std::string& path) {
    const std::string::size_type sep = path.find_last_of("/\\");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && IsSeparator(folder.back()))
        return folder + name;
    return folder + platform::kPathSeparator + name;
}

namespace {

// Whether two texts name the same file, as the platform's file names compare.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (platform::kFileNamesFoldCase) {
            x = (x >= 'A' && x <= 'Z') ? static_cast<char>(x - 'A' + 'a') : x;
            y = (y >= 'A' && y <= 'Z') ? static_cast<char>(y - 'A' + 'a') : y;
        }
        if (x != y && !(IsSeparator(x) && IsSeparator(y)))
            return false;
    }
    return true;
}

} // namespace

std::string ShownPath(const std::string& path, const std::string& folder) {
    if (SameName(path, folder))
        return ".";
    const std::string prefix =
        !folder.empty() && IsSeparator(folder.back()) ? folder : folder + platform::kPathSeparator;
    return path.size() > prefix.size() && SameName(path.substr(0, prefix.size()), prefix)
               ? path.substr(prefix.size())
               : path;
}

Pane& ThePane() {
    static Pane pane;
    return pane;
}

SccLong PrintText(char* text, SccLong) {
    Pane& pane = ThePane();
    const std::string line = text ? text : "";
    if (pane.listening) {
        pane.heard.push_back(line);
        return 0;
    }
    const bool folderLine = line.rfind("Current Directory: ", 0) == 0;
    const bool command = pane.afterFolder;
    pane.afterFolder = folderLine;
    if (Options().quiet && (folderLine || command))
        return 0;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    return 0;
}

bool Exports::Resolve(Provider& provider) {
    initialize = provider.Resolve<InitializeFn>("SccInitialize");
    uninitialize = provider.Resolve<UninitializeFn>("SccUninitialize");
    openProject = provider.Resolve<OpenProjectFn>("SccOpenProject");
    closeProject = provider.Resolve<CloseProjectFn>("SccCloseProject");
    getProjPath = provider.Resolve<GetProjPathFn>("SccGetProjPath");
    dirQueryInfo = provider.Resolve<DirQueryInfoFn>("SccDirQueryInfo");
    return initialize && uninitialize && openProject && closeProject && getProjPath && dirQueryInfo;
}

Session::Session(Exports& exports) : exports_(exports) {
    char name[SCC_NAME_SIZE] = "", label[SCC_AUXLABEL_SIZE] = "";
    SccLong caps = 0, coLength = 0, length = 0;
    if (exports_.initialize(&context_, nullptr, "scchost", name, &caps, label, &coLength,
                            &length) != SCC_OK)
        context_ = nullptr;
}

Session::~Session() {
    if (context_)
        exports_.uninitialize(context_);
}

SCCRTN Session::Open(ProjectFile& project, SccLong flags) {
    char user[SCC_USER_SIZE] = "";
    char name[SCC_PRJPATH_SIZE], aux[SCC_AUXPATH_SIZE];
    std::snprintf(name, sizeof name, "%s", project.project.c_str());
    std::snprintf(aux, sizeof aux, "%s", project.auxPath.c_str());
    const SCCRTN result = exports_.openProject(
        context_, nullptr, user, name, project.localPath.c_str(), aux, "", PrintText, flags);
    project.auxPath = aux;
    return result;
}

std::string Described(SCCRTN result) {
    switch (result) {
    case SCC_OK:
        return "0 (SCC_OK)";
    case SCC_E_NONSPECIFICERROR:
        return "-15 (SCC_E_NONSPECIFICERROR)";
    case SCC_E_UNKNOWNPROJECT:
        return "-2 (SCC_E_UNKNOWNPROJECT)";
    default:
        return std::to_string(result);
    }
}

bool LoadProject(ProjectFile& project, std::string& file, std::string& error) {
    const std::string start = FullPath(Options().projectDir);
    file = FindProjectFile(start);
    if (file.empty()) {
        error = "no project at or above " + start +
                ": run scchost connect in the working folder "
                "first, or name the folder with --project DIR";
        return false;
    }
    if (!ReadProjectFile(file, project)) {
        error = "cannot read the project file " + file;
        return false;
    }
    return true;
}

bool IsControlled(Exports& exports, const std::string& folder) {
    const char* names[] = {folder.c_str()};
    SccLong status = 0;
    return exports.dirQueryInfo(nullptr, 1, names, &status) == SCC_OK &&
           status == SCC_DIRSTATUS_CONTROLLED;
}

OpenProject::OpenProject(Exports& exports, const std::string& folder, bool holdPane)
    : exports_(exports), session_(exports) {
    if (!session_.Context()) {
        error_ = "the provider did not start (SccInitialize failed)";
        return;
    }
    const std::string start =
        FullPath(Options().projectDir.empty() ? folder : Options().projectDir);
    const std::string file = FindProjectFile(start);
    if (!file.empty()) {
        if (!ReadProjectFile(file, project_)) {
            error_ = "cannot read the project file " + file;
            return;
        }
    } else if (IsControlled(exports_, start)) {
        project_.localPath = start;
    } else {
        error_ = "no project at or above " + start + ", and it is no CVS working folder: run " +
                 "scchost connect in the working folder first, or name it with --project DIR";
        return;
    }
    Pane& pane = ThePane();
    pane.listening = true;
    const SCCRTN result = session_.Open(project_, 0);
    pane.listening = holdPane;
    std::vector<std::string> heard;
    heard.swap(pane.heard);
    if (result != SCC_OK) {
        pane.listening = false;
        for (std::string& line : heard)
            PrintText(line.data(), SCC_MSG_INFO);
        error_ = "cannot open the project of " + project_.localPath + " (SccOpenProject answered " +
                 Described(result) + ")";
        return;
    }
    ok_ = true;
}

OpenProject::~OpenProject() {
    if (ok_)
        exports_.closeProject(session_.Context());
    ThePane().listening = false;
}

const std::vector<std::string>& OpenProject::Heard() const {
    return ThePane().heard;
}

} // namespace scchost
