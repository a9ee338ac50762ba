// The controller's repository and module-folder operations against the real cvs: listings,
// the module test, import, binding a folder, connecting a project, folder update, logout.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsEngineFixture.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

#include <deque>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;

// The connection dialog played by the test: each showing takes the next answer (a function
// that may change the values and says OK or Cancel); with none left it is cancelled.
class PlayedConnectDialog : public IConnectDialog {
public:
    std::deque<std::function<bool(ConnectDialogValues&)>> answers;
    std::vector<ConnectDialogValues> shown;
    bool person = true;

    bool Ask(ConnectDialogValues& values) override {
        shown.push_back(values);
        if (answers.empty())
            return false;
        auto answer = answers.front();
        answers.pop_front();
        return answer(values);
    }
    bool AnsweredByPerson() const override { return person; }

    void AnswerOk(const std::string& root, const std::string& module) {
        answers.push_back([root, module](ConnectDialogValues& v) {
            v.cvsRoot = root;
            v.module = module;
            return true;
        });
    }
};

class Projects : public testing_support::CvsEngineFixture {
protected:
    void SetUp() override {
        CvsEngineFixture::SetUp();
        env_.Settings().SetVendorName("Ann Smith");
        if (context_)
            context_->SetCVSRoot(root_);
    }

    std::string Folder(const std::string& name) { return NormalizePath(sandbox_.Folder(name)); }
    static std::string In(const std::string& folder, const std::string& relative) {
        std::string path = folder;
        for (char c : "/" + relative)
            path += c == '/' ? testing_support::Sep() : c;
        return path;
    }
    // The names in a listing of the repository, as another client sees it.
    std::string Listing(const std::string& path) {
        return repo_.Cvs({"-d", repo_.LocalRoot(), "rls", "-e", path}, sandbox_.Home()).out;
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, Projects, testing_support::AllCvsMethods(),
                         testing_support::CvsMethodParamName);

std::vector<std::pair<std::string, std::string>>
NamesAndPaths(const std::vector<CCVSModuleEntry>& entries) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const CCVSModuleEntry& e : entries)
        out.emplace_back(e.name, e.path);
    return out;
}

TEST_P(Projects, ListingsOfTheTopAModuleAndATree) {
    CCVSController controller(*context_);
    platform::SetCurrentFolder(sandbox_.Home());
    const auto top = controller.GetModules(root_, ".", true, false);
    EXPECT_THAT(NamesAndPaths(top),
                testing::Contains(std::pair<std::string, std::string>("mod", "mod")));
    EXPECT_EQ(Commands(), Strings{"cvs -d " + root_ + " ls -e ."});
    EXPECT_EQ(context_->GetCVSRoot(), root_);

    const auto files = controller.GetModules(root_, "mod", false, false);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name, "a.txt");
    EXPECT_EQ(files[0].path, "mod/a.txt");
    EXPECT_EQ(files[0].revision, "1.3");
    EXPECT_FALSE(files[0].date.empty());
    EXPECT_EQ(files[2].name, "sub");
    EXPECT_FALSE(files[2].IsFile());
    EXPECT_EQ(NamesAndPaths(controller.GetModules(root_, "mod", true, false)),
              (std::vector<std::pair<std::string, std::string>>{{"sub", "mod/sub"}}));

    const auto tree = controller.GetModules(root_, "mod/", false, true);
    Strings names;
    for (const CCVSModuleEntry& e : tree)
        names.push_back(e.name);
    EXPECT_EQ(names,
              (Strings{"a.txt", "img.bin", "sub", "sub\\c.txt", "sub\\deep", "sub\\deep\\d.txt"}));
    EXPECT_EQ(tree[3].path, "mod/sub\\c.txt");
    EXPECT_TRUE(controller.GetModules(root_, "mod/nosuch", false, false).empty());
}

TEST_P(Projects, TheModuleTestAnswersWhetherTheModuleIsThere) {
    CCVSController controller(*context_);
    context_->SetCVSRoot(":local:/somewhere/else");
    EXPECT_TRUE(controller.TestModule(root_, "mod"));
    EXPECT_TRUE(controller.TestModule(root_, "mod/sub/deep"));
    EXPECT_FALSE(controller.TestModule(root_, "nosuch"));
    EXPECT_EQ(context_->GetCVSRoot(), ":local:/somewhere/else");
    EXPECT_EQ(Commands(),
              (Strings{"cvs ls -e -l mod", "cvs ls -e -l mod/sub/deep", "cvs ls -e -l nosuch"}));
}

