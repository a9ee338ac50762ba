// workcopy/FileStatus.cpp - times, base copies and attributes of working files.
#include "workcopy/FileStatus.h"

#include "platform/FileSystem.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <cstdio>

namespace {

constexpr uint32_t kMarkBits = platform::kAttrReadOnly | platform::kAttrArchive;

// Days since 1970-01-01 to a civil date (proleptic Gregorian), valid before 1970 too.
void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

} // namespace

std::string FormatFileTime(int64_t unixSeconds) {
    static const char* const kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    int64_t days = unixSeconds / 86400;
    int64_t rest = unixSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    int64_t year;
    unsigned month, day;
    CivilFromDays(days, year, month, day);
    const int weekday = static_cast<int>(((days % 7) + 7) % 7); // 1970-01-01 was a Thursday
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02u %02d:%02d:%02d %lld", kDays[weekday],
                  kMonths[month - 1], day, static_cast<int>(rest / 3600),
                  static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60),
                  static_cast<long long>(year));
    return text;
}

std::string GetFileTimeText(const std::string& path) {
    if (platform::IsFolder(path))
        return std::string();
    std::optional<platform::DirEntry> entry = platform::FindEntry(path);
    return entry ? FormatFileTime(entry->lastWriteTime) : std::string();
}

bool IsFileUnchanged(const std::string& path) {
    std::string stamp = GetEntryTimestamp(path);
    if (stamp.size() >= 9 && stamp[8] == ' ')
        stamp[8] = '0';
    return !stamp.empty() && stamp == GetFileTimeText(path);
}

std::string GetBaseCopyPath(const std::string& path) {
    const std::string base = JoinPath(JoinPath(GetParentFolder(path), "CVS"), "Base");
    const std::string folder = NormalizePath(base);
    if (IsAbsolutePath(folder) && !platform::Exists(folder))
        platform::MakeFolderTree(folder);
    return NormalizePath(JoinPath(base, GetFileNamePart(path)));
}

bool IsArchiveSet(const std::string& path) {
    return (platform::GetAttributes(path) & platform::kAttrArchive) != 0;
}

bool IsWritable(const std::string& path) {
    return (platform::GetAttributes(path) & platform::kAttrReadOnly) == 0;
}

bool MakeReadOnly(const std::string& path) {
    platform::SetAttributes(path, platform::GetAttributes(path) | kMarkBits);
    return true;
}

bool MakeWritable(const std::string& path) {
    platform::SetAttributes(path, platform::GetAttributes(path) & ~kMarkBits);
    return true;
}
