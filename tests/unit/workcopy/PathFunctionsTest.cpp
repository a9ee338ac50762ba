// Canonical paths: the Windows rules against a table standing in for the disk, the POSIX
// rules lexically, and the native functions against real folders.
#include "workcopy/PathFunctions.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// A case-insensitive disk: lower-cased full path (either separator) -> stored name.
class FakeWindowsDisk {
public:
    void AddFolder(const std::string& path, const std::string& stored) {
        names_[Key(path)] = stored;
        folders_[Key(path)] = true;
    }
    void AddFile(const std::string& path, const std::string& stored) { names_[Key(path)] = stored; }
    PathLookup Lookup() const {
        return PathLookup{[this](const std::string& p) -> std::optional<std::string> {
                              auto it = names_.find(Key(p));
                              if (it == names_.end())
                                  return std::nullopt;
                              return it->second;
                          },
                          [this](const std::string& p) { return folders_.count(Key(p)) > 0; }};
    }

private:
    static std::string Key(std::string p) {
        std::replace(p.begin(), p.end(), '/', '\\');
        return Lower(p);
    }
    std::map<std::string, std::string> names_;
    std::map<std::string, bool> folders_;
};

TEST(NormalizePath, WindowsRules) {
    FakeWindowsDisk disk;
    disk.AddFolder("c:\\work", "Work");
    disk.AddFolder("c:\\work\\src", "src");
    disk.AddFile("c:\\work\\src\\main.c", "Main.c");
    disk.AddFolder("c:\\progra~1", "Program Files");
    struct Case {
        const char* given;
        const char* expected;
    } const cases[] = {
        {"", ""},
        {"C:", "C:\\"},
        {"C:\\", "C:\\"},
        {"c:/", "c:/"},
        {"c:\\work\\", "c:\\Work"},
        {"c:/Work/SRC/main.c", "c:\\Work\\src\\Main.c"},
        {"C:\\WORK\\src\\new.c", "C:\\Work\\src\\new.c"},     // missing file keeps its form
        {"c:\\work\\Missing\\x.c", "c:\\work\\Missing\\x.c"}, // stops at the missing folder
        {"c:\\PROGRA~1", "c:\\Program Files"},                // long name for a short one
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},     // share roots cannot be looked up
        {"\\", ""},
        {"name", "name"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizePathWith(c.given, PathStyle::Windows, disk.Lookup()), c.expected)
            << c.given;
}

