// The controller's file operations against the real cvs: add (with folders, binary and
// Unicode files, on a branch), check-in in folder batches, remove and rename; refused
// commits, awkward names, and every path on which a user's content could be lost, with
// that content checked byte for byte afterwards.
#include "operations/CVSController.h"
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsEngineFixture.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;

// A file's content that the repository does not have: what must never be lost.
const std::string kMine = "my own work\r\nnever checked in \x01\xff\n";

// The project's working copy, with check-out working locally (independent mode) and adds
// and removals not committed at once unless a test says so.
class FilesFixture : public testing_support::CvsWorkingCopySetup {
public:
    bool StartFiles(Method method, std::string* problem) {
        env_.Settings().SetIndependentMode(true);
        env_.Settings().SetAutoCommit(false);
        if (!Start(method, problem))
            return false;
        context_->SetComment("my comment");
        return true;
    }
    // The RCS file of a module file in the repository; "Attic/" before the name once the
    // file is removed on the trunk.
    std::string RcsFile(const std::string& relative) const {
        return In(repo_.Path(), "mod/" + relative + ",v");
    }
    // Each command with the folder it ran in, "FOLDER: COMMAND"; forgets the pane.
    Strings Runs() {
        Strings runs;
        const Strings& lines = env_.Pane().Lines();
        for (size_t i = 1; i < lines.size(); ++i)
            if (lines[i - 1].rfind("Current Directory: ", 0) == 0)
                runs.push_back(lines[i - 1].substr(19) + ": " + lines[i]);
        env_.Pane().Clear();
        return runs;
    }
    bool PaneHas(const std::string& part) {
        return env_.Pane().All().find(part) != std::string::npos;
    }
    // Commits a change from another working copy, as another user at another desk would.
    void CommitElsewhere(const std::string& relative, const std::string& content) {
        const std::string other = Copy("other" + std::to_string(++others_));
        WriteFile(In(other, relative), content);
        const std::string folder = GetParentFolder(In(other, relative));
        ASSERT_EQ(Cvs({"commit", "-m", "elsewhere", GetFileNamePart(relative)}, folder).status, 0);
    }

private:
    int others_ = 0;
};

class Files : public testing::TestWithParam<Method>, protected FilesFixture {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartFiles(GetParam(), &problem))
            GTEST_SKIP() << problem;
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, Files,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         [](const testing::TestParamInfo<Method>& info) {
                             return testing_support::CvsMethodName(info.param);
                         });

