// engine/CVSContext.h - the provider context handed to the host environment.
//
// The engine runs CVS: argument vectors, the binding of the CVS client library, the context
// that runs one command with its global options, environment and output capture, and the
// progress display with the route of all text to the environment.
//
// The environment gets a context from SccInitialize and passes it back on every call. It
// holds the current project (CVSROOT, module, local path, comment), the environment cvs
// sees, the command options of the advanced-options dialogs, the output of the last command,
// and the windows that show progress. One command runs on a context at a time.
//
// Console text goes: client library -> OnConsoleText (one line at a time) -> the message
// window (synchronous, on the context's thread) -> DeliverText -> the environment's
// text-out procedure, trimmed, empty lines dropped.
//
// Threads. The context belongs to the thread that made it (the environment's), which owns
// its windows: text and the progress window are dealt with there, also when a worker's
// command produces them (the message window carries them over). Other threads (the workers
// of the item-properties pages) may run commands on the context while its own thread runs
// others, but a context has one capture and one client library binding: commands take
// turns (CCommandScope), each whole, and a controller's operation holds its turn from its
// first command to the last read of the output it parses.
#pragma once

#include "engine/CVSLibrary.h"
#include "engine/MessageWindow.h"
#include "engine/TextCapture.h"
#include "platform/Types.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CCVSArgs;
class CDlgStatus;

// The error text of a command from its two captures: what arrived on the error stream, or,
// when the output holds the markers of a server's refusal, the text between and after them
// (see CVSContext.cpp). A function of the text alone, so that any output can be fed to it.
std::string ErrorTextOf(const CTextCapture& output, const CTextCapture& errors);
// Whether the output holds those markers, so that the error text comes from it.
bool ErrorTextFromOutput(const CTextCapture& output);

// The environment's text-out callback: (text, message kind) -> 0, or -1 to cancel.
using TextOutProc = int32_t (*)(char* text, int32_t kind);

// How the context calls up into the controller working on it.
class CCVSContextCallBack {
public:
    virtual ~CCVSContextCallBack() = default;
    // Log in to the repository; true when the login succeeded.
    virtual bool OnLoginRequired(const std::string& cvsRoot) = 0;
    // Ask the user for the password and store it with SetPassword.
    virtual void OnPasswordRequest() = 0;
    // Ask the user the pending question and store the answer under CVSLIB_YESNO.
    virtual void OnYesNoQuestion() = 0;
};

class CCVSContext : public CCVSConnectCallBack {
public:
    // The parent window is the window given when it is visible, else the desktop.
    explicit CCVSContext(platform::WindowHandle window = nullptr);
    ~CCVSContext() override;
    CCVSContext(const CCVSContext&) = delete;
    CCVSContext& operator=(const CCVSContext&) = delete;

    // --- Configuration.
    void SetWindow(platform::WindowHandle window) { parentWindow_ = window; }
    platform::WindowHandle GetWindow() const { return parentWindow_; }
    void SetFallbackWindow(platform::WindowHandle window) { fallbackWindow_ = window; }
    platform::WindowHandle GetFallbackWindow() const { return fallbackWindow_; }
    // Sets the text-out procedure only when none is set yet.
    void SetTextOut(TextOutProc textOut);
    TextOutProc GetTextOut() const { return textOut_; }
    void SetCVSRoot(const std::string& root) { cvsRoot_ = root; }
    const std::string& GetCVSRoot() const { return cvsRoot_; }
    void SetProjectModule(const std::string& module) { module_ = module; }
    const std::string& GetProjectModule() const { return module_; }
    void SetLocalPath(const std::string& path) { localPath_ = path; }
    const std::string& GetLocalPath() const { return localPath_; }
    // Stored trimmed of white space at both ends.
    void SetComment(const std::string& comment);
    const std::string& GetComment() const { return comment_; }
    void SetController(CCVSContextCallBack* controller) { controller_ = controller; }
    CCVSContextCallBack* GetController() const { return controller_; }

    // The turn of one thread to run commands on the context, while the object lives. A
    // thread that has the turn may take it again (an operation inside another); others wait
    // until it is given back, serving what is sent to their own windows meanwhile, so that a
    // command of the thread that has the turn can deliver its text to them. Given a
    // controller, the context's login, password and question requests go to it for the
    // length of the turn, whatever other threads register meanwhile.
    class CCommandScope {
    public:
        explicit CCommandScope(CCVSContext& context, CCVSContextCallBack* controller = nullptr);
        ~CCommandScope();
        CCommandScope(const CCommandScope&) = delete;
        CCommandScope& operator=(const CCommandScope&) = delete;

    private:
        CCVSContext& context_;
        CCVSContextCallBack* previous_;
    };

