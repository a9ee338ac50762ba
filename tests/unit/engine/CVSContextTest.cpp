// The command context against a stand-in for cvs: global options, environment, captures,
// error texts, the login retry, progress, text delivery, abort and bad executables.
#include "engine/CVSContext.h"
#include "engine/CVSArgs.h"
#include "engine/DlgStatus.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/framework/OwnerThread.h"
#include "workcopy/PathFunctions.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>

namespace {

using testing_support::EngineEnvironment;
using testing_support::FakeCvsPath;
using testing_support::ScopedEnv;
using testing_support::TempDir;

// How long an aborted command may take at most before a test calls it hung.
constexpr auto kCeiling = std::chrono::seconds(20);

CCVSArgs& Args(CCVSArgs& args, std::initializer_list<const char*> items) {
    args.RemoveAll();
    for (const char* item : items)
        args.Add(item);
    return args;
}

class ContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(FakeCvsPath());
        context_ = env_.MakeContext();
    }
    void TearDown() override { context_.reset(); }

    // What the output pane received so far.
    const std::vector<std::string>& PaneLines() { return env_.Pane().Lines(); }
    long PaneCount(const std::string& line) {
        return std::count(PaneLines().begin(), PaneLines().end(), line);
    }

    EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    CCVSArgs args_;
};

TEST_F(ContextTest, GlobalOptionsComeFirstInTheirOrder) {
    struct Case {
        bool compression;
        const char* level;
        bool trace;
        const char* echoed;
        std::vector<std::string> received; // after the library's own -f
    } const cases[] = {
        {true, "9", true, "cvs -t -z9 globals", {"-t", "-z9"}},
        {true, "0", true, "cvs -t globals", {"-t"}},
        {false, "3", true, "cvs globals", {}},
        {true, "3", false, "cvs -z3 globals", {"-z3"}},
        {true, "12345", false, "cvs -z12 globals", {"-z12"}}, // at most four characters
    };
    for (const Case& c : cases) {
        env_.Settings().SetUseCompression(c.compression);
        env_.Settings().SetCompressLevel(c.level);
        env_.Settings().SetUseCvsTrace(c.trace);
        env_.Pane().Clear();
        EXPECT_TRUE(context_->Run(Args(args_, {"globals"})));
        std::vector<std::string> expected{c.echoed, "-f"};
        expected.insert(expected.end(), c.received.begin(), c.received.end());
        EXPECT_EQ(PaneLines(), expected);
    }
}

TEST_F(ContextTest, OutputReachesThePaneLineByLineAndTheCapturesWhole) {
    EXPECT_TRUE(context_->Run(Args(args_, {"streams", "3"})));
    EXPECT_NE(context_->GetOutput().find("out 1\n"), std::string::npos);
    EXPECT_NE(context_->GetErrorCapture().find("err 2\n"), std::string::npos);
    EXPECT_EQ(context_->GetOutput().find("err"), std::string::npos);
    for (const char* line : {"out 0", "err 0", "out 1", "err 1", "out 2", "err 2"})
        EXPECT_TRUE(env_.Pane().Has(line)) << line;

    // Every byte reaches the capture, NUL included, and a last line without a line feed
    // still reaches the pane (which reads the text up to its NUL).
    env_.Pane().Clear();
    EXPECT_TRUE(context_->Run(Args(args_, {"nul"})));
    EXPECT_EQ(context_->GetOutput(), std::string("a\0b", 3));
    EXPECT_EQ(PaneLines(), (std::vector<std::string>{"cvs nul", "a"}));
}

// The pane gets whole lines however the chunks are cut and whichever streams they come on;
// each capture gets only its own stream's bytes.
TEST_F(ContextTest, ChunksOfEveryStreamMakeWholeLines) {
    const struct {
        const char* text;
        int stream;
    } chunks[] = {{"ab", 0}, {"c\nd", 1}, {"e", 2}, {"f\n \n", 0}, {"g", 0}, {"h\ni", 1}, {"", 0}};
    for (const auto& chunk : chunks)
        context_->OnConsoleText(chunk.text, std::strlen(chunk.text), chunk.stream);
    EXPECT_EQ(PaneLines(), (std::vector<std::string>{"abc", "def", "gh", "i"}));
    EXPECT_EQ(context_->GetOutput(), "abf\n \ng");
    EXPECT_EQ(context_->GetErrorCapture(), "c\ndh\ni");

    // Quiet: the captures still fill, and the pane gets nothing.
    env_.Pane().Clear();
    context_->SetQuiet(true);
    context_->OnConsoleText("quiet\nline", 10, 0);
    context_->OnConsoleText("", 0, 0);
    context_->SetQuiet(false);
    EXPECT_TRUE(PaneLines().empty());
    EXPECT_EQ(context_->GetOutput(), "abf\n \ngquiet\nline");
}