TEST(NormalizePath, PosixRulesAreLexical) {
    PathLookup never{[](const std::string&) -> std::optional<std::string> {
                         ADD_FAILURE() << "POSIX paths need no lookup";
                         return std::nullopt;
                     },
                     [](const std::string&) { return false; }};
    struct Case {
        const char* given;
        const char* expected;
    } const cases[] = {
        {"", ""},
        {"/", "/"},
        {"/work/", "/work"},
        {"/work", "/work"},
        {"\\work\\src\\", "/work/src"},
        {"a/b\\c", "a/b/c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalizePathWith(c.given, PathStyle::Posix, never), c.expected) << c.given;
}

TEST(PathParts, ParentFolderAndFileName) {
    struct Case {
        PathStyle style;
        const char* path;
        const char* parent;
        const char* name;
    } const cases[] = {
        {PathStyle::Windows, "C:\\", "", ""},
        {PathStyle::Windows, "C:\\a", "C:", "a"},
        {PathStyle::Windows, "C:\\a\\b.c", "C:\\a", "b.c"},
        {PathStyle::Windows, "C:/a/", "C:/a", ""},
        {PathStyle::Windows, "name", "", "name"},
        {PathStyle::Posix, "/", "", ""},
        {PathStyle::Posix, "/a", "/", "a"},
        {PathStyle::Posix, "/a/b.c", "/a", "b.c"},
        {PathStyle::Posix, "name", "", "name"},
        {PathStyle::Posix, "a\\b", "a", "b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetParentFolder(c.path, c.style), c.parent) << c.path;
        EXPECT_EQ(GetFileNamePart(c.path), c.name) << c.path;
    }
}

TEST(PathParts, NativeFunctionsOnRealFolders) {
    testing_support::TempDir dir("paths");
    const char sep = testing_support::Sep();
    const std::string sub = dir / "sub";
    ASSERT_TRUE(platform::MakeFolder(sub));
    testing_support::WriteFile(sub + sep + "f.txt", "x");

    EXPECT_TRUE(IsDirectoryPath(sub));
    EXPECT_FALSE(IsDirectoryPath(sub + sep + "f.txt"));
    EXPECT_TRUE(IsDirectoryPath(dir / "missing" + sep)); // a missing path ending in a separator
    EXPECT_FALSE(IsDirectoryPath(dir / "missing"));
    EXPECT_FALSE(IsDirectoryPath(""));
    EXPECT_TRUE(PathExists(sub + sep + "f.txt"));
    EXPECT_FALSE(PathExists(""));

    std::string folder = sub;
    AppendPath(folder, "f.txt");
    EXPECT_EQ(folder, NormalizePath(sub + sep + "f.txt"));
    folder = sub + sep;
    AppendPath(folder, "g");
    EXPECT_EQ(folder, NormalizePath(sub) + sep + "g");
    EXPECT_EQ(GetParentFolderNormalized(sub + sep + "f.txt"), NormalizePath(sub));
    EXPECT_EQ(NormalizePath(static_cast<const char*>(nullptr)), "");
}

// A bare name joined to an empty folder stays relative; turned into a path at the root it
// would send the writers of admin files there.
TEST(PathParts, AppendPathKeepsRelativePathsRelative) {
    const auto native = [](std::string p) {
        std::replace(p.begin(), p.end(), '/', testing_support::Sep());
        return p;
    };
    struct Case {
        const char* folder;
        const char* name;
        const char* expected;
    } const cases[] = {
        {"", "CVS", "CVS"},
        {"", "CVS/Entries", "CVS/Entries"},
        {"no-such-rel", "CVS", "no-such-rel/CVS"},
        {"no-such-rel/", "CVS", "no-such-rel/CVS"},
        {"no-such-rel/b", "CVS/Root", "no-such-rel/b/CVS/Root"},
        {"/", "no-such-top", "/no-such-top"}, // a root given as such stays the root
    };
    for (const Case& c : cases) {
        std::string folder = native(c.folder);
        AppendPath(folder, native(c.name));
        EXPECT_EQ(folder, native(c.expected)) << "'" << c.folder << "' + " << c.name;
    }
}

TEST(PathParts, AbsolutePaths) {
    struct Case {
        PathStyle style;
        const char* path;
        bool absolute;
    } const cases[] = {
        {PathStyle::Windows, "C:\\a", true},
        {PathStyle::Windows, "c:/a", true},
        {PathStyle::Windows, "C:\\", true},
        {PathStyle::Windows, "\\\\server\\share", true},
        {PathStyle::Windows, "//server/share", true},
        {PathStyle::Windows, "C:", false}, // the current folder of drive C
        {PathStyle::Windows, "C:a", false},
        {PathStyle::Windows, "\\a", false}, // the root of the current drive
        {PathStyle::Windows, "a\\b", false},
        {PathStyle::Windows, "", false},
        {PathStyle::Posix, "/", true},
        {PathStyle::Posix, "/a", true},
        {PathStyle::Posix, "\\a", true},
        {PathStyle::Posix, "a/b", false},
        {PathStyle::Posix, "C:/a", false},
        {PathStyle::Posix, "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsAbsolutePath(c.path, c.style), c.absolute) << c.path;
}

TEST(PathParts, VeryLongPathsAreHandled) {
    std::string path(5000, 'a');
    for (size_t i = 100; i < path.size(); i += 100)
        path[i] = testing_support::Sep();
    EXPECT_FALSE(PathExists(path));
    EXPECT_FALSE(IsDirectoryPath(path));
    EXPECT_EQ(GetFileNamePart(path), std::string(99, 'a'));
    EXPECT_EQ(NormalizePath(path + testing_support::Sep()).size(), path.size());
}

} // namespace
