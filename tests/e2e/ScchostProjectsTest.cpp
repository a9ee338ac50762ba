// scchost's project commands end to end: connect (a new module imported, or an existing one
// bound), open and close from inside the working folder, modules, and what bad input gets;
// the provider's trace of them. Against a local repository, :fork: and a pserver.
#include "platform/FileSystem.h"
#include "settings/RegistryEx.h"
#include "settings/SccSettings.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"
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

class ScchostProjects : public e2e::RepositoryByMethod {
protected:
    void SetUp() override {
        RepositoryByMethod::SetUp();
        if (IsSkipped())
            return;
        {
            CSccSettings settings;
            settings.SetCvsExePath(testing_support::CvsProgram());
        }
        // Every run starts logged out: the commands log in through the password answer.
        WriteFile(sandbox_.PassFile(), "");
    }
    // Runs scchost in the folder with scripted answers (the password when there is one).
    RunResult Scchost(std::vector<std::string> args, const std::string& folder) {
        std::vector<std::string> argv{"--ui", "headless"};
        if (server_)
            argv.insert(argv.end(), {"--password", server_->Password()});
        argv.insert(argv.end(), args.begin(), args.end());
        return e2e::RunScchost(argv, folder);
    }
};

INSTANTIATE_TEST_SUITE_P(Methods, ScchostProjects,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

TEST_P(ScchostProjects, ConnectImportsANewFolderAndOpenFindsItFromBelow) {
    const std::string folder = Folder("newproj");
    const std::string bytes("int main(void) { return 0; }\r\n\0\xff", 33);
    WriteFile(folder + Sep() + "main.c", bytes);
    RunResult connect = Scchost({"--answer", "cvsroot=" + root_, "connect"}, folder);
    ASSERT_EQ(connect.status, 0) << connect.err << connect.out;
    EXPECT_THAT(connect.out,
                HasSubstr("connected " + folder + " to the module newproj of " + root_ + "\n"));
    EXPECT_EQ(ReadFile(folder + Sep() + ".scchost-project"),
              "# scchost project: the strings an IDE keeps with its solution\n"
              "project=newproj\nauxpath=" +
                  root_ + "\nlocalpath=" + folder + "\n");
    EXPECT_EQ(ReadFile(folder + Sep() + "CVS" + Sep() + "Repository"), "newproj\n");
    EXPECT_EQ(ReadFile(folder + Sep() + "main.c"), bytes);
    EXPECT_THAT(TopListing(), HasSubstr("D/newproj////"));

    const std::string below = folder + Sep() + "src";
    ASSERT_TRUE(platform::MakeFolder(below));
    RunResult open = Scchost({"open"}, below);
    EXPECT_EQ(open.status, 0) << open.err;
    EXPECT_EQ(open.out, "Opening Project ...\nProject Information ...\nCVSROOT...: " + root_ +
                            "\nCVS PATH..: newproj\nLOCAL PATH: " + folder +
                            "\nCVS EXE...: " + testing_support::CvsProgram() + "\n");
}

TEST_P(ScchostProjects, ConnectBindsAnExistingModuleAndCloseLogsOutWhenAsked) {
    const std::string folder = Folder("mod");
    RunResult connect = Scchost({"--answer", "cvsroot=" + root_, "connect"}, folder);
    ASSERT_EQ(connect.status, 0) << connect.err;
    EXPECT_TRUE(platform::Exists(folder + Sep() + "a.txt"));
    EXPECT_THAT(ReadFile(folder + Sep() + ".scchost-project"), HasSubstr("\nproject=mod\n"));

    RunResult quiet = Scchost({"--quiet", "close"}, folder);
    EXPECT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_THAT(quiet.out, Not(HasSubstr("cvs ")));
    {
        CSccSettings settings;
        settings.SetLogoutOnClose(true);
    }
    RunResult close = Scchost({"close"}, folder);
    EXPECT_EQ(close.status, 0) << close.err;
    EXPECT_THAT(close.out,
                HasSubstr("Logging out ...\nCurrent Directory: " + folder + "\ncvs logout\n"));
    RunResult hidden = Scchost({"--quiet", "close"}, folder);
    EXPECT_THAT(hidden.out, HasSubstr("Logging out ...\n"));
    EXPECT_THAT(hidden.out, Not(HasSubstr("\ncvs logout\n")));
    EXPECT_THAT(hidden.out, Not(HasSubstr("Current Directory")));
    if (server_) {
        EXPECT_THAT(ReadFile(sandbox_.PassFile()), Not(HasSubstr(root_)));
    }
}

TEST_P(ScchostProjects, ModulesListsTheTopAndAFolder) {
    RunResult top = Scchost({"modules", root_}, sandbox_.Home());
    EXPECT_EQ(top.status, 0) << top.err;
    EXPECT_EQ(top.out, "CVSROOT/\nmod/\n");
    RunResult mod = Scchost({"modules", root_, "mod"}, sandbox_.Home());
    EXPECT_EQ(mod.status, 0) << mod.err;
    EXPECT_THAT(mod.out, testing::MatchesRegex("a\\.txt +1\\.3 +\\w\\w\\w .*\n"
                                               "img\\.bin +1\\.1\\.1\\.1 +.*\n"
                                               "sub/\n"));
    RunResult missing = Scchost({"modules", root_, "mod/nosuch"}, sandbox_.Home());
    EXPECT_NE(missing.status, 0);
    EXPECT_THAT(missing.err, HasSubstr("scchost: no listing of mod/nosuch in " + root_));
}

TEST_P(ScchostProjects, TheTraceOfAnOpenHoldsItsBlocks) {
    const std::string folder = Folder("wc");
    platform::RemoveEmptyFolder(folder);
    ASSERT_TRUE(repo_.Checkout(root_, folder));
    WriteFile(folder + Sep() + ".scchost-project",
              "project=mod\nauxpath=\nlocalpath=" + folder + "\n");
    {
        CRegistryEx r("Morvek", "VODORO", false);
        r.OpenSection("SETTINGS");
        r.ExchangeDefaultString("USERINIT", "1");
        r.ExchangeDefaultFlag("TRACELOG", true);
    }
    const std::string trace = sandbox_.Home() + Sep() + "trace.log";
    RunResult open = Scchost({"--trace", trace, "open"}, folder);
    ASSERT_EQ(open.status, 0) << open.err;
    // The CVSROOT came back from the working folder and is kept for the next open.
    EXPECT_THAT(ReadFile(folder + Sep() + ".scchost-project"), HasSubstr("auxpath=" + root_));
    const std::string text = ReadFile(trace);
    const std::string banner = "================================================\n";
    const std::string::size_type at = text.find(banner + "SccOpenProject\n");
    ASSERT_NE(at, std::string::npos) << text;
    std::string block = text.substr(at, text.find(banner, at + 2 * banner.size() + 15) - at);
    // scchost's output procedure lies wherever the system loaded scchost.
    const std::string::size_type outproc = block.find("outproc      ");
    ASSERT_NE(outproc, std::string::npos) << block;
    EXPECT_EQ(block.find_first_not_of("0123456789abcdef", outproc + 13), outproc + 21) << block;
    block.replace(outproc + 13, 8, "OUTPROC.");
    EXPECT_EQ(block, banner + "SccOpenProject\n" + banner +
                         "INPUT: \n"
                         "user         ''\n"
                         "project      'mod'\n"
                         "local_proj   '" +
                         folder +
                         "'\n"
                         "aux_proj     ''\n"
                         "comment      ''\n"
                         "outproc      OUTPROC.\n"
                         "flags        00000000\n"
                         "OUTPUT:\n"
                         "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_THAT(text, HasSubstr(banner + "SccInitialize\n" + banner +
                                "INPUT:\n"
                                "caller         'scchost'\nOUTPUT:\n"));
    EXPECT_THAT(text,
                HasSubstr(banner + "SccUninitialize\n" + banner + "RESULT: 00000000 (SCC_OK)\n"));
}

