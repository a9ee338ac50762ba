// The command context running the real cvs through the real client library, against a
// local repository, :fork: and a pserver on loopback.
#include "engine/CVSArgs.h"
#include "engine/CVSContext.h"
#include "engine/DlgStatus.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/EngineTestSupport.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using testing_support::EngineEnvironment;

using Method = testing_support::CvsMethod;

class ContextWithCvs : public testing::TestWithParam<Method> {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        if (GetParam() == Method::Pserver) {
            server_ = std::make_unique<testing_support::CvsPserver>(repo_);
            if (!server_->Ready())
                GTEST_SKIP() << server_->Problem();
            ASSERT_TRUE(server_->Login());
            root_ = server_->Root();
        } else {
            root_ = GetParam() == Method::Local ? repo_.LocalRoot() : repo_.ForkRoot();
        }
        work_ = sandbox_.Folder("work");
        platform::RemoveEmptyFolder(work_);
        std::string error;
        ASSERT_TRUE(repo_.Checkout(root_, work_, &error)) << error;
        context_ = env_.MakeContext();
        context_->SetCVSRoot(root_);
    }
    void TearDown() override {
        context_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }

    std::string File(const std::string& name) const { return JoinPath(NormalizePath(work_), name); }
    bool RunOn(std::initializer_list<const char*> items, const std::string& file) {
        args_.RemoveAll();
        for (const char* item : items)
            args_.Add(item);
        return context_->RunOnFiles(args_, {File(file)});
    }

    testing_support::CvsSandbox sandbox_;
    testing_support::CvsRepository repo_;
    std::unique_ptr<testing_support::CvsPserver> server_;
    EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string root_, work_;
    CCVSArgs args_;
};

INSTANTIATE_TEST_SUITE_P(Methods, ContextWithCvs,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         [](const testing::TestParamInfo<Method>& info) {
                             return testing_support::CvsMethodName(info.param);
                         });

TEST_P(ContextWithCvs, UpdateLogAndDiffReachThePaneLineByLine) {
    testing_support::WriteFile(File("a.txt"), "changed\n");
    EXPECT_TRUE(RunOn({"update", "-C"}, "a.txt"));
    const std::vector<std::string>& lines = env_.Pane().Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Current Directory: " + NormalizePath(work_));
    EXPECT_EQ(lines[1], "cvs update -C a.txt");
    EXPECT_TRUE(env_.Pane().Has("U a.txt")) << env_.Pane().All();
    EXPECT_NE(testing_support::ReadFile(File("a.txt")), "changed\n");

    env_.Pane().Clear();
    EXPECT_TRUE(RunOn({"log"}, "a.txt"));
    EXPECT_TRUE(env_.Pane().Has("cvs log a.txt"));
    for (const char* line : {"revision 1.3", "revision 1.2", "REL_1: 1.2", "Working file: a.txt"})
        EXPECT_TRUE(env_.Pane().Has(line)) << line << "\n" << env_.Pane().All();
    EXPECT_NE(context_->GetOutput().find("revision 1.1\n"), std::string::npos);

    testing_support::WriteFile(File("a.txt"), "a new last line\n");
    env_.Pane().Clear();
    EXPECT_FALSE(RunOn({"diff"}, "a.txt")); // cvs diff exits 1 when the file differs
    EXPECT_TRUE(env_.Pane().Has("> a new last line")) << env_.Pane().All();
    for (const std::string& line : env_.Pane().Lines()) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        EXPECT_NE(line.back(), ' ');
    }
}

