// The CVS folder of working folders: reading, composing, creating, removing.
#include "workcopy/RepositoryBinding.h"
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class Binding : public ::testing::Test {
protected:
    void SetUp() override { ClearEntriesCache(); }
    void TearDown() override {
        ClearEntriesCache();
        platform::SetCurrentFolder(home_);
    }

    std::string Path(const std::string& relative) const {
        std::string p = dir_.Path() + testing_support::Sep();
        for (char c : relative)
            p += c == '/' ? testing_support::Sep() : c;
        return NormalizePath(p);
    }
    // Makes a working folder with the given admin files (an empty text writes no file).
    void Bind(const std::string& relative, const std::string& repository,
              const std::string& root = "") {
        const std::string cvs = Path(relative + "/CVS");
        ASSERT_TRUE(platform::MakeFolderTree(cvs));
        WriteFile(JoinPath(cvs, "Entries"), "");
        if (!repository.empty())
            WriteFile(JoinPath(cvs, "Repository"), repository + "\n");
        if (!root.empty())
            WriteFile(JoinPath(cvs, "Root"), root + "\r\n");
    }
    void Folder(const std::string& relative) {
        ASSERT_TRUE(platform::MakeFolderTree(Path(relative)));
    }

    TempDir dir_{"bind"};
    std::string home_ = platform::GetCurrentFolder();
};

TEST_F(Binding, ReadRepositoryReadsOnlyTheFoldersOwnFile) {
    Bind("wc", "proj");
    Bind("wc/src", "proj/src");
    Folder("wc/src/new");
    WriteFile(Path("wc/src/main.c"), "");
    EXPECT_EQ(ReadRepository(Path("wc/src/main.c")), "proj/src");
    EXPECT_EQ(ReadRepository(Path("wc/src")), "proj/src");
    EXPECT_EQ(ReadRepository(Path("wc/src/new")), "");
    EXPECT_EQ(ReadRepository("name-without-folder"), "");

    WriteFile(Path("wc/CVS/Repository"), std::string(9999, 'r') + "\n");
    EXPECT_EQ(ReadRepository(Path("wc")), std::string(9999, 'r'));
    WriteFile(Path("wc/CVS/Repository"), std::string(10000, 'r') + "\n");
    EXPECT_EQ(ReadRepository(Path("wc")), "");
    WriteFile(Path("wc/CVS/Repository"), "");
    EXPECT_EQ(ReadRepository(Path("wc")), "");
}

TEST_F(Binding, ReadRootWalksUpPastEmptyFiles) {
    Bind("wc", "proj", ":pserver:alice@127.0.0.1:2401/repo");
    Bind("wc/sub", "proj/sub");
    WriteFile(Path("wc/sub/CVS/Root"), "");
    WriteFile(Path("wc/sub/f.c"), "");
    EXPECT_EQ(ReadRoot(Path("wc/sub/f.c")), ":pserver:alice@127.0.0.1:2401/repo");
    // The Root directly below the given folder is taken as it is, even empty.
    EXPECT_EQ(ReadRoot(Path("wc/sub")), "");
    EXPECT_EQ(ReadRoot(Path("wc")), ":pserver:alice@127.0.0.1:2401/repo");
    EXPECT_EQ(ReadRoot(dir_.Path()), "");
}

TEST_F(Binding, ModulePathComposesFolderNames) {
    Bind("wc/src", "proj/src");
    Folder("wc/src/new/deeper");
    EXPECT_EQ(GetModulePath(Path("wc/src/new/file.c")), "proj/src/new");
    EXPECT_EQ(GetModulePath(Path("wc/src/new/deeper/file.c")), "proj/src/new/deeper");
    EXPECT_EQ(GetModulePath(Path("wc/src")), "proj/src");
    EXPECT_EQ(GetModulePath(Path("wc/x.c")), "");
}

TEST_F(Binding, DeriveRepositoryPath) {
    Bind("wc", "proj");
    Folder("wc/lib/util");
    Folder("wc/.config");
    const std::string project = Path("wc");
    EXPECT_EQ(DeriveRepositoryPath(Path("wc/lib/util"), project, "proj"), "proj/lib/util");
    EXPECT_EQ(DeriveRepositoryPath(project, project, "other"), "other");
    EXPECT_EQ(DeriveRepositoryPath(project, project, "PROJ"), "proj"); // own file, case aside
    EXPECT_EQ(DeriveRepositoryPath(Path("wc/.config"), project, "proj"), "proj/.config");
}