TEST_P(Projects, ImportMakesANewModuleAndLeavesTheFilesAlone) {
    const std::string folder = Folder("fresh");
    const std::string bytes("line\r\n\0binary\xff", 15);
    WriteFile(In(folder, "main.c"), bytes);
    context_->SetComment("  first import  ");
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.Import("fresh", folder));
    EXPECT_EQ(Commands(), Strings{"cvs import -C -I * -m first import -- fresh Ann_Smith"});
    EXPECT_TRUE(IsCVSFolder(folder));
    EXPECT_EQ(ReadRepository(folder), "fresh");
    EXPECT_EQ(ReadFile(In(folder, "main.c")), bytes);
    EXPECT_THAT(Listing(""), HasSubstr("D/fresh////"));
    EXPECT_EQ(env_.Settings().GetModule(0), "fresh");

    // A folder inside a working folder is not imported on its own.
    const std::string inner = In(folder, "inner");
    EXPECT_TRUE(controller.Import("fresh/inner", inner));
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(platform::IsFolder(inner));
    EXPECT_FALSE(IsCVSFolder(inner));
    EXPECT_EQ(env_.Settings().GetModule(0), "fresh/inner");
}

TEST_P(Projects, AFolderBoundToAModuleGetsItsFilesButNotItsFolders) {
    const std::string folder = Folder("bound");
    context_->SetCVSRoot(root_);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.InitModuleFolder("mod", folder));
    EXPECT_EQ(Commands(), (Strings{"cvs ls -e -l mod", "cvs update -l"}));
    EXPECT_EQ(ReadRoot(folder), root_);
    EXPECT_EQ(ReadRepository(folder), "mod");
    EXPECT_TRUE(PathExists(In(folder, "a.txt")));
    EXPECT_TRUE(PathExists(In(folder, "img.bin")));
    EXPECT_FALSE(PathExists(In(folder, "sub")));

    const std::string other = Folder("other");
    EXPECT_FALSE(controller.InitModuleFolder("nosuch", other));
    EXPECT_EQ(Commands(), Strings{"cvs ls -e -l nosuch"});
}

TEST_P(Projects, UpdateFolderChecksTheFolderThenUpdatesItWithNewFolders) {
    const std::string work = Folder("work");
    platform::RemoveEmptyFolder(work);
    ASSERT_TRUE(repo_.Checkout(root_, work));
    const std::string desk = Folder("desk");
    platform::RemoveEmptyFolder(desk);
    ASSERT_TRUE(repo_.Checkout(root_, desk));
    ASSERT_TRUE(platform::MakeFolder(In(desk, "sub/new")));
    WriteFile(In(desk, "sub/new/n.txt"), "new\n");
    WriteFile(In(desk, "sub/c.txt"), "changed\n");
    ASSERT_EQ(repo_.Cvs({"add", "sub/new"}, desk).status, 0);
    ASSERT_EQ(repo_.Cvs({"add", "sub/new/n.txt"}, desk).status, 0);
    ASSERT_EQ(repo_.Cvs({"commit", "-m", "more"}, desk).status, 0);

    CCVSController controller(*context_);
    EXPECT_TRUE(controller.UpdateFolder(work, false));
    EXPECT_EQ(Commands(), (Strings{"cvs ls -q mod", "cvs update -l -d"}));
    EXPECT_NE(ReadFile(In(work, "sub/c.txt")), "changed\n");
    EXPECT_TRUE(controller.UpdateFolder(In(work, "sub"), true));
    EXPECT_EQ(Commands(), (Strings{"cvs ls -q mod/sub", "cvs update -R -d"}));
    EXPECT_EQ(ReadFile(In(work, "sub/c.txt")), "changed\n");
    EXPECT_EQ(ReadFile(In(work, "sub/new/n.txt")), "new\n");

    // A folder the repository no longer has is not updated.
    ASSERT_TRUE(CreateAdminFolder(In(work, "gone"), root_, "mod/gone"));
    EXPECT_FALSE(controller.UpdateFolder(In(work, "gone"), false));
    EXPECT_EQ(Commands(), Strings{"cvs ls -q mod/gone"});
}

TEST_P(Projects, LogoutForgetsThePassword) {
    const std::string work = Folder("work");
    context_->SetLocalPath(work);
    CCVSController controller(*context_);
    EXPECT_TRUE(controller.Logout());
    EXPECT_EQ(Commands(), Strings{"cvs logout"});
    if (GetParam() == Method::Pserver) {
        EXPECT_EQ(ReadFile(sandbox_.PassFile()).find(server_->Root()), std::string::npos);
    }
}

