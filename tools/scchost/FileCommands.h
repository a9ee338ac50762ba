// tools/scchost/FileCommands.h - scchost's file commands, inside a connected project: status,
// get, checkout, uncheckout, checkin, add, remove and rename.
//
// Names are taken as a user types them (relative to the current folder) and handed to the
// provider as full paths. A folder stands for its files: those its CVS/Entries lists (for
// status also those on disk, for add those on disk it does not list yet); --recursive takes
// the folders below too. get hands folders to the provider as folders.
#pragma once

#include "tools/scchost/Provider.h"

#include <string>
#include <vector>

namespace scchost {

int RunStatus(Provider& provider, const std::vector<std::string>& args);
int RunGet(Provider& provider, const std::vector<std::string>& args);
int RunCheckout(Provider& provider, const std::vector<std::string>& args);
int RunUncheckout(Provider& provider, const std::vector<std::string>& args);
int RunCheckin(Provider& provider, const std::vector<std::string>& args);
int RunAdd(Provider& provider, const std::vector<std::string>& args);
int RunRemove(Provider& provider, const std::vector<std::string>& args);
int RunRename(Provider& provider, const std::vector<std::string>& args);

// Before the provider is loaded: a comment given with -m also answers the comment dialog, so
// that it asks for nothing more.
bool PrepareComment(const std::vector<std::string>& args, std::string& error);

} // namespace scchost
