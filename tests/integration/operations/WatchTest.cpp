// The controller's editors and watchers against the real cvs, on a local root, :fork: and a
// pserver, with two users editing and watching one file from working copies of their own;
// and files whose editors or watchers cannot be listed.
#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgItemProp.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

// The folder as cvs names it in its records: the Linux path with links resolved (under Wine
// the prefix reaches drive C through a link).
std::string CvsFolderName(const std::string& folder) {
    const std::string unix = testing_support::UnixPath(folder);
    if (!testing_support::RunningUnderWine())
        return unix;
    std::string out = testing_support::Shell("cd '" + unix + "' && pwd -P").out;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out.empty() ? unix : out;
}

using testing::HasSubstr;
using Method = testing_support::CvsMethod;
using Strings = std::vector<std::string>;
using Row = std::vector<std::string>;

constexpr const char* kAlice = "alice"; // the provider's user
constexpr const char* kBob = "bob";     // the other user, from a working copy of his own

// Records as rows, ordered by file and user: cvs lists users in the order of its records.
std::vector<Row> Rows(const std::vector<CCVSEditor>& editors) {
    std::vector<Row> rows;
    for (const CCVSEditor& e : editors)
        rows.push_back({e.file, e.user, e.folder});
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<Row> Rows(const std::vector<CCVSWatcher>& watchers) {
    std::vector<Row> rows;
    for (const CCVSWatcher& w : watchers)
        rows.push_back({w.file, w.user, w.edit ? "yes" : "no", w.unedit ? "yes" : "no",
                        w.commit ? "yes" : "no"});
    std::sort(rows.begin(), rows.end());
    return rows;
}

class Watch : public testing::TestWithParam<Method> {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        if (GetParam() != Method::Pserver && !testing_support::CvsRepository::ActsAsNamedUsers())
            GTEST_SKIP() << "local and :fork: commands run as two users only for root";
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        if (GetParam() == Method::Pserver) {
            server_ = std::make_unique<testing_support::CvsPserver>(repo_, kAlice, "secret");
            if (!server_->Ready())
                GTEST_SKIP() << server_->Problem();
            ASSERT_TRUE(server_->AddUser(kBob, "bobs"));
            ASSERT_TRUE(server_->Login());
            ASSERT_TRUE(server_->Login(kBob, "bobs"));
            root_ = server_->Root();
            bobRoot_ = server_->Root(kBob);
        } else {
            root_ = GetParam() == Method::Local ? repo_.LocalRoot() : repo_.ForkRoot();
            bobRoot_ = root_;
        }
        work_ = NormalizePath(Copy("work", root_));
        other_ = NormalizePath(Copy("other", bobRoot_));
        context_ = env_.MakeContext();
        context_->SetCVSRoot(root_);
        context_->SetLocalPath(work_);
        context_->SetProjectModule("mod");
    }
    void TearDown() override {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(testing_support::BinDir());
    }

    std::string Copy(const std::string& name, const std::string& root) {
        return repo_.WorkingCopy(sandbox_, name, root);
    }
    std::string File(const std::string& name) const { return JoinPath(work_, name); }
    // A cvs command of a user in that user's working copy.
    void As(const char* user, const Strings& args) {
        const testing_support::RunResult r =
            repo_.Cvs(args, user == std::string(kBob) ? other_ : work_, user);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    Strings Commands() { return env_.Pane().TakeCommands(); }

    testing_support::CvsSandbox sandbox_;
    // The provider's cvs runs as alice on local and :fork: roots.
    testing_support::ScopedEnv logName_{"LOGNAME", kAlice}, user_{"USER", kAlice};
    testing_support::CvsRepository repo_;
    std::unique_ptr<testing_support::CvsPserver> server_;
    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string root_, bobRoot_, work_, other_;
};

INSTANTIATE_TEST_SUITE_P(Methods, Watch,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         [](const testing::TestParamInfo<Method>& info) {
                             return testing_support::CvsMethodName(info.param);
                         });

TEST_P(Watch, TheEditorsOfFilesThatTwoUsersEdit) {
    As(kBob, {"edit", "a.txt", "img.bin"});
    As(kAlice, {"edit", "a.txt"});
    Commands();

    CCVSController controller(*context_);
    std::vector<CCVSEditor> editors;
    ASSERT_TRUE(controller.GetEditors({File("a.txt"), File("img.bin")}, editors));
    EXPECT_TRUE(env_.Pane().Has("Getting file editors ..."));
    EXPECT_EQ(Commands(), Strings{"cvs editors a.txt img.bin"});
    const std::string mine = CvsFolderName(work_);
    const std::string his = CvsFolderName(other_);
    EXPECT_EQ(
        Rows(editors),
        (std::vector<Row>{{"a.txt", kAlice, mine}, {"a.txt", kBob, his}, {"img.bin", kBob, his}}));
    for (const CCVSEditor& e : editors) {
        // (std::regex: the matchers' regular expressions are too simple on Windows.)
        EXPECT_TRUE(std::regex_match(e.date, std::regex(".* [0-9][0-9]:[0-9][0-9]:[0-9][0-9] .*")))
            << e.date;
        EXPECT_FALSE(e.host.empty());
    }

    // Nobody edits sub/c.txt; after bob's unedit only alice edits a.txt.
    editors.clear();
    EXPECT_TRUE(controller.GetEditors({JoinPath(JoinPath(work_, "sub"), "c.txt")}, editors));
    EXPECT_TRUE(editors.empty());
    As(kBob, {"unedit", "a.txt"});
    EXPECT_TRUE(controller.GetEditors({File("a.txt")}, editors));
    EXPECT_EQ(Rows(editors), (std::vector<Row>{{"a.txt", kAlice, mine}}));
    EXPECT_EQ(controller.GetErrorMessage(), "");
}

TEST_P(Watch, TwoUsersWatchOneFileAndTheUserAddsAndRemovesTheirOwnWatch) {
    As(kBob, {"watch", "add", "-a", "edit", "a.txt"});
    Commands();

    CCVSController controller(*context_);
    EXPECT_TRUE(controller.AddWatch({File("a.txt")}));
    EXPECT_TRUE(env_.Pane().Has("Adding file watch ..."));
    EXPECT_EQ(Commands(), Strings{"cvs watch add a.txt"});

    // The list is appended to.
    std::vector<CCVSWatcher> watchers(1);
    watchers[0].file = "kept";
    ASSERT_TRUE(controller.GetWatchers({File("a.txt")}, watchers));
    EXPECT_TRUE(env_.Pane().Has("Getting file watchers ..."));
    EXPECT_EQ(Commands(), Strings{"cvs watchers a.txt"});
    EXPECT_EQ(Rows(watchers), (std::vector<Row>{{"a.txt", kAlice, "yes", "yes", "yes"},
                                                {"a.txt", kBob, "yes", "no", "no"},
                                                {"kept", "", "no", "no", "no"}}));

    // An edit watches the file for its length: bob now hears of everything.
    As(kBob, {"edit", "a.txt"});
    watchers.clear();
    ASSERT_TRUE(controller.GetWatchers({File("a.txt")}, watchers));
    EXPECT_EQ(Rows(watchers), (std::vector<Row>{{"a.txt", kAlice, "yes", "yes", "yes"},
                                                {"a.txt", kBob, "yes", "yes", "yes"}}));

    Commands();
    EXPECT_TRUE(controller.RemoveWatch({File("a.txt")}));
    EXPECT_TRUE(env_.Pane().Has("Removing file watch ..."));
    EXPECT_EQ(Commands(), Strings{"cvs watch remove a.txt"});
    watchers.clear();
    ASSERT_TRUE(controller.GetWatchers({File("a.txt")}, watchers));
    EXPECT_EQ(Rows(watchers), (std::vector<Row>{{"a.txt", kBob, "yes", "yes", "yes"}}));
    EXPECT_EQ(controller.GetErrorMessage(), "");
}

// The properties sheet over the same context: its pages list both users, each page on a
// worker of its own, both at once.
TEST_P(Watch, ThePropertiesSheetListsBothUsers) {
    As(kBob, {"edit", "a.txt"});
    As(kAlice, {"watch", "add", "a.txt"});
    CDlgItemProp sheet(*context_, "a.txt Properties", File("a.txt"), nullptr,
                       CDlgItemProp::kPageWatchers);
    auto ui = env_.Host().Open(sheet);
    EXPECT_TRUE(ui.SelectPage(CDlgItemProp::kPageEditors));
    auto rowsOf = [&](int page, uifw::ControlId list) {
        std::vector<Row> rows = ui.Page(page).Rows(list);
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    const std::vector<Row> watchers = {{"a.txt", kAlice, "yes", "yes", "yes"},
                                       {"a.txt", kBob, "yes", "yes", "yes"}};
    EXPECT_TRUE(env_.Host().WaitUntil(
        [&] {
            return rowsOf(CDlgItemProp::kPageWatchers, CPageItemWatchers::kIdcList) == watchers;
        },
        "the watchers"));
    EXPECT_TRUE(env_.Host().WaitUntil(
        [&] {
            const std::vector<Row> rows =
                rowsOf(CDlgItemProp::kPageEditors, CPageItemEditors::kIdcList);
            return rows.size() == 1 && rows[0].size() == 5 && rows[0][1] == kBob;
        },
        "the editors"));
    EXPECT_EQ(ui.Page(CDlgItemProp::kPageEditors).Rows(CPageItemEditors::kIdcList)[0][4],
              CvsFolderName(other_));
    ui.Click(uifw::kIdOk);
}

// A file that is not under CVS, and a working copy whose server is not there: the listing
// fails, the list stays as it was, and the error message says why.
TEST(WatchFailure, FilesWhoseEditorsOrWatchersCannotBeListed) {
    testing_support::CvsRepository repo;
    if (!repo.Ready())
        GTEST_SKIP() << repo.Problem();
    testing_support::CvsSandbox sandbox;
    testing_support::EngineEnvironment env;
    env.Settings().SetCvsExePath(testing_support::CvsProgram());
    const std::string plain = NormalizePath(sandbox.Folder("plain"));
    testing_support::WriteFile(JoinPath(plain, "loose.txt"), "not under CVS\n");
    std::string unreachable = sandbox.Folder("unreachable");
    platform::RemoveEmptyFolder(unreachable);
    // Nothing listens on port 1 of the loopback.
    ASSERT_TRUE(repo.Checkout(":pserver:alice@127.0.0.1:1" + testing_support::UnixPath(repo.Path()),
                              unreachable));
    unreachable = NormalizePath(unreachable);

    auto context = env.MakeContext();
    context->SetCVSRoot(repo.LocalRoot());
    for (const std::string& file : {JoinPath(plain, "loose.txt"), JoinPath(unreachable, "a.txt")}) {
        SCOPED_TRACE(file);
        CCVSController controller(*context);
        std::vector<CCVSEditor> editors(1);
        EXPECT_FALSE(controller.GetEditors({file}, editors));
        EXPECT_EQ(editors.size(), 1u);
        EXPECT_THAT(controller.GetErrorMessage(), HasSubstr("editors"));
        std::vector<CCVSWatcher> watchers;
        EXPECT_FALSE(controller.GetWatchers({file}, watchers));
        EXPECT_TRUE(watchers.empty());
        EXPECT_THAT(controller.GetErrorMessage(), HasSubstr("watchers"));
    }
    context.reset();
    ClearEntriesCache();
    platform::SetCurrentFolder(testing_support::BinDir());
}

} // namespace