TEST_P(Projects, ConnectingBindsAnExistingModuleOrImportsANewOne) {
    const std::string existing = Folder("mod");
    context_->SetCVSRoot("");
    PlayedConnectDialog dialog;
    dialog.AnswerOk(root_, "mod");
    {
        CCVSController controller(*context_);
        EXPECT_TRUE(controller.ConnectProject("", existing, false, dialog));
    }
    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_TRUE(dialog.shown[0].repositoryEditable); // the context had no root
    EXPECT_EQ(dialog.shown[0].module, "mod");        // the folder's name
    EXPECT_EQ(dialog.shown[0].localPath, existing);
    EXPECT_EQ(context_->GetCVSRoot(), root_);
    EXPECT_EQ(context_->GetProjectModule(), "mod");
    EXPECT_EQ(context_->GetLocalPath(), existing);
    EXPECT_TRUE(PathExists(In(existing, "a.txt")));
    EXPECT_EQ(Commands(), (Strings{"cvs ls -e -l mod", "cvs update -l"}));

    const std::string fresh = Folder("fresh");
    WriteFile(In(fresh, "keep.txt"), "mine\n");
    PlayedConnectDialog second;
    second.AnswerOk(root_, "projects/fresh");
    {
        CCVSController controller(*context_);
        EXPECT_TRUE(controller.ConnectProject("projects/fresh", fresh, false, second));
    }
    EXPECT_FALSE(second.shown[0].repositoryEditable);
    EXPECT_EQ(second.shown[0].cvsRoot, root_);
    EXPECT_EQ(Commands(), (Strings{"cvs ls -e -l projects/fresh",
                                   "cvs import -C -I * -m  -- projects/fresh Ann_Smith"}));
    EXPECT_EQ(ReadRepository(fresh), "projects/fresh");
    EXPECT_EQ(ReadFile(In(fresh, "keep.txt")), "mine\n");
    EXPECT_EQ(context_->GetProjectModule(), "projects/fresh");
}

TEST_P(Projects, AFailedConnectionSaysWhyAndAsksAgainUntilCancelled) {
    const std::string folder = Folder("work");
    PlayedConnectDialog dialog;
    dialog.AnswerOk(":local:/no/such/repository", "mod");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.ConnectProject("mod", folder, true, dialog));
    EXPECT_EQ(dialog.shown.size(), 2u); // asked again, then cancelled
    EXPECT_EQ(dialog.shown[1].cvsRoot, ":local:/no/such/repository");
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    const uifw::MessageBoxRecord box = env_.Host().MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Morvek :> Error");
    EXPECT_THAT(box.text, HasSubstr("Could not connect " + folder +
                                    " to the module mod of "
                                    ":local:/no/such/repository."));
    EXPECT_THAT(box.text, HasSubstr("/no/such/repository"));
    EXPECT_THAT(env_.Pane().All(), HasSubstr(box.text.substr(0, box.text.find('\n'))));
    // Nothing half-made: no CVS folder, no module.
    EXPECT_FALSE(PathExists(In(folder, "CVS")));
    EXPECT_THAT(Listing(""), testing::Not(HasSubstr("D/work")));
}

TEST_P(Projects, AConnectionAnsweredInAdvanceIsNotAskedForAgain) {
    const std::string folder = Folder("work");
    PlayedConnectDialog dialog;
    dialog.person = false;
    dialog.AnswerOk(":local:/no/such/repository", "mod");
    dialog.AnswerOk(":local:/no/such/repository", "mod");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.ConnectProject("mod", folder, true, dialog));
    EXPECT_EQ(dialog.shown.size(), 1u);
}

TEST_P(Projects, AFolderThatCannotBeWrittenIsRefusedBeforeAnythingRuns) {
    const std::string file = In(Folder("x"), "file.txt");
    WriteFile(file, "a file, not a folder\n");
    const std::string folder = In(file, "sub");
    PlayedConnectDialog dialog;
    dialog.AnswerOk(root_, "mod");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    CCVSController controller(*context_);
    EXPECT_FALSE(controller.ConnectProject("mod", folder, true, dialog));
    EXPECT_TRUE(Commands().empty());
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_THAT(env_.Host().MessageBoxes()[0].text,
                HasSubstr("The folder " + folder + " cannot be made a working folder"));
    EXPECT_EQ(ReadFile(file), "a file, not a folder\n");
}

} // namespace
