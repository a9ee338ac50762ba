// engine/CVSContext.cpp - running one cvs command on a context.
#include "engine/CVSContext.h"

#include "engine/CVSArgs.h"
#include "engine/DlgStatus.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Window.h"
#include "settings/SccSettings.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/OwnerThread.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <cstring>

namespace {

constexpr const char* kWhiteSpace = " \t\r\n\v\f";
// The markers of a server's refusal in the output capture (see ErrorTextOf).
const std::string kServer = "cvs server:";
const std::string kAborted = "cvs [checkout aborted]:";

std::string Trimmed(const std::string& text) {
    const std::string::size_type first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    const std::string::size_type last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

} // namespace

CCVSContext::CCVSContext(platform::WindowHandle window)
    : library_(std::make_unique<CCVSLibrary>()),
      parentWindow_(platform::IsVisibleWindow(window) ? window : platform::DesktopWindow()) {
    library_->SetOwner(this);
    environment_["CVS_PSERVER_PORT"] = "2401";
    environment_["DIRTY_MCP"] = "yes";
    const std::string rsh =
        platform::GetEnvironmentValue("CVS_RSH").value_or(std::string()).substr(0, 254);
    if (rsh.empty())
        environment_["CVS_RSH"] = "ssh";
    environment_["CVS_CLIENT_LOG"] = platform::GetTempFolderPath();
    for (const char* name : {"VISUAL", "CVSREAD", "CVSEDITOR", "HOME", "CVSROOT", "CVS_GETPASS"})
        environment_[name] = std::string();
    messageWindow_ = std::make_unique<CMsgWnd>(this);
}

CCVSContext::~CCVSContext() {
    ShowProgress(false);
    library_->SetOwner(nullptr);
    if (progress_) {
        CDlgStatus* progress = progress_;
        progress_ = nullptr;
        if (progress->IsRealised())
            progress->DestroyWindow(); // it deletes itself
        else
            delete progress;
    }
    messageWindow_.reset();
    controller_ = nullptr;
    environment_.clear();
    library_->Unload();
}

void CCVSContext::SetTextOut(TextOutProc textOut) {
    if (!textOut_)
        textOut_ = textOut;
}

void CCVSContext::SetComment(const std::string& comment) {
    comment_ = Trimmed(comment);
}

void CCVSContext::SetPassword(const std::string& password) {
    environment_["CVS_GETPASS"] = password;
}

void CCVSContext::Abort() {
    library_->Abort();
}

CCVSContext::CCommandScope::CCommandScope(CCVSContext& context, CCVSContextCallBack* controller)
    : context_(context) {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> guard(context_.turnLock_);
    if (context_.turnDepth_ > 0 && context_.turnOwner_ != self) {
        const std::shared_ptr<uifw::CThreadQueue> queue = uifw::ThisThreadQueue();
        context_.turnWaiters_.push_back(queue);
        guard.unlock();
        queue->ServeUntil([&] {
            std::lock_guard<std::mutex> claim(context_.turnLock_);
            if (context_.turnDepth_ > 0)
                return false;
            context_.turnOwner_ = self;
            context_.turnDepth_ = 1;
            return true;
        });
        guard.lock();
        auto& waiters = context_.turnWaiters_;
        for (auto it = waiters.begin(); it != waiters.end(); ++it)
            if (*it == queue) {
                waiters.erase(it);
                break;
            }
    } else {
        context_.turnOwner_ = self;
        ++context_.turnDepth_;
    }
    previous_ = context_.turnController_;
    if (controller)
        context_.turnController_ = controller;
}

CCVSContext::CCommandScope::~CCommandScope() {
    std::vector<std::shared_ptr<uifw::CThreadQueue>> waiters;
    {
        std::lock_guard<std::mutex> guard(context_.turnLock_);
        context_.turnController_ = previous_;
        if (--context_.turnDepth_ == 0) {
            context_.turnOwner_ = std::thread::id();
            waiters = context_.turnWaiters_;
        }
    }
    for (const auto& queue : waiters)
        queue->Wake();
}

CCVSContextCallBack* CCVSContext::Answerer() const {
    return turnController_ ? turnController_ : controller_.load();
}

bool CCVSContext::RunOnContextThread(std::function<void()> action) {
    if (!messageWindow_) {
        action();
        return true;
    }
    return messageWindow_->RunOnOwnerThread(std::move(action));
}

bool CCVSContext::ExecuteOnce(CCVSArgs& args) {
    library_->SetExecutablePath(GetSettings().GetCvsExePath());
    const bool ok = library_->Execute(args, &environment_);
    if (HasErrorText())
        OnConsoleText("\n", 1, 1);
    SendPendingLine(); // a last line without a line feed reaches the output pane too
    return ok;
}

void CCVSContext::ClearCaptures() {
    SendPendingLine(); // it may be made of captured bytes
    errors_.Clear();
    output_.Clear();
}

void CCVSContext::ClearOutput() {
    SendPendingLine();
    output_.Clear();
}

bool CCVSContext::Run(CCVSArgs& args) {
    CCommandScope turn(*this);
    return RunTurn(args);
}

bool CCVSContext::RunTurn(CCVSArgs& args) {
    CSccSettings& settings = GetSettings();
    if (settings.GetUseCompression()) {
        const std::string level = settings.GetCompressLevel();
        if (level != "0")
            args.InsertAt(0, ("-z" + level).substr(0, 4).c_str());
        if (settings.GetUseCvsTrace())
            args.InsertAt(0, "-t");
    }
    if (settings.GetUseUnixLF())
        environment_["CVSUSEUNIXLF"] = "1";
    else
        environment_.erase("CVSUSEUNIXLF");
    environment_["CVSROOT"] = cvsRoot_;

    const std::string commandLine = args.CommandLine();
    Echo(commandLine + "\n");
    ShowProgress(true);
    SetStatusText(commandLine);
    ClearCaptures();

    if (ExecuteOnce(args))
        return true;

    // A command refused for want of a login names "cvs login"; a text that merely starts
    // with it is the login command's own complaint, not a request for one.
    const bool needsLogin =
        ErrorTextHas("cvs login", 1) || output_.Find("cvs login") != CTextCapture::npos;
    CCVSContextCallBack* answerer = Answerer();
    if (!needsLogin || !answerer)
        return false;

    std::string activity, status;
    RunOnContextThread([&] {
        activity = progress_ ? progress_->Activity() : std::string();
        status = progress_ ? progress_->StatusText() : std::string();
        CloseProgressForLogin();
    });
    if (!answerer->OnLoginRequired(LookupValue(environment_, "CVSROOT")))
        return false;
    ClearCaptures();
    RunOnContextThread([&] {
        ShowProgressHere(true);
        if (!GetSettings().GetHideStatusUI() && progress_) {
            progress_->SetActivity(activity);
            progress_->SetStatusText(status);
        }
    });
    return ExecuteOnce(args);
}

void CCVSContext::CloseProgressForLogin() {
    if (quiet_ || GetSettings().GetHideStatusUI() || !progress_)
        return;
    CDlgStatus* progress = progress_;
    progress_ = nullptr;
    platform::FocusWindow(progress->Owner());
    if (progress->IsRealised())
        progress->DestroyWindow();
    else
        delete progress;
}

bool CCVSContext::RunInFolder(const std::string& path, CCVSArgs& args) {
    CCommandScope turn(*this);
    ClearCaptures();
    std::string folder = NormalizePath(GetFolderOfPath(path));
    if (folder.empty()) // a bare file name: the file is in the current folder
        folder = GetCurrentFolder();
    if (!EnterFolder(folder))
        return false;
    Echo("Current Directory: " + folder + "\n");
    environment_["HOME"] = folder;
    const bool ok = RunTurn(args);
    platform::SetCurrentFolder(folder);
    return ok;
}

// A command that ran anywhere else would act on the wrong files, or on none while reporting
// success: a folder that cannot be entered fails the run, and cvs never starts.
bool CCVSContext::EnterFolder(const std::string& folder) {
    if (platform::IsFolder(folder) && platform::SetCurrentFolder(folder))
        return true;
    const std::string reason = platform::Exists(folder) ? "cannot be entered" : "does not exist";
    const std::string message =
        "The folder " + folder + " " + reason + "; the command was not run.\n";
    errors_.Append(message.data(), message.size());
    Echo(message);
    return false;
}

bool CCVSContext::RunOnFiles(CCVSArgs& args, const std::vector<std::string>& files) {
    CCommandScope turn(*this);
    ClearCaptures();
    if (files.empty())
        return false;
    for (const std::string& file : files)
        args.Add(GetFileNamePart(file));
    return RunInFolder(files.front(), args);
}

std::string ErrorTextOf(const CTextCapture& output, const CTextCapture& errors) {
    const size_t s = output.Find(kServer);
    const size_t a = output.Find(kAborted, s == CTextCapture::npos ? 0 : s + 1);
    if (s == CTextCapture::npos && a == CTextCapture::npos)
        return errors.Text();
    std::string result =
        a == CTextCapture::npos ? std::string() : output.Substr(a + kAborted.size());
    if (s != CTextCapture::npos) {
        const size_t from = s + kServer.size();
        const std::string middle = a == CTextCapture::npos || a < from
                                       ? std::string()
                                       : Trimmed(output.Substr(from, a - from));
        result += " : " + middle;
    }
    return result;
}

bool ErrorTextFromOutput(const CTextCapture& output) {
    return output.Find(kServer) != CTextCapture::npos ||
           output.Find(kAborted) != CTextCapture::npos;
}

std::string CCVSContext::GetErrorText() const {
    return ErrorTextOf(output_, errors_);
}

bool CCVSContext::ErrorTextFromOutput() const {
    return ::ErrorTextFromOutput(output_);
}

bool CCVSContext::HasErrorText() const {
    return ErrorTextFromOutput() ? !GetErrorText().empty() : !errors_.Empty();
}

bool CCVSContext::ErrorTextHas(const std::string& what, size_t from) const {
    if (ErrorTextFromOutput())
        return GetErrorText().find(what, from) != std::string::npos;
    return errors_.Find(what, from) != CTextCapture::npos;
}

void CCVSContext::OnConsoleText(const char* text, size_t length, int stream) {
    if (!text)
        length = 0;
    size_t from = 0;
    if (stream == 0 || stream == 1) {
        CTextCapture& capture = stream == 0 ? output_ : errors_;
        from = capture.Size();
        capture.Append(text, length);
    }
    if (length == 0) {
        SendPendingLine();
        return;
    }
    // Lines go one message each, however the library cut its chunks: the pending line ends
    // at the chunk's first line feed, the chunk's other whole lines go as they are, and its
    // tail waits for the rest of its line.
    const char* end = text + length;
    const char* start = text;
    const char* lineFeed = static_cast<const char*>(std::memchr(start, '\n', length));
    if (!lineFeed) {
        AddPending(stream, text, from, length);
        return;
    }
    AddPending(stream, text, from, static_cast<size_t>(lineFeed + 1 - text));
    SendPendingLine();
    start = lineFeed + 1;
    while (start < end &&
           (lineFeed = static_cast<const char*>(std::memchr(start, '\n', end - start)))) {
        if (!quiet_)
            messageWindow_->Send(std::string(start, lineFeed + 1), kTextKindInfo);
        start = lineFeed + 1;
    }
    if (start < end)
        AddPending(stream, start, from + static_cast<size_t>(start - text), end - start);
    // A command is a wait too: what workers sent to this thread's windows is done as the
    // output arrives.
    uifw::ServeThisThread();
}

void CCVSContext::AddPending(int stream, const char* text, size_t from, size_t size) {
    if (stream != 0 && stream != 1) {
        from = stray_.Size();
        stray_.Append(text, size);
    }
    if (!pending_.empty()) {
        PendingPiece& last = pending_.back();
        if (last.stream == stream && last.from + last.size == from) {
            last.size += size;
            return;
        }
    }
    pending_.push_back(PendingPiece{stream, from, size});
}

void CCVSContext::SendPendingLine() {
    if (pending_.empty())
        return;
    std::string line;
    if (!quiet_) {
        size_t total = 0;
        for (const PendingPiece& piece : pending_)
            total += piece.size;
        line.reserve(total);
        for (const PendingPiece& piece : pending_) {
            const CTextCapture& capture = piece.stream == 0   ? output_
                                          : piece.stream == 1 ? errors_
                                                              : stray_;
            capture.AppendTo(line, piece.from, piece.size);
        }
    }
    pending_.clear();
    stray_.Clear();
    if (!quiet_)
        messageWindow_->Send(std::move(line), kTextKindInfo);
}

void CCVSContext::OnPasswordRequest() {
    SendPendingLine();
    if (CCVSContextCallBack* answerer = Answerer())
        answerer->OnPasswordRequest();
}

void CCVSContext::OnYesNoQuestion() {
    SendPendingLine();
    if (CCVSContextCallBack* answerer = Answerer())
        answerer->OnYesNoQuestion();
    else
        environment_["CVSLIB_YESNO"] = "no"; // nobody to ask: an earlier answer must not count
}

void CCVSContext::Echo(const std::string& text, int kind) {
    if (messageWindow_)
        messageWindow_->Send(text, kind);
}

void CCVSContext::DeliverText(std::string text, int kind) {
    const std::string::size_type last = text.find_last_not_of(kWhiteSpace);
    if (last == std::string::npos || !textOut_)
        return;
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(kWhiteSpace));
    uifw::CConsoleTextScope console;
    textOut_(text.data(), kind);
}