// A folder's binding is its own CVS/Repository whatever a look-up answers: a stat that fails
// once must not make it read its parent's binding (an add then rebuilds a sound folder).
TEST_F(Binding, DeriveRepositoryPathWhileLookUpsFail) {
    Bind("wc", "proj");
    Bind("wc/sub", "proj/sub");
    const std::string project = Path("wc");
    for (uint64_t n = 1; n <= 4; ++n) {
        platform::ArmFault(platform::FaultKind::Lookup, n);
        EXPECT_EQ(DeriveRepositoryPath(Path("wc/sub"), project, "proj"), "proj/sub") << n;
        EXPECT_EQ(ReadFolderRepository(Path("wc/sub")).value_or("none"), "proj/sub") << n;
        platform::StopFaults();
    }
    EXPECT_FALSE(ReadFolderRepository(Path("wc/none")));
}

TEST_F(Binding, FindWorkingCopyTop) {
    Bind("wc", "proj");
    Bind("wc/a", "proj/a");
    Bind("loose/a", "other/a");
    WriteFile(Path("wc/a/b.c"), "");
    EXPECT_EQ(FindWorkingCopyTop(Path("wc/a/b.c")), Path("wc"));
    EXPECT_EQ(FindWorkingCopyTop(Path("loose/a/b.c")), Path("loose/a"));
    EXPECT_EQ(FindWorkingCopyTop(Path("plain")), "invalid");
    EXPECT_EQ(FindWorkingCopyTop(""), "invalid");
}

TEST_F(Binding, CreateAdminFolderWritesOneLineFilesWithThePlatformLineEnd) {
    Folder("fresh");
    ASSERT_TRUE(CreateAdminFolder(Path("fresh"), ":local:/repo", "mod/fresh"));
    const std::string eol = platform::kTextLineEnd;
    EXPECT_EQ(ReadFile(Path("fresh/CVS/Root")), ":local:/repo" + eol);
    EXPECT_EQ(ReadFile(Path("fresh/CVS/Repository")), "mod/fresh" + eol);
    EXPECT_EQ(ReadFile(Path("fresh/CVS/Entries")), "");
    EXPECT_TRUE(platform::IsFolder(Path("fresh/CVS/Base")));
    EXPECT_TRUE(IsCVSFolder(Path("fresh")));
    EXPECT_EQ(ReadRoot(Path("fresh")), ":local:/repo");
    EXPECT_EQ(ReadRepository(Path("fresh")), "mod/fresh");

    // A file path binds its folder; a missing folder is created with its parents.
    ASSERT_TRUE(CreateAdminFolder(Path("new/deep/file.c"), "r", "m"));
    EXPECT_TRUE(IsCVSFolder(Path("new/deep")));
}

TEST_F(Binding, RemoveAdminFolderAndTree) {
    Bind("wc", "proj");
    Bind("wc/a", "proj/a");
    Bind("wc/a/b", "proj/a/b");
    Folder("wc/a/CVS/Base");
    WriteFile(Path("wc/a/CVS/Base/f.c"), "base copy");
    WriteFile(Path("wc/a/f.c"), "the user's work");
    EXPECT_FALSE(RemoveAdminFolder(Path("wc/a/f.c"))); // not a folder
    EXPECT_TRUE(RemoveAdminFolder(Path("wc/a")));
    EXPECT_FALSE(PathExists(Path("wc/a/CVS")));
    EXPECT_EQ(ReadFile(Path("wc/a/f.c")), "the user's work");
    EXPECT_EQ(GetCurrentFolder(), Path("wc/a"));
    EXPECT_FALSE(RemoveAdminFolder(Path("wc/a")));

    RemoveAdminFolderTree(Path("wc"));
    EXPECT_FALSE(PathExists(Path("wc/CVS")));
    EXPECT_FALSE(PathExists(Path("wc/a/b/CVS")));
    EXPECT_TRUE(PathExists(Path("wc/a/b")));
}