TEST_P(Files, AddThenCheckInOneCommitPerFolder) {
    WriteFile(File("new.txt"), "plain text\n");
    const std::string binary = "binary data \x80\x81\x82\xff\n";
    WriteFile(File("new.bin"), binary);
    WriteFile(File("sub/c.txt"), "changed in sub\n");
    CCVSController controller(*context_);
    ASSERT_TRUE(controller.AddFile(File("new.txt"), nullptr)) << controller.GetErrorMessage();
    ASSERT_TRUE(controller.AddFile(File("new.bin"), nullptr)) << controller.GetErrorMessage();
    EXPECT_EQ(Commands(),
              (Strings{"cvs add -m my comment new.txt", "cvs add -kb -m my comment new.bin"}));
    EXPECT_EQ(GetEntryOptions(File("new.bin")), "-kb");
    EXPECT_FALSE(PathExists(RcsFile("new.txt"))) << "AUTOCOMMIT is off";

    EXPECT_TRUE(controller.CommitFiles({File("new.txt"), File("new.bin"), File("sub/c.txt")}, false,
                                       nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(Runs(), (Strings{work_ + ": cvs commit -m my comment new.txt new.bin",
                               File("sub") + ": cvs commit -m my comment c.txt"}));
    for (const char* name : {"new.txt", "new.bin", "sub/c.txt"}) {
        EXPECT_TRUE(PathExists(RcsFile(name))) << name;
        EXPECT_FALSE(IsWritable(File(name))) << name;
    }
    EXPECT_EQ(GetEntryRevision(File("sub/c.txt")), "1.2");
    EXPECT_EQ(ReadFile(File("new.bin")), binary);
}

TEST_P(Files, AutoCommitAddsAndCommitsAtOnce) {
    env_.Settings().SetAutoCommit(true);
    WriteFile(File("auto.txt"), "committed at once\n");
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.AddFile(File("auto.txt"), nullptr)) << controller.GetErrorMessage();
    EXPECT_EQ(Commands(),
              (Strings{"cvs add -m my comment auto.txt", "cvs commit -m my comment auto.txt"}));
    EXPECT_TRUE(PathExists(RcsFile("auto.txt")));
    EXPECT_FALSE(IsWritable(File("auto.txt")));
    // A file CVS lists already is left alone: nothing runs.
    EXPECT_TRUE(controller.AddFile(File("auto.txt"), nullptr));
    EXPECT_TRUE(Commands().empty());
}

TEST_P(Files, AddingAFileTwoNewFoldersDownAddsEachFolderInItsParent) {
    ASSERT_TRUE(platform::MakeFolderTree(File("one/two")));
    WriteFile(File("one/two/deep.txt"), "deep\n");
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.AddFile(File("one/two/deep.txt"), nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(Runs(), (Strings{work_ + ": cvs add one", File("one") + ": cvs add two",
                               File("one/two") + ": cvs add -m my comment deep.txt"}));
    EXPECT_EQ(ReadRepository(File("one/two")), "mod/one/two");
    EXPECT_TRUE(IsInEntries(File("one/two/deep.txt")));
}

TEST_P(Files, RemovingWithAutoCommitKeepsTheFileOnDiskUnversioned) {
    env_.Settings().SetAutoCommit(true);
    WriteFile(File("a.txt"), kMine);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.RemoveFromCVS(File("a.txt"))) << context_->GetErrorText();
    EXPECT_EQ(Commands(), (Strings{"cvs remove -f a.txt", "cvs commit -m my comment a.txt"}));
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_FALSE(PathExists(File("a.txt.~bak")));
    EXPECT_FALSE(IsInEntries(File("a.txt")));
    EXPECT_TRUE(PathExists(RcsFile("Attic/a.txt")));
}

TEST_P(Files, RemovingWithoutAutoCommitKeepsOnlyUncommittedContent) {
    CCVSController controller(*context_);
    // Unchanged: the repository holds the content, so no copy stays behind.
    EXPECT_TRUE(controller.RemoveFromCVS(File("sub/c.txt"))) << context_->GetErrorText();
    EXPECT_EQ(Commands(), Strings{"cvs remove -f c.txt"});
    EXPECT_FALSE(PathExists(File("sub/c.txt")));
    EXPECT_FALSE(PathExists(File("sub/c.txt.~bak")));
    EXPECT_EQ(GetEntryRevision(File("sub/c.txt")).substr(0, 1), "-");

    // Changed and never checked in: cvs deletes the file, its content stays in the backup.
    WriteFile(File("a.txt"), kMine);
    EXPECT_TRUE(controller.RemoveFromCVS(File("a.txt"))) << context_->GetErrorText();
    EXPECT_FALSE(PathExists(File("a.txt")));
    EXPECT_EQ(ReadFile(File("a.txt.~bak")), kMine);
    EXPECT_TRUE(PaneHas("kept as " + File("a.txt.~bak"))) << env_.Pane().All();
}

TEST_P(Files, RenameAfterTheEnvironmentRenamedKeepsTheContent) {
    WriteFile(File("img.bin"), kMine); // changed, never checked in
    ASSERT_TRUE(platform::MoveFileTo(File("img.bin"), File("pic.bin"), false));
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.RenameFile(File("img.bin"), File("pic.bin")))
        << context_->GetErrorText();
    EXPECT_EQ(Runs(), Strings{work_ + ": cvs rename img.bin pic.bin"});
    EXPECT_EQ(ReadFile(File("pic.bin")), kMine);
    EXPECT_FALSE(PathExists(File("img.bin")));
    EXPECT_FALSE(IsInEntries(File("img.bin")));
    EXPECT_EQ(GetEntryOptions(File("pic.bin")), "-kb");
    EXPECT_TRUE(PathExists(RcsFile("pic.bin")));
}

