// ui/BrowseProgram.h - what the "..." buttons of the settings panels share: a program
// chosen with the file-open dialog, and a value stored in the registry at once.
#pragma once

#include "platform/Types.h"

#include <functional>
#include <string>

class CSccSettings;

// The file-open dialog for a program (executables first, then all files), owned by owner
// and starting at current; the chosen path, or current when the user cancels.
std::string BrowseForProgram(platform::WindowHandle owner, const std::string& current);

// Changes the store at once through a settings object of its own: it loads the store, the
// change is made to it, and it saves everything back. The process's settings object is left
// as it is (its next save writes its own values).
void ChangeStoredSettings(const std::function<void(CSccSettings&)>& change);
