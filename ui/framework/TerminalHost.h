// ui/framework/TerminalHost.h - the host for scchost on a terminal.
//
// Dialogs are asked for as questions (Prompts.h) on standard error, answered on standard
// input: a password without echo, a line or several lines of text, yes or no, a choice from
// a numbered list. Scripted answers (HostChoice.h) are used first; only what they leave
// out is asked. End of input (Ctrl-D) cancels the dialog.
//
// A progress window is one line on standard error, redrawn in place with its activity and
// command ("Updating file(s) ...  cvs update -d"), and cleared when the window closes;
// while one is open, Ctrl-C asks its command to stop (CProgressWindowBase::RequestCancel)
// and a second Ctrl-C ends the program. When standard error is not a terminal, every new
// line is printed once instead. Console text that the environment prints meanwhile should
// be wrapped in CConsoleTextScope, so that the line steps aside for it.
#pragma once

#include "ui/framework/HostChoice.h"
#include "ui/framework/MemoryHost.h"
#include "ui/framework/Prompts.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace uifw {

// The console a terminal host talks to; the system's is SystemTerminal().
class ITerminal {
public:
    virtual ~ITerminal() = default;
    // Writes the prompt, reads a line (without its end); false at the end of input.
    virtual bool ReadLine(const std::string& prompt, std::string& line, bool echo) = 0;
    // Writes to standard error.
    virtual void Write(const std::string& text) = 0;
    virtual bool ErrorIsTerminal() const = 0;
    virtual int Columns() const = 0;
    // While watching, Ctrl-C calls the function (on another thread) instead of ending the
    // program.
    virtual void WatchInterrupts(std::function<void()> onInterrupt) = 0;
    virtual void StopWatchingInterrupts() = 0;
};

std::unique_ptr<ITerminal> SystemTerminal();

class TerminalHost : public CMemoryHost {
public:
    TerminalHost(ITerminal& terminal, ScriptedAnswers answers, FaultSink faults = nullptr);
    ~TerminalHost() override;

    int MessageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned style) override;
    // A terminal cannot show a help file: it says which file holds the help.
    void ShowHelp(const std::string& helpFile) override;
    void BeginConsoleText() override;
    void EndConsoleText() override;

protected:
    void PlayModal(DialogDriver& ui) override;
    std::optional<std::string> AnswerPathRequest(const PathRequest& request) override;
    void OnModelessCreated(CMemoryWindow& window) override;
    void OnModelessDestroying(CMemoryWindow& window) override;

private:
    class Source;
    void DrawProgress();
    void ClearProgress();
    void OnInterrupt();

    ITerminal& terminal_;
    std::unique_ptr<Source> source_;
    // One conversation at a time: a box asked from another thread waits for the dialog or
    // box being answered.
    std::recursive_mutex terminalLock_;
    std::mutex lock_; // the progress windows, between the host's thread and Ctrl-C's
    std::vector<CMemoryWindow*> progress_;
    std::string drawn_; // the progress line now on the terminal
    int consoleDepth_ = 0;
};

} // namespace uifw
