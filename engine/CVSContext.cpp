// engine/CVSContext.cpp - running one cvs command on a context.
#include "engine/CVSContext.h"

#include "engine/CVSArgs.h"
#include "engine/DlgStatus.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Window.h"
#include "settings/SccSettings.h"
#include "ui/framework/DialogHost.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

namespace {

constexpr const char* kWhiteSpace = " \t\r\n\v\f";

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

bool CCVSContext::ExecuteOnce(CCVSArgs& args) {
    library_->SetExecutablePath(GetSettings().GetCvsExePath());
    const bool ok = library_->Execute(args, &environment_);
    if (!GetErrorText().empty())
        OnConsoleText("\n", 1, 1);
    FlushPendingLines(true); // a last line without a line feed reaches the output pane too
    return ok;
}

bool CCVSContext::Run(CCVSArgs& args) {
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
    if (!settings.GetHideStatusUI() && progress_)
        progress_->SetStatusText(commandLine);
    errors_.clear();
    output_.clear();

    if (ExecuteOnce(args))
        return true;

    // A command refused for want of a login names "cvs login"; a text that merely starts
    // with it is the login command's own complaint, not a request for one.
    const bool needsLogin = GetErrorText().find("cvs login", 1) != std::string::npos ||
                            output_.find("cvs login") != std::string::npos;
    if (!needsLogin || !controller_)
        return false;

    const std::string activity = progress_ ? progress_->Activity() : std::string();
    const std::string status = progress_ ? progress_->StatusText() : std::string();
    CloseProgressForLogin();
    if (!controller_->OnLoginRequired(LookupValue(environment_, "CVSROOT")))
        return false;
    errors_.clear();
    output_.clear();
    ShowProgress(true);
    if (!settings.GetHideStatusUI() && progress_) {
        progress_->SetActivity(activity);
        progress_->SetStatusText(status);
    }
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
    errors_.clear();
    output_.clear();
    std::string folder = NormalizePath(GetFolderOfPath(path));
    if (folder.empty()) // a bare file name: the file is in the current folder
        folder = GetCurrentFolder();
    if (!EnterFolder(folder))
        return false;
    Echo("Current Directory: " + folder + "\n");
    environment_["HOME"] = folder;
    const bool ok = Run(args);
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
    errors_ += message;
    Echo(message);
    return false;
}

bool CCVSContext::RunOnFiles(CCVSArgs& args, const std::vector<std::string>& files) {
    errors_.clear();
    output_.clear();
    if (files.empty())
        return false;
    for (const std::string& file : files)
        args.Add(GetFileNamePart(file));
    return RunInFolder(files.front(), args);
}

std::string CCVSContext::GetErrorText() const {
    static const std::string kServer = "cvs server:";
    static const std::string kAborted = "cvs [checkout aborted]:";
    const std::string::size_type s = output_.find(kServer);
    const std::string::size_type a = output_.find(kAborted, s == std::string::npos ? 0 : s + 1);
    if (s == std::string::npos && a == std::string::npos)
        return errors_;
    std::string result =
        a == std::string::npos ? std::string() : output_.substr(a + kAborted.size());
    if (s != std::string::npos) {
        const std::string::size_type from = s + kServer.size();
        const std::string middle = a == std::string::npos || a < from
                                       ? std::string()
                                       : Trimmed(output_.substr(from, a - from));
        result += " : " + middle;
    }
    return result;
}

void CCVSContext::OnConsoleText(const char* text, size_t length, int stream) {
    const std::string chunk(text ? text : "", text ? length : 0);
    if (stream == 1)
        errors_ += chunk;
    else if (stream == 0)
        output_ += chunk;
    pending_ += chunk;
    if (chunk.empty())
        FlushPendingLines(true);
    else if (chunk.find('\n') != std::string::npos)
        FlushPendingLines(false);
}

// Passes on the complete lines of the pending text (all of it when asked), one message per
// line, so that the output pane gets whole lines however the library cut its chunks.
void CCVSContext::FlushPendingLines(bool all) {
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = pending_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        if (!quiet_)
            messageWindow_->Send(pending_.substr(start, end + 1 - start), kTextKindInfo);
    }
    pending_.erase(0, start);
    if (all && !pending_.empty()) {
        if (!quiet_)
            messageWindow_->Send(pending_, kTextKindInfo);
        pending_.clear();
    }
}

void CCVSContext::OnPasswordRequest() {
    FlushPendingLines(true);
    if (controller_)
        controller_->OnPasswordRequest();
}

void CCVSContext::OnYesNoQuestion() {
    FlushPendingLines(true);
    if (controller_)
        controller_->OnYesNoQuestion();
    else
        environment_["CVSLIB_YESNO"] = "no"; // nobody to ask: an earlier answer must not count
}

void CCVSContext::Echo(const std::string& text, int kind) {
    if (messageWindow_)
        messageWindow_->Send(text, kind);
}

void CCVSContext::DeliverText(const std::string& text, int kind) {
    std::string trimmed = Trimmed(text);
    if (trimmed.empty() || !textOut_)
        return;
    uifw::CConsoleTextScope console;
    textOut_(trimmed.data(), kind);
}

void CCVSContext::ShowProgress(bool show) {
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

void CCVSContext::SetActivity(const std::string& text) {
    ShowProgress(true);
    if (!GetSettings().GetHideStatusUI() && progress_ && progress_->IsRealised())
        progress_->SetActivity(text);
}

void CCVSContext::SetStatusText(const std::string& text) {
    if (!GetSettings().GetHideStatusUI() && progress_ && progress_->IsRealised())
        progress_->SetStatusText(text);
}