// The pserver without a stored password: the command asks for a login, the controller logs
// in once, and the command runs again.
class PserverLogin : public testing::Test {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        server_ = std::make_unique<testing_support::CvsPserver>(repo_);
        if (!server_->Ready())
            GTEST_SKIP() << server_->Problem();
        env_.Settings().SetCvsExePath(testing_support::CvsProgram());
        work_ = sandbox_.Folder("work");
        context_ = env_.MakeContext();
        context_->SetCVSRoot(server_->Root());
    }
    void TearDown() override {
        context_.reset();
        platform::SetCurrentFolder(testing_support::BinDir());
    }

    // A controller that logs in the way the real one does: the password into the context,
    // then "-d ROOT login" through the same context.
    class LoggingIn : public CCVSContextCallBack {
    public:
        LoggingIn(CCVSContext& context, std::string password)
            : context_(context), password_(std::move(password)) {
            context_.SetController(this);
        }
        ~LoggingIn() override { context_.SetController(nullptr); }
        bool OnLoginRequired(const std::string& root) override {
            ++logins;
            context_.SetPassword(password_);
            CCVSArgs login;
            login.Add("-d");
            login.Add(root);
            login.Add("login");
            return context_.RunInFolder(".", login);
        }
        void OnPasswordRequest() override {}
        void OnYesNoQuestion() override {}
        int logins = 0;

    private:
        CCVSContext& context_;
        std::string password_;
    };

    bool List() {
        CCVSArgs args;
        args.Add("ls");
        args.Add("mod");
        return context_->RunInFolder(work_, args);
    }

    testing_support::CvsSandbox sandbox_;
    testing_support::CvsRepository repo_;
    std::unique_ptr<testing_support::CvsPserver> server_;
    EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string work_;
};

TEST_F(PserverLogin, ACommandThatNeedsALoginLogsInAndRunsAgain) {
    LoggingIn controller(*context_, server_->Password());
    EXPECT_TRUE(List()) << context_->GetErrorText();
    EXPECT_EQ(controller.logins, 1);
    EXPECT_NE(context_->GetOutput().find("a.txt"), std::string::npos) << context_->GetOutput();
    EXPECT_NE(testing_support::ReadFile(sandbox_.PassFile()).find(server_->Root()),
              std::string::npos);
    EXPECT_FALSE(platform::Exists(JoinPath(work_, ".cvspass")));
    // Logged in now: the next command needs no login.
    EXPECT_TRUE(List());
    EXPECT_EQ(controller.logins, 1);
}

TEST_F(PserverLogin, AWrongPasswordFailsWithoutASecondTry) {
    LoggingIn controller(*context_, "wrong");
    EXPECT_FALSE(List());
    EXPECT_EQ(controller.logins, 1);
    EXPECT_NE(context_->GetErrorText().find("authorization failed"), std::string::npos)
        << context_->GetErrorText();
}

// Cancel on the progress window, clicked on the window's own thread while a command waits
// for a server that never answers (its transport, a shell script, writes a mark and
// sleeps), ends the command; the context then runs the next command as usual. The click can
// only be served because the thread that runs the command goes on serving its windows.
TEST(ContextCancel, CancelEndsACommandWhoseServerNeverAnswers) {
    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    if (!repo.Ready())
        GTEST_SKIP() << repo.Problem();
    const std::string folder = sandbox.Folder("hang");
    testing_support::HangingServer server(folder);
    EngineEnvironment env;
    env.Settings().SetCvsExePath(testing_support::CvsProgram());
    auto context = env.MakeContext();
    context->SetCVSRoot(server.Root());
    context->SetActivity("Listing ...");
    CDlgStatus* status = context->GetProgressWindow();
    ASSERT_NE(status, nullptr);

    const auto ceiling = std::chrono::seconds(20);
    std::atomic<bool> clicked{false};
    std::string shown;
    std::thread user([&] {
        server.WaitUntilReached(ceiling);
        context->RunOnContextThread([&] {
            auto ui = env.Host().DriverFor(*status);
            clicked = ui.Click(CDlgStatus::kIdcCancel);
            shown = ui.Displayed(CDlgStatus::kIdcActivity);
        });
        if (!clicked)
            context->Abort(); // the command's thread never served the click: end the test
    });
    CCVSArgs args;
    args.Add("ls");
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_FALSE(context->RunInFolder(folder, args));
    const auto took = std::chrono::steady_clock::now() - begun;
    user.join();
    EXPECT_TRUE(clicked);
    EXPECT_LT(took, ceiling) // bench_context measures how quickly
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    EXPECT_EQ(shown, "Aborting Operation ...");
    EXPECT_EQ(status->Activity(), "Working ...");
    EXPECT_EQ(context->GetProgressWindow(), status);

    context->SetCVSRoot(repo.LocalRoot());
    args.RemoveAll();
    args.Add("ls");
    args.Add("mod");
    EXPECT_TRUE(context->RunInFolder(folder, args)) << context->GetErrorText();
    EXPECT_NE(context->GetOutput().find("a.txt"), std::string::npos) << context->GetOutput();
}

} // namespace
