// workcopy/Entries.cpp - Entries files and their cache.
#include "workcopy/Entries.h"

#include "workcopy/PathFunctions.h"

#include <fstream>
#include <iterator>
#include <new>
#include <optional>

std::string GetEntryField(std::string_view line, int k) {
    if (k < 0)
        return std::string();
    std::string_view::size_type pos = 0;
    for (int slashes = 0; slashes <= k; ++slashes) {
        pos = line.find('/', pos);
        if (pos == std::string_view::npos)
            return std::string();
        ++pos;
    }
    std::string_view::size_type end = line.find('/', pos);
    return std::string(line.substr(pos, end == std::string_view::npos ? line.npos : end - pos));
}

std::string CCVSEntry::Field(int k) const {
    return GetEntryField(line, k);
}

std::string EntryKeyOf(std::string_view name, platform::PathStyle style) {
    std::string key(name);
    if (platform::FoldsCaseOf(style))
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return key;
}

CCVSEntries CCVSEntries::Parse(std::string_view content, std::string path,
                               platform::FileStamp stamp, platform::PathStyle style) {
    CCVSEntries entries;
    entries.path_ = std::move(path);
    entries.stamp_ = stamp;
    entries.style_ = style;
    std::string_view::size_type start = 0;
    while (start < content.size()) {
        std::string_view::size_type end = content.find('\n', start);
        std::string_view line =
            content.substr(start, end == std::string_view::npos ? content.npos : end - start);
        start = end == std::string_view::npos ? content.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        entries.lines_[EntryKeyOf(GetEntryField(line, 0), style)] = CCVSEntry{std::string(line)};
    }
    return entries;
}

std::string CCVSEntries::GetEntryLine(const std::string& name) const {
    auto it = lines_.find(EntryKeyOf(name, style_));
    return it == lines_.end() ? std::string() : it->second.line;
}

EntriesCache& EntriesCache::Instance() {
    // Never destroyed: status queries may still arrive from threads of the host while the
    // library's static objects are being torn down. It lives in the module's own storage,
    // not on the heap, so that unloading the library gives it back; the module host empties
    // it at unload.
    alignas(EntriesCache) static unsigned char storage[sizeof(EntriesCache)];
    static EntriesCache* cache = new (storage) EntriesCache;
    return *cache;
}

std::shared_ptr<const CCVSEntries> EntriesCache::Get(const std::string& entriesPath) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::string key = EntryKeyOf(entriesPath);
    // Taken before the file is read: a write that lands while it is read then shows as a
    // changed stamp at the next query, never as stale content under a current stamp.
    const std::optional<platform::FileStamp> stamp = platform::GetFileStamp(entriesPath);
    auto it = objects_.find(key);
    if (it != objects_.end()) {
        if (stamp && *stamp == it->second->Stamp())
            return it->second;
        objects_.erase(it);
    }
    if (!stamp)
        return nullptr;
    std::ifstream file(entriesPath, std::ios::binary);
    if (!file)
        return nullptr;
    std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return nullptr;
    ++loads_;
    auto entries =
        std::make_shared<const CCVSEntries>(CCVSEntries::Parse(content, entriesPath, *stamp));
    objects_[key] = entries;
    return entries;
}

void EntriesCache::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    objects_.clear();
}

size_t EntriesCache::Size() const {
    std::lock_guard<std::mutex> guard(lock_);
    return objects_.size();
}

unsigned long EntriesCache::Loads() const {
    std::lock_guard<std::mutex> guard(lock_);
    return loads_;
}

std::string GetEntriesPath(const std::string& path) {
    std::string folder =
        IsDirectoryPath(path) ? NormalizePath(path) : NormalizePath(GetParentFolder(path));
    return JoinPath(JoinPath(folder, "CVS"), "Entries");
}

std::shared_ptr<const CCVSEntries> GetCachedEntries(const std::string& entriesPath) {
    return EntriesCache::Instance().Get(entriesPath);
}

void ClearEntriesCache() {
    EntriesCache::Instance().Clear();
}

namespace {
std::string EntryFieldOf(const std::string& path, int k) {
    std::shared_ptr<const CCVSEntries> entries = GetCachedEntries(GetEntriesPath(path));
    if (!entries)
        return std::string();
    return GetEntryField(entries->GetEntryLine(GetFileNamePart(path)), k);
}
} // namespace

std::string GetEntryRevision(const std::string& path) {
    return EntryFieldOf(path, 1);
}
std::string GetEntryTimestamp(const std::string& path) {
    return EntryFieldOf(path, 2);
}
std::string GetEntryOptions(const std::string& path) {
    return EntryFieldOf(path, 3);
}
std::string GetEntryTagDate(const std::string& path) {
    return EntryFieldOf(path, 4);
}

bool IsInEntries(const std::string& path) {
    // A missing Entries file gives no object, so the cache's own look-up is the existence test.
    std::shared_ptr<const CCVSEntries> entries = GetCachedEntries(GetEntriesPath(path));
    return entries && !entries->GetEntryLine(GetFileNamePart(path)).empty();
}

bool IsCVSFolder(const std::string& path) {
    return IsDirectoryPath(path) && PathExists(GetEntriesPath(path));
}
