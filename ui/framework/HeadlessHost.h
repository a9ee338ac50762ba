// ui/framework/HeadlessHost.h - the host for tests and automation: controls in memory, the
// user played by the test (or by scripted answers).
//
// A test prepares, in order, what the user will do with each modal dialog and message box
// that is going to open, runs the code, and reads what was shown:
//
//     uifw::HeadlessHost host(ReportTestFailure);   // installed while it lives
//     host.ExpectDialog("CVS Repository Login ...", [](uifw::DialogDriver& ui) {
//         ui.Type(kIdcPassword, "secret");
//         ui.Click(uifw::kIdOk);
//     });
//     host.ExpectMessageBox(uifw::kIdYes);
//     ... code that opens the dialog and asks the question ...
//     EXPECT_EQ(host.MessageBoxes()[0].caption, "CVS Alert");
//
// A dialog the test itself owns can be opened and played step by step instead:
//
//     CDlgPassword dialog(nullptr);
//     auto ui = host.Open(dialog);          // opened; OnInitDialog has run
//     EXPECT_TRUE(ui.IsReadOnly(kIdcCvsRoot));
//     ui.Click(uifw::kIdCancel);
//     EXPECT_EQ(ui.Result(), uifw::kIdCancel);
//
// Workers act on windows through the window's thread (OwnerThread.h); a test waits for what
// they do as a user would, with the dialog open:
//
//     host.WaitUntil([&] { return ui.Page(1).Rows(kIdcList).size() == 2; }, "the rows");
//
// A modal dialog or message box with nothing prepared is a fault: it is reported (the test
// fails with a message naming the dialog or the box) and closed with Cancel (a box with its
// safe answer), so the code under test goes on and nothing waits. Prepared answers never
// used are reported when the host goes. Given scripted answers (UseScriptedAnswers), the
// host plays what nothing was prepared for from them instead (Prompts.h): that is how a
// provider without a terminal answers its dialogs.
#pragma once

#include "ui/framework/MemoryHost.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/Prompts.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace uifw {

class DialogSession;

class HeadlessHost : public CMemoryHost {
public:
    // faults: where faults go (a test passes a function that fails the test); null: standard
    // error. install: whether the host is the process's host while it lives.
    explicit HeadlessHost(FaultSink faults = nullptr, bool install = true);
    ~HeadlessHost() override;

    using DialogScript = std::function<void(DialogDriver&)>;
    using BoxScript = std::function<int(const MessageBoxRecord&)>;

    // The next modal dialog: its caption must be the one given (empty: any dialog); the
    // script plays it and should end it.
    void ExpectDialog(const std::string& caption, DialogScript play);
    // The next message box: answered with answer, or by the function.
    void ExpectMessageBox(int answer);
    void ExpectMessageBox(BoxScript answer);
    // The next folder browser or file-open dialog: answered with the path (nothing: the
    // user cancels), or by the function.
    using PathScript = std::function<std::optional<std::string>(const PathRequest&)>;
    void ExpectPathRequest(std::optional<std::string> answer);
    void ExpectPathRequest(PathScript answer);
    // Prepared answers not used yet.
    size_t PendingExpectations() const;

    // Plays dialogs and boxes that nothing was prepared for from these answers; texts for
    // the user (message boxes) go to tell (null: standard error), and the tables of windows
    // of actions (Prompts.h), as scripts read them, to show (null: nowhere).
    void UseScriptedAnswers(ScriptedAnswers answers,
                            std::function<void(const std::string&)> tell = nullptr,
                            std::function<void(const std::string&)> show = nullptr);

    // Opens a dialog and leaves it open for the test to play; it is destroyed with the
    // session (or when it ends and the session goes).
    DialogSession Open(CDialog& dialog);

    // Waits as a dialog's thread waits for its user: serves what other threads send to this
    // thread's windows (a worker's rows, text for the output pane) until done() holds. False,
    // reported as a fault naming what, when the ceiling passes first.
    bool WaitUntil(const std::function<bool()>& done, const std::string& what,
                   std::chrono::milliseconds ceiling = std::chrono::minutes(2));

    // Every message box shown so far, with its answer.
    std::vector<MessageBoxRecord> MessageBoxes() const;

    int MessageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned style) override;

protected:
    void PlayModal(DialogDriver& ui) override;
    std::optional<std::string> AnswerPathRequest(const PathRequest& request) override;

private:
    friend class DialogSession;
    struct Expected {
        std::string caption;
        DialogScript play;
    };
    mutable std::recursive_mutex lock_;
    std::deque<Expected> dialogs_;
    std::deque<BoxScript> boxes_;
    std::deque<PathScript> paths_;
    std::vector<MessageBoxRecord> shown_;
    std::unique_ptr<ScriptedSource> scripted_;
    std::unique_ptr<ScopedHost> installed_;
};

// A dialog opened by HeadlessHost::Open: a driver that destroys the window when it goes.
class DialogSession : public DialogDriver {
public:
    DialogSession(DialogSession&& other) noexcept;
    ~DialogSession();
    DialogSession& operator=(DialogSession&&) = delete;

private:
    friend class HeadlessHost;
    DialogSession(HeadlessHost& host, CDialog& dialog, DialogDriver driver);
    HeadlessHost* host_;
    CDialog* dialog_;
};

} // namespace uifw
