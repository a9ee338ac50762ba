// A working copy made by the real cvs, read through the working-copy functions.
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <gtest/gtest.h>

namespace {

using testing_support::Shell;
using testing_support::TempDir;
using testing_support::WriteFile;

class CvsWorkingCopy : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing_support::RunningUnderWine() || !testing_support::HaveProgram("cvs"))
            GTEST_SKIP() << "needs the real cvs, which runs on Linux";
        ClearEntriesCache();
        const std::string script = "set -e; export HOME='" + root_.Path() + "' CVSROOT='" +
                                   root_ / "repo" +
                                   "'\n"
                                   "cvs -Q init\n"
                                   "mkdir -p import/sub\n"
                                   "printf 'one\\n' > import/a.txt\n"
                                   "printf 'two\\n' > import/sub/b.txt\n"
                                   "printf '\\000\\001\\002' > import/c.bin\n"
                                   "(cd import && cvs -Q import -m start mod vendor rel)\n"
                                   "cvs -Q checkout -d wc mod\n";
        auto result = Shell(script, root_.Path());
        ASSERT_EQ(result.status, 0) << result.err;
    }
    void TearDown() override { ClearEntriesCache(); }

    std::string Wc(const std::string& relative) const {
        return NormalizePath(root_ / "wc" + testing_support::Sep() + relative);
    }

    TempDir root_{"wc"};
};

TEST_F(CvsWorkingCopy, CheckedOutFilesAreListedAndUnchanged) {
    for (const char* name : {"a.txt", "sub/b.txt", "c.bin"}) {
        const std::string file = Wc(name);
        SCOPED_TRACE(file);
        EXPECT_TRUE(IsInEntries(file));
        EXPECT_EQ(GetEntryRevision(file), "1.1.1.1");
        EXPECT_TRUE(IsFileUnchanged(file));
    }
    EXPECT_TRUE(IsCVSFolder(Wc("")));
    EXPECT_TRUE(IsCVSFolder(Wc("sub")));
    // A folder is looked up in its own Entries file, which does not list the folder itself.
    EXPECT_FALSE(IsInEntries(Wc("sub")));
}

TEST_F(CvsWorkingCopy, AnEditChangesTheFileAndTouchingItBackRestoresIt) {
    const std::string file = Wc("a.txt");
    const std::string stamp = GetEntryTimestamp(file);
    ASSERT_FALSE(stamp.empty());
    auto result = Shell("printf 'edited\\n' > a.txt", Wc(""));
    ASSERT_EQ(result.status, 0);
    EXPECT_FALSE(IsFileUnchanged(file));
    result = Shell("touch -d '" + stamp + " UTC' a.txt", Wc(""));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsFileUnchanged(file));
}

TEST_F(CvsWorkingCopy, NewFilesAndNewEntriesAreSeenAfterCvsWritesThem) {
    const std::string file = Wc("new.txt");
    WriteFile(file, "new\n");
    EXPECT_FALSE(IsInEntries(file));
    auto result = Shell("HOME=. cvs -Q add new.txt", Wc(""));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsInEntries(file)); // the Entries file changed its time, so it is read again
    EXPECT_EQ(GetEntryRevision(file), "0");
    EXPECT_FALSE(IsFileUnchanged(file));
}

// cvs replaces Entries by a rename each time; two adds with a query between them fall within
// one second, and the second must be seen all the same.
TEST_F(CvsWorkingCopy, AddsWithinOneSecondAreEachSeen) {
    WriteFile(Wc("p1.txt"), "one\n");
    WriteFile(Wc("p2.txt"), "two\n");
    auto result = Shell("HOME=. cvs -Q add p1.txt", Wc(""));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsInEntries(Wc("p1.txt")));
    EXPECT_FALSE(IsInEntries(Wc("p2.txt")));
    result = Shell("HOME=. cvs -Q add p2.txt", Wc(""));
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(IsInEntries(Wc("p2.txt")));
    EXPECT_EQ(GetEntryRevision(Wc("p2.txt")), "0");
}

TEST_F(CvsWorkingCopy, FoldersBoundByTheProviderWorkWithCvs) {
    const std::string fresh = NormalizePath(root_ / "fresh");
    ASSERT_TRUE(platform::MakeFolder(fresh));
    ASSERT_TRUE(CreateAdminFolder(fresh, root_ / "repo", "mod"));
    auto result = Shell("HOME=. cvs -q update -d", fresh);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(testing_support::ReadFile(JoinPath(fresh, "a.txt")), "one\n");
    EXPECT_TRUE(IsInEntries(JoinPath(fresh, "a.txt")));
    EXPECT_TRUE(IsFileUnchanged(JoinPath(fresh, "a.txt")));
    EXPECT_EQ(ReadRoot(JoinPath(fresh, "sub")), root_ / "repo");
    EXPECT_EQ(GetModulePath(JoinPath(JoinPath(fresh, "sub"), "b.txt")), "mod/sub");
    EXPECT_EQ(FindWorkingCopyTop(JoinPath(JoinPath(fresh, "sub"), "b.txt")), fresh);

    // Unbound again, the folder is plain and cvs no longer knows it.
    RemoveAdminFolderTree(fresh);
    EXPECT_FALSE(IsCVSFolder(fresh));
    EXPECT_FALSE(IsCVSFolder(JoinPath(fresh, "sub")));
    EXPECT_EQ(testing_support::ReadFile(JoinPath(fresh, "a.txt")), "one\n");
}

} // namespace