TEST_F(ContextTest, ErrorTextFromTheOutputCapture) {
    struct Case {
        const char* output;
        const char* errors;
        const char* text;
    } const cases[] = {
        {"", "plain failure\n", "plain failure\n"},
        {"", "", ""},
        {"cvs server: anything at all", "ignored", " : "},
        {"cvs server: cannot find module `x'\ncvs [checkout aborted]: cannot expand modules",
         "ignored", " cannot expand modules : cannot find module `x'"},
        {"cvs [checkout aborted]: end", "ignored", " end"},
    };
    for (const Case& c : cases) {
        CCVSContext fresh;
        fresh.OnConsoleText(c.output, std::strlen(c.output), 0);
        fresh.OnConsoleText(c.errors, std::strlen(c.errors), 1);
        EXPECT_EQ(fresh.GetErrorText(), c.text) << c.output;
    }
}

class FakeController : public CCVSContextCallBack {
public:
    explicit FakeController(CCVSContext& context) : context_(context) {
        context_.SetController(this);
    }
    ~FakeController() override { context_.SetController(nullptr); }
    bool OnLoginRequired(const std::string& root) override {
        roots.push_back(root);
        return loginSucceeds;
    }
    void OnPasswordRequest() override {
        ++passwordRequests;
        if (!password.empty())
            context_.SetPassword(password);
    }
    void OnYesNoQuestion() override {
        ++questions;
        context_.GetEnvironment()["CVSLIB_YESNO"] = answer;
    }
    std::vector<std::string> roots;
    bool loginSucceeds = true;
    int passwordRequests = 0;
    std::string password; // what the user types when asked; empty: nothing
    int questions = 0;
    std::string answer = "yes";

private:
    CCVSContext& context_;
};

TEST_F(ContextTest, LoginIsTriedOnceWhenTheFailureAsksForIt) {
    FakeController controller(*context_);
    context_->SetCVSRoot(":pserver:alice@127.0.0.1:2401/repo");
    struct Case {
        const char* text;
        bool login;
    } const cases[] = {
        {"cvs update: authorization failed: use \"cvs login\"", true},
        {"cvs login: only at the start", false},
        {"cvs login: at the start, then cvs login again", true},
        {"nothing about logging in", false},
    };
    for (const Case& c : cases) {
        controller.roots.clear();
        env_.Pane().Clear();
        EXPECT_FALSE(context_->Run(Args(args_, {"stderr", c.text})));
        EXPECT_EQ(controller.roots.size(), c.login ? 1u : 0u) << c.text;
        if (c.login) {
            EXPECT_EQ(controller.roots.front(), ":pserver:alice@127.0.0.1:2401/repo");
            // The command ran once more, and failed again: no further login.
            EXPECT_EQ(PaneCount(c.text), 2);
        }
    }
    controller.loginSucceeds = false;
    controller.roots.clear();
    env_.Pane().Clear();
    EXPECT_FALSE(context_->Run(Args(args_, {"stderr", "use cvs login"})));
    EXPECT_EQ(controller.roots.size(), 1u);
    EXPECT_EQ(PaneCount("use cvs login"), 1);
}

