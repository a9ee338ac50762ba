// Entries files: the line grammar, the keys, the cache's reload rule and its keep-alive
// promise, and damaged input.
#include "workcopy/Entries.h"
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"
#include "workcopy/PathFunctions.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(EntryField, Grammar) {
    struct Case {
        const char* line;
        int k;
        const char* field;
    } const cases[] = {
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 0, "a.c"},
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 1, "1.3"},
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 2, "Sun Nov  6 08:49:37 1994"},
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 3, "-kb"},
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 4, "Trel"},
        {"/a.c/1.3/Sun Nov  6 08:49:37 1994/-kb/Trel", 5, ""},
        {"D/sub////", 0, "sub"},
        {"D/sub////", 1, ""},
        {"D", 0, ""},
        {"", 0, ""},
        {"/only", 0, "only"},
        {"/only", 1, ""},
        {"x/a/b", 0, "a"}, // text before the first '/' belongs to no field
        {"/a/1.1/Result of merge+Thu Dec 10 02:21:27 2026//", 2,
         "Result of merge+Thu Dec 10 02:21:27 2026"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetEntryField(c.line, c.k), c.field) << c.line << " field " << c.k;
}

TEST(EntriesParse, LaterLinesWinAndKeysFoldOnWindowsOnly) {
    const char content[] = "/readme.txt/1.1///\n"
                           "/README.TXT/1.2///\r\n"
                           "/a.c/1.1///\n"
                           "/a.c/1.5///\n"
                           "D/sub////\n"
                           "D\n"
                           "\n"
                           "/last/1.9///";
    CCVSEntries windows = CCVSEntries::Parse(content, "p", {}, PathStyle::Windows);
    EXPECT_EQ(windows.GetEntryLine("readme.txt"), "/README.TXT/1.2///");
    EXPECT_EQ(windows.GetEntryLine("ReadMe.Txt"), "/README.TXT/1.2///");
    EXPECT_EQ(windows.GetEntryLine("a.c"), "/a.c/1.5///");
    EXPECT_EQ(windows.GetEntryLine("sub"), "D/sub////");
    EXPECT_EQ(windows.GetEntryLine("last"), "/last/1.9///");
    EXPECT_EQ(windows.GetEntryLine(""), ""); // the empty line came after the lone D
    EXPECT_EQ(windows.GetEntryLine("missing"), "");
    EXPECT_EQ(windows.LineCount(), 5u);

    CCVSEntries posix = CCVSEntries::Parse(content, "p", {}, PathStyle::Posix);
    EXPECT_EQ(posix.GetEntryLine("readme.txt"), "/readme.txt/1.1///");
    EXPECT_EQ(posix.GetEntryLine("README.TXT"), "/README.TXT/1.2///");
    EXPECT_EQ(posix.GetEntryLine("ReadMe.Txt"), "");
}

TEST(EntriesParse, DamagedContentIsReadAsFarAsItGoes) {
    std::string longName(200000, 'n');
    std::string content = "/" + longName + "/1.1///\n";
    content += std::string("/nul\0name/1.2///\n", 17);
    content += "no slash at all\n";
    content += std::string(100000, '/') + "\n";
    CCVSEntries entries = CCVSEntries::Parse(content, "p", {});
    EXPECT_EQ(GetEntryField(entries.GetEntryLine(longName), 1), "1.1");
    EXPECT_EQ(GetEntryField(entries.GetEntryLine(std::string("nul\0name", 8)), 1), "1.2");
    EXPECT_EQ(entries.GetEntryLine(""), std::string(100000, '/'));
}

class EntriesFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ClearEntriesCache();
        ASSERT_TRUE(platform::MakeFolderTree(dir_ / "CVS"));
    }
    void TearDown() override { ClearEntriesCache(); }

    std::string Entries() const { return JoinPath(JoinPath(dir_.Path(), "CVS"), "Entries"); }
    void WriteEntries(const std::string& content, int64_t time, long nanoseconds = 0) {
        WriteFile(Entries(), content);
        ASSERT_TRUE(platform::SetLastWriteTime(Entries(), time, nanoseconds));
    }

    TempDir dir_{"entries"};
};

// Commands that follow each other closely rewrite Entries within one second; every version
// must be seen, one of the same size and one renamed into place (as cvs writes it) too,
// while an unchanged file is served from memory.
TEST_F(EntriesFiles, EveryRewriteWithinOneSecondIsSeen) {
    const int64_t t = 1700000000;
    const std::string file = dir_ / "a.c";
    WriteEntries("/a.c/1.1///\n", t);
    EXPECT_EQ(GetEntryRevision(file), "1.1");
    const unsigned long loads = EntriesCache::Instance().Loads();
    EXPECT_EQ(GetEntryRevision(file), "1.1");
    EXPECT_EQ(EntriesCache::Instance().Loads(), loads);

    WriteEntries("/a.c/1.2///\n", t, 250000000); // same size, a quarter second later
    EXPECT_EQ(GetEntryRevision(file), "1.2");

    WriteEntries("/a.c/1.2///\n/b.c/1.1///\n", t, 250000000); // same time, longer
    EXPECT_TRUE(IsInEntries(dir_ / "b.c"));

    // Renamed over the old file with the same size; where the stamp knows the file's identity
    // the time is the same to the nanosecond too.
    const bool identity = platform::kNativePathStyle == PathStyle::Posix;
    const std::string backup = Entries() + ".Backup";
    WriteFile(backup, "/a.c/1.3///\n/b.c/1.1///\n");
    ASSERT_TRUE(platform::SetLastWriteTime(backup, t, identity ? 250000000 : 500000000));
    ASSERT_TRUE(platform::MoveFileTo(backup, Entries(), true));
    EXPECT_EQ(GetEntryRevision(file), "1.3");

    EXPECT_EQ(EntriesCache::Instance().Loads(), loads + 3);
    EXPECT_EQ(EntriesCache::Instance().Size(), 1u);
}