// Bad input: each with its message, a failing exit status and nothing half-made.
class ScchostBadInput : public ScchostProjects {};
INSTANTIATE_TEST_SUITE_P(Methods, ScchostBadInput, testing::Values(Method::Local, Method::Pserver),
                         e2e::MethodName);

TEST_P(ScchostBadInput, ARepositoryThatCannotBeReachedLeavesTheFolderAsItWas) {
    std::vector<std::pair<std::string, std::string>> cases = {
        {"nonsense", "Bad CVSROOT"},
        {":local:" + repo_.Path() + "-missing", "-missing"},
    };
    if (server_) {
        std::string refused = root_;
        refused.replace(refused.find(":" + std::to_string(server_->Port())),
                        std::to_string(server_->Port()).size() + 1, ":1");
        cases.push_back({refused, "onnect"});
    }
    for (const auto& [root, reason] : cases) {
        const std::string folder = Folder("work");
        WriteFile(folder + Sep() + "keep.txt", "mine\n");
        RunResult connect = Scchost({"--answer", "cvsroot=" + root, "connect"}, folder);
        EXPECT_NE(connect.status, 0) << root;
        EXPECT_THAT(connect.err, HasSubstr("Could not connect " + folder)) << root;
        EXPECT_THAT(connect.err, HasSubstr(reason)) << root;
        EXPECT_THAT(connect.err, HasSubstr("scchost: could not connect " + folder)) << root;
        EXPECT_FALSE(platform::Exists(folder + Sep() + "CVS")) << root;
        EXPECT_FALSE(platform::Exists(folder + Sep() + ".scchost-project")) << root;
        EXPECT_EQ(ReadFile(folder + Sep() + "keep.txt"), "mine\n");
        EXPECT_THAT(TopListing(), Not(HasSubstr("D/work/")));
        testing_support::RemoveTree(folder);
    }
}