    // Runs an action on the context's own thread and waits for it (at once there); true
    // when it ran. Dialogs and message boxes that a command asks for from a worker thread
    // are shown this way, by the thread that owns the windows.
    bool RunOnContextThread(std::function<void()> action);
    // While quiet, console text is not passed on and the progress window stays as it is;
    // echoes still go out.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    bool IsQuiet() const { return quiet_; }

    // CVS_GETPASS in the environment (an empty text stores an empty value).
    void SetPassword(const std::string& password);
    CCVSStringMap& GetEnvironment() { return environment_; }
    CCVSStringMap& GetOptions() { return options_; }
    CCVSLibrary& GetLibrary() { return *library_; }

    // --- Running.
    // Runs one command with the global options the settings ask for, in the current folder,
    // logging in and running it once more when the output asks for a login.
    bool Run(CCVSArgs& args);
    // Runs in the folder of the path (the path itself when it is a folder); HOME is that
    // folder, which stays the current folder afterwards. A folder that cannot be entered
    // fails the run before cvs starts, with a message naming it in the error text and the
    // output pane.
    bool RunInFolder(const std::string& path, CCVSArgs& args);
    // Appends the file names of the paths to the arguments and runs in the first one's
    // folder; an empty list runs nothing and fails.
    bool RunOnFiles(CCVSArgs& args, const std::vector<std::string>& files);
    // Asks the running command to stop (from any thread).
    void Abort();

    // A copy of the output capture: the caller's own, the only one made.
    std::string GetOutput() const { return output_.Text(); }
    void ClearOutput();
    std::string GetErrorCapture() const { return errors_.Text(); }
    // The error text of the last command (see CVSContext.cpp).
    std::string GetErrorText() const;

    // --- Progress display and text.
    // Sends a text to the message window with the message kind (kTextKindInfo).
    void Echo(const std::string& text, int kind = kTextKindInfo);
    // Called by the message window: trimmed, non-empty texts go to the text-out procedure.
    // The text is the delivery's own (moved in where the sender is done with it), trimmed
    // where it lies.
    void DeliverText(std::string text, int kind);
    void ShowProgress(bool show);
    void SetActivity(const std::string& text);
    void SetStatusText(const std::string& text);
    CDlgStatus* GetProgressWindow() const { return progress_; }
    CMsgWnd& GetMessageWindow() { return *messageWindow_; }

    // --- CCVSConnectCallBack.
    void OnConsoleText(const char* text, size_t length, int stream) override;
    void OnPasswordRequest() override;
    void OnYesNoQuestion() override;

private:
    // A part of the pending line: bytes of the capture of its stream, or of stray_ for a
    // stream that has none. The line is put together only when it is sent, so a long line
    // is not held twice while it grows.
    struct PendingPiece {
        int stream;
        size_t from;
        size_t size;
    };

    bool ExecuteOnce(CCVSArgs& args);
    bool RunTurn(CCVSArgs& args);
    // Who answers the requests of the running command: the controller of the turn, else
    // the registered one.
    CCVSContextCallBack* Answerer() const;
    void ShowProgressHere(bool show);
    void SetActivityHere(const std::string& text);
    void SetStatusTextHere(const std::string& text);
    bool EnterFolder(const std::string& folder);
    void ClearCaptures();
    void AddPending(int stream, const char* text, size_t from, size_t size);
    void SendPendingLine();
    // The error text decided from the output capture's markers (see GetErrorText), and the
    // two questions Run asks of it without copying a large error capture.
    bool ErrorTextFromOutput() const;
    bool HasErrorText() const;
    bool ErrorTextHas(const std::string& what, size_t from) const;
    void CloseProgressForLogin();

    std::atomic<bool> quiet_{false};
    platform::WindowHandle fallbackWindow_ = nullptr;
    // Registered by controllers of any thread; read by the command that runs.
    std::atomic<CCVSContextCallBack*> controller_{nullptr};
    // The turn: the thread that has it, how often it took it, its controller.
    std::mutex turnLock_;
    std::thread::id turnOwner_;
    int turnDepth_ = 0;
    CCVSContextCallBack* turnController_ = nullptr;
    std::vector<std::shared_ptr<uifw::CThreadQueue>> turnWaiters_;
    std::unique_ptr<CCVSLibrary> library_;
    CCVSStringMap environment_;
    CCVSStringMap options_;
    TextOutProc textOut_ = nullptr;
    CTextCapture errors_;               // everything received on stream 1 since it was last cleared
    CTextCapture output_;               // everything received on stream 0 since it was last cleared
    CTextCapture stray_;                // text of other streams while it is pending
    std::vector<PendingPiece> pending_; // text not yet passed on: never a line feed
    std::string comment_;
    std::string module_;
    std::string localPath_;
    std::string cvsRoot_;
    platform::WindowHandle parentWindow_ = nullptr;
    CDlgStatus* progress_ = nullptr; // deletes itself when its window goes
    std::unique_ptr<CMsgWnd> messageWindow_;
};
