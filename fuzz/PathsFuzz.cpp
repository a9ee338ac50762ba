// fuzz/PathsFuzz.cpp - the path functions, in the Windows and the POSIX style.
//
// Input: a path; after a NUL, a name to join to it. NormalizePath's Windows rules run
// against a made-up file system in which a path exists, and is a folder, by a hash of it, and
// stores its last component in another letter case. Every path function must end (a parent
// is always shorter, so walking upward stops) and NormalizePath must only change letter
// case and separators, drop a trailing separator, or complete a bare drive.
#include "fuzz/FuzzInput.h"
#include "workcopy/PathFunctions.h"

#include <functional>

namespace {

size_t Hash(const std::string& path) {
    return std::hash<std::string>()(path);
}

// The text in one letter case, with '/' for both separators.
std::string Folded(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c == '\\')
            c = '/';
    }
    return text;
}

const PathLookup& MadeUpFileSystem() {
    static const PathLookup lookup{[](const std::string& p) -> std::optional<std::string> {
                                       // As FindFirstFile: a path ending in a separator is not
                                       // found.
                                       if (p.empty() || IsPathSeparator(p.back()) ||
                                           Hash(p) % 3 == 0)
                                           return std::nullopt;
                                       std::string name = GetFileNamePart(p);
                                       for (char& c : name)
                                           if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                                               c ^= 0x20;
                                       return name;
                                   },
                                   [](const std::string& p) { return Hash(p) % 2 == 0; }};
    return lookup;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzzing::SplitAtNul(fuzzing::AsText(data, size), 2);
    const std::string& path = parts[0];
    const std::string name = fuzzing::PartOr(parts, 1, "name");

    for (PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
        const std::string normal = NormalizePathWith(path, style, MadeUpFileSystem());
        std::string expected = path;
        const bool drive =
            style == PathStyle::Windows && path.size() <= 3 && path.size() >= 2 && path[1] == ':';
        if (drive && path.size() == 2)
            expected += '\\';
        else if (!drive && expected.size() > 1 && IsPathSeparator(expected.back()))
            expected.pop_back();
        else if (!drive && style == PathStyle::Windows && expected.size() == 1 &&
                 IsPathSeparator(expected[0]))
            expected.clear();
        FUZZ_CHECK(Folded(normal) == Folded(expected));

        size_t steps = 0;
        for (std::string folder = path; !folder.empty(); folder = GetParentFolder(folder, style)) {
            const std::string parent = GetParentFolder(folder, style);
            FUZZ_CHECK(parent.size() < folder.size());
            FUZZ_CHECK(Folded(folder).compare(0, parent.size(), Folded(parent)) == 0);
            FUZZ_CHECK(++steps <= path.size());
        }
        FUZZ_CHECK(!IsAbsolutePath(path, style) || !path.empty());
        const std::string joined = JoinPath(path, name, style);
        FUZZ_CHECK(joined.size() >= path.size() + name.size());
        FUZZ_CHECK(joined.compare(0, path.size(), path) == 0);
        FUZZ_CHECK(GetFileNamePart(joined) == GetFileNamePart(name));
    }
    return 0;
}