TEST_P(ScchostBadInput, AWrongPasswordIsRefusedWithoutImporting) {
    if (!server_)
        GTEST_SKIP() << "only a pserver has passwords";
    const std::string folder = Folder("work");
    RunResult connect = e2e::RunScchost(
        {"--ui", "headless", "--password", "wrong", "--answer", "cvsroot=" + root_, "connect"},
        folder);
    EXPECT_NE(connect.status, 0);
    EXPECT_THAT(connect.err, HasSubstr("authorization failed"));
    EXPECT_FALSE(platform::Exists(folder + Sep() + "CVS"));
    EXPECT_THAT(TopListing(), Not(HasSubstr("D/work/")));
}

TEST_P(ScchostBadInput, NoProjectAFolderBoundElsewhereAndAFolderThatCannotBeMade) {
    RunResult open = Scchost({"open"}, sandbox_.Home());
    EXPECT_NE(open.status, 0);
    EXPECT_THAT(open.err, HasSubstr("scchost: no project at or above " + sandbox_.Home() +
                                    ": run scchost connect"));

    const std::string folder = Folder("wc");
    platform::RemoveEmptyFolder(folder);
    ASSERT_TRUE(repo_.Checkout(root_, folder));
    WriteFile(folder + Sep() + ".scchost-project",
              "project=mod\nauxpath=:local:/elsewhere\nlocalpath=" + folder + "\n");
    open = Scchost({"open"}, folder);
    EXPECT_NE(open.status, 0);
    EXPECT_THAT(open.err,
                HasSubstr("is a working folder of " + root_ + ", not of :local:/elsewhere"));

    const std::string file = Folder("x") + Sep() + "file.txt";
    WriteFile(file, "a file\n");
    RunResult connect = Scchost(
        {"--answer", "cvsroot=" + root_, "--answer", "module=mod", "connect", file + Sep() + "sub"},
        sandbox_.Home());
    EXPECT_NE(connect.status, 0);
    EXPECT_THAT(connect.err, HasSubstr("cannot be created"));
    EXPECT_EQ(ReadFile(file), "a file\n");
}

} // namespace
