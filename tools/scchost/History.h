// tools/scchost/History.h - the history commands of scchost: diff, history and log; and the
// provider's other windows: properties and settings.
//
// Each opens the project of its file (Projects.h) and calls SccDiff or SccHistory.
//  - diff FILE: the quick diff by contents; exit status 0 when the file is as its revision,
//    1 when it differs, 2 on failure. --visual starts the diff tool instead, on the
//    revision chosen in the revision choice (--revision R answers it).
//  - history FILE...: the history sheet; on a terminal a table of revisions and a list of
//    actions, without one the scripted answers (HostChoice.h) play it.
//  - log FILE: the history of one file as a tab-separated table on standard output, for
//    scripts (the sheet played without a terminal and without actions).
//  - properties FILE: the item-properties sheet of the file (SccProperties); on a terminal
//    its facts and lists, with the watch buttons offered; without one the scripted answers
//    play it (--answer watch="watch add") and the watchers and editors go to standard
//    output as tab-separated tables.
//  - settings: the settings dialog (SccRunScc) of a context without a project.
#pragma once

#include "tools/scchost/Provider.h"

#include <string>
#include <vector>

namespace scchost {

bool PrepareDiff(const std::vector<std::string>& args, std::string& error);
int RunDiff(Provider& provider, const std::vector<std::string>& args);
int RunHistory(Provider& provider, const std::vector<std::string>& args);
bool PrepareLog(const std::vector<std::string>& args, std::string& error);
int RunLog(Provider& provider, const std::vector<std::string>& args);
int RunProperties(Provider& provider, const std::vector<std::string>& args);
int RunSettings(Provider& provider, const std::vector<std::string>& args);

} // namespace scchost
