// Reading a file's listing straight from CVS/Entries and CVS/Entries.Log, as cvs would on
// its next start, whatever the entries cache holds.
#include "workcopy/EntriesOnDisk.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"
#include "workcopy/Entries.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(EntriesListing, EntriesWithTheLogAppliedInOrder) {
    struct Case {
        const char* what;
        const char* entries; // null: no CVS/Entries
        const char* log;     // null: no CVS/Entries.Log
        EntriesListing expected;
    } const cases[] = {
        {"listed", "/a.c/1.1///\nD\n", nullptr, EntriesListing::Listed},
        {"another file only", "/b.c/1.1///\r\n", nullptr, EntriesListing::NotListed},
        {"empty Entries", "", nullptr, EntriesListing::NotListed},
        {"no Entries", nullptr, nullptr, EntriesListing::NotListed},
        {"added, still in the log", "D\n", "A /a.c/0/Initial a.c//\n", EntriesListing::Listed},
        {"added with CR LF", "", "A /a.c/0/dummy timestamp//\r\n", EntriesListing::Listed},
        {"removed in the log", "/a.c/1.1///\n", "R /a.c/1.1///\n", EntriesListing::NotListed},
        {"removed, then added again", "/a.c/1.1///\n", "R /a.c/1.1///\nA /a.c/0/Initial a.c//\n",
         EntriesListing::Listed},
        {"a line without its letter counts for nothing", "", "/a.c/0/Initial a.c//\n",
         EntriesListing::NotListed},
        {"a folder line of that name", "D/a.c////\n", nullptr, EntriesListing::Listed},
        {"a prefix of the name", "/a.cpp/1.1///\n/a/1.1///\n", nullptr, EntriesListing::NotListed},
    };
    for (const Case& c : cases) {
        TempDir dir("listing");
        ASSERT_TRUE(platform::MakeFolder(dir / "CVS"));
        if (c.entries)
            WriteFile(dir / "CVS/Entries", c.entries);
        if (c.log)
            WriteFile(dir / "CVS/Entries.Log", c.log);
        EXPECT_EQ(ReadEntriesListing(dir / "a.c"), c.expected) << c.what;
    }
}

TEST(EntriesListing, ReadsTheDiskNotTheCache) {
    TempDir dir("listing");
    ASSERT_TRUE(platform::MakeFolder(dir / "CVS"));
    const std::string entries = dir / "CVS/Entries";
    WriteFile(entries, "D\n");
    ASSERT_TRUE(platform::SetLastWriteTime(entries, 1700000000));
    EXPECT_FALSE(IsInEntries(dir / "n.c")); // now in the cache

    // Rewritten within the same second, as cvs add does right after a status query.
    WriteFile(entries, "/n.c/0/Initial n.c//\nD\n");
    ASSERT_TRUE(platform::SetLastWriteTime(entries, 1700000000));
    EXPECT_EQ(ReadEntriesListing(dir / "n.c"), EntriesListing::Listed);
    ClearEntriesCache();
}

} // namespace
