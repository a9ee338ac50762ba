// tools/scchost/Session.h - what scchost's commands share: paths as a user types them, the
// provider's output pane on standard output, the provider's exports, a provider context with
// the project of the current folder open, and failure messages.
#pragma once

#include "tools/scchost/Projects.h"
#include "tools/scchost/Provider.h"

#include <string>
#include <vector>

namespace scchost {

// "scchost: MESSAGE" on standard error; returns the exit status (1 unless told).
int Fail(const std::string& message, int status = 1);

// The folder scchost was started in, as it was at the first call (main makes that call
// first): opening a project makes its folder the process's current folder.
const std::string& UserFolder();
// A path as the user typed it, made full: relative to the folder scchost was started in, "." and
// ".." resolved, the platform's separator, no separator at the end (but a root's). Empty: that
// folder.
std::string FullPath(const std::string& typed);
std::string FolderPart(const std::string& path); // empty for a bare name
std::string LastName(const std::string& path);
std::string Join(const std::string& folder, const std::string& name);
// The path relative to the folder when it lies below it, else the path itself.
std::string ShownPath(const std::string& path, const std::string& folder);

// The provider's output pane: standard output, one text a line; with --quiet without the
// command lines (each follows the line naming the folder it runs in). While listening, the
// texts are kept instead.
struct Pane {
    bool afterFolder = false;
    bool listening = false;
    std::vector<std::string> heard;
};
Pane& ThePane();
SccLong PrintText(char* text, SccLong kind);

// The provider's exports, resolved by name.
struct Exports {
    using InitializeFn = SCCRTN (*)(void**, SccWindow, const char*, char*, SccLong*, char*,
                                    SccLong*, SccLong*);
    using UninitializeFn = SCCRTN (*)(void*);
    using OpenProjectFn = SCCRTN (*)(void*, SccWindow, char*, char*, const char*, char*,
                                     const char*, LPTEXTOUTPROC, SccLong);
    using CloseProjectFn = SCCRTN (*)(void*);
    using GetProjPathFn = SCCRTN (*)(void*, SccWindow, char*, char*, char*, char*, SccBool,
                                     SccBool*);
    using DirQueryInfoFn = SCCRTN (*)(void*, SccLong, const char**, SccLong*);

    InitializeFn initialize = nullptr;
    UninitializeFn uninitialize = nullptr;
    OpenProjectFn openProject = nullptr;
    CloseProjectFn closeProject = nullptr;
    GetProjPathFn getProjPath = nullptr;
    DirQueryInfoFn dirQueryInfo = nullptr;

    // False, with the missing one in the provider's Error(), when one is not there.
    bool Resolve(Provider& provider);
};

// A provider context for the life of the object.
class Session {
public:
    explicit Session(Exports& exports);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    void* Context() const { return context_; }

    // Opens the project with its strings; the auxiliary path may come back filled in.
    SCCRTN Open(ProjectFile& project, SccLong flags);

private:
    Exports& exports_;
    void* context_ = nullptr;
};

// A result code for a message: its number and, for the codes these commands give, its name.
std::string Described(SCCRTN result);

// The project of the current folder (or of --project DIR), or a message why there is none.
bool LoadProject(ProjectFile& project, std::string& file, std::string& error);

// Whether the provider sees the folder as a CVS working folder.
bool IsControlled(Exports& exports, const std::string& folder);

// A session with a project open, for the commands that work inside one, closed again at the
// end: the project file at or above the folder given (the folder scchost was started in when
// none is given; --project DIR wins over both); without a project file, the folder itself
// when it is a CVS working folder (the provider reads its repository there). When that
// cannot be done, Ok() is false and Error() says why; what the provider said while opening
// has then been printed, and otherwise is left out (it is the open command's to show).
// With a held pane, what the provider says afterwards is kept (Heard) instead of printed, so
// that standard output is the command's own.
class OpenProject {
public:
    explicit OpenProject(Exports& exports, const std::string& folder = std::string(),
                         bool holdPane = false);
    ~OpenProject();
    OpenProject(const OpenProject&) = delete;
    OpenProject& operator=(const OpenProject&) = delete;
    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    void* Context() const { return ok_ ? session_.Context() : nullptr; }
    const ProjectFile& Project() const { return project_; }
    // The lines of the output pane held so far.
    const std::vector<std::string>& Heard() const;

private:
    Exports& exports_;
    Session session_;
    ProjectFile project_;
    std::string error_;
    bool ok_ = false;
};

} // namespace scchost
