// ui/framework/WindowsHost.h - the Win32 host: every dialog, sheet, page, panel and
// modeless window as a real window of the system.
//
// One source of layout: the windows are built from the dialog layer's own templates
// (DialogTemplate.h) - each becomes an in-memory dialog template (platform/NativeDialog.h)
// with the caption, size, controls, rectangles and styles the template gives - so no
// dialog is described twice and the headless, terminal and Win32 hosts show the same
// controls. A property sheet becomes a dialog with a tab per page over the largest page,
// and OK and Cancel below; its pages are child dialogs placed over the tabs' area.
//
// Events reach the dialog classes through their Host... functions (button clicks, Enter
// and Escape, choices in lists and trees, tabs); values go through the same control
// interface the other hosts implement (DialogWindow.h). A modal run serves the thread's
// window messages and, between them, the actions other threads send to its windows
// (OwnerThread.h). Message boxes are the system's (MessageBoxA), as are the folder browser,
// the file-open dialog and the busy cursor.
//
// Where no window can be made (POSIX, or Wine without an X display) Available() answers
// false and HostChoice.h chooses another host.
#pragma once

#include "ui/framework/DialogHost.h"

#include <functional>
#include <map>
#include <memory>

namespace uifw {

class CNativeWindow;

class CWindowsHost : public CHostBase {
public:
    CWindowsHost();
    ~CWindowsHost() override;

    // Whether this process can show windows at all.
    static bool Available();

    int RunModal(CDialog& dialog) override;
    bool CreateChild(CWindowBase& child, CWindowBase& parent) override;
    bool CreateModeless(CModelessDialog& window, platform::WindowHandle owner) override;
    void DestroyWindow(CWindowBase& window) override;
    int MessageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned style) override;
    std::optional<std::string> BrowseForFolder(platform::WindowHandle owner,
                                               const std::string& title) override;
    std::optional<std::string> ChooseFileToOpen(platform::WindowHandle owner,
                                                const FileDialogRequest& request) override;
    void BeginBusyCursor() override;
    void EndBusyCursor() override;

    // Called on the dialog's thread once a modal dialog is open and shown, before its
    // loop runs: what an automated user does (tests fill the window by its messages).
    using ModalObserver = std::function<void(CDialog&)>;
    void SetModalObserver(ModalObserver observer) { observer_ = std::move(observer); }

    // The tab control of a realised property sheet (the system's own id).
    static constexpr int kSheetTabId = 0x3020;

private:
    CNativeWindow* Realise(CWindowBase& model, CNativeWindow* parent, platform::WindowHandle owner,
                           int kind);
    void Destroy(CNativeWindow& window);

    std::map<const CWindowBase*, std::unique_ptr<CNativeWindow>> windows_;
    ModalObserver observer_;
    int busyDepth_ = 0;
};

} // namespace uifw
