// The Win32 host on real windows (Wine under Xvfb): every dialog opened, filled through
// its controls' messages, its buttons pressed, its values checked, and a screenshot of each
// kept in the build folder (screenshots/NAME.png). Without a display (DISPLAY unset, as
// scripts/wine-run.sh runs every program but these) the tests skip.
#include "ui/framework/WindowsHost.h"
#include "engine/CVSArgs.h"
#include "engine/DlgStatus.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/NativeDialog.h"
#include "settings/SccSettings.h"
#include "tests/support/CvsEngineFixture.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "ui/DlgCmdOpts.h"
#include "ui/DlgComment.h"
#include "ui/DlgConnect.h"
#include "ui/DlgDiff.h"
#include "ui/DlgItemHistory.h"
#include "ui/DlgItemProp.h"
#include "ui/DlgModules.h"
#include "ui/DlgPassword.h"
#include "ui/DlgSettings.h"
#include "ui/DlgTagSelect.h"
#include "ui/PanelCvsOpts.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/OwnerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <thread>
#include <vector>

using namespace uifw;

namespace {

bool HasDisplay() {
    const std::optional<std::string> display = platform::GetEnvironmentValue("DISPLAY");
    return display && !display->empty();
}

// Writes the window as drawn now to screenshots/NAME.png beside the test programs.
void Shot(platform::WindowHandle window, const std::string& name) {
    const std::string folder = std::string(MORVEK_SCREENSHOT_DIR);
    platform::MakeFolderTree(folder);
    platform::ServeNativeMessages();
    platform::RedrawNativeWindow(window);
    EXPECT_TRUE(platform::SaveNativeWindowImage(window, folder + "/" + name + ".png")) << name;
}

// Waits as a person at the window does: the window's messages and what workers send to it
// are served meanwhile. False when the ceiling passes first.
bool WaitFor(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        platform::ServeNativeMessages();
        ServeThisThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The user at the windows: what to do with each modal dialog, by its caption.
class WindowsUser {
public:
    using Play = std::function<void(CDialog&)>;
    explicit WindowsUser(CWindowsHost& host) {
        host.SetModalObserver([this](CDialog& dialog) {
            auto it = plays_.find(dialog.GetCaption());
            if (it == plays_.end()) {
                ADD_FAILURE() << "unexpected dialog \"" << dialog.GetCaption() << "\"";
                platform::ClickNativeButton(dialog.Handle(), kIdCancel);
                return;
            }
            Play play = std::move(it->second);
            plays_.erase(it);
            play(dialog);
        });
    }
    void Expect(const std::string& caption, Play play) { plays_[caption] = std::move(play); }
    bool AllPlayed() const { return plays_.empty(); }

private:
    std::map<std::string, Play> plays_;
};

// Answers the next message box with that caption from a thread of its own, as a person
// would, and keeps its text.
class BoxAnswerer {
public:
    BoxAnswerer(std::string caption, int answer)
        : thread_([this, caption = std::move(caption), answer] {
              const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
              while (!stop_ && std::chrono::steady_clock::now() < until) {
                  if (platform::WindowHandle box = platform::FindNativeMessageBox(caption)) {
                      text_ = platform::NativeMessageBoxText(box);
                      Shot(box, shotName_);
                      platform::AnswerNativeMessageBox(box, answer);
                      answered_ = true;
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    void ShotAs(const std::string& name) { shotName_ = name; }
    bool Answered() const { return answered_; }
    const std::string& Text() const { return text_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::string text_;
    std::string shotName_ = "messagebox";
    std::thread thread_;
};

class WindowsHostTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HasDisplay())
            GTEST_SKIP() << "no display (MORVEK_TEST_DISPLAY names one for these tests)";
        ASSERT_TRUE(CWindowsHost::Available()) << "a display is set but no window can be made";
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        scoped_ = std::make_unique<ScopedHost>(host_);
    }
    void TearDown() override {
        scoped_.reset();
        context_.reset();
        EXPECT_TRUE(user_.AllPlayed());
    }

    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    CWindowsHost host_;
    WindowsUser user_{host_};
    std::unique_ptr<ScopedHost> scoped_;
};

// One modal dialog: how to make it, what the user does (the screenshot is taken first),
// and what the dialog holds afterwards.
struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<CDialog>(CCVSContext&)> make;
    std::function<void(CDialog&)> fill;
    int press;
    int result;
    std::function<void(CDialog&)> check;
};

template <class T> T& As(CDialog& d) {
    return dynamic_cast<T&>(d);
}

TEST_F(WindowsHostTest, EveryDialogOpensFillsAndClosesOnARealWindow) {
    const DialogCase cases[] = {
        {"login",
         [](CCVSContext&) {
             auto d = std::make_unique<CDlgPassword>(nullptr);
             d->SetCvsRoot(":pserver:anna@127.0.0.1:/repo");
             return d;
         },
         [](CDialog& d) {
             EXPECT_TRUE(platform::IsNativeReadOnly(d.Handle(), CDlgPassword::kIdcCvsRoot));
             EXPECT_EQ(platform::NativeFocus(d.Handle()), CDlgPassword::kIdcCvsRoot);
             platform::SetNativeText(d.Handle(), CDlgPassword::kIdcPassword, "secret");
         },
         kIdOk, kIdOk,
         [](CDialog& d) {
             EXPECT_EQ(As<CDlgPassword>(d).GetPassword(), "secret");
             EXPECT_EQ(As<CDlgPassword>(d).GetCvsRoot(), ":pserver:anna@127.0.0.1:/repo");
         }},
        {"login_cancel", [](CCVSContext&) { return std::make_unique<CDlgPassword>(nullptr); },
         [](CDialog& d) {
             platform::SetNativeText(d.Handle(), CDlgPassword::kIdcPassword, "typed");
         },
         kIdCancel, kIdCancel,
         [](CDialog& d) { EXPECT_EQ(As<CDlgPassword>(d).GetPassword(), ""); }},
        {"comment", [](CCVSContext&) { return std::make_unique<CDlgComment>(nullptr); },
         [](CDialog& d) {
             platform::SetNativeText(d.Handle(), CDlgComment::kIdcComment, "Fixed the fault");
             platform::ClickNativeButton(d.Handle(), CDlgComment::kIdcDoNotDisplay);
         },
         kIdOk, kIdOk,
         [](CDialog& d) {
             EXPECT_EQ(As<CDlgComment>(d).GetComment(), "Fixed the fault");
             EXPECT_TRUE(As<CDlgComment>(d).GetDoNotDisplay());
         }},
        {"getoptions",
         [](CCVSContext& c) {
             return std::make_unique<CDlgGetCmdOpts>(c, CDlgGetCmdOpts::kCaption, nullptr);
         },
         [](CDialog& d) {
             platform::WindowHandle page = As<CDlgGetCmdOpts>(d).Options().Handle();
             EXPECT_FALSE(platform::IsNativeControlEnabled(page, CPageUpdateOpts::kIdcTag));
             platform::ClickNativeButton(page, CPageUpdateOpts::kIdcByTag);
             EXPECT_TRUE(platform::IsNativeControlEnabled(page, CPageUpdateOpts::kIdcTag));
             platform::SetNativeText(page, CPageUpdateOpts::kIdcTag, "REL_1");
             platform::ClickNativeButton(page, CPageUpdateOpts::kIdcPruneEmpty);
         },
         kIdOk, kIdOk,
         [](CDialog& d) {
             // The next opening shows what OK stored.
             EXPECT_FALSE(As<CDlgGetCmdOpts>(d).Options().IsRealised());
         }},
        {"checkinoptions",
         [](CCVSContext& c) {
             return std::make_unique<CDlgCheckInOpts>(c, CDlgCheckInOpts::kCaption, nullptr);
         },
         [](CDialog& d) {
             platform::WindowHandle page = As<CDlgCheckInOpts>(d).Options().Handle();
             platform::ClickNativeButton(page, CPageCheckinOpts::kIdcCommitBranch);
             EXPECT_TRUE(platform::IsNativeControlEnabled(page, CPageCheckinOpts::kIdcBranch));
             platform::SetNativeText(page, CPageCheckinOpts::kIdcBranch, "BR1");
         },
         kIdCancel, kIdCancel, nullptr},
        {"tagselect",
         [](CCVSContext& c) {
             auto d = std::make_unique<CDlgTagSelect>(c, nullptr);
             d->SetPath(testing_support::BinDir());
             return d;
         },
         [](CDialog& d) {
             ASSERT_GE(platform::NativeListRowCount(d.Handle(), CDlgTagSelect::kIdcTags), 2);
             platform::NativeListSetSelected(d.Handle(), CDlgTagSelect::kIdcTags, 1, true);
         },
         kIdOk, kIdOk, [](CDialog& d) { EXPECT_FALSE(As<CDlgTagSelect>(d).GetTag().empty()); }},
    };
    testing_support::FakeCvsPlay play;
    play.Set("log", "RCS file: /repo/mod/a.txt,v\nWorking file: a.txt\nhead: 1.3\n"
                    "symbolic names:\n\tBR_FIX: 1.3.0.2\n\tREL_1: 1.2\n"
                    "keyword substitution: kv\ntotal revisions: 3\n"
                    "=============================================================\n");
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDialog> dialog = c.make(*context_);
        user_.Expect(dialog->Template().Caption(), [&c](CDialog& d) {
            EXPECT_TRUE(platform::IsNativeWindowVisible(d.Handle()));
            c.fill(d);
            Shot(d.Handle(), c.name);
            platform::ClickNativeButton(d.Handle(), c.press);
        });
        EXPECT_EQ(dialog->DoModal(), c.result);
        EXPECT_FALSE(dialog->IsRealised());
        if (c.check)
            c.check(*dialog);
    }
}

TEST_F(WindowsHostTest, TheSettingsDialogShowsEachPanelAndStoresWhatOkReads) {
    CDlgSettings dialog(context_.get(), nullptr);
    const bool before = env_.Settings().GetWarnOnEdit();
    user_.Expect("Morvek CVS SCC :> Settings", [&](CDialog&) {
        const std::vector<std::string> names = {"settings_cvs", "settings_tools",
                                                "settings_comments", "settings_about"};
        CTreeView tree = dialog.Tree(CDlgSettings::kIdcTree);
        const std::vector<CWindowBase*> panels = {&dialog.CvsOpts(), &dialog.DiffCfg(),
                                                  &dialog.CommentOpts(), &dialog.ProdInfo()};
        TreeItem item = tree.GetRootItem();
        for (size_t i = 0; i < names.size() && item; ++i, item = tree.GetNextSiblingItem(item)) {
            tree.SelectItem(item); // through the tree's own notification
            EXPECT_EQ(tree.GetItemImage(item), static_cast<int>(i)) << names[i];
            for (size_t k = 0; k < panels.size(); ++k)
                EXPECT_EQ(platform::IsNativeWindowVisible(panels[k]->Handle()), k == i) << names[i];
            Shot(dialog.Handle(), names[i]);
        }
        EXPECT_EQ(platform::NativeTreeImageCount(dialog.Handle(), CDlgSettings::kIdcTree), 4);
        tree.SelectItem(tree.GetRootItem());
        platform::ClickNativeButton(dialog.CvsOpts().Handle(), CPanelCvsOpts::kIdcWarnOnEdit);
        platform::ClickNativeButton(dialog.Handle(), kIdOk);
    });
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(env_.Settings().GetWarnOnEdit(), !before);
}

TEST_F(WindowsHostTest, MessageBoxesAreTheSystemsWithTheirCaptionAndAnswer) {
    const struct {
        unsigned style;
        int answer;
        const char* name;
    } cases[] = {
        {kMbOk | kMbIconInformation, kIdOk, "messagebox_ok"},
        {kMbYesNo | kMbIconQuestion, kIdNo, "messagebox_yesno"},
        {kMbYesNoCancel | kMbIconWarning, kIdYes, "messagebox_yesnocancel"},
    };
    for (const auto& c : cases) {
        BoxAnswerer answerer("CVS Alert", c.answer);
        answerer.ShotAs(c.name);
        EXPECT_EQ(ShowMessageBox(nullptr, "The file is checked out.", "CVS Alert", c.style),
                  c.answer)
            << c.name;
        EXPECT_EQ(answerer.Text(), "The file is checked out.");
    }
}

TEST_F(WindowsHostTest, TheProgressWindowShowsItsTextsAndCancelAsksToStop) {
    auto* status = new CDlgStatus(context_.get(), nullptr); // deletes itself with its window
    std::atomic<int> hooks{0};
    status->SetCancelHook([&] { ++hooks; });
    ASSERT_TRUE(status->Open());
    platform::WindowHandle window = status->Handle();
    EXPECT_TRUE(platform::IsNativeWindowVisible(window));
    EXPECT_EQ(platform::NativeCaption(window), "Morvek CVS SCC");
    status->SetActivity("Updating file(s) ...");
    status->SetStatusText("cvs -z9 update -d\nmod");
    EXPECT_EQ(platform::NativeText(window, CDlgStatus::kIdcActivity), "Updating file(s) ...");
    EXPECT_EQ(platform::NativeText(window, CDlgStatus::kIdcStatus), "cvs -z9 update -dmod");
    // The clip is in the module's resources and the control can read it.
    EXPECT_TRUE(platform::NativeAnimationOpen(window, CDlgStatus::kIdcAnimation,
                                              CDlgStatus::kIdrAnimation));
    platform::NativeAnimationPlay(window, CDlgStatus::kIdcAnimation, 0, 0xFFFF, -1);
    WaitFor([until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300)] {
        return std::chrono::steady_clock::now() > until;
    });
    Shot(window, "progress");
    platform::ClickNativeButton(window, CDlgStatus::kIdcCancel);
    EXPECT_EQ(hooks.load(), 1);
    EXPECT_TRUE(status->CancelRequested());
    EXPECT_EQ(status->Activity(), "Working ...");
    EXPECT_FALSE(CDlgStatus::NoProgressWindow());
    status->DestroyWindow();
    EXPECT_TRUE(CDlgStatus::NoProgressWindow());
}

// Stopping a command from the real progress window while it waits for a server that never
// answers (its transport, a shell script, writes a mark and sleeps): a person's clicks and
// keys are queued from another thread, as input arrives, and are served only because the
// thread running the command goes on serving its windows. The command ends, the window asks
// to stop exactly once (Enter on no button asks nothing), and the context runs the next one.
enum class KeyTarget {
    Window, // the window itself, as when no control has the focus
    Focus,  // the control that has the focus now
    Cancel, // the focus, once it has reached the Cancel button
};
struct UserStep {
    platform::NativeKey key;
    KeyTarget target;
};
struct WayToStop {
    const char* name;
    std::vector<UserStep> keys; // none: a click on Cancel
};
void PrintTo(const WayToStop& way, std::ostream* out) {
    *out << way.name;
}

class WindowsProgressCancel : public testing::TestWithParam<WayToStop> {};

TEST_P(WindowsProgressCancel, StoppingOnTheWindowEndsACommandWhoseServerNeverAnswers) {
    if (!HasDisplay())
        GTEST_SKIP() << "no display";
    testing_support::CvsSandbox sandbox;
    testing_support::CvsRepository repo;
    if (!repo.Ready())
        GTEST_SKIP() << repo.Problem();
    const std::string folder = sandbox.Folder("hang");
    testing_support::HangingServer server(folder);
    testing_support::EngineEnvironment env;
    CWindowsHost host; // over the environment's own
    ScopedHost scoped(host);
    env.Settings().SetCvsExePath(testing_support::CvsProgram());
    auto context = env.MakeContext();
    context->SetCVSRoot(server.Root());
    context->SetActivity("Listing ...");
    CDlgStatus* status = context->GetProgressWindow();
    ASSERT_NE(status, nullptr);
    std::atomic<int> asks{0};
    CCVSContext* running = context.get();
    status->SetCancelHook([&asks, running] {
        ++asks;
        running->Abort();
    });
    const platform::WindowHandle window = status->Handle();
    ASSERT_TRUE(platform::IsNativeWindowVisible(window));

    const auto ceiling = std::chrono::seconds(20);
    std::atomic<bool> commandEnded{false};
    std::atomic<bool> focusReachedCancel{true};
    std::atomic<bool> stoppedByTheUser{true};
    std::chrono::steady_clock::time_point lastInputAt;
    const auto within = [&](const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + ceiling;
        while (!done() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return done();
    };
    std::thread user([&] {
        server.WaitUntilReached(ceiling);
        const WayToStop& way = GetParam();
        if (way.keys.empty())
            platform::PostNativeButtonClick(window, CDlgStatus::kIdcCancel);
        for (const UserStep& step : way.keys) {
            if (step.target == KeyTarget::Cancel &&
                !within([&] { return platform::NativeFocus(window) == CDlgStatus::kIdcCancel; }))
                focusReachedCancel = false;
            const int to = step.target == KeyTarget::Window ? 0 : platform::NativeFocus(window);
            platform::PostNativeKey(window, to, step.key);
        }
        lastInputAt = std::chrono::steady_clock::now();
        // Should the input not stop it, the command would wait for ever: the button ends it,
        // and the test fails.
        if (!within([&] { return commandEnded.load(); })) {
            stoppedByTheUser = false;
            platform::PostNativeButtonClick(window, CDlgStatus::kIdcCancel);
        }
    });
    CCVSArgs args;
    args.Add("ls");
    EXPECT_FALSE(context->RunInFolder(folder, args));
    const auto ended = std::chrono::steady_clock::now();
    commandEnded = true;
    user.join();
    EXPECT_TRUE(focusReachedCancel) << "Tab did not bring the focus to Cancel";
    EXPECT_TRUE(stoppedByTheUser) << "the input did not stop the command";
    std::printf(
        "[ measured ] input to return: %lld ms\n",
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(ended - lastInputAt).count()));
    EXPECT_TRUE(status->CancelRequested());
    EXPECT_EQ(status->Activity(), "Working ...");

    context->SetCVSRoot(repo.LocalRoot());
    args.RemoveAll();
    args.Add("ls");
    args.Add("mod");
    EXPECT_TRUE(context->RunInFolder(folder, args)) << context->GetErrorText();
    EXPECT_NE(context->GetOutput().find("a.txt"), std::string::npos) << context->GetOutput();
    EXPECT_EQ(asks.load(), 1);
}

using platform::NativeKey;
INSTANTIATE_TEST_SUITE_P(
    Ways, WindowsProgressCancel,
    testing::Values(
        WayToStop{"ClickOnCancel", {}},
        WayToStop{"EscapeOnTheFocusedControl", {{NativeKey::Escape, KeyTarget::Focus}}},
        WayToStop{"EscapeWithTheFocusOnNoControl", {{NativeKey::Escape, KeyTarget::Window}}},
        WayToStop{"TabToCancelThenSpace",
                  {{NativeKey::Tab, KeyTarget::Focus}, {NativeKey::Space, KeyTarget::Cancel}}},
        WayToStop{"TabToCancelThenEnter",
                  {{NativeKey::Tab, KeyTarget::Focus}, {NativeKey::Enter, KeyTarget::Cancel}}},
        WayToStop{"EnterOnNoButtonThenEscape",
                  {{NativeKey::Enter, KeyTarget::Focus},
                   {NativeKey::Enter, KeyTarget::Window},
                   {NativeKey::Escape, KeyTarget::Window}}}),
    [](const testing::TestParamInfo<WayToStop>& info) { return std::string(info.param.name); });

// The login through its window, against a pserver: the connect dialog's connection test
// asks for the password, and the success box follows.
class WindowsLoginTest : public testing_support::CvsEngineFixture {
protected:
    void SetUp() override {
        if (!HasDisplay())
            GTEST_SKIP() << "no display";
        CvsEngineFixture::SetUp();
        scoped_ = std::make_unique<ScopedHost>(host_);
    }
    void TearDown() override { scoped_.reset(); }

