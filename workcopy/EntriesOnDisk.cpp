// workcopy/EntriesOnDisk.cpp - a file's line in CVS/Entries and CVS/Entries.Log, read now.
#include "workcopy/EntriesOnDisk.h"

#include "platform/FileSystem.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <optional>
#include <set>

namespace {

// Applies one file's lines to the set of keys; a log line is "A LINE" or "R LINE".
void ApplyLines(std::string_view content, bool log, platform::PathStyle style,
                std::set<std::string>& keys) {
    while (!content.empty()) {
        const std::string_view::size_type end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        bool remove = false;
        if (log) {
            if (line.size() < 2 || line[1] != ' ' || (line[0] != 'A' && line[0] != 'R'))
                continue;
            remove = line[0] == 'R';
            line.remove_prefix(2);
        }
        const std::string key = EntryKeyOf(GetEntryField(line, 0), style);
        if (key.empty())
            continue;
        if (remove)
            keys.erase(key);
        else
            keys.insert(key);
    }
}

// The whole file; none when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path) {
    std::string content;
    if (!platform::ReadWholeFile(path, content))
        return std::nullopt;
    return content;
}

} // namespace

bool IsListedIn(std::string_view entries, std::string_view entriesLog, std::string_view name,
                platform::PathStyle style) {
    std::set<std::string> keys;
    ApplyLines(entries, false, style, keys);
    ApplyLines(entriesLog, true, style, keys);
    const std::string key = EntryKeyOf(name, style);
    return !key.empty() && keys.count(key) != 0;
}

EntriesListing ReadEntriesListing(const std::string& path) {
    const std::string admin = JoinPath(GetParentFolderNormalized(path), "CVS");
    const std::string entriesPath = JoinPath(admin, "Entries");
    const std::string logPath = JoinPath(admin, "Entries.Log");
    if (!PathExists(entriesPath))
        return EntriesListing::NotListed;
    const std::optional<std::string> entries = ReadWhole(entriesPath);
    std::optional<std::string> log = std::string();
    if (PathExists(logPath))
        log = ReadWhole(logPath);
    if (!entries || !log)
        return EntriesListing::Unknown;
    return IsListedIn(*entries, *log, GetFileNamePart(path)) ? EntriesListing::Listed
                                                             : EntriesListing::NotListed;
}
