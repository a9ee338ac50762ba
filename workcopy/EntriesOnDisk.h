// workcopy/EntriesOnDisk.h - whether cvs, started now, would count a file as its own.
//
// The entries cache is for status queries, where an answer a moment old does no harm. A step
// that is about to move a user's file needs the answer of this moment: the file could have
// been added a moment ago. cvs records an add or a removal first as an "A /name/..." or
// "R /name/..." line in CVS/Entries.Log and folds the log into CVS/Entries when the command
// ends; a cvs that was interrupted leaves the log behind, and the next cvs reads it. So both
// files are read here, straight from disk.
#pragma once

#include <string>

enum class EntriesListing {
    Listed,    // CVS/Entries and CVS/Entries.Log together have a line of the file's name
    NotListed, // they have none, or the folder has no CVS/Entries
    Unknown    // the folder has a CVS/Entries that cannot be read
};

EntriesListing ReadEntriesListing(const std::string& path);