    CWindowsHost host_;
    WindowsUser user_{host_};
    std::unique_ptr<ScopedHost> scoped_;
};

TEST_P(WindowsLoginTest, TheLoginTypedIntoItsWindowLogsInToThePserver) {
    CDlgConnect dialog(nullptr);
    dialog.SetContext(context_.get());
    BoxAnswerer answerer("Morvek :> Connection Test", kIdOk);
    answerer.ShotAs("connect_success");
    user_.Expect("CVS Repository Login ...", [&](CDialog& login) {
        platform::SetNativeText(login.Handle(), CDlgPassword::kIdcPassword, server_->Password());
        Shot(login.Handle(), "login_pserver");
        platform::ClickNativeButton(login.Handle(), kIdOk);
    });
    user_.Expect("Connect to Repository/Module ...", [&](CDialog& d) {
        platform::SetNativeText(d.Handle(), CDlgConnect::kIdcCvsRoot, root_);
        platform::SetNativeText(d.Handle(), CDlgConnect::kIdcModule, "mod");
        Shot(d.Handle(), "connect");
        platform::ClickNativeButton(d.Handle(), CDlgConnect::kIdcVerify);
        platform::ClickNativeButton(d.Handle(), kIdCancel);
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.Text(), "Successfully connected to " + root_ + ".");
    EXPECT_TRUE(user_.AllPlayed());
}

INSTANTIATE_TEST_SUITE_P(Methods, WindowsLoginTest,
                         testing::Values(testing_support::CvsMethod::Pserver),
                         testing_support::CvsMethodParamName);

// The dialogs that read a working copy and its repository: the revision history, the
// diff's revision choice, the properties with their lists loaded by workers, and the
// module browser.
class WindowsWorkingCopyTest : public testing_support::CvsWorkingCopyFixture {
protected:
    void SetUp() override {
        if (!HasDisplay())
            GTEST_SKIP() << "no display";
        CvsWorkingCopyFixture::SetUp();
        scoped_ = std::make_unique<ScopedHost>(host_);
    }
    void TearDown() override {
        scoped_.reset();
        CvsWorkingCopyFixture::TearDown();
    }

    CWindowsHost host_;
    WindowsUser user_{host_};
    std::unique_ptr<ScopedHost> scoped_;
};

TEST_P(WindowsWorkingCopyTest, TheDialogsOfAWorkingCopyShowWhatCvsReports) {
    const std::string file = In(work_, "a.txt");
    const DialogCase cases[] = {
        {"history",
         [&](CCVSContext& c) {
             return std::make_unique<CDlgItemHistory>(c, "History", std::vector<std::string>{file});
         },
         [](CDialog& d) {
             CPageItemRevHist& page = As<CDlgItemHistory>(d).Revisions();
             ASSERT_TRUE(WaitFor([&] { return !page.IsBusy(); }));
             // 1.3, 1.2, 1.1, the import's 1.1.1.1 and the branch's 1.2.2.1.
             EXPECT_EQ(platform::NativeListRowCount(page.Handle(), CPageItemRevHist::kIdcRevisions),
                       5);
         },
         kIdCancel, kIdCancel, nullptr},
        {"diff", [&](CCVSContext& c) { return std::make_unique<CDlgDiff>(c, file, nullptr); },
         [](CDialog& d) {
             ASSERT_GE(platform::NativeComboCount(d.Handle(), CDlgDiff::kIdcRevision), 3);
             platform::ChooseNativeComboItem(d.Handle(), CDlgDiff::kIdcRevision, 1);
         },
         kIdOk, kIdOk,
         [](CDialog& d) { EXPECT_FALSE(As<CDlgDiff>(d).GetEntry().revision.empty()); }},
        {"properties_editors",
         [&](CCVSContext& c) {
             return std::make_unique<CDlgItemProp>(c, "a.txt Properties", file, nullptr);
         },
         [](CDialog& d) {
             // Each tab's page, its list loaded; the last one is shot with the others.
             auto& sheet = As<CDlgItemProp>(d);
             const std::pair<int, const char*> tabs[] = {
                 {CDlgItemProp::kPageGeneral, "properties_general"},
                 {CDlgItemProp::kPageWatchers, "properties_watchers"},
                 {CDlgItemProp::kPageEditors, nullptr}};
             for (const auto& [index, name] : tabs) {
                 platform::ChooseNativeTab(d.Handle(), CWindowsHost::kSheetTabId, index);
                 EXPECT_EQ(sheet.ActiveIndex(), index);
                 CPropertyPage& page = sheet.Page(index);
                 EXPECT_TRUE(WaitFor([&] { return page.IsCreated() && !page.IsBusy(); }));
                 EXPECT_TRUE(platform::IsNativeWindowVisible(page.Handle()));
                 if (name)
                     Shot(d.Handle(), name);
             }
         },
         kIdOk, kIdOk, nullptr},
        {"modules",
         [&](CCVSContext& c) {
             auto d = std::make_unique<CDlgModules>(nullptr);
             d->SetContext(&c);
             d->SetCvsRoot(root_);
             return d;
         },
         [](CDialog& d) {
             CTreeView tree = d.Tree(CDlgModules::kIdcTree);
             TreeItem item = tree.GetChildItem(tree.GetRootItem());
             while (item && tree.GetItemText(item) != "mod")
                 item = tree.GetNextSiblingItem(item);
             ASSERT_NE(item, kTreeNone);
             tree.SelectItem(item);
         },
         kIdOk, kIdOk,
         [](CDialog& d) { EXPECT_EQ(As<CDlgModules>(d).GetSelectedModule(), "mod"); }},
    };
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDialog> dialog = c.make(*context_);
        user_.Expect(dialog->Template().Caption(), [&c](CDialog& d) {
            c.fill(d);
            Shot(d.Handle(), c.name);
            platform::ClickNativeButton(d.Handle(), c.press);
        });
        EXPECT_EQ(dialog->DoModal(), c.result);
        if (c.check)
            c.check(*dialog);
    }
    EXPECT_TRUE(user_.AllPlayed());
}

INSTANTIATE_TEST_SUITE_P(Methods, WindowsWorkingCopyTest,
                         testing::Values(testing_support::CvsMethod::Local),
                         testing_support::CvsMethodParamName);

} // namespace