TEST_F(ContextTest, QuestionsAndPasswordsGoToTheController) {
    FakeController controller(*context_);
    EXPECT_TRUE(context_->Run(Args(args_, {"unedit"})));
    EXPECT_EQ(controller.questions, 1);
    EXPECT_NE(context_->GetOutput().find("answer=[y"), std::string::npos) << context_->GetOutput();

    controller.answer = "no";
    EXPECT_TRUE(context_->Run(Args(args_, {"unedit"})));
    EXPECT_NE(context_->GetOutput().find("answer=[n"), std::string::npos) << context_->GetOutput();
    EXPECT_EQ(controller.passwordRequests, 0);

    // The controller is asked for a password only while the context has none, and the
    // prompt is answered without ever reaching the pane.
    controller.password = "secret";
    for (int run = 0; run < 2; ++run) {
        EXPECT_TRUE(context_->Run(Args(args_, {"login"}))) << context_->GetErrorText();
        EXPECT_EQ(controller.passwordRequests, 1) << "run " << run;
        EXPECT_NE(context_->GetOutput().find("password=[secret]"), std::string::npos)
            << context_->GetOutput();
    }
    // Asked, the controller gives none: the login is not tried.
    context_->SetPassword("");
    controller.password.clear();
    EXPECT_FALSE(context_->Run(Args(args_, {"login"})));
    EXPECT_EQ(controller.passwordRequests, 2);
    EXPECT_EQ(context_->GetOutput().find("password="), std::string::npos);
    EXPECT_EQ(env_.Pane().All().find("CVS password"), std::string::npos) << env_.Pane().All();
}

TEST_F(ContextTest, AQuestionWithNobodyToAskIsAnsweredNo) {
    context_->GetEnvironment()["CVSLIB_YESNO"] = "yes"; // left from an earlier question
    EXPECT_TRUE(context_->Run(Args(args_, {"unedit"})));
    EXPECT_NE(context_->GetOutput().find("answer=[n"), std::string::npos) << context_->GetOutput();
}

TEST_F(ContextTest, RunOnFilesAndInFolders) {
    EXPECT_FALSE(context_->RunOnFiles(Args(args_, {"args"}), {}));
    EXPECT_TRUE(env_.Pane().Lines().empty());

    TempDir dir("ctx");
    const std::string file = dir / "a b.c";
    testing_support::WriteFile(file, "");
    EXPECT_TRUE(context_->RunOnFiles(Args(args_, {"env", "HOME"}), {file, dir / "other.c"}));
    const std::string folder = NormalizePath(dir.Path());
    EXPECT_EQ(PaneLines().front(), "Current Directory: " + folder);
    EXPECT_TRUE(env_.Pane().Has("cvs env HOME a b.c other.c"));
    EXPECT_NE(context_->GetOutput().find("HOME=" + folder + "\n"), std::string::npos)
        << context_->GetOutput();
    EXPECT_EQ(LookupValue(context_->GetEnvironment(), "HOME"), folder);
    EXPECT_EQ(NormalizePath(platform::GetCurrentFolder()), folder);
    platform::SetCurrentFolder(testing_support::BinDir());
}