TEST_P(Files, ACommitTheRepositoryRefusesStopsAndKeepsTheFiles) {
    CommitElsewhere("a.txt", "newer, from elsewhere\n");
    WriteFile(File("a.txt"), kMine);
    WriteFile(File("sub/c.txt"), "would be next\n");
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.CommitFiles({File("a.txt"), File("sub/c.txt")}, false, nullptr));
    EXPECT_THAT(controller.GetErrorMessage(), HasSubstr("Up-to-date check failed"));
    EXPECT_TRUE(PaneHas("get them first")) << env_.Pane().All();
    EXPECT_EQ(Commands(), Strings{"cvs commit -m my comment a.txt"}) << "no second batch";
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_EQ(ReadFile(File("sub/c.txt")), "would be next\n");
}

// Edge cases, on a local root: what cvs does there is what it does through the other methods.
class FilesEdges : public testing::Test, protected FilesFixture {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartFiles(Method::Local, &problem))
            GTEST_SKIP() << problem;
    }
};

TEST_F(FilesEdges, AwkwardNamesReachCvsAsNames) {
    Strings names{"with space.txt", "-leading-dash.txt", "semi;colon & $(echo x).txt"};
    if (!testing_support::RunningUnderWine()) {
        names.push_back("it's \"quoted\" *?.txt"); // characters Windows names cannot hold
        // Under Wine the Linux cvs behind the test shim gets the name in UTF-8 and writes it so
        // into Entries, where the Windows build looks for it in its ANSI code page.
        names.push_back("caf\xc3\xa9 \xe9.txt");
    }
    env_.Settings().SetAutoCommit(true);
    CCVSController controller(*context_);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string path = File(name);
        WriteFile(path, "first " + name);
        ASSERT_TRUE(controller.AddFile(path, nullptr)) << env_.Pane().All();
        EXPECT_TRUE(PathExists(RcsFile(name)));
        WriteFile(path, kMine);
        EXPECT_TRUE(controller.CommitFiles({path}, false, nullptr)) << env_.Pane().All();
        const std::string renamed = File("-renamed " + name);
        EXPECT_TRUE(controller.RenameFile(path, renamed)) << env_.Pane().All();
        EXPECT_EQ(ReadFile(renamed), kMine);
        EXPECT_TRUE(controller.RemoveFromCVS(renamed)) << env_.Pane().All();
        EXPECT_EQ(ReadFile(renamed), kMine);
        EXPECT_FALSE(IsInEntries(renamed));
        EXPECT_TRUE(PathExists(RcsFile("Attic/-renamed " + name)));
    }
    // Only the names that need it are preceded by "--".
    const Strings commands = Commands();
    EXPECT_THAT(commands, testing::Contains("cvs add -m my comment with space.txt"));
    EXPECT_THAT(commands, testing::Contains("cvs add -m my comment -- -leading-dash.txt"));
    EXPECT_THAT(commands, testing::Contains("cvs commit -m my comment -- -leading-dash.txt"));
    EXPECT_THAT(commands, testing::Contains("cvs remove -f -- -renamed with space.txt"));
}

TEST_F(FilesEdges, AFolderWhereAFileBelongsIsRefusedWithAReason) {
    CCVSController controller(*context_);
    env_.Settings().SetAutoCommit(true);
    EXPECT_FALSE(controller.AddFile(File("sub"), nullptr));
    EXPECT_EQ(controller.GetErrorMessage(), "Error while adding file");
    EXPECT_TRUE(PaneHas(File("sub") + " is a folder")) << env_.Pane().All();
    EXPECT_FALSE(controller.RemoveFromCVS(File("sub")));
    EXPECT_FALSE(controller.RenameFile(File("sub"), File("sub2")));
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(PathExists(File("sub/c.txt")));
    EXPECT_TRUE(IsCVSFolder(File("sub")));
}

TEST_F(FilesEdges, AFileOutsideAnyWorkingFolderIsNeitherAddedNorLost) {
    const std::string plain = sandbox_.Folder("plain");
    const std::string file = In(plain, "loose.txt");
    WriteFile(file, kMine);
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.AddFile(file, nullptr));
    EXPECT_TRUE(PaneHas("is not inside a CVS working folder")) << env_.Pane().All();
    EXPECT_FALSE(controller.GetErrorMessage().empty());
    // cvs deletes such a file before it finds that it knows nothing of it.
    for (bool autoCommit : {false, true}) {
        env_.Settings().SetAutoCommit(autoCommit);
        EXPECT_FALSE(controller.RemoveFromCVS(file));
        EXPECT_EQ(ReadFile(file), kMine);
        EXPECT_FALSE(PathExists(file + ".~bak"));
    }
    // The same for a file in a working folder that CVS does not list.
    WriteFile(File("unknown.txt"), kMine);
    EXPECT_FALSE(controller.RemoveFromCVS(File("unknown.txt")));
    EXPECT_EQ(ReadFile(File("unknown.txt")), kMine);
    EXPECT_TRUE(PaneHas("CVS does not know " + File("unknown.txt"))) << env_.Pane().All();
}

