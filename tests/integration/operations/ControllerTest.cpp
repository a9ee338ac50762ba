// The controller against the real cvs: update, check-out and undo check-out in folder
// batches, the options map, the edit warning, questions, login, a user's unversioned file
// that must survive a get, and undo check-out of a file in conflict.
#include "engine/CVSArgs.h"
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsEngineFixture.h"
#include "ui/DlgPassword.h"
#include "workcopy/Entries.h"
#include "workcopy/FileStatus.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

using Method = testing_support::CvsMethod;

// The commands of check-out (edit, unedit, editors) run: independent mode is off.
class EditingFixture : public testing_support::CvsWorkingCopySetup {
public:
    bool StartEditing(Method method, std::string* problem) {
        env_.Settings().SetIndependentMode(false);
        env_.Settings().SetWarnOnEdit(false);
        return Start(method, problem);
    }
};

class Controller : public testing::TestWithParam<Method>, protected EditingFixture {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartEditing(GetParam(), &problem))
            GTEST_SKIP() << problem;
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, Controller,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         [](const testing::TestParamInfo<Method>& info) {
                             return testing_support::CvsMethodName(info.param);
                         });

TEST_P(Controller, GetBringsTheNewRevision) {
    const std::string other = Copy("other");
    WriteFile(other + testing_support::Sep() + "a.txt", "from the other desk\n");
    ASSERT_EQ(Cvs({"commit", "-m", "other desk", "a.txt"}, other).status, 0);

    CCVSController controller(*context_);
    EXPECT_TRUE(controller.UpdateFiles({File("a.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(ReadFile(File("a.txt")), "from the other desk\n");
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs update a.txt"});
    EXPECT_TRUE(env_.Pane().Lines().empty());
}

TEST_P(Controller, CheckOutEditsAndUndoRevertsInBatchesByFolder) {
    CCVSController controller(*context_);
    const std::vector<std::string> files{File("a.txt"), File("img.bin"), File("sub/c.txt")};
    MakeReadOnly(files[0]);
    EXPECT_TRUE(controller.CheckOutFiles(files, nullptr)) << controller.GetErrorMessage();
    EXPECT_EQ(Commands(),
              (std::vector<std::string>{"cvs update a.txt img.bin", "cvs edit a.txt img.bin",
                                        "cvs update c.txt", "cvs edit c.txt"}));
    for (const std::string& file : files) {
        EXPECT_TRUE(IsWritable(file)) << file;
        EXPECT_TRUE(PathExists(GetBaseCopyPath(file))) << file; // cvs edit keeps a base copy
    }

    WriteFile(files[0], "my change\n");
    env_.Host().ExpectMessageBox(uifw::kIdYes); // "a.txt has been modified; revert changes?"
    EXPECT_TRUE(controller.UncheckOutFiles({files[0]})) << controller.GetErrorMessage();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs unedit a.txt", "cvs update -C a.txt"}));
    EXPECT_NE(ReadFile(files[0]), "my change\n");
    EXPECT_FALSE(IsWritable(files[0]));
    EXPECT_FALSE(PathExists(GetBaseCopyPath(files[0])));
}

TEST_P(Controller, ExclusiveCheckOut) {
    env_.Settings().SetExclusiveLock(true);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.CheckOutFiles({File("sub/c.txt")}, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs update c.txt", "cvs edit -x c.txt"}));
    EXPECT_TRUE(IsWritable(File("sub/c.txt")));
}

TEST_P(Controller, AQuestionOfCvsIsAnsweredByTheUser) {
    CCVSController controller(*context_);
    ASSERT_TRUE(controller.CheckOutFiles({File("a.txt"), File("sub/c.txt")}, nullptr));
    WriteFile(File("a.txt"), "keep me\n");
    WriteFile(File("sub/c.txt"), "throw me away\n");
    Commands();

    const auto unedit = [&](const std::string& file) {
        CCVSArgs args;
        args.Add("unedit");
        return context_->RunOnFiles(args, {file});
    };
    env_.Host().ExpectMessageBox(uifw::kIdNo);
    unedit(File("a.txt"));
    env_.Host().ExpectMessageBox(uifw::kIdYes);
    unedit(File("sub/c.txt"));

    const auto boxes = env_.Host().MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "CVS Alert");
    EXPECT_EQ(boxes[0].style & 0xF0, uifw::kMbIconQuestion);
    EXPECT_NE(boxes[0].text.find("a.txt has been modified"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(ReadFile(File("a.txt")), "keep me\n");           // No: still edited
    EXPECT_NE(ReadFile(File("sub/c.txt")), "throw me away\n"); // Yes: reverted
}

TEST_P(Controller, TheEditWarningStopsOnNo) {
    env_.Settings().SetWarnOnEdit(true);
    const std::string other = Copy("other");
    ASSERT_EQ(Cvs({"edit", "a.txt"}, other).status, 0);

    CCVSController controller(*context_);
    env_.Host().ExpectMessageBox(uifw::kIdNo);
    EXPECT_FALSE(controller.CheckOutFiles({File("a.txt")}, nullptr));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes()[0].text, "Files already open for edit. Continue?");
    EXPECT_EQ(env_.Host().MessageBoxes()[0].caption, "");
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs editors a.txt"});
    EXPECT_EQ(controller.GetErrorMessage(), "");

    env_.Host().ExpectMessageBox(uifw::kIdYes);
    EXPECT_TRUE(controller.CheckOutFiles({File("a.txt")}, nullptr)) << controller.GetErrorMessage();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs editors a.txt", "cvs update a.txt",
                                                    "cvs edit a.txt"}));
}

TEST_P(Controller, AnUnversionedFileOfTheUserSurvivesAGet) {
    const std::string other = Copy("other");
    for (const char* name : {"extra.txt", "later.txt"}) {
        WriteFile(other + testing_support::Sep() + name, std::string("the repository's ") + name);
        ASSERT_EQ(Cvs({"add", name}, other).status, 0);
        ASSERT_EQ(Cvs({"commit", "-m", "extra", name}, other).status, 0);
    }

    const std::string mine("my own extra\r\n\0\xff\n", 17);
    WriteFile(File("extra.txt"), mine);         // the user's, never seen by CVS
    WriteFile(File("mine.txt"), "only mine\n"); // nowhere in the repository
    const std::string kept = File("extra.txt") + ".~unversioned";
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.UpdateFiles({File("extra.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(ReadFile(File("extra.txt")), "the repository's extra.txt");
    EXPECT_EQ(ReadFile(kept), mine);
    EXPECT_TRUE(env_.Pane().Has("Kept the unversioned file " + File("extra.txt") + " as " + kept))
        << env_.Pane().All();

    // A later removal of the file backs it up as NAME.~bak and deletes that backup: the kept
    // copy is not touched.
    ASSERT_TRUE(platform::CopyFileTo(File("extra.txt"), File("extra.txt") + ".~bak", false));
    ASSERT_EQ(Cvs({"remove", "-f", "extra.txt"}, work_).status, 0);
    ASSERT_TRUE(platform::DeleteFileAt(File("extra.txt") + ".~bak"));
    EXPECT_EQ(ReadFile(kept), mine);

    // The same for a check-out; a second kept copy gets a name of its own.
    WriteFile(File("later.txt.~unversioned"), "kept before\n");
    WriteFile(File("later.txt"), "my own later\n");
    EXPECT_TRUE(controller.CheckOutFiles({File("later.txt")}, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(ReadFile(File("later.txt")), "the repository's later.txt");
    EXPECT_EQ(ReadFile(File("later.txt.~unversioned")), "kept before\n");
    EXPECT_EQ(ReadFile(File("later.txt.~unversioned2")), "my own later\n");

    // Nothing of that name in the repository: the file stays where it was, as it was.
    controller.CheckOutFiles({File("mine.txt")}, nullptr);
    EXPECT_EQ(ReadFile(File("mine.txt")), "only mine\n");
    EXPECT_FALSE(PathExists(File("mine.txt") + ".~unversioned"));
    EXPECT_TRUE(env_.Pane().Has("The repository has no " + File("mine.txt") +
                                "; the file is back in its place"))
        << env_.Pane().All();
}

TEST_P(Controller, AFailedUpdatePutsTheUnversionedFileBackAndSaysSo) {
    const std::string mine("only mine\0\r\n", 12);
    WriteFile(File("mine.txt"), mine);
    CCVSController controller(*context_);
    CCVSStringMap bad{{"CHECKOUT_USEREVVER", "1"}, {"CHECKOUT_GETREVVER", "NO_SUCH_TAG"}};
    EXPECT_FALSE(controller.UpdateFiles({File("mine.txt")}, false, false, false, &bad));
    EXPECT_EQ(ReadFile(File("mine.txt")), mine);
    EXPECT_FALSE(PathExists(File("mine.txt") + ".~unversioned"));
    EXPECT_TRUE(env_.Pane().Has("The update failed; " + File("mine.txt") + " is back in its place"))
        << env_.Pane().All();
    EXPECT_FALSE(env_.Pane().Has("The repository has no " + File("mine.txt") +
                                 "; the file is back in its place"));
}

// Also a folder its parent's Entries does not list (a client that writes no D lines leaves
// it so): only its own CVS folder says it is cvs's.
TEST_P(Controller, AFolderInTheListIsNeverMoved) {
    const std::string edit("my uncommitted edit\r\n\0", 22);
    CCVSController controller(*context_);
    CCVSStringMap newFolders{{"CHECKOUT_CREATENEWDIR", "1"}}; // update -d
    const struct {
        const char* folder;
        const char* file;
        const char* unlistedIn; // the parent's Entries, its D line taken out
    } cases[] = {{"sub", "sub/c.txt", nullptr}, {"sub/deep", "sub/deep/d.txt", "sub/CVS/Entries"}};
    for (const auto& c : cases) {
        WriteFile(File(c.file), edit);
        if (c.unlistedIn) {
            std::string entries = ReadFile(File(c.unlistedIn));
            const std::string::size_type line = entries.find("D/deep/");
            ASSERT_NE(line, std::string::npos) << entries;
            entries.erase(line, entries.find('\n', line) + 1 - line);
            WriteFile(File(c.unlistedIn), entries);
        }
        controller.UpdateFiles({File(c.folder)}, false, false, false, &newFolders);
        EXPECT_EQ(ReadFile(File(c.file)), edit) << c.folder;
        EXPECT_TRUE(IsInEntries(File(c.file))) << c.folder;
        for (const char* suffix : {".~unversioned", ".~bak"})
            EXPECT_FALSE(PathExists(File(c.folder) + suffix)) << c.folder << suffix;
    }
}

// A file added a moment ago is cvs's: moving it aside would make cvs drop the add.
TEST_P(Controller, AFileJustAddedKeepsItsAddThroughACheckOut) {
    const std::string entries = File("CVS/Entries");
    // Added while the entries cache held the folder, within the same second.
    WriteFile(File("quick.txt"), std::string("added a moment ago\0\n", 20));
    EXPECT_FALSE(IsInEntries(File("quick.txt")));
    const int64_t second = platform::FindEntry(entries)->lastWriteTime;
    ASSERT_EQ(Cvs({"add", "quick.txt"}, work_).status, 0);

    // Added by a cvs that was interrupted: the add is still only in CVS/Entries.Log.
    WriteFile(File("logged.txt"), std::string("in the log\r\n\0", 13));
    ASSERT_EQ(Cvs({"add", "logged.txt"}, work_).status, 0);
    std::string kept, logged;
    std::istringstream lines(ReadFile(entries));
    for (std::string line; std::getline(lines, line);)
        (line.rfind("/logged.txt/", 0) == 0 ? logged : kept) += line + "\n";
    ASSERT_FALSE(logged.empty());
    WriteFile(entries, kept);
    WriteFile(File("CVS/Entries.Log"), "A " + logged);
    ASSERT_TRUE(platform::SetLastWriteTime(entries, second)); // still the second it was cached

    // One batch, so that neither cvs run folds the other case into CVS/Entries first.
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.CheckOutFiles({File("quick.txt"), File("logged.txt")}, nullptr))
        << controller.GetErrorMessage();
    for (const auto& [name, content] : {std::pair<std::string, std::string>{
                                            "quick.txt", std::string("added a moment ago\0\n", 20)},
                                        {"logged.txt", std::string("in the log\r\n\0", 13)}}) {
        EXPECT_EQ(ReadFile(File(name)), content) << name;
        EXPECT_FALSE(PathExists(File(name) + ".~unversioned")) << name;
        EXPECT_NE(ReadFile(entries).find("/" + name + "/0/"), std::string::npos)
            << name << " lost its add:\n"
            << ReadFile(entries);
    }
    EXPECT_FALSE(env_.Pane().Has("Kept the unversioned file " + File("quick.txt") + " as " +
                                 File("quick.txt") + ".~unversioned"))
        << env_.Pane().All();
}

// GNU cvs refuses update -C of a file still in conflict; undo check-out must still give the
// repository's copy back, and keep the user's.
TEST_P(Controller, UndoCheckOutOfAFileInConflictKeepsItAsCvsDoes) {
    CCVSController controller(*context_);
    ASSERT_TRUE(controller.CheckOutFiles({File("a.txt")}, nullptr)) << controller.GetErrorMessage();
    WriteFile(File("a.txt"), "line 1\nmine\nline 3\n");
    const std::string other = Copy("other");
    WriteFile(other + testing_support::Sep() + "a.txt", "line 1\ntheirs\nline 3\n");
    ASSERT_EQ(Cvs({"commit", "-m", "theirs", "a.txt"}, other).status, 0);
    ASSERT_TRUE(controller.UpdateFiles({File("a.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
    const std::string conflicted = ReadFile(File("a.txt"));
    ASSERT_NE(conflicted.find("<<<<<<<"), std::string::npos) << conflicted;
    Commands();

    EXPECT_TRUE(controller.UncheckOutFiles({File("a.txt")})) << controller.GetErrorMessage();
    EXPECT_EQ(ReadFile(File("a.txt")), "line 1\ntheirs\nline 3\n");
    EXPECT_EQ(ReadFile(File(".#a.txt.1.4")), conflicted);
    EXPECT_EQ(ReadFile(File(".#a.txt.1.3")), "line 1\nmine\nline 3\n"); // kept by the merge
    EXPECT_TRUE(env_.Pane().Has("(Locally modified a.txt moved to .#a.txt.1.4)"))
        << env_.Pane().All();
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs unedit a.txt", "cvs update -C a.txt"}));
    EXPECT_FALSE(IsWritable(File("a.txt")));
}

// The options map and the settings that shape the update; the command lines tell.
class ControllerOptions : public testing::Test, protected EditingFixture {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartEditing(Method::Local, &problem))
            GTEST_SKIP() << problem;
    }
};

TEST_F(ControllerOptions, TheUpdateTakesTheMapInItsOrder) {
    CCVSStringMap map{{"CHECKOUT_RESETSTICKY", "1"},   {"CHECKOUT_PRUNEEMPTY", "1"},
                      {"CHECKOUT_USEKEYWORDSUB", "1"}, {"CHECKOUT_USEKEYWORD", "-kb"},
                      {"CHECKOUT_GETCLEANCOPY", "1"},  {"CHECKOUT_CREATENEWDIR", "1"},
                      {"CHECKOUT_MERGEBRANCH1", "1"},  {"CHECKOUT_MERGETAG1", "REL_1"},
                      {"CHECKOUT_MERGEBRANCH2", "1"},  {"CHECKOUT_MERGETAG2", "BR1"},
                      {"CHECKOUT_USEREVVER", "1"},     {"CHECKOUT_GETREVVER", "1.2"},
                      {"CHECKOUT_USEDATEVER", "1"},    {"CHECKOUT_GETDATEVER", "2030-01-01"},
                      {"CHECKOUT_DONTMERGE", "1"},     {"CHECKOUT_USEDEFAULTVER", "1"}};
    EXPECT_EQ(options::UpdateOptions(map),
              (std::vector<std::string>{"-A", "-P", "-kb", "-C", "-d", "-j", "REL_1", "-j", "BR1",
                                        "-r", "1.2", "-D", "2030-01-01"}));
    for (const char* off : {"0", "yes", "true", "", " 1"}) {
        CCVSStringMap flags{{"CHECKOUT_RESETSTICKY", off}};
        EXPECT_TRUE(options::UpdateOptions(flags).empty()) << off;
    }

    CCVSController controller(*context_);
    CCVSStringMap sticky{
        {"CHECKOUT_RESETSTICKY", "1"}, {"CHECKOUT_USEREVVER", "1"}, {"CHECKOUT_GETREVVER", "1.2"}};
    EXPECT_TRUE(controller.UpdateFiles({File("a.txt")}, false, false, false, &sticky));
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs update -A -r 1.2 a.txt"});
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.2");

    // Undo check-out: -C only when the map adds nothing.
    EXPECT_TRUE(controller.UncheckOutFiles({File("a.txt")}));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs unedit a.txt", "cvs update -C a.txt"}));
    context_->GetOptions()["CHECKOUT_RESETSTICKY"] = "1";
    EXPECT_TRUE(controller.UncheckOutFiles({File("a.txt")}));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs unedit a.txt", "cvs update -A a.txt"}));
    EXPECT_EQ(GetEntryRevision(File("a.txt")), "1.3");
}

TEST_F(ControllerOptions, IndependentModeRunsNoEditorsEditOrUnedit) {
    env_.Settings().SetIndependentMode(true);
    env_.Settings().SetWarnOnEdit(true);
    CCVSController controller(*context_);
    MakeReadOnly(File("a.txt"));
    EXPECT_TRUE(controller.CheckOutFiles({File("a.txt")}, nullptr));
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs update a.txt"});
    EXPECT_TRUE(IsWritable(File("a.txt")));
    EXPECT_TRUE(controller.UncheckOutFiles({File("a.txt")}));
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs update -C a.txt"});
    EXPECT_FALSE(IsWritable(File("a.txt")));
}

TEST_F(ControllerOptions, NoCheckoutUpdatesSkipsTheUpdateOnlyWithoutOptions) {
    env_.Settings().SetNoCheckoutUpdates(true);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.CheckOutFiles({File("a.txt"), File("img.bin")}, nullptr));
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs edit a.txt img.bin"});
    CCVSStringMap prune{{"CHECKOUT_PRUNEEMPTY", "1"}};
    EXPECT_TRUE(controller.CheckOutFiles({File("a.txt")}, &prune));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"cvs update -P a.txt", "cvs edit a.txt"}));
}

TEST_F(ControllerOptions, AFailedRunStopsTheOperationWithItsErrorText) {
    CCVSController controller(*context_);
    CCVSStringMap bad{{"CHECKOUT_USEREVVER", "1"}, {"CHECKOUT_GETREVVER", "NO_SUCH_TAG"}};
    const bool ok =
        controller.UpdateFiles({File("a.txt"), File("sub/c.txt")}, false, false, false, &bad);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(controller.GetErrorMessage().empty());
    EXPECT_LT(controller.GetErrorMessage().size(), CCVSController::kErrorMessageSize);
    EXPECT_EQ(Commands().size(), 1u) << "the second batch must not run";
}

TEST_F(ControllerOptions, ANewFolderIsBoundBeforeItsUpdate) {
    // A folder of the repository that the working copy lacks. The new folder's CVS/Root
    // gets the project's root as the working copy spells it (under Wine that is the Linux
    // path, which the Linux cvs behind the test shim reads).
    platform::SetCurrentFolder(work_);
    testing_support::RemoveTree(File("sub"));
    context_->SetCVSRoot(ReadRoot(work_));
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.UpdateFiles({File("sub/c.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
    EXPECT_TRUE(IsCVSFolder(File("sub")));
    EXPECT_TRUE(PathExists(File("sub/c.txt")));
    EXPECT_TRUE(IsInEntries(File("sub/c.txt")));
}

// Login through the login dialog, against the pserver fixture.
class ControllerLogin : public testing::Test, protected EditingFixture {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartEditing(Method::Pserver, &problem))
            GTEST_SKIP() << problem;
        // Forget the login the fixture made.
        ASSERT_EQ(Cvs({"-d", root_, "logout"}, work_).status, 0);
        Commands();
    }
    void ExpectLoginDialog(const std::string& password) {
        env_.Host().ExpectDialog("CVS Repository Login ...", [password](uifw::DialogDriver& ui) {
            ui.Type(CDlgPassword::kIdcPassword, password);
            ui.Click(uifw::kIdOk);
        });
    }
};

TEST_F(ControllerLogin, LogsInWithTheTypedPassword) {
    CCVSController controller(*context_);
    ExpectLoginDialog(server_->Password());
    EXPECT_TRUE(controller.Login(root_, false)) << context_->GetErrorText();
    EXPECT_EQ(Commands(), std::vector<std::string>{"cvs -d " + root_ + " login"});
    EXPECT_NE(ReadFile(sandbox_.PassFile()).find(root_), std::string::npos);
}

TEST_F(ControllerLogin, CancelRunsNothingAndLeavesNoMessage) {
    CCVSController controller(*context_);
    env_.Host().ExpectDialog("CVS Repository Login ...",
                             [](uifw::DialogDriver& ui) { ui.Click(uifw::kIdCancel); });
    EXPECT_FALSE(controller.Login(root_, false));
    EXPECT_EQ(controller.GetErrorMessage(), "");
    EXPECT_TRUE(Commands().empty());
}

TEST_F(ControllerLogin, AWrongPasswordFails) {
    CCVSController controller(*context_);
    ExpectLoginDialog("wrong");
    EXPECT_FALSE(controller.Login(root_, false));
    EXPECT_NE(context_->GetErrorText().find("authorization failed"), std::string::npos);
}

TEST_F(ControllerLogin, ATemporaryLoginUsesTheDialogsRootAndRestoresTheContexts) {
    context_->SetCVSRoot(":local:/elsewhere");
    CCVSController controller(*context_);
    env_.Host().ExpectDialog("CVS Repository Login ...", [this](uifw::DialogDriver& ui) {
        EXPECT_TRUE(ui.IsReadOnly(CDlgPassword::kIdcCvsRoot));
        EXPECT_EQ(ui.Text(CDlgPassword::kIdcCvsRoot), root_);
        ui.Type(CDlgPassword::kIdcPassword, server_->Password());
        ui.Click(uifw::kIdOk);
    });
    EXPECT_TRUE(controller.Login(root_, true)) << context_->GetErrorText();
    EXPECT_EQ(context_->GetCVSRoot(), ":local:/elsewhere");
}

TEST_F(ControllerLogin, ACommandWithoutAStoredPasswordAsksAndRunsAgain) {
    CCVSController controller(*context_);
    ExpectLoginDialog(server_->Password());
    EXPECT_TRUE(controller.UpdateFiles({File("a.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
    EXPECT_EQ(Commands(),
              (std::vector<std::string>{"cvs update a.txt", "cvs -d " + root_ + " login"}));
}

TEST_F(ControllerLogin, AStoredPasswordTheServerRefusesLeadsToTheDialogToo) {
    ASSERT_TRUE(server_->Login());
    // The server's password changes; the stored one no longer works.
    ASSERT_EQ(
        testing_support::Shell(
            "sed -i \"s/^alice:[^:]*:/alice:$(perl -e 'print crypt(q(changed), q(ab))'):/\" " +
            testing_support::UnixPath(repo_.Path()) + "/CVSROOT/passwd")
            .status,
        0);
    CCVSController controller(*context_);
    ExpectLoginDialog("changed");
    EXPECT_TRUE(controller.UpdateFiles({File("a.txt")}, false, false, false, nullptr))
        << controller.GetErrorMessage();
}

TEST_F(ControllerLogin, ALoginWhoseTextSaysErrorConnectingFails) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "the stand-in for cvs is a shell script";
    const std::string script = sandbox_.Folder("fake") + "/cvs";
    WriteFile(script, "#!/bin/sh\necho 'Error connecting to the server' >&2\nexit 0\n");
    ASSERT_EQ(testing_support::Shell("chmod +x '" + script + "'").status, 0);
    env_.Settings().SetCvsExePath(script);
    CCVSController controller(*context_);
    ExpectLoginDialog("anything");
    EXPECT_FALSE(controller.Login(root_, false));
}

} // namespace