TEST_F(EntriesFiles, QueriesOnFilesAndFolders) {
    WriteEntries("/a.c/1.4/Sun Nov  6 08:49:37 1994/-kb/Trel\nD/sub////\nD\n", 1700000000);
    const std::string file = dir_ / "a.c";
    EXPECT_EQ(GetEntriesPath(file), NormalizePath(Entries()));
    EXPECT_EQ(GetEntriesPath(dir_.Path()), NormalizePath(Entries()));
    EXPECT_TRUE(IsInEntries(file));
    EXPECT_EQ(GetEntryRevision(file), "1.4");
    EXPECT_EQ(GetEntryTimestamp(file), "Sun Nov  6 08:49:37 1994");
    EXPECT_EQ(GetEntryOptions(file), "-kb");
    EXPECT_EQ(GetEntryTagDate(file), "Trel");
    EXPECT_FALSE(IsInEntries(dir_ / "b.c"));
    EXPECT_EQ(GetEntryRevision(dir_ / "b.c"), "");
    // A path ending in a separator has an empty name part and finds the lone D.
    EXPECT_TRUE(IsInEntries(dir_.Path() + testing_support::Sep()));
    // A folder is looked up in its own Entries file, where its own name is normally absent.
    EXPECT_TRUE(IsCVSFolder(dir_.Path()));
    EXPECT_FALSE(IsInEntries(dir_.Path()));
    EXPECT_FALSE(IsCVSFolder(file));
}

// A look-up of Entries that fails while the file still reads gives its lines (a status query
// would otherwise call every file uncontrolled), and keeps them for no later query.
TEST_F(EntriesFiles, ReadWhenItsLookUpFails) {
    WriteEntries("/a.c/1.1///\n", 1700000000);
    platform::ArmFault(platform::FaultKind::Lookup, 1);
    std::shared_ptr<const CCVSEntries> entries = GetCachedEntries(Entries());
    EXPECT_TRUE(platform::StopFaults().fired);
    ASSERT_NE(entries, nullptr);
    EXPECT_EQ(GetEntryField(entries->GetEntryLine("a.c"), 1), "1.1");
    EXPECT_EQ(EntriesCache::Instance().Size(), 0u);
}

TEST_F(EntriesFiles, MissingOrUnreadableEntriesFile) {
    const std::string file = dir_ / "a.c";
    EXPECT_FALSE(IsInEntries(file));
    EXPECT_EQ(GetEntryRevision(file), "");
    EXPECT_EQ(GetCachedEntries(Entries()), nullptr);
    EXPECT_EQ(EntriesCache::Instance().Size(), 0u);
    EXPECT_FALSE(IsCVSFolder(dir_.Path()));

    if (testing_support::RunningAsRoot() || testing_support::RunningUnderWine())
        GTEST_SKIP() << "an unreadable file needs a user without the right to read it";
    WriteEntries("/a.c/1.1///\n", 1700000000);
    std::filesystem::permissions(Entries(), std::filesystem::perms::none);
    EXPECT_FALSE(IsInEntries(file));
    EXPECT_EQ(GetEntryRevision(file), "");
    EXPECT_EQ(EntriesCache::Instance().Size(), 0u);
    EXPECT_TRUE(IsCVSFolder(dir_.Path())); // the file is there, only unreadable
}

TEST_F(EntriesFiles, ObjectsStayValidWhileOtherThreadsReplaceThem) {
    WriteEntries("/a.c/1.1///\n", 1700000000);
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        int64_t t = 1700000000;
        while (!stop) {
            ClearEntriesCache();
            platform::SetLastWriteTime(Entries(), ++t);
        }
    });
    for (int i = 0; i < 2000; ++i) {
        std::shared_ptr<const CCVSEntries> entries = GetCachedEntries(Entries());
        ASSERT_NE(entries, nullptr);
        EXPECT_EQ(entries->GetEntryLine("a.c"), "/a.c/1.1///");
    }
    stop = true;
    churn.join();
}

TEST_F(EntriesFiles, VeryLongPaths) {
    std::string path = dir_.Path();
    while (path.size() < 5000)
        path += testing_support::Sep() + std::string("deep");
    EXPECT_FALSE(IsInEntries(path));
    EXPECT_FALSE(IsCVSFolder(path));
    EXPECT_EQ(GetEntryRevision(path), "");
}

} // namespace