TEST_F(FilesEdges, TheSameFileTwiceInOneCall) {
    WriteFile(File("a.txt"), kMine);
    WriteFile(File("twice.txt"), "new\n");
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.CommitFiles(
        {File("a.txt"), File("twice.txt"), File("a.txt"), File("twice.txt")}, false, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(Commands(), (Strings{"cvs add -m my comment twice.txt",
                                   "cvs commit -m my comment a.txt twice.txt a.txt twice.txt"}));
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.4");
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);

    // A second removal finds the file gone and leaves the first one's backup alone.
    WriteFile(File("a.txt"), "changed again\n");
    EXPECT_TRUE(controller.RemoveFromCVS(File("a.txt")));
    EXPECT_TRUE(controller.RemoveFromCVS(File("a.txt")));
    EXPECT_EQ(ReadFile(File("a.txt.~bak")), "changed again\n");
}

TEST_F(FilesEdges, ARemovalBackupNeverReplacesAnotherFile) {
    WriteFile(File("a.txt.~bak"), "an older backup\n");
    WriteFile(File("a.txt"), kMine);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.RemoveFromCVS(File("a.txt")));
    EXPECT_EQ(ReadFile(File("a.txt.~bak")), "an older backup\n");
    EXPECT_EQ(ReadFile(File("a.txt.~bak2")), kMine);
    EXPECT_TRUE(PaneHas("kept as " + File("a.txt.~bak2"))) << env_.Pane().All();

    // A file scheduled for addition exists nowhere else: removing it keeps its content too.
    WriteFile(File("fresh.txt"), kMine);
    ASSERT_TRUE(controller.AddFile(File("fresh.txt"), nullptr));
    EXPECT_TRUE(controller.RemoveFromCVS(File("fresh.txt")));
    EXPECT_FALSE(IsInEntries(File("fresh.txt")));
    EXPECT_EQ(ReadFile(File("fresh.txt.~bak")), kMine);
}

TEST_F(FilesEdges, ARemovalTheRepositoryRefusesIsUndone) {
    env_.Settings().SetAutoCommit(true);
    CommitElsewhere("a.txt", "newer, from elsewhere\n");
    WriteFile(File("a.txt"), kMine);
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.RemoveFromCVS(File("a.txt")));
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.3") << "the removal is taken back";
    EXPECT_FALSE(PathExists(File("a.txt.~bak")));
    EXPECT_TRUE(PathExists(RcsFile("a.txt")));
}

TEST_F(FilesEdges, ARenameOntoAnotherFileIsRefused) {
    WriteFile(File("a.txt"), kMine);
    WriteFile(File("other.txt"), "someone else's\n");
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.RenameFile(File("a.txt"), File("other.txt")));
    EXPECT_TRUE(PaneHas("holds other content")) << env_.Pane().All();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_EQ(ReadFile(File("other.txt")), "someone else's\n");
    // ... and so is one onto a file of another folder, which CVS cannot do.
    EXPECT_FALSE(controller.RenameFile(File("a.txt"), File("sub/a.txt")));
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_FALSE(PathExists(File("sub/a.txt")));
    EXPECT_TRUE(Commands().empty());

    // The environment copied instead of moving: the same content under both names is one
    // file, and the rename goes ahead.
    ASSERT_TRUE(platform::CopyFileTo(File("a.txt"), File("copy.txt"), true));
    EXPECT_TRUE(controller.RenameFile(File("a.txt"), File("copy.txt"))) << env_.Pane().All();
    EXPECT_EQ(ReadFile(File("copy.txt")), kMine);
    EXPECT_FALSE(PathExists(File("a.txt")));
    EXPECT_TRUE(IsInEntries(File("copy.txt")));
}

