// platform/Folders.h - the well-known folders of the user and of the system.
//
// Results carry no trailing separator and are empty when the folder cannot be found.
//  - Per-user application data. Windows: CSIDL_APPDATA (SHGetSpecialFolderPathA); tests
//    point it elsewhere with MORVEK_APPDATA_FOLDER. POSIX: $XDG_DATA_HOME when it is an
//    absolute path, else ~/.local/share.
//  - Program files. Windows: CSIDL_PROGRAM_FILES. POSIX: the prefix the build installs to.
//    MORVEK_PROGRAM_FILES names another folder on both (tests).
#pragma once

#include <string>

namespace platform {

// With create, a missing folder is made (with its parents on POSIX).
std::string GetAppDataFolder(bool create);
std::string GetProgramFilesFolder();

} // namespace platform
