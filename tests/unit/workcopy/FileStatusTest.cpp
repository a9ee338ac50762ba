// Per-file facts: time texts, the timestamp rule, base copies and the attribute convention.
#include "workcopy/FileStatus.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(FileTimeText, Format) {
    struct Case {
        int64_t seconds;
        const char* text;
    } const cases[] = {
        {784111777, "Sun Nov 06 08:49:37 1994"},  {0, "Thu Jan 01 00:00:00 1970"},
        {-1, "Wed Dec 31 23:59:59 1969"},         {951782400, "Tue Feb 29 00:00:00 2000"},
        {4102444799, "Thu Dec 31 23:59:59 2099"}, {-11644473600, "Mon Jan 01 00:00:00 1601"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFileTime(c.seconds), c.text) << c.seconds;
}

class WorkingFile : public ::testing::Test {
protected:
    void SetUp() override {
        ClearEntriesCache();
        ASSERT_TRUE(platform::MakeFolderTree(dir_ / "CVS"));
        WriteFile(file_, "content\n");
    }
    void TearDown() override { ClearEntriesCache(); }

    // Writes the Entries file and gives it a new time, so that the cache reads it again.
    void WriteEntries(const std::string& content) {
        const std::string entries = JoinPath(JoinPath(dir_.Path(), "CVS"), "Entries");
        WriteFile(entries, content);
        platform::SetLastWriteTime(entries, ++entriesTime_);
    }

    TempDir dir_{"status"};
    std::string file_ = dir_ / "a.c";
    int64_t entriesTime_ = 1600000000;
};

TEST_F(WorkingFile, TimestampRule) {
    const int64_t written = 784111777; // Sun Nov  6 08:49:37 1994 UTC
    ASSERT_TRUE(platform::SetLastWriteTime(file_, written));
    EXPECT_EQ(GetFileTimeText(file_), "Sun Nov 06 08:49:37 1994");

    struct Case {
        const char* stamp;
        bool unchanged;
    } const cases[] = {
        {"Sun Nov  6 08:49:37 1994", true}, // the day padded with a space, as CVS writes it
        {"Sun Nov 06 08:49:37 1994", true}, {"Sun Nov  6 08:49:38 1994", false}, // one second off
        {"Result of merge", false},         {"Result of merge+Sun Nov  6 08:49:37 1994", false},
        {"dummy timestamp", false},         {"", false},
    };
    for (const Case& c : cases) {
        WriteEntries(std::string("/a.c/1.1/") + c.stamp + "//\n");
        EXPECT_EQ(IsFileUnchanged(file_), c.unchanged) << c.stamp;
    }
    WriteEntries("/other.c/1.1/Sun Nov  6 08:49:37 1994//\n");
    EXPECT_FALSE(IsFileUnchanged(file_)); // no line: changed
}

// '*', '?', '<' and '>' are ordinary characters of POSIX names: such a file is looked up by
// its own name, never as a pattern that matches another file or none. Windows names cannot
// hold them, and there such a path names nothing, whatever a pattern would match.
TEST_F(WorkingFile, NamesWithWildcardCharactersAreLookedUpExactly) {
    const int64_t written = 784111777; // Sun Nov  6 08:49:37 1994 UTC
    const char* const names[] = {"a*b.c", "q?.txt", "a<b.c", "q>.txt"};
    std::string entries;
    for (const char* name : names)
        entries += std::string("/") + name + "/1.1/Sun Nov  6 08:49:37 1994//\n";
    WriteEntries(entries);
    // Files a pattern would also match, written at another time.
    for (const char* decoy : {"aXb.c", "qq.txt"}) {
        WriteFile(dir_ / decoy, "decoy\n");
        ASSERT_TRUE(platform::SetLastWriteTime(dir_ / decoy, written + 60));
    }
    const bool windows = platform::kNativePathStyle == platform::PathStyle::Windows;
    for (const char* name : names) {
        const std::string file = dir_ / name;
        SCOPED_TRACE(file);
        if (windows) {
            EXPECT_EQ(GetFileTimeText(file), "");
            EXPECT_FALSE(IsFileUnchanged(file));
            continue;
        }
        WriteFile(file, "content\n");
        ASSERT_TRUE(platform::SetLastWriteTime(file, written));
        EXPECT_EQ(GetFileTimeText(file), "Sun Nov 06 08:49:37 1994");
        EXPECT_TRUE(IsInEntries(file));
        EXPECT_TRUE(IsFileUnchanged(file));
        ASSERT_TRUE(platform::SetLastWriteTime(file, written + 1));
        EXPECT_FALSE(IsFileUnchanged(file));
    }
}

TEST_F(WorkingFile, TimeTextOfFoldersAndMissingPaths) {
    EXPECT_EQ(GetFileTimeText(dir_.Path()), "");
    EXPECT_EQ(GetFileTimeText(dir_ / "missing"), "");
    EXPECT_EQ(GetFileTimeText(""), "");
}

TEST_F(WorkingFile, BaseCopyPathCreatesTheBaseFolder) {
    TempDir bare("bare");
    const std::string file = bare / "x.txt";
    const std::string base = GetBaseCopyPath(file);
    const char sep = testing_support::Sep();
    EXPECT_EQ(base, NormalizePath(bare.Path()) + sep + "CVS" + sep + "Base" + sep + "x.txt");
    EXPECT_TRUE(platform::IsFolder(bare / "CVS" + sep + "Base"));
    EXPECT_FALSE(PathExists(base));
}

TEST_F(WorkingFile, ReadOnlyAttribute) {
    EXPECT_TRUE(IsWritable(file_));
    EXPECT_TRUE(MakeReadOnly(file_));
    EXPECT_FALSE(IsWritable(file_));
    EXPECT_TRUE(IsArchiveSet(file_));
    EXPECT_TRUE(MakeWritable(file_));
    EXPECT_TRUE(IsWritable(file_));

    const std::string missing = dir_ / "missing";
    EXPECT_FALSE(IsWritable(missing));
    EXPECT_TRUE(IsArchiveSet(missing));
    EXPECT_TRUE(MakeWritable(missing));
    EXPECT_TRUE(MakeReadOnly(missing));
    EXPECT_FALSE(PathExists(missing));
}

TEST_F(WorkingFile, ArchiveAttributeMeansWrittenSinceCleared) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "Wine cannot clear the archive attribute: it always reads as set";
    EXPECT_TRUE(IsArchiveSet(file_)); // a new file
    MakeWritable(file_);
    if (IsArchiveSet(file_))
        GTEST_SKIP() << "this file system keeps no extended attributes, so the bit stays set";

    // Writable with the archive bit clear: made writable by the provider, not written since.
    EXPECT_TRUE(IsWritable(file_));
    WriteFile(file_, "edited\n");
    EXPECT_TRUE(IsArchiveSet(file_)); // any write sets it

    MakeWritable(file_);
    EXPECT_FALSE(IsArchiveSet(file_));
    platform::DeleteFileAt(file_);
    WriteFile(file_, "edited\n"); // a new file in its place, as cvs puts one
    EXPECT_TRUE(IsArchiveSet(file_));

    // Read-only with the archive bit clear can be expressed too.
    MakeWritable(file_);
    platform::SetAttributes(file_, platform::kAttrReadOnly);
    EXPECT_FALSE(IsWritable(file_));
    EXPECT_FALSE(IsArchiveSet(file_));
    MakeReadOnly(file_);
    EXPECT_TRUE(IsArchiveSet(file_));
}

} // namespace
