// scchost's properties and settings end to end: the watchers and editors of a file that two
// users edit and watch, as tables for scripts, with the user's own watch added and removed;
// and the settings dialog answered by the settings' names. Against a local repository,
// :fork: and a pserver.
#include "platform/FileSystem.h"
#include "settings/SccSettings.h"
#include "tests/e2e/ScchostByMethod.h"
#include "tests/support/CvsMethods.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::RunResult;
using Method = testing_support::CvsMethod;

constexpr const char* kAlice = "alice"; // scchost's user
constexpr const char* kBob = "bob";     // the other user, from a working copy of his own

class ScchostProperties : public e2e::ScchostByMethod {
protected:
    void SetUp() override {
        ScchostByMethod::SetUp();
        if (IsSkipped())
            return;
        if (GetParam() != Method::Pserver && !testing_support::CvsRepository::ActsAsNamedUsers())
            GTEST_SKIP() << "local and :fork: commands run as two users only for root";
        std::string bobRoot = root_;
        if (server_) {
            ASSERT_TRUE(server_->AddUser(kBob, "bobs"));
            ASSERT_TRUE(server_->Login(kBob, "bobs"));
            bobRoot = server_->Root(kBob);
        }
        work_ = Checkout("work", root_);
        other_ = Checkout("other", bobRoot);
    }
    std::string Checkout(const std::string& name, const std::string& root) {
        std::string folder = sandbox_.Folder(name);
        platform::RemoveEmptyFolder(folder);
        std::string error;
        EXPECT_TRUE(repo_.Checkout(root, folder, &error)) << error;
        return folder;
    }
    void As(const char* user, const std::vector<std::string>& args) {
        const RunResult r = repo_.Cvs(args, user == std::string(kBob) ? other_ : work_, user);
        ASSERT_EQ(r.status, 0) << r.err;
    }

    // scchost's cvs runs as alice on local and :fork: roots.
    testing_support::ScopedEnv logName_{"LOGNAME", kAlice}, user_{"USER", kAlice};
    std::string work_, other_;
};

INSTANTIATE_TEST_SUITE_P(Methods, ScchostProperties, testing_support::AllCvsMethods(),
                         e2e::MethodName);

TEST_P(ScchostProperties, TheListsOfTwoUsersAsTablesAndTheUsersOwnWatch) {
    // Bob edits the file (which watches it for the length of the edit) and watches it for
    // commits; alice's watch comes from scchost.
    As(kBob, {"edit", "a.txt"});
    As(kBob, {"watch", "add", "-a", "commit", "a.txt"});

    RunResult r = Scchost({"--answer", "watch=watch add", "properties", "a.txt"}, work_);
    ASSERT_EQ(r.status, 0) << r.err;
    // The watchers as they stand after the watch was added, then the editors.
    const std::string::size_type editors =
        r.out.find("Filename\tUsername\tDate/Time\tHostname\tWorking Directory\n");
    ASSERT_NE(editors, std::string::npos) << r.out;
    const std::string watchers = r.out.substr(0, editors);
    EXPECT_EQ(watchers.rfind("Filename\tUsername\tedit\tunedit\tcommit\n", 0), 0u) << r.out;
    EXPECT_THAT(watchers, HasSubstr("a.txt\talice\tyes\tyes\tyes\n"));
    EXPECT_THAT(watchers, HasSubstr("a.txt\tbob\tyes\tyes\tyes\n"));
    EXPECT_THAT(r.out.substr(editors), HasSubstr("\na.txt\tbob\t"));
    EXPECT_THAT(r.out.substr(editors), Not(HasSubstr(kAlice)));
    // The provider's output pane stays out of the tables.
    EXPECT_THAT(r.out, Not(HasSubstr("cvs watchers")));

    r = Scchost({"--answer", "watch=watch remove", "properties", "a.txt"}, work_);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, Not(HasSubstr(kAlice)));
    EXPECT_THAT(r.out, HasSubstr("a.txt\tbob\tyes\tyes\tyes\n"));
    EXPECT_THAT(repo_.Cvs({"watchers", "a.txt"}, work_).out, Not(HasSubstr(kAlice)));
}

TEST_P(ScchostProperties, AFileThatIsNotThereOrNotUnderCvs) {
    RunResult r = Scchost({"properties", "missing.txt"}, work_);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("missing.txt is no file"));
    // A file cvs does not know: nobody watches or edits it.
    testing_support::WriteFile(work_ + testing_support::Sep() + "loose.txt", "not added\n");
    r = Scchost({"properties", "loose.txt"}, work_);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Filename\tUsername\tedit\tunedit\tcommit\n"
                     "Filename\tUsername\tDate/Time\tHostname\tWorking Directory\n");
}

TEST(ScchostSettings, TheSettingsAreAnsweredByTheirNames) {
    testing_support::IsolatedUser user;
    RunResult r = e2e::RunScchost({"--ui", "headless", "--answer", "usecompression=yes", "--answer",
                                   "compresslevel=7", "settings"});
    ASSERT_EQ(r.status, 0) << r.err;
    CSccSettings stored;
    EXPECT_TRUE(stored.GetUseCompression());
    EXPECT_EQ(stored.GetCompressLevel(), "7");
    r = e2e::RunScchost({"settings", "extra"});
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("settings takes no arguments"));
}

} // namespace