// Run anywhere else, the command would act on other files, or on none while reporting
// success: it fails, names the folder, and cvs never starts.
TEST_F(ContextTest, AFolderThatCannotBeEnteredFailsTheRunBeforeCvsStarts) {
    TempDir dir("enter");
    testing_support::WriteFile(dir / "file.txt", "");
    const char sep = testing_support::Sep();
    struct Case {
        std::string file;
        std::string folder;
        const char* reason;
    } const cases[] = {
        {dir / "missing" + sep + "a.txt", dir / "missing", "does not exist"},
        {dir / "gone" + sep + "deeper" + sep + "a.txt", dir / "gone" + sep + "deeper",
         "does not exist"},
        {dir / "file.txt" + sep + "a.txt", dir / "file.txt", "cannot be entered"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(platform::SetCurrentFolder(dir.Path()));
        env_.Pane().Clear();
        EXPECT_FALSE(context_->RunOnFiles(Args(args_, {"args"}), {c.file})) << c.file;
        const std::string message =
            "The folder " + NormalizePath(c.folder) + " " + c.reason + "; the command was not run.";
        EXPECT_EQ(context_->GetErrorText(), message + "\n");
        EXPECT_EQ(PaneLines(), std::vector<std::string>{message});
        EXPECT_EQ(context_->GetOutput(), "");
        EXPECT_EQ(NormalizePath(platform::GetCurrentFolder()), NormalizePath(dir.Path()));
    }
    platform::SetCurrentFolder(testing_support::BinDir());
}

TEST_F(ContextTest, EnvironmentSeenByCvs) {
    ScopedEnv inheritedEditor("CVSEDITOR", nullptr);
    context_->GetEnvironment()["CVSEDITOR"] = "";
    context_->GetEnvironment()["VISUAL"] = "myeditor";
    env_.Settings().SetUseUnixLF(true);
    context_->SetCVSRoot(":local:/some/repo");
    EXPECT_TRUE(
        context_->Run(Args(args_, {"env", "CVSEDITOR", "VISUAL", "CVSUSEUNIXLF", "CVSROOT"})));
    EXPECT_NE(context_->GetOutput().find("CVSEDITOR unset\n"), std::string::npos)
        << context_->GetOutput();
    EXPECT_NE(context_->GetOutput().find("VISUAL=myeditor\n"), std::string::npos);
    EXPECT_NE(context_->GetOutput().find("CVSUSEUNIXLF=1\n"), std::string::npos);
    EXPECT_NE(context_->GetOutput().find("CVSROOT=:local:/some/repo\n"), std::string::npos);
    env_.Settings().SetUseUnixLF(false);
    EXPECT_TRUE(context_->Run(Args(args_, {"env", "CVSUSEUNIXLF"})));
    EXPECT_EQ(context_->GetEnvironment().count("CVSUSEUNIXLF"), 0u);
}

TEST_F(ContextTest, InitialEnvironment) {
    const CCVSStringMap& map = context_->GetEnvironment();
    EXPECT_EQ(LookupValue(map, "CVS_PSERVER_PORT"), "2401");
    EXPECT_EQ(LookupValue(map, "DIRTY_MCP"), "yes");
    EXPECT_EQ(LookupValue(map, "CVS_CLIENT_LOG"), platform::GetTempFolderPath());
    for (const char* name : {"VISUAL", "CVSREAD", "CVSEDITOR", "HOME", "CVSROOT", "CVS_GETPASS"}) {
        EXPECT_EQ(map.count(name), 1u) << name;
        EXPECT_EQ(LookupValue(map, name), "") << name;
    }
    {
        ScopedEnv rsh("CVS_RSH", nullptr);
        CCVSContext fresh;
        EXPECT_EQ(LookupValue(fresh.GetEnvironment(), "CVS_RSH"), "ssh");
    }
    ScopedEnv rsh("CVS_RSH", "rsh");
    CCVSContext fresh;
    EXPECT_EQ(fresh.GetEnvironment().count("CVS_RSH"), 0u);
    fresh.SetPassword("");
    EXPECT_EQ(fresh.GetEnvironment().count("CVS_GETPASS"), 1u);
    fresh.SetComment("  \t a comment \n");
    EXPECT_EQ(fresh.GetComment(), "a comment");
}

TEST_F(ContextTest, TextDeliveryTrimsAndDropsEmptyTexts) {
    context_->Echo("\n");
    context_->Echo("   \t ");
    context_->Echo("  padded text \r\n");
    EXPECT_EQ(PaneLines(), std::vector<std::string>{"padded text"});

    CCVSContext withoutPane;
    withoutPane.Echo("goes nowhere"); // no text-out procedure yet: dropped
    withoutPane.SetTextOut(&testing_support::OutputPane::TextOut);
    withoutPane.SetTextOut(nullptr); // only the first one counts
    withoutPane.Echo("arrives");
    EXPECT_TRUE(env_.Pane().Has("arrives"));

    // A text sent from another thread waits for the context's thread, which delivers it
    // when it serves (as it does whenever it waits); the sender waits until then.
    std::atomic<bool> returned{false};
    bool deliveredOnReturn = false;
    std::thread worker([&] {
        context_->Echo("from a worker");
        deliveredOnReturn = env_.Pane().Has("from a worker");
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    EXPECT_FALSE(env_.Pane().Has("from a worker"));
    EXPECT_TRUE(uifw::ServeUntil([&] { return returned.load(); }, kCeiling));
    worker.join();
    EXPECT_TRUE(deliveredOnReturn);
    EXPECT_EQ(env_.Pane().DeliveredBy("from a worker"), std::this_thread::get_id());
}

// A thousand texts from another thread, blank ones among them, arrive in the order sent, each
// delivered on the context's thread while it waits serving its windows. Where real windows
// exist they travel as the append-text message to the hidden message window.
TEST_F(ContextTest, AThousandTextsFromAnotherThreadArriveInOrderOnTheContextsThread) {
    EXPECT_EQ(context_->GetMessageWindow().Handle() != nullptr,
              testing_support::RunningUnderWine());
    std::atomic<bool> sent{false};
    std::thread worker([&] {
        for (int i = 0; i < 1000; ++i) {
            context_->Echo(" text " + std::to_string(i) + "\n");
            if (i % 100 == 0)
                context_->Echo(" \t\n");
        }
        sent = true;
    });
    EXPECT_TRUE(uifw::ServeUntil([&] { return sent.load(); }, kCeiling));
    worker.join();
    ASSERT_EQ(PaneLines().size(), 1000u);
    const std::thread::id self = std::this_thread::get_id();
    for (int i = 0; i < 1000; ++i) {
        const std::string line = "text " + std::to_string(i);
        ASSERT_EQ(PaneLines()[i], line);
        ASSERT_EQ(env_.Pane().DeliveredBy(line), self) << line;
    }
}

TEST_F(ContextTest, ProgressWindowOpensNamesTheActivityAndCloses) {
    context_->SetActivity("Updating file(s) ...");
    CDlgStatus* status = context_->GetProgressWindow();
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->Activity(), "Updating file(s) ...");
    EXPECT_EQ(status->GetCaption(), "Morvek CVS SCC");
    EXPECT_TRUE(status->IsWindowVisible());
    EXPECT_TRUE(context_->Run(Args(args_, {"exit", "0"})));
    EXPECT_EQ(context_->GetProgressWindow(), status);
    EXPECT_EQ(status->StatusText(), "cvs exit 0");

    // Another context meanwhile runs without one.
    auto other = env_.MakeContext();
    other->SetActivity("Checking out file(s) ...");
    EXPECT_EQ(other->GetProgressWindow(), nullptr);

    context_->ShowProgress(false);
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
    EXPECT_TRUE(CDlgStatus::NoProgressWindow());
    other->SetActivity("Checking out file(s) ...");
    EXPECT_NE(other->GetProgressWindow(), nullptr);
}

TEST_F(ContextTest, HiddenStatusUiOrQuietMeansNoProgressWindow) {
    env_.Settings().SetHideStatusUI(true);
    context_->SetActivity("Updating file(s) ...");
    context_->Echo("Updating file(s) ...");
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
    EXPECT_TRUE(env_.Pane().Has("Updating file(s) ..."));
    env_.Settings().SetHideStatusUI(false);

    context_->SetQuiet(true);
    EXPECT_TRUE(context_->Run(Args(args_, {"streams", "1"})));
    EXPECT_EQ(context_->GetProgressWindow(), nullptr);
    EXPECT_TRUE(env_.Pane().Has("cvs streams 1")); // the echo still goes out
    EXPECT_FALSE(env_.Pane().Has("out 0"));        // console text does not
}

// The progress window outlives one command: its Cancel ends each command it is pressed
// during, a second press is harmless, and one between commands leaves the next alone.
TEST_F(ContextTest, CancelStaysUsableAndEndsEachCommandItIsPressedDuring) {
    context_->SetActivity("Updating file(s) ...");
    CDlgStatus* status = context_->GetProgressWindow();
    ASSERT_NE(status, nullptr);
    auto ui = env_.Host().DriverFor(*status);
    for (int presses : {1, 2}) {
        SCOPED_TRACE(presses);
        TempDir dir("cancel");
        const std::string started = dir / "pids";
        // It may still be pressing when the command has ended: this thread serves it to
        // its end.
        testing_support::ServedWorker canceller([&] {
            const auto until = std::chrono::steady_clock::now() + kCeiling;
            while (!platform::Exists(started) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            // The window belongs to the context's thread: the click goes there, as a
            // user's click reaches the window's own thread.
            for (int k = 0; k < presses; ++k)
                EXPECT_TRUE(context_->RunOnContextThread([&] {
                    EXPECT_TRUE(env_.Host().DriverFor(*status).Click(CDlgStatus::kIdcCancel));
                }));
        });
        const auto begun = std::chrono::steady_clock::now();
        EXPECT_FALSE(context_->Run(Args(args_, {"tree", "60", started.c_str()})));
        canceller.Join();
        EXPECT_LT(std::chrono::steady_clock::now() - begun, kCeiling);
        EXPECT_TRUE(status->CancelRequested());
        EXPECT_EQ(status->Activity(), "Working ...");
        EXPECT_TRUE(ui.IsEnabled(CDlgStatus::kIdcCancel));
    }
    EXPECT_TRUE(ui.Click(CDlgStatus::kIdcCancel));
    EXPECT_TRUE(context_->Run(Args(args_, {"exit", "0"})));
}

TEST_F(ContextTest, AbortEndsALongCommand) {
    std::thread aborter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        context_->Abort();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(context_->Run(Args(args_, {"sleep", "60"})));
    const auto took = std::chrono::steady_clock::now() - started;
    aborter.join();
    EXPECT_LT(took, kCeiling); // bench_cvsglue measures how quickly
}

TEST_F(ContextTest, ExecutablesThatMisbehave) {
    EXPECT_TRUE(context_->Run(Args(args_, {"exit", "0"})));
    EXPECT_FALSE(context_->Run(Args(args_, {"exit", "3"})));
    EXPECT_EQ(context_->GetErrorText(), "");
    EXPECT_FALSE(context_->Run(Args(args_, {"stderr", "only the error stream"})));
    EXPECT_EQ(context_->GetErrorText(), "only the error stream\n\n");
    EXPECT_EQ(context_->GetOutput(), "");

    // A path with spaces is one program.
    TempDir dir("exe");
    const std::string spaced = dir / "folder with spaces";
    ASSERT_TRUE(platform::MakeFolder(spaced));
    const std::string copy = spaced + testing_support::Sep() + "fake cvs" +
                             (testing_support::RunningUnderWine() ? ".exe" : "");
    ASSERT_TRUE(platform::CopyFileTo(FakeCvsPath(), copy, false));
    env_.Settings().SetCvsExePath(copy);
    EXPECT_TRUE(context_->Run(Args(args_, {"args", "x"})));
    EXPECT_EQ(context_->GetOutput(), "1:x\n");

    // A missing one is named, and nothing runs.
    env_.Settings().SetCvsExePath(dir / "missing-cvs");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_FALSE(context_->Run(Args(args_, {"args", "x"})));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes()[0].text, "cvs.exe not found");
    EXPECT_EQ(env_.Host().MessageBoxes()[0].caption, "Morvek CVS SCC");
    EXPECT_EQ(context_->GetOutput(), "");
}

class LibraryResolution : public ContextTest {
protected:
    void SetMachineValue(const std::string& keyPath, const std::string& name,
                         const std::string& value) {
        platform::RegKey key = nullptr;
        ASSERT_EQ(platform::CreateRegKey(platform::RegHive::LocalMachine, keyPath, &key),
                  platform::kRegOk);
        if (!name.empty())
            platform::SetRegString(key, name, value);
        platform::FlushRegKey(key);
        platform::CloseRegKey(key);
    }
    std::string ProgramName() const {
        return testing_support::RunningUnderWine() ? "cvs.exe" : "cvs";
    }
    TempDir dir_{"resolve"};
};

TEST_F(LibraryResolution, CvsFromTheInstallKeyOrThePath) {
    env_.Settings().SetCvsExePath("");
    ScopedEnv path("PATH", dir_ / "empty-path");

    // No install key and nothing on PATH.
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_FALSE(context_->Run(Args(args_, {"args", "x"})));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes().back().text, "cvs.exe path could not be resolved.");

    // The key without InstallPath: cvs relative to the current folder, which has none.
    SetMachineValue("SOFTWARE\\CVS\\Pserver", "", "");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_FALSE(context_->Run(Args(args_, {"args", "x"})));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 2u);
    EXPECT_EQ(env_.Host().MessageBoxes().back().text, "cvs.exe not found");

    // The key's InstallPath names the folder of cvs.
    ASSERT_TRUE(platform::MakeFolder(dir_ / "install"));
    ASSERT_TRUE(platform::CopyFileTo(
        FakeCvsPath(), dir_ / "install" + testing_support::Sep() + ProgramName(), false));
    SetMachineValue("SOFTWARE\\CVS\\Pserver", "InstallPath", dir_ / "install");
    EXPECT_TRUE(context_->Run(Args(args_, {"args", "x"})));
    EXPECT_EQ(context_->GetOutput(), "1:x\n");

    // Without the key, the PATH is searched.
    platform::DeleteRegTree(platform::RegHive::LocalMachine, "SOFTWARE\\CVS");
    ScopedEnv found("PATH", dir_ / "install");
    EXPECT_TRUE(context_->Run(Args(args_, {"args", "y"})));
    EXPECT_EQ(context_->GetOutput(), "1:y\n");
}

