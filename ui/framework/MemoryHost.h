// ui/framework/MemoryHost.h - the part the headless and terminal hosts share: windows
// realised in memory, modal runs, child and modeless windows, the busy cursor.
//
// A modal run realises the dialog, runs OnInitDialog (and gives the first focus when it
// answers true), shows the window, and hands it to PlayModal, where the user's part is
// played; a dialog still open after that is a fault and ends with Cancel - never a wait.
#pragma once

#include "ui/framework/DialogDriver.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MemoryWindow.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace uifw {

class CMemoryHost : public CHostBase {
public:
    // faults: where faults of dialogs and of the user's part go.
    explicit CMemoryHost(FaultSink faults);
    ~CMemoryHost() override;

    int RunModal(CDialog& dialog) override;
    bool CreateChild(CWindowBase& child, CWindowBase& parent) override;
    bool CreateModeless(CModelessDialog& window, platform::WindowHandle owner) override;
    void DestroyWindow(CWindowBase& window) override;
    void BeginBusyCursor() override;
    void EndBusyCursor() override;
    std::optional<std::string> BrowseForFolder(platform::WindowHandle owner,
                                               const std::string& title) override;
    std::optional<std::string> ChooseFileToOpen(platform::WindowHandle owner,
                                                const FileDialogRequest& request) override;
    // Every folder browser and file-open dialog asked for so far.
    const std::vector<PathRequest>& PathRequests() const { return pathRequests_; }
    // Help files asked for: recorded, never shown.
    void ShowHelp(const std::string& helpFile) override;
    const std::vector<std::string>& HelpRequests() const { return helpRequests_; }

    // The busy cursor: how deep it is now, and how often it was shown.
    int BusyCursorDepth() const { return busyDepth_; }
    int BusyCursorShown() const { return busyShown_; }

    // A driver for any window this host has realised (a modeless window, a panel).
    DialogDriver DriverFor(const CWindowBase& window);
    // Modeless windows open now, in the order they were made.
    std::vector<CModelessDialog*> ModelessWindows() const;
    // Captions of the modal dialogs shown so far, in order.
    const std::vector<std::string>& DialogsShown() const { return dialogsShown_; }

    void ReportFault(const std::string& message) const;

protected:
    // The user's part of a modal run; the dialog is open and visible.
    virtual void PlayModal(DialogDriver& ui) = 0;
    // The user's part of a folder browser or file-open dialog.
    virtual std::optional<std::string> AnswerPathRequest(const PathRequest& request) = 0;
    virtual void OnModelessCreated(CMemoryWindow&) {}
    virtual void OnModelessDestroying(CMemoryWindow&) {}

    // Realises a dialog and opens it as RunModal does, without playing it: answers its
    // window (still open, or already ended by OnInitDialog).
    std::shared_ptr<CMemoryWindow> OpenModal(CDialog& dialog);
    DialogDriver MakeDriver(const std::shared_ptr<CMemoryWindow>& window) const;
    FaultSink Faults() const { return faults_; }

private:
    std::shared_ptr<CMemoryWindow> Realise(CWindowBase& model, CMemoryWindow* parent,
                                           platform::WindowHandle owner);
    void Destroy(CMemoryWindow& window);

    FaultSink faults_;
    std::map<const CWindowBase*, std::shared_ptr<CMemoryWindow>> windows_;
    std::vector<CModelessDialog*> modeless_;
    std::vector<std::string> dialogsShown_;
    std::vector<PathRequest> pathRequests_;
    std::vector<std::string> helpRequests_;
    int busyDepth_ = 0;
    int busyShown_ = 0;
};

} // namespace uifw
