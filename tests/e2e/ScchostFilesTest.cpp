// scchost's file commands end to end, inside a project, against a local repository, :fork:
// and a pserver: names as a user types them, what each command prints and leaves on disk,
// the provider's trace of the calls, and what bad input gets. On Linux and, with the Windows
// build, under Wine.
#include "platform/FileSystem.h"
#include "tests/e2e/ProviderHost.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::ReadFile;
using testing_support::RunResult;
using testing_support::Sep;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;

const std::string kBanner = "================================================\n";

class ScchostFiles : public e2e::WorkingCopyTest {
protected:
    void SetUp() override {
        e2e::WorkingCopyTest::SetUp();
        if (IsSkipped())
            return;
        WriteFile(File(".scchost-project"), "project=mod\nauxpath=" + e2e::WorkingCopyRoot(work_) +
                                                "\nlocalpath=" + work_ + "\n");
        e2e::UserSettings settings;
        settings.useComments = true; // as a new user has it
        e2e::StoreUserSettings(settings);
    }
    // Runs scchost in the folder, as a user would type the command there.
    RunResult Scchost(std::vector<std::string> args, const std::string& folder) {
        args.insert(args.begin(), {"--ui", "headless"});
        return e2e::RunScchost(args, folder);
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, ScchostFiles,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

// status, checkout, an edit, uncheckout and get, typed from a subfolder with relative names.
TEST_P(ScchostFiles, CheckOutEditUndoAndGetFromASubfolder) {
    const std::string sub = File("sub");
    RunResult status = Scchost({"status", "-R", ".."}, sub);
    ASSERT_EQ(status.status, 0) << status.err << status.out;
    EXPECT_EQ(status.out, "not controlled           " + File(".scchost-project") +
                              "\n"
                              "controlled               " +
                              File("a.txt") +
                              "\n"
                              "controlled               " +
                              File("img.bin") +
                              "\n"
                              "controlled               c.txt\n"
                              "controlled               deep" +
                              Sep() + "d.txt\n");

    const std::string copy = user_.Folder() + Sep() + "trace.log";
    RunResult checkout = Scchost({"--trace", copy, "checkout", "c.txt", "../sub/../a.txt"}, sub);
    ASSERT_EQ(checkout.status, 0) << checkout.err << checkout.out;
    EXPECT_THAT(checkout.out, HasSubstr("Checking out file(s) ...\n"));
    EXPECT_THAT(checkout.out, HasSubstr("\ncvs update c.txt\n"));
    EXPECT_THAT(checkout.out, HasSubstr("\ncvs update a.txt\n"));
    EXPECT_THAT(checkout.out, Not(HasSubstr("Opening Project")));
    EXPECT_THAT(ReadFile(copy), HasSubstr(kBanner + "SccCheckout\n" + kBanner +
                                          "INPUT:num_files       2\n"
                                          "file_names      " +
                                          File("sub/c.txt") +
                                          " \n"
                                          "file_names      " +
                                          File("a.txt") +
                                          " \n"
                                          "comment         \n"
                                          "flags           00000000\n"
                                          "options         00000000\n"
                                          "OUTPUT:\n"
                                          "options         00000000\n"
                                          "RESULT: 00000000 (SCC_OK)\n"));
    status = Scchost({"status", "c.txt", "deep"}, sub);
    EXPECT_EQ(status.out, std::string("checked out              c.txt\n"
                                      "controlled               deep") +
                              Sep() + "d.txt\n");

    const std::string original = ReadFile(File("sub/c.txt"));
    WriteFile(File("sub/c.txt"), "edited\n");
    RunResult undo = Scchost({"--quiet", "uncheckout", "c.txt"}, sub);
    ASSERT_EQ(undo.status, 0) << undo.err << undo.out;
    EXPECT_EQ(ReadFile(File("sub/c.txt")), original);
    EXPECT_THAT(undo.out, Not(HasSubstr("cvs update")));
    status = Scchost({"status", "c.txt"}, sub);
    EXPECT_EQ(status.out, "controlled               c.txt\n");

    ASSERT_NO_FATAL_FAILURE(TheyCommit("sub/new.txt", "theirs\n", true));
    RunResult get = Scchost({"get", "-R", "."}, sub);
    ASSERT_EQ(get.status, 0) << get.err << get.out;
    EXPECT_EQ(ReadFile(File("sub/new.txt")), "theirs\n");
}

// add (a folder for its new files), checkin with and without -m, rename and remove, with the
// statuses in between, as a user types them in the working folder.
TEST_P(ScchostFiles, AddCheckInRenameAndRemove) {
    WriteFile(File("new.txt"), "new\n");
    ASSERT_TRUE(platform::MakeFolder(File("newdir")));
    const std::string bytes("\x89PNG\r\n\x1a\n\0\xff", 10);
    WriteFile(File("newdir/pic.png"), bytes);
    RunResult add = Scchost({"add", "-m", "two new files", "new.txt", "newdir"}, work_);
    ASSERT_EQ(add.status, 0) << add.err << add.out;
    EXPECT_THAT(add.out, HasSubstr("\ncvs add -kb -m two new files pic.png\n"));
    RunResult status = Scchost({"status", "new.txt", "newdir"}, work_);
    EXPECT_EQ(status.out, "controlled               new.txt\n"
                          "controlled               newdir" +
                              std::string(1, Sep()) + "pic.png\n");

    ASSERT_EQ(Scchost({"checkout", "a.txt"}, work_).status, 0);
    WriteFile(File("a.txt"), "edited\n");
    // Without a comment and without a terminal, the comment dialog cannot be answered.
    RunResult unanswered = Scchost({"checkin", "a.txt"}, work_);
    EXPECT_NE(unanswered.status, 0);
    EXPECT_THAT(unanswered.out + unanswered.err, HasSubstr("comment"));
    EXPECT_THAT(unanswered.out, Not(HasSubstr("cvs commit")));
    EXPECT_EQ(ReadFile(File("a.txt")), "edited\n");
    RunResult checkin = Scchost({"checkin", "-m", "an edit", "a.txt"}, work_);
    ASSERT_EQ(checkin.status, 0) << checkin.err << checkin.out;
    EXPECT_THAT(checkin.out, HasSubstr("\ncvs commit -m an edit a.txt\n"));
    EXPECT_EQ(Scchost({"status", "a.txt"}, work_).out, "controlled               a.txt\n");

    RunResult rename = Scchost({"rename", "new.txt", "./renamed.txt"}, work_);
    ASSERT_EQ(rename.status, 0) << rename.err << rename.out;
    RunResult remove = Scchost({"remove", "-m", "not needed", "img.bin"}, work_);
    ASSERT_EQ(remove.status, 0) << remove.err << remove.out;
    EXPECT_EQ(Scchost({"status", "."}, work_).out, "not controlled           .scchost-project\n"
                                                   "controlled               a.txt\n"
                                                   "not controlled           img.bin\n"
                                                   "controlled               renamed.txt\n");

    const std::string theirs = NewCopy("after");
    ASSERT_EQ(repo_.Cvs({"-q", "update", "-d"}, theirs).status, 0);
    EXPECT_EQ(ReadFile(File("a.txt", theirs)), "edited\n");
    EXPECT_EQ(ReadFile(File("renamed.txt", theirs)), "new\n");
    EXPECT_EQ(ReadFile(File("newdir/pic.png", theirs)), bytes);
    EXPECT_FALSE(platform::Exists(File("img.bin", theirs)));
}

// A folder that cvs checked out is a project of its own: the commands need no connect first.
TEST_P(ScchostFiles, AWorkingFolderWithoutAProjectFileIsItsOwnProject) {
    ASSERT_TRUE(platform::DeleteFileAt(File(".scchost-project")));
    RunResult status = Scchost({"status", "a.txt"}, work_);
    ASSERT_EQ(status.status, 0) << status.err << status.out;
    EXPECT_EQ(status.out, "controlled               a.txt\n");
    RunResult checkout = Scchost({"checkout", "a.txt"}, work_);
    ASSERT_EQ(checkout.status, 0) << checkout.err << checkout.out;
    EXPECT_EQ(platform::GetAttributes(File("a.txt")) & platform::kAttrReadOnly, 0u);
}

// --advanced asks for the command's options before it runs, as an IDE does; cancelled,
// nothing runs.
TEST_P(ScchostFiles, AdvancedOptionsAreAskedForFirst) {
    const uint32_t before = platform::GetAttributes(File("a.txt"));
    RunResult cancelled =
        Scchost({"--answer", "getoptions=cancel", "checkout", "--advanced", "a.txt"}, work_);
    EXPECT_EQ(cancelled.status, 1);
    EXPECT_THAT(cancelled.err, HasSubstr("the advanced options were cancelled; nothing was done"));
    EXPECT_THAT(cancelled.out, Not(HasSubstr("cvs ")));
    EXPECT_EQ(platform::GetAttributes(File("a.txt")), before);

    RunResult byTag = Scchost({"--answer", "getoptions=ok", "--answer", "version=By tag (-r)",
                               "--answer", "versiontag=REL_1", "get", "--advanced", "a.txt"},
                              work_);
    ASSERT_EQ(byTag.status, 0) << byTag.err << byTag.out;
    EXPECT_THAT(ReadFile(File("CVS/Entries")), HasSubstr("/a.txt/1.2/"));
    EXPECT_THAT(ReadFile(File("CVS/Entries")), HasSubstr("/TREL_1"));
}

// What a user can get wrong, and what it gets: a message, a non-zero exit, nothing changed.
TEST_P(ScchostFiles, BadInputIsRefusedWithAMessage) {
    const std::string outside = sandbox_.Folder("outside");
    WriteFile(outside + Sep() + "x.txt", "mine\n");
    const std::string a = ReadFile(File("a.txt"));
    struct Case {
        std::vector<std::string> args;
        std::string folder;
        const char* says;
    } const cases[] = {
        {{"checkout", outside + Sep() + "x.txt"}, work_, "lies outside the open project"},
        {{"status", outside}, work_, "lies outside the project"},
        {{"checkout"}, work_, "checkout needs at least one file or folder"},
        {{"get", "--bogus", "a.txt"}, work_, "unknown option --bogus"},
        {{"rename", "a.txt"}, work_, "rename takes the old name and the new name"},
        {{"status"}, outside, "no project at or above"},
    };
    for (const Case& c : cases) {
        RunResult r = Scchost(c.args, c.folder);
        EXPECT_NE(r.status, 0) << c.args[0];
        EXPECT_THAT(r.out + r.err, HasSubstr(c.says)) << c.args[0];
    }
    EXPECT_EQ(ReadFile(outside + Sep() + "x.txt"), "mine\n");
    EXPECT_EQ(ReadFile(File("a.txt")), a);
}

} // namespace
