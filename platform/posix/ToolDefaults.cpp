// platform/posix/ToolDefaults.cpp - the user's editor and an installed diff tool.
#include "platform/ToolDefaults.h"

#include "platform/Environment.h"
#include "platform/Process.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

const ToolDefaults& DefaultTools() {
    static const ToolDefaults tools =
        ChoosePosixTools(GetEnvironmentValue("VISUAL"), GetEnvironmentValue("EDITOR"),
                         [](const std::string& program) -> std::string {
                             if (program.find('/') == std::string::npos)
                                 return FindProgramOnPath(program);
                             struct stat st;
                             return program[0] == '/' && ::stat(program.c_str(), &st) == 0 &&
                                            S_ISREG(st.st_mode) &&
                                            ::access(program.c_str(), X_OK) == 0
                                        ? program
                                        : std::string();
                         });
    return tools;
}

} // namespace platform
