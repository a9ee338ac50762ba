// ui/framework/HeadlessHost.cpp - dialogs played by tests or by scripted answers.
#include "ui/framework/HeadlessHost.h"

namespace uifw {
namespace {

std::string Describe(const MessageBoxRecord& box) {
    return "message box \"" + box.caption + "\" saying \"" + box.text + "\"";
}

} // namespace

HeadlessHost::HeadlessHost(FaultSink faults, bool install)
    : CMemoryHost(faults ? std::move(faults) : FaultSink(WriteToStandardError)) {
    if (install)
        installed_ = std::make_unique<ScopedHost>(*this);
}

HeadlessHost::~HeadlessHost() {
    installed_.reset();
    std::lock_guard<std::recursive_mutex> guard(lock_);
    for (const Expected& e : dialogs_)
        ReportFault("a dialog was expected but never opened" +
                    (e.caption.empty() ? std::string() : ": \"" + e.caption + "\""));
    if (!boxes_.empty())
        ReportFault(std::to_string(boxes_.size()) +
                    " message box answer(s) prepared but no box asked for them");
    if (!paths_.empty())
        ReportFault(std::to_string(paths_.size()) +
                    " folder or file answer(s) prepared but nothing asked for them");
}

void HeadlessHost::ExpectDialog(const std::string& caption, DialogScript play) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    dialogs_.push_back(Expected{caption, std::move(play)});
}

void HeadlessHost::ExpectMessageBox(int answer) {
    ExpectMessageBox([answer](const MessageBoxRecord&) { return answer; });
}

void HeadlessHost::ExpectMessageBox(BoxScript answer) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    boxes_.push_back(std::move(answer));
}

void HeadlessHost::ExpectPathRequest(std::optional<std::string> answer) {
    ExpectPathRequest([answer](const PathRequest&) { return answer; });
}

void HeadlessHost::ExpectPathRequest(PathScript answer) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    paths_.push_back(std::move(answer));
}

size_t HeadlessHost::PendingExpectations() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return dialogs_.size() + boxes_.size() + paths_.size();
}

std::optional<std::string> HeadlessHost::AnswerPathRequest(const PathRequest& request) {
    PathScript answer;
    ScriptedSource* scripted = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (!paths_.empty()) {
            answer = std::move(paths_.front());
            paths_.pop_front();
        }
        scripted = scripted_.get();
    }
    if (answer)
        return answer(request);
    if (scripted)
        return uifw::AnswerPathRequest(request, *scripted);
    ReportFault(std::string("unexpected ") +
                (request.kind == PathRequest::Kind::Folder ? "folder browser" : "file dialog") +
                " (nothing was prepared for it: ExpectPathRequest); it is cancelled");
    return std::nullopt;
}

void HeadlessHost::UseScriptedAnswers(ScriptedAnswers answers,
                                      std::function<void(const std::string&)> tell,
                                      std::function<void(const std::string&)> show) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    FaultSink faults = Faults();
    scripted_ = std::make_unique<ScriptedSource>(
        std::move(answers), tell ? std::move(tell) : WriteToStandardError,
        [faults](const std::string& message) { faults(message); }, std::move(show));
}

void HeadlessHost::PlayModal(DialogDriver& ui) {
    DialogScript play;
    ScriptedSource* scripted = nullptr;
    std::string expected;
    bool mismatch = false;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (!dialogs_.empty()) {
            Expected next = std::move(dialogs_.front());
            dialogs_.pop_front();
            mismatch = !next.caption.empty() && next.caption != ui.Caption();
            expected = next.caption;
            play = std::move(next.play);
        } else {
            scripted = scripted_.get();
        }
    }
    // The dialog is played without the lock: it may show boxes from other threads.
    if (mismatch) {
        ReportFault("dialog \"" + ui.Caption() + "\" opened where \"" + expected +
                    "\" was expected; it is closed with Cancel");
        ui.PressEscape();
    } else if (play) {
        play(ui);
    } else if (scripted) {
        PlayByPrompts(ui, *scripted);
    } else {
        ReportFault("unexpected dialog \"" + ui.Caption() +
                    "\" (nothing was prepared for it: ExpectDialog); it is closed with Cancel");
        ui.PressEscape();
    }
}

int HeadlessHost::MessageBox(platform::WindowHandle owner, const std::string& text,
                             const std::string& caption, unsigned style) {
    MessageBoxRecord box;
    box.owner = owner;
    box.text = text;
    box.caption = caption;
    box.style = style;
    BoxScript answer;
    {
        std::lock_guard<std::recursive_mutex> guard(lock_);
        if (!boxes_.empty()) {
            answer = std::move(boxes_.front());
            boxes_.pop_front();
        }
    }
    if (answer) {
        box.answer = answer(box);
        bool valid = false;
        for (int b : ButtonsOf(style))
            valid = valid || b == box.answer;
        if (!valid) {
            ReportFault(Describe(box) + " was answered with " + ButtonName(box.answer) +
                        ", which it does not offer");
            box.answer = SafeAnswer(style);
        }
    } else {
        ScriptedSource* scripted = nullptr;
        {
            std::lock_guard<std::recursive_mutex> guard(lock_);
            scripted = scripted_.get();
        }
        if (scripted) {
            box.answer = AnswerMessageBox(box, *scripted);
        } else {
            ReportFault("unexpected " + Describe(box) +
                        " (nothing was prepared for it: ExpectMessageBox)");
            box.answer = SafeAnswer(style);
        }
    }
    std::lock_guard<std::recursive_mutex> guard(lock_);
    shown_.push_back(box);
    return box.answer;
}

bool HeadlessHost::WaitUntil(const std::function<bool()>& done, const std::string& what,
                             std::chrono::milliseconds ceiling) {
    if (ServeUntil(done, ceiling))
        return true;
    ReportFault("waited " + std::to_string(ceiling.count() / 1000) + " s in vain for " + what);
    return false;
}

std::vector<MessageBoxRecord> HeadlessHost::MessageBoxes() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return shown_;
}

DialogSession HeadlessHost::Open(CDialog& dialog) {
    std::shared_ptr<CMemoryWindow> window = OpenModal(dialog);
    return DialogSession(*this, dialog, MakeDriver(window));
}

DialogSession::DialogSession(HeadlessHost& host, CDialog& dialog, DialogDriver driver)
    : DialogDriver(std::move(driver)), host_(&host), dialog_(&dialog) {}

DialogSession::DialogSession(DialogSession&& other) noexcept
    : DialogDriver(std::move(other)), host_(other.host_), dialog_(other.dialog_) {
    other.host_ = nullptr;
    other.dialog_ = nullptr;
}

DialogSession::~DialogSession() {
    if (host_ && dialog_ && IsOpen())
        host_->DestroyWindow(*dialog_);
}

} // namespace uifw
