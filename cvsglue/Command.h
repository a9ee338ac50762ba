// cvsglue/Command.h - carrying out the plan of one command.
#pragma once

#include "cvsglue/Dialect.h"
#include "cvsglue/Session.h"

#include <string>

namespace cvsglue {

// Runs the plan through the session; gives dllglue_main's result.
int Execute(Session& session, const Plan& plan);

// The first line of CVS/Root in the current folder, empty when there is none.
std::string FolderRoot();

} // namespace cvsglue
