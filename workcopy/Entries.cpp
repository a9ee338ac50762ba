// workcopy/Entries.cpp - Entries files and their cache.
#include "workcopy/Entries.h"

#include "workcopy/PathFunctions.h"

#include <algorithm>
#include <new>
#include <optional>

std::string_view EntryFieldOfLine(std::string_view line, int k) {
    if (k < 0)
        return std::string_view();
    std::string_view::size_type pos = 0;
    for (int slashes = 0; slashes <= k; ++slashes) {
        pos = line.find('/', pos);
        if (pos == std::string_view::npos)
            return std::string_view();
        ++pos;
    }
    std::string_view::size_type end = line.find('/', pos);
    return line.substr(pos, end == std::string_view::npos ? line.npos : end - pos);
}

std::string GetEntryField(std::string_view line, int k) {
    return std::string(EntryFieldOfLine(line, k));
}

std::string EntryKeyOf(std::string_view name, platform::PathStyle style) {
    std::string key(name);
    if (platform::FoldsCaseOf(style))
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return key;
}

namespace {

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view CCVSEntries::KeyOf(const Line& line) const {
    return std::string_view(text_).substr(line.keyStart, line.keyLength);
}

int CCVSEntries::CompareKeys(std::string_view a, std::string_view b) const {
    if (!platform::FoldsCaseOf(style_))
        return a.compare(b);
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(FoldAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(FoldAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

CCVSEntries CCVSEntries::Parse(std::string_view content, std::string path,
                               platform::FileStamp stamp, platform::PathStyle style) {
    CCVSEntries entries;
    entries.path_ = std::move(path);
    entries.stamp_ = stamp;
    entries.style_ = style;
    entries.text_.assign(content.data(), content.size());
    const std::string_view text(entries.text_);

    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n')
        ++lines;
    entries.index_.reserve(lines);
    std::string_view::size_type start = 0;
    while (start < text.size()) {
        std::string_view::size_type end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view::size_type length = end - start;
        if (length > 0 && text[start + length - 1] == '\r')
            --length;
        const std::string_view line = text.substr(start, length);
        std::string_view::size_type keyStart = line.find('/');
        std::string_view::size_type keyLength = 0;
        if (keyStart == std::string_view::npos) {
            keyStart = 0;
        } else {
            ++keyStart;
            const std::string_view::size_type keyEnd = line.find('/', keyStart);
            keyLength = (keyEnd == std::string_view::npos ? line.size() : keyEnd) - keyStart;
        }
        entries.index_.push_back(Line{static_cast<uint32_t>(start), static_cast<uint32_t>(length),
                                      static_cast<uint32_t>(start + keyStart),
                                      static_cast<uint32_t>(keyLength)});
        start = end + 1;
    }

    // Of several lines with one key the last wins: sort stably, keep the last of each run.
    auto& index = entries.index_;
    std::stable_sort(index.begin(), index.end(), [&entries](const Line& a, const Line& b) {
        return entries.CompareKeys(entries.KeyOf(a), entries.KeyOf(b)) < 0;
    });
    size_t kept = 0;
    for (size_t i = 0; i < index.size(); ++i) {
        const bool lastOfRun =
            i + 1 == index.size() ||
            entries.CompareKeys(entries.KeyOf(index[i]), entries.KeyOf(index[i + 1])) != 0;
        if (lastOfRun)
            index[kept++] = index[i];
    }
    index.resize(kept);
    if (index.capacity() > kept)
        index.shrink_to_fit();
    return entries;
}

std::string_view CCVSEntries::FindLine(std::string_view name) const {
    auto it = std::lower_bound(index_.begin(), index_.end(), name,
                               [this](const Line& line, std::string_view key) {
                                   return CompareKeys(KeyOf(line), key) < 0;
                               });
    if (it == index_.end() || CompareKeys(KeyOf(*it), name) != 0)
        return std::string_view();
    return std::string_view(text_).substr(it->start, it->length);
}

std::string CCVSEntries::GetEntryLine(const std::string& name) const {
    return std::string(FindLine(name));
}

bool CCVSEntries::ListsFolder(std::string_view name) const {
    const std::string_view line = FindLine(name);
    return !line.empty() && line.front() == 'D';
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
    std::string content;
    if (!stamp) {
        // The look-up failed but the file may still read: its lines are the answer, kept
        // for no later query since nothing tells when they change.
        if (!platform::ReadWholeFile(entriesPath, content))
            return nullptr;
        return std::make_shared<const CCVSEntries>(
            CCVSEntries::Parse(content, entriesPath, platform::FileStamp{}));
    }
    if (!platform::ReadWholeFile(entriesPath, content))
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
