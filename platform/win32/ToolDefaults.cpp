// platform/win32/ToolDefaults.cpp - the programs Windows users have always been given.
#include "platform/ToolDefaults.h"

namespace platform {

const ToolDefaults& DefaultTools() {
    // The first run writes the diff tool's name with a lower-case extension; the getter's
    // default has it capitalised. Both name the same file.
    static const ToolDefaults tools{"c:\\windows\\notepad.exe", "RevEdivuvozAziraz.exe",
                                    "RevEdivuvozAziraz.Exe", "RevEdivuvozAziraz.Exe"};
    return tools;
}

} // namespace platform
