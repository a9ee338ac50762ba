// tools/scchost/Projects.h - the project commands of scchost: connect, open, close, modules.
//
// scchost keeps a project the way an IDE keeps one with its solution: the three strings the
// provider binds a project by (project name, auxiliary path, local path) in a small file of
// its own, ".scchost-project", in the working folder. "connect" writes it; every later
// command finds it by walking up from the current folder (or from --project DIR) and hands
// the strings back to SccOpenProject.
#pragma once

#include "tools/scchost/Provider.h"

#include <string>
#include <vector>

namespace scchost {

// What the options of the command line say to the commands.
struct HostOptions {
    bool quiet = false;     // the echoed command lines are not printed
    std::string projectDir; // where to look for the project file (empty: the current folder)
};
HostOptions& Options();

// The project file, its name and its three strings.
constexpr const char* kProjectFileName = ".scchost-project";
struct ProjectFile {
    std::string project;   // the module in the repository
    std::string auxPath;   // the CVSROOT
    std::string localPath; // the working folder
};
// The project file at or above the folder: its path, or empty when there is none.
std::string FindProjectFile(const std::string& folder);
bool ReadProjectFile(const std::string& path, ProjectFile& project);
bool WriteProjectFile(const std::string& path, const ProjectFile& project);

int RunConnect(Provider& provider, const std::vector<std::string>& args);
int RunOpen(Provider& provider, const std::vector<std::string>& args);
int RunClose(Provider& provider, const std::vector<std::string>& args);
int RunModules(Provider& provider, const std::vector<std::string>& args);
// Before the provider is loaded: the answers that make its module browser list the path.
bool PrepareModules(const std::vector<std::string>& args, std::string& error);

} // namespace scchost
