// workcopy/EntriesOnDisk.cpp - a file's line in CVS/Entries and CVS/Entries.Log, read now.
#include "workcopy/EntriesOnDisk.h"

#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <fstream>
#include <set>

namespace {

// Applies one file's lines to the set of keys; a log line is "A LINE" or "R LINE".
void ApplyLines(std::istream& in, bool log, std::set<std::string>& keys) {
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        bool remove = false;
        if (log) {
            if (line.size() < 2 || line[1] != ' ' || (line[0] != 'A' && line[0] != 'R'))
                continue;
            remove = line[0] == 'R';
            line.erase(0, 2);
        }
        const std::string key = EntryKeyOf(GetEntryField(line, 0));
        if (key.empty())
            continue;
        if (remove)
            keys.erase(key);
        else
            keys.insert(key);
    }
}

// False when the file cannot be read.
bool ApplyFile(const std::string& path, bool log, std::set<std::string>& keys) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    ApplyLines(in, log, keys);
    return !in.bad();
}

} // namespace

EntriesListing ReadEntriesListing(const std::string& path) {
    const std::string admin = JoinPath(GetParentFolderNormalized(path), "CVS");
    const std::string entriesPath = JoinPath(admin, "Entries");
    const std::string logPath = JoinPath(admin, "Entries.Log");
    if (!PathExists(entriesPath))
        return EntriesListing::NotListed;
    std::set<std::string> keys;
    if (!ApplyFile(entriesPath, false, keys) ||
        (PathExists(logPath) && !ApplyFile(logPath, true, keys)))
        return EntriesListing::Unknown;
    return keys.count(EntryKeyOf(GetFileNamePart(path))) ? EntriesListing::Listed
                                                         : EntriesListing::NotListed;
}