TEST_F(FilesEdges, ARenameThatFailsMidwayPutsEverythingBack) {
    // b.txt is scheduled for removal, so the emulation's add of the new name fails after the
    // old name was already removed.
    WriteFile(File("b.txt"), "b\n");
    CCVSController controller(*context_);
    env_.Settings().SetAutoCommit(true);
    ASSERT_TRUE(controller.AddFile(File("b.txt"), nullptr));
    env_.Settings().SetAutoCommit(false);
    ASSERT_TRUE(controller.RemoveFromCVS(File("b.txt")));
    ASSERT_FALSE(PathExists(File("b.txt")));

    WriteFile(File("a.txt"), kMine);
    EXPECT_FALSE(controller.RenameFile(File("a.txt"), File("b.txt")));
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.3");
    EXPECT_FALSE(PathExists(File("b.txt")));

    // The same when the environment had renamed the file: it keeps the name it was given.
    ASSERT_TRUE(platform::MoveFileTo(File("a.txt"), File("b.txt"), false));
    EXPECT_FALSE(controller.RenameFile(File("a.txt"), File("b.txt")));
    EXPECT_EQ(ReadFile(File("b.txt")), kMine);
    EXPECT_FALSE(PathExists(File("a.txt")));
    EXPECT_TRUE(PaneHas("keeps its new name")) << env_.Pane().All();
}

TEST_F(FilesEdges, RefusedCommitsSayWhatToDo) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* advice;
    };
    // The head revision locked by another user in the RCS file itself.
    const auto lock = [this] {
        const std::string rcs = RcsFile("a.txt");
        std::string text = ReadFile(rcs);
        const std::string head = text.substr(5, text.find(';') - 5); // "head\t1.4;"
        const std::string::size_type at = text.find("locks;");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 6, "locks\n\tbob:" + head + ";");
        platform::SetAttributes(rcs, 0);
        WriteFile(rcs, text);
    };
    const auto conflict = [this] {
        CommitElsewhere("a.txt", "line from elsewhere\n");
        WriteFile(File("a.txt"), "my line\n");
        repo_.Cvs({"update", "a.txt"}, work_);
        ASSERT_THAT(ReadFile(File("a.txt")), HasSubstr("<<<<<<<"));
    };
    for (const Case& c : {Case{"conflict", conflict, "holds the conflict"},
                          Case{"lock", lock, "locked in the repository"}}) {
        SCOPED_TRACE(c.name);
        ClearEntriesCache();
        repo_.Cvs({"update", "-A", "-C", "a.txt"}, work_);
        c.arrange();
        if (c.name == std::string("lock"))
            WriteFile(File("a.txt"), kMine);
        const std::string before = ReadFile(File("a.txt"));
        CCVSController controller(*context_);
        EXPECT_FALSE(controller.CommitFiles({File("a.txt")}, false, nullptr));
        EXPECT_FALSE(controller.GetErrorMessage().empty());
        EXPECT_TRUE(PaneHas(c.advice)) << env_.Pane().All();
        EXPECT_EQ(ReadFile(File("a.txt")), before);
        env_.Pane().Clear();
    }
}

TEST_F(FilesEdges, ACommitWhoseErrorTextSaysFailedFailsThoughCvsSucceeded) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "the stand-in for cvs is a shell script";
    const std::string base = GetBaseCopyPath(File("a.txt"));
    ASSERT_TRUE(platform::CopyFileTo(File("a.txt"), base, true));
    const std::string fake = sandbox_.Folder("fake");
    struct Case {
        const char* says;
        bool ok;
    };
    for (const Case& c : {Case{"cvs commit: the log script failed: no space", false},
                          Case{"failed: only at the very start", true}}) {
        SCOPED_TRACE(c.says);
        const std::string script = In(fake, c.ok ? "ok" : "failed");
        WriteFile(script, std::string("#!/bin/sh\necho '") + c.says + "' >&2\nexit 0\n");
        ASSERT_EQ(testing_support::Shell("chmod +x '" + script + "'").status, 0);
        env_.Settings().SetCvsExePath(script);
        CCVSController controller(*context_);
        EXPECT_EQ(controller.CommitFiles({File("a.txt")}, false, nullptr), c.ok);
        EXPECT_EQ(controller.GetErrorMessage().find("failed:") != std::string::npos, !c.ok);
        EXPECT_EQ(PathExists(base), !c.ok) << "the base copy goes only after a commit";
    }
}

