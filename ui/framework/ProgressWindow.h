// ui/framework/ProgressWindow.h - the base of the modeless progress window: an activity, a
// status line (the command being run) and a way to ask the running command to stop.
//
// The window that derives from it gives its template and the ids of its three controls:
//
//     class CDlgStatus : public uifw::CProgressWindowBase {
//     public:
//         CDlgStatus() : CProgressWindowBase(MakeTemplate(), 10049, 10050, 10053) {}
//     };
//     status->SetCancelHook([context] { context->Abort(); });
//     status->Create(owner);                    // opens hidden; OnInitDialog shows it
//     status->SetActivity("Updating file(s) ...");
//     status->SetStatusText("cvs update -d");
//
// Hosts show it their own way: a Win32 host as the window, the terminal host as one
// updating line on standard error ("activity  status"), the headless host in memory.
//
// Stopping: RequestCancel calls the cancel hook each time it is asked, from whichever
// thread asks. The Cancel button and Escape ask on the window's thread (OnCancelButton);
// Enter asks only when it presses the focused Cancel. Cancel stays usable: the window
// outlives one command (an operation runs several under it), and a press that came between
// two commands, or one that a command did not heed, must not leave the next one beyond
// reach. The terminal host asks for Ctrl-C from a thread of its own while the window's
// thread is busy running the command. So the hook must do only what is safe from another
// thread and harmless when repeated (ask the running command to stop) and must not touch
// the window.
#pragma once

#include "ui/framework/Dialog.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace uifw {

class CProgressWindowBase : public CModelessDialog {
public:
    CProgressWindowBase(DialogTemplate dialogTemplate, ControlId activityId, ControlId statusId,
                        ControlId cancelId);

    // Store the text and, while the window is visible, show it at once (the whole window is
    // redrawn). The status text is kept without its line feeds.
    void SetActivity(const std::string& text);
    void SetStatusText(const std::string& text);
    const std::string& Activity() const { return activity_; }
    const std::string& StatusText() const { return status_; }

    void SetCancelHook(std::function<void()> hook);
    // Asks the running command to stop (see above).
    void RequestCancel();
    // Whether stopping was asked at least once.
    bool CancelRequested() const { return cancelRequested_.load(); }

    // "activity  status", what a text-only host shows.
    std::string SummaryLine() const override;

protected:
    // Shows the fields (the controls, then a redraw), when the window is visible.
    void Refresh();
    // Stores the activity without showing it; the next refresh shows it.
    void SetActivityField(const std::string& text) { activity_ = text; }
    // Opening: the controls get the fields, the window is centred on the desktop and shown.
    bool OnInitDialog() override;
    void OnClicked(ControlId id) override;
    // The Cancel button (or Escape): asks to stop; the button stays enabled.
    virtual void OnCancelButton();

    ControlId ActivityId() const { return activityId_; }
    ControlId StatusId() const { return statusId_; }
    ControlId CancelId() const { return cancelId_; }

private:
    ControlId activityId_, statusId_, cancelId_;
    std::string activity_;
    std::string status_;
    std::mutex hookLock_;
    std::function<void()> hook_;
    std::atomic<bool> cancelRequested_{false};
};

} // namespace uifw