// A bare file name has no folder, and a relative folder means whatever the process-wide
// current folder is at the time: the writers refuse both, write nothing anywhere and delete
// nothing.
TEST_F(Binding, WritersRefuseBareNamesAndRelativeFolders) {
    // First, since with a bare name joined into a path at the root the calls below would
    // write at the root of the file system.
    std::string bare;
    AppendPath(bare, "CVS");
    ASSERT_EQ(bare, "CVS");

    const std::string rootCvs = std::string(1, testing_support::Sep()) + "CVS";
    const bool rootHadCvs = PathExists(rootCvs);
    Bind("wc", "proj");
    Bind("wc/sub", "proj/sub");
    Folder("wc/sub/CVS/Base");
    WriteFile(Path("wc/file.c"), "the user's work");
    WriteFile(Path("wc/sub/CVS/Base/f.c"), "base copy");
    ASSERT_TRUE(platform::SetCurrentFolder(Path("wc")));

    EXPECT_FALSE(CreateAdminFolder("file.c", "r", "m"));
    EXPECT_FALSE(CreateAdminFolder("", "r", "m"));
    EXPECT_FALSE(CreateAdminFolder("sub", "r", "m"));
    EXPECT_FALSE(CreateAdminFolder("new", "r", "m"));
    EXPECT_FALSE(RemoveAdminFolder("sub"));
    RemoveAdminFolderTree("file.c");
    RemoveAdminFolderTree("sub");
    EXPECT_FALSE(DeleteFolderContents(""));
    EXPECT_FALSE(DeleteFolderContents(JoinPath("sub", "CVS")));

    EXPECT_EQ(ReadRepository(Path("wc")), "proj");
    EXPECT_EQ(ReadRepository(Path("wc/sub")), "proj/sub");
    EXPECT_EQ(ReadFile(Path("wc/sub/CVS/Base/f.c")), "base copy");
    EXPECT_EQ(ReadFile(Path("wc/file.c")), "the user's work");
    EXPECT_FALSE(PathExists(Path("wc/new")));
    EXPECT_FALSE(PathExists(Path("wc/CVS/CVS")));
    EXPECT_EQ(PathExists(rootCvs), rootHadCvs);

    // The Entries file and base copy of a bare name are relative paths, and nothing is made.
    EXPECT_EQ(GetEntriesPath("file.c"), JoinPath("CVS", "Entries"));
    EXPECT_EQ(GetBaseCopyPath("file.c"), JoinPath(JoinPath("CVS", "Base"), "file.c"));
    EXPECT_FALSE(PathExists(Path("wc/CVS/Base")));
}

// '*' and '?' are ordinary characters of POSIX names: a folder holding one is a folder like
// any other, listed, entered and unbound.
TEST_F(Binding, FoldersWithWildcardCharactersAreUnboundToo) {
    if (platform::kNativePathStyle == platform::PathStyle::Windows)
        GTEST_SKIP() << "Windows names cannot hold '*' or '?'";
    Bind("wc", "proj");
    Bind("wc/sub?x", "proj/sub?x");
    Bind("wc/s*", "proj/s*");
    Folder("wc/sub?x/CVS/Base/q?");
    WriteFile(Path("wc/sub?x/CVS/Base/a*b.c"), "base copy");
    WriteFile(Path("wc/sub?x/a*b.c"), "the user's work");
    RemoveAdminFolderTree(Path("wc"));
    EXPECT_FALSE(PathExists(Path("wc/CVS")));
    EXPECT_FALSE(PathExists(Path("wc/sub?x/CVS")));
    EXPECT_FALSE(PathExists(Path("wc/s*/CVS")));
    EXPECT_EQ(ReadFile(Path("wc/sub?x/a*b.c")), "the user's work");
}

TEST_F(Binding, DeleteFolderContentsKeepsReadOnlyFiles) {
    Folder("x/sub");
    WriteFile(Path("x/a"), "");
    WriteFile(Path("x/sub/b"), "");
    WriteFile(Path("x/ro"), "");
    platform::SetAttributes(Path("x/ro"), platform::kAttrReadOnly | platform::kAttrArchive);
    EXPECT_TRUE(DeleteFolderContents(Path("x")));
    EXPECT_FALSE(PathExists(Path("x/a")));
    EXPECT_FALSE(PathExists(Path("x/sub")));
    EXPECT_TRUE(PathExists(Path("x/ro")));
    EXPECT_FALSE(DeleteFolderContents(Path("missing")));
    platform::SetAttributes(Path("x/ro"), 0);
}

TEST_F(Binding, RemovingAdminFoldersNeverFollowsLinks) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "symbolic links are a POSIX matter here";
    Bind("wc", "proj");
    Bind("elsewhere", "other");
    WriteFile(Path("elsewhere/keep.c"), "keep");
    auto made = testing_support::Shell("ln -s ../../elsewhere wc/CVS/linked && "
                                       "ln -s ../elsewhere wc/linked",
                                       dir_.Path());
    ASSERT_EQ(made.status, 0) << made.err;
    RemoveAdminFolderTree(Path("wc"));
    EXPECT_FALSE(PathExists(Path("wc/CVS")));
    EXPECT_TRUE(IsCVSFolder(Path("elsewhere")));
    EXPECT_EQ(ReadFile(Path("elsewhere/keep.c")), "keep");
}

} // namespace