TEST_F(FilesEdges, AnAddWhoseCommitCannotStartSaysWhyInThePane) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "the stand-in for cvs is a shell script";
    struct Case {
        const char* name;
        std::function<void()> arrange; // makes the commit's run fail before cvs starts
        const char* reason;
    };
    const std::string fake = sandbox_.Folder("fake");
    // A cvs that runs the add and is gone by the commit (the library may ask it other things
    // first).
    const auto vanishing = [&] {
        ASSERT_TRUE(platform::MakeFolderTree(fake));
        const std::string script = In(fake, "vanishing-cvs");
        WriteFile(script, "#!/bin/sh\n'" + testing_support::CvsProgram() +
                              "' \"$@\"\nstatus=$?\n"
                              "for a; do [ \"$a\" = add ] && rm -f \"$0\"; done\nexit $status\n");
        ASSERT_EQ(testing_support::Shell("chmod +x '" + script + "'").status, 0);
        env_.Settings().SetCvsExePath(script);
    };
    // The client library's first entry point, looked up afresh for the commit, is missing:
    // the add makes as many library calls as it did for a file added alone.
    uint64_t addCalls = 0;
    const auto noEntryPoint = [&] {
        WriteFile(File("counted.txt"), "counted\n");
        env_.Settings().SetAutoCommit(false);
        CCVSController counter(*context_);
        platform::CountFaultCalls(platform::FaultKind::Library);
        ASSERT_TRUE(counter.AddFile(File("counted.txt"), nullptr)) << env_.Pane().All();
        addCalls = platform::StopFaults().calls;
        env_.Settings().SetAutoCommit(true);
    };
    for (const Case& c : {Case{"cvs not found", vanishing, "cvs.exe not found"},
                          Case{"no entry point", noEntryPoint,
                               "The CVS client library has no entry point dllglue_abort; reinstall "
                               "the provider."}}) {
        SCOPED_TRACE(c.name);
        env_.Settings().SetAutoCommit(true);
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        addCalls = 0;
        c.arrange();
        const std::string file = File(std::string(c.name) + ".txt");
        WriteFile(file, kMine);
        env_.Pane().Clear();
        env_.Host().ExpectMessageBox(uifw::kIdOk);
        CCVSController controller(*context_);
        if (addCalls)
            platform::ArmFault(platform::FaultKind::Library, addCalls + 1);
        EXPECT_FALSE(controller.AddFile(file, nullptr));
        platform::StopFaults();
        EXPECT_TRUE(PaneHas(file + " is scheduled for addition but was not committed: " + c.reason +
                            " Check it in to finish the addition."))
            << env_.Pane().All();
        EXPECT_TRUE(IsInEntries(file));
        EXPECT_EQ(ReadFile(file), kMine);
    }
}

TEST_F(FilesEdges, AFolderBoundElsewhereIsReboundWhenNothingWouldBeLost) {
    // A folder copied in from another place in the repository.
    context_->SetCVSRoot(ReadRoot(work_));
    WriteFile(File("sub/CVS/Repository"), "mod/elsewhere\n");
    WriteFile(File("sub/new.txt"), kMine);
    const std::string c = ReadFile(File("sub/c.txt"));
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.AddFile(File("sub/new.txt"), nullptr)) << env_.Pane().All();
    EXPECT_EQ(ReadRepository(File("sub")), "mod/sub");
    EXPECT_TRUE(IsInEntries(File("sub/c.txt")));
    EXPECT_TRUE(IsInEntries(File("sub/new.txt")));
    EXPECT_EQ(ReadFile(File("sub/c.txt")), c);
    EXPECT_EQ(ReadFile(File("sub/new.txt")), kMine);
}

