// ui/framework/DialogHost.h - what realises dialogs: the host interface, the process's
// host, the busy cursor.
//
// A host makes windows for dialog objects and carries the user's actions to them as events
// (the Host... functions of Dialog.h). Three hosts exist: the headless host (controls in
// memory, played by a test or by scripted answers: HeadlessHost.h), the terminal host
// (TerminalHost.h) and, on Windows, the Win32 host (real windows). HostChoice.h says which
// one a process uses.
#pragma once

#include "platform/Types.h"

#include <optional>
#include <string>

namespace uifw {

class CWindowBase;
class CDialog;
class CModelessDialog;

// What the system's file-open dialog is asked for.
struct FileDialogRequest {
    std::string filter;           // "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||"
    std::string defaultExtension; // "*.Exe"
    std::string initialPath;      // the file name it starts with
    bool hideReadOnly = true;     // no "open as read-only" box
    bool overwritePrompt = true;
};

// A folder browser or a file-open dialog, as a host was asked to show it.
struct PathRequest {
    enum class Kind { Folder, File };
    Kind kind = Kind::Folder;
    platform::WindowHandle owner = nullptr;
    std::string title;      // the folder browser's title
    FileDialogRequest file; // the file-open dialog's settings
};

// Proof of being a host: only CHostBase makes one, so only hosts call the Host... functions
// of the dialog classes.
class HostKey {
public:
    HostKey(const HostKey&) = default;

private:
    HostKey() = default;
    friend class CHostBase;
};

class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    // Realises the dialog, runs OnInitDialog, carries events until the dialog ends, destroys
    // its window and answers its result; -1 when it cannot show it.
    virtual int RunModal(CDialog& dialog) = 0;
    // Realises a child window (a property page, a panel) inside a realised parent, hidden;
    // runs its OnInitDialog.
    virtual bool CreateChild(CWindowBase& child, CWindowBase& parent) = 0;
    // Realises a modeless window, hidden until it shows itself; runs its OnInitDialog.
    virtual bool CreateModeless(CModelessDialog& window, platform::WindowHandle owner) = 0;
    // Destroys a realised window (its children first), running OnDestroy.
    virtual void DestroyWindow(CWindowBase& window) = 0;

    // A modal message box; the style is a button set and an icon (MessageBox.h). Any thread
    // may call it.
    virtual int MessageBox(platform::WindowHandle owner, const std::string& text,
                           const std::string& caption, unsigned style) = 0;

    // The system's folder browser and file-open dialog (modal): the chosen path (a folder
    // without a separator at its end), or nothing when the user cancels.
    virtual std::optional<std::string> BrowseForFolder(platform::WindowHandle owner,
                                                       const std::string& title) = 0;
    virtual std::optional<std::string> ChooseFileToOpen(platform::WindowHandle owner,
                                                        const FileDialogRequest& request) = 0;

    // The help facility: shows a help file by its full path. The default is the system's
    // (platform::ShowHtmlHelp); hosts in memory record the request instead.
    virtual void ShowHelp(const std::string& helpFile);

    // The busy cursor, counted: shown from the first Begin to the matching End.
    virtual void BeginBusyCursor() = 0;
    virtual void EndBusyCursor() = 0;

    // Around text that the environment is about to print on the console (the output of a
    // command in scchost), so that a host drawing on the same console can step aside.
    virtual void BeginConsoleText() {}
    virtual void EndConsoleText() {}
};

// The base of every host: it alone holds the key.
class CHostBase : public IDialogHost {
protected:
    static HostKey Key() { return HostKey(); }
};

// The process's host: the one installed (ScopedHost), or else the one chosen once for the
// process (HostChoice.h).
IDialogHost& Host();

// Installs a host for the life of the object, then puts the previous one back. Tests install
// a headless host this way.
class ScopedHost {
public:
    explicit ScopedHost(IDialogHost& host);
    ~ScopedHost();
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    IDialogHost* previous_;
};

// The folder browser and the file-open dialog through the process's host.
std::optional<std::string> BrowseForFolder(platform::WindowHandle owner, const std::string& title);
std::optional<std::string> ChooseFileToOpen(platform::WindowHandle owner,
                                            const FileDialogRequest& request);

// The help file through the process's host.
void ShowHelp(const std::string& helpFile);

// Writes a line to standard error: where a host's faults and texts go when nobody gives
// it a place of its own.
void WriteToStandardError(const std::string& text);
// Writes a text as it is to standard output: where a headless host's tables go for the
// scripts that run the provider.
void WriteToStandardOutput(const std::string& text);

// The busy cursor while the object lives.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Console text is being printed while the object lives (IDialogHost::BeginConsoleText).
class CConsoleTextScope {
public:
    CConsoleTextScope();
    ~CConsoleTextScope();
    CConsoleTextScope(const CConsoleTextScope&) = delete;
    CConsoleTextScope& operator=(const CConsoleTextScope&) = delete;
};

} // namespace uifw