// While a command runs, the current folder is the working copy: a cvs there (a decoy in a
// checkout) never runs, whether cvs comes from the setting, the PATH or the install key.
TEST_F(LibraryResolution, ACvsInTheWorkingFolderNeverRuns) {
    const char sep = testing_support::Sep();
    const char list = testing_support::RunningUnderWine() ? ';' : ':';
    for (const char* folder : {"configured", "listed", "work"}) {
        ASSERT_TRUE(platform::MakeFolder(dir_ / folder));
        ASSERT_TRUE(
            platform::CopyFileTo(FakeCvsPath(), dir_ / folder + sep + ProgramName(), false));
    }
    const std::string file = dir_ / "work" + sep + "a.txt";
    testing_support::WriteFile(file, "");
    // An empty entry, the current folder and a relative one: each would name the checkout.
    const std::string relative = std::string(1, list) + "." + list + "work" + list;
    struct Case {
        std::string setting; // CVSEXEPATH
        bool installKey;     // SOFTWARE\CVS\Pserver without InstallPath
        std::string path;
        const char* runs; // the folder of the cvs that runs; null: none
    } const cases[] = {
        {dir_ / "configured" + sep + ProgramName(), false, relative + dir_ / "listed",
         "configured"},
        {"", false, relative + dir_ / "listed", "listed"},
        {ProgramName(), false, relative + dir_ / "listed", "listed"},
        {"", true, relative, nullptr},
        {ProgramName(), false, relative, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting + " PATH=" + c.path);
        env_.Settings().SetCvsExePath(c.setting);
        ScopedEnv path("PATH", c.path);
        platform::DeleteRegTree(platform::RegHive::LocalMachine, "SOFTWARE\\CVS");
        if (c.installKey)
            SetMachineValue("SOFTWARE\\CVS\\Pserver", "", "");
        if (!c.runs) {
            env_.Host().ExpectMessageBox(uifw::kIdOk);
            EXPECT_FALSE(context_->RunOnFiles(Args(args_, {"self"}), {file}));
            ASSERT_FALSE(env_.Host().MessageBoxes().empty()) << context_->GetOutput();
            EXPECT_EQ(env_.Host().MessageBoxes().back().text, "cvs.exe not found");
            EXPECT_EQ(context_->GetOutput(), "");
            continue;
        }
        EXPECT_TRUE(context_->RunOnFiles(Args(args_, {"self"}), {file}));
        const std::string ran = context_->GetOutput();
        const std::string expected = sep + std::string(c.runs) + sep + ProgramName() + "\n";
        EXPECT_TRUE(ran.size() > expected.size() &&
                    ran.compare(ran.size() - expected.size(), expected.size(), expected) == 0)
            << ran;
    }
    platform::SetCurrentFolder(testing_support::BinDir());
}

TEST_F(LibraryResolution, AClientLibraryThatWillNotLoadFailsTheRunButNotTheProcess) {
    context_->GetLibrary().Unload();
    SetMachineValue("SOFTWARE\\Morvek\\VODORO", "SccServerPath",
                    dir_ / "nowhere" + testing_support::Sep() + "MorvekCVS.dll");
    env_.Host().ExpectMessageBox(uifw::kIdOk);
    EXPECT_FALSE(context_->Run(Args(args_, {"args", "x"})));
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    EXPECT_EQ(env_.Host().MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(env_.Host().MessageBoxes()[0].text.rfind("LoadLibrary failed with error ", 0), 0u)
        << env_.Host().MessageBoxes()[0].text;
    EXPECT_FALSE(CCVSLibrary::IsLibraryLoaded());

    // With the registration gone, the library beside the provider loads again.
    platform::DeleteRegTree(platform::RegHive::LocalMachine, "SOFTWARE\\Morvek");
    EXPECT_TRUE(context_->Run(Args(args_, {"args", "x"})));
}

} // namespace
