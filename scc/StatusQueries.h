// scc/StatusQueries.h - the answers behind SccQueryInfo and SccPopulateList: the state of
// files, and the files a command should offer.
//
// Status comes from the working copy without cvs (Entries, base copies, attributes), with one
// look-up per file and folder-level work once per folder and call. Two things run cvs: a
// file whose folder is missing under the open project has its folder fetched, and a listing
// of folders asks the repository what they hold.
//
// A copied working folder carries the binding of the folder it was copied from: committed,
// its files would land on the original's files. Before the files of a folder are judged, a
// folder that is such a copy loses its CVS folders (and so do the folders below it), so that
// it shows as not controlled and can be added as a folder of its own. A folder counts as a
// copy only when everything below holds; cvs makes folders whose repository path ends in
// another name too (checkout -d, module aliases), and their Entries, pending adds and
// removes and base copies exist nowhere else:
//   - its repository path ends in another name than the folder;
//   - its parent is a working folder that does not list it, in CVS/Entries or in the
//     CVS/Entries.Log where cvs first records a folder it checked out there (A D/name);
//   - another working folder of the same working copy (a chain of folders each listed by
//     its parent) has that repository path, so the binding that goes is a copy of one that
//     stays. The folders of a module alias sit below a parent bound elsewhere (an
//     ampersand module's CVSROOT/Emptydir) and have none.
#pragma once

#include "scc/SccApi.h"

class CCVSContext;

// The status of each name, in status[i]; a name holding ".~sak" (the host's scratch files)
// keeps the word it came with. Folders get 1 (a working folder) or 0. A null status array
// is written nothing, but the query's work is done all the same. The context may be null:
// then no folder is fetched.
void QueryFileStatus(CCVSContext* context, SccLong count, const char** names, SccLong* status);

// With SCC_PL_DIR: every file the repository has in each folder (recursively) goes to the
// callback with its list status (for undo check-out only the checked-out ones, as 0x2); a
// folder the repository has and that is not a working folder yet is bound to it. Without
// it, a get marks each listed file controlled, and checked out where the user may edit it;
// other commands do nothing.
void PopulateFileList(CCVSContext* context, SccLong command, SccLong count, const char** names,
                      POPLISTFUNC populate, void* callerData, SccLong* status, SccLong options);