TEST_F(FilesEdges, AFolderBoundElsewhereWithPendingWorkIsLeftAsItIs) {
    WriteFile(File("sub/pending.txt"), "scheduled\n");
    ASSERT_EQ(repo_.Cvs({"add", "pending.txt"}, File("sub")).status, 0);
    ASSERT_EQ(repo_.Cvs({"remove", "-f", "c.txt"}, File("sub")).status, 0);
    WriteFile(GetBaseCopyPath(File("sub/deep/d.txt")), "base copy\n");
    WriteFile(File("sub/CVS/Repository"), "mod/elsewhere\n");
    WriteFile(File("sub/new.txt"), kMine);
    const std::string entries = ReadFile(File("sub/CVS/Entries"));
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.AddFile(File("sub/new.txt"), nullptr));
    EXPECT_EQ(controller.GetErrorMessage(), "Error while adding file");
    const std::string pane = env_.Pane().All();
    EXPECT_THAT(pane, HasSubstr("scheduled for addition:\n    " + File("sub/pending.txt")));
    EXPECT_THAT(pane, HasSubstr("scheduled for removal:\n    " + File("sub/c.txt")));
    EXPECT_THAT(pane, HasSubstr("base copies):\n    " + File("sub/deep/d.txt")));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(ReadFile(File("sub/CVS/Entries")), entries);
    EXPECT_EQ(ReadFile(File("sub/CVS/Repository")), "mod/elsewhere\n");
    EXPECT_EQ(ReadFile(File("sub/deep/CVS/Base/d.txt")), "base copy\n");
    EXPECT_TRUE(IsCVSFolder(File("sub/deep")));
    EXPECT_EQ(ReadFile(File("sub/new.txt")), kMine);
}

TEST_F(FilesEdges, AWorkingFolderOutsideTheProjectKeepsItsBinding) {
    // Its path says nothing about its place in the repository, so it is never rebuilt.
    const std::string elsewhere = Copy("elsewhere");
    WriteFile(In(elsewhere, "sub/new.txt"), "new\n");
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.AddFile(In(elsewhere, "sub/new.txt"), nullptr)) << env_.Pane().All();
    EXPECT_EQ(ReadRepository(In(elsewhere, "sub")), "mod/sub");
    EXPECT_TRUE(IsInEntries(In(elsewhere, "sub/c.txt")));
    EXPECT_TRUE(IsCVSFolder(In(elsewhere, "sub/deep")));
    EXPECT_EQ(Commands(), Strings{"cvs add -m my comment new.txt"});
}

TEST_F(FilesEdges, TheOptionsMapShapesAddAndCommit) {
    CCVSController controller(*context_);
    // An empty comment is still an argument of its own.
    context_->SetComment("");
    WriteFile(File("e.txt"), "e\n");
    EXPECT_TRUE(controller.AddFile(File("e.txt"), nullptr));
    EXPECT_EQ(Commands(), Strings{"cvs add -m  e.txt"});
    context_->SetComment("my comment");

    // UTF-16 text is added as Unicode, which GNU cvs keeps as binary.
    WriteFile(File("u.txt"), std::string("\xff\xfeh\0i\0\r\0\n\0", 10));
    EXPECT_TRUE(controller.AddFile(File("u.txt"), nullptr));
    EXPECT_EQ(Commands(), Strings{"cvs add -ku -m my comment u.txt"});
    EXPECT_EQ(GetEntryOptions(File("u.txt")), "-kb");

    // On a branch: the file's options, then the branch; a new folder takes it after its name.
    const CCVSStringMap branch{{"COMMIT_BRANCH", "1"}, {"COMMIT_BRANCHNAME", "BR1"}};
    ASSERT_TRUE(platform::MakeFolderTree(File("nb")));
    WriteFile(File("nb/br.txt"), "on the branch\n");
    EXPECT_TRUE(controller.AddFile(File("nb/br.txt"), &branch)) << env_.Pane().All();
    EXPECT_EQ(Commands(), (Strings{"cvs add nb -r BR1", "cvs add -m my comment -r BR1 br.txt"}));
    EXPECT_EQ(GetEntryTagDate(File("nb/br.txt")), "TBR1");
    // A folder whose name begins with "-" takes it before "--".
    ASSERT_TRUE(platform::MakeFolderTree(File("-nd")));
    WriteFile(File("-nd/br.txt"), "on the branch\n");
    EXPECT_TRUE(controller.AddFile(File("-nd/br.txt"), &branch)) << env_.Pane().All();
    EXPECT_EQ(Commands(),
              (Strings{"cvs add -r BR1 -- -nd", "cvs add -m my comment -r BR1 br.txt"}));
    EXPECT_EQ(GetEntryTagDate(File("-nd/br.txt")), "TBR1");

    // Forced and checked edits: after the comment, in this order.
    env_.Settings().SetIndependentMode(false);
    ASSERT_TRUE(controller.CheckOutFiles({File("a.txt")}, nullptr));
    WriteFile(File("a.txt"), kMine);
    Commands();
    const CCVSStringMap forced{{"COMMIT_FORCED", "1"}, {"COMMIT_CHECKEDITS", "1"}};
    EXPECT_TRUE(controller.CommitFiles({File("a.txt")}, false, &forced))
        << controller.GetErrorMessage();
    EXPECT_EQ(Commands(), (Strings{"cvs commit -m my comment -f -c a.txt", "cvs unedit a.txt"}));
    EXPECT_EQ(ReadFile(File("a.txt")), kMine);
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.4");
}