// The progress window belongs to the context's thread: a worker's operation has it opened,
// named and closed there.
void CCVSContext::ShowProgress(bool show) {
    RunOnContextThread([&] { ShowProgressHere(show); });
}

void CCVSContext::SetActivity(const std::string& text) {
    RunOnContextThread([&] { SetActivityHere(text); });
}

void CCVSContext::SetStatusText(const std::string& text) {
    RunOnContextThread([&] { SetStatusTextHere(text); });
}

void CCVSContext::ShowProgressHere(bool show) {
    if (quiet_)
        return;
    const bool hidden = GetSettings().GetHideStatusUI();
    if (progress_) {
        if (show || hidden || CDlgStatus::NoProgressWindow())
            return;
        CDlgStatus* progress = progress_;
        progress_ = nullptr;
        if (progress->IsRealised()) {
            platform::FocusWindow(progress->Owner());
            progress->DestroyWindow(); // it deletes itself
        } else {
            delete progress;
        }
        return;
    }
    if (!show || hidden || !CDlgStatus::NoProgressWindow())
        return;
    platform::WindowHandle base = parentWindow_     ? parentWindow_
                                  : fallbackWindow_ ? fallbackWindow_
                                                    : platform::DesktopWindow();
    auto* progress = new CDlgStatus(this, platform::TopChildWindow(base));
    if (!progress->Open()) {
        delete progress;
        return;
    }
    progress_ = progress;
}

void CCVSContext::SetActivityHere(const std::string& text) {
    ShowProgressHere(true);
    if (!GetSettings().GetHideStatusUI() && progress_ && progress_->IsRealised())
        progress_->SetActivity(text);
}

void CCVSContext::SetStatusTextHere(const std::string& text) {
    if (!GetSettings().GetHideStatusUI() && progress_ && progress_->IsRealised())
        progress_->SetStatusText(text);
}