TEST_F(FilesEdges, KeepCheckedOutLeavesTheFileWritable) {
    CCVSController controller(*context_);
    const std::string base = GetBaseCopyPath(File("a.txt"));
    ASSERT_TRUE(platform::CopyFileTo(File("a.txt"), base, true));
    MakeWritable(File("a.txt"));
    WriteFile(File("a.txt"), "first\n");
    EXPECT_TRUE(controller.CommitFiles({File("a.txt")}, true, nullptr));
    // Writable with the archive mark clear still says "checked out" once cvs has dropped
    // the base copy, as GNU cvs does on every commit.
    EXPECT_TRUE(IsWritable(File("a.txt")));
    if (!testing_support::RunningUnderWine()) { // Wine cannot clear the archive bit
        EXPECT_FALSE(IsArchiveSet(File("a.txt")));
    }
    ASSERT_TRUE(platform::CopyFileTo(File("a.txt"), base, false));

    WriteFile(File("a.txt"), "second\n");
    EXPECT_TRUE(controller.CommitFiles({File("a.txt")}, false, nullptr));
    EXPECT_FALSE(IsWritable(File("a.txt")));
    EXPECT_FALSE(PathExists(base));
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.5");
}

TEST_F(FilesEdges, AThousandFilesInFiftyFoldersTakeFiftyCommits) {
    // The files come into the module by one import, and into the working copy by one update.
    const std::string tree = sandbox_.Folder("tree");
    Strings files;
    for (int f = 10; f < 60; ++f) {
        const std::string folder = "d" + std::to_string(f);
        ASSERT_TRUE(platform::MakeFolderTree(In(tree, folder)));
        for (int i = 10; i < 30; ++i) {
            files.push_back(folder + "/f" + std::to_string(i) + ".txt");
            WriteFile(In(tree, files.back()), "first\n");
        }
        // Checked in with the others: one changed file in each folder, and in some a new one.
        if (f % 10 == 0)
            files.push_back(folder + "/zz.txt");
    }
    const auto imported =
        repo_.Cvs({"-Q", "-d", root_, "import", "-m", "many", "mod", "v", "many"}, tree);
    ASSERT_EQ(imported.status, 0) << imported.err;
    ASSERT_EQ(repo_.Cvs({"-Q", "update", "-d"}, work_).status, 0);
    std::vector<std::string> paths;
    for (const std::string& file : files) {
        paths.push_back(File(file));
        if (file.find("f10.txt") != std::string::npos || file.find("zz.txt") != std::string::npos)
            WriteFile(paths.back(), "second\n");
    }
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.CommitFiles(paths, false, nullptr)) << controller.GetErrorMessage();
    size_t commits = 0, adds = 0;
    for (const std::string& command : Commands()) {
        commits += command.rfind("cvs commit ", 0) == 0;
        adds += command.rfind("cvs add ", 0) == 0;
    }
    EXPECT_EQ(commits, 50u);
    EXPECT_EQ(adds, 5u);
    for (const std::string& path : paths) {
        const std::string name = GetFileNamePart(path);
        ASSERT_EQ(GetEntryRevision(path), name == "zz.txt"    ? "1.1"
                                          : name == "f10.txt" ? "1.2"
                                                              : "1.1.1.1")
            << path;
    }
}

} // namespace
