// ui/framework/Dialog.h - the bases of every dialog: modal dialogs, property sheets and
// their pages, child panels and modeless windows.
//
// A dialog class holds its values and its rules. It gets a template (its controls) at
// construction, and it reacts to events by overriding the On... functions below; it reaches
// its controls through Edit(id), Combo(id), List(id), ... (Controls.h). Nothing here knows
// how the window is shown: the host that realises it (DialogHost.h) calls the Host...
// functions, which only a host can call (HostKey).
//
// The life of a modal dialog: construct it, set its values, DoModal(). The host realises the
// controls from the template and calls OnInitDialog, whose default puts the values into the
// controls (UpdateData(false)) and lets the framework give the focus to the first control
// that can take it (return false when the dialog sets the focus itself). Events follow until
// EndDialog; OK's default reads the controls back (UpdateData(true)) and ends with kIdOk,
// Cancel's ends with kIdCancel. The values stay readable after DoModal returns.
//
// Data exchange: DoDataExchange(CDataExchange&) names, once, which value goes with which
// control; UpdateData(false) runs it towards the controls, UpdateData(true) back into the
// values.
#pragma once

#include "platform/Types.h"
#include "ui/framework/Controls.h"
#include "ui/framework/DateValue.h"
#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DialogWindow.h"
#include "ui/framework/OwnerThread.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace uifw {

class IDialogHost;
class HostKey;
class CWindowBase;

// One run of data exchange, in one direction.
class CDataExchange {
public:
    CDataExchange(CWindowBase& window, bool save);
    // True while reading the controls into the values (OK), false while filling them.
    bool IsSaving() const { return save_; }

    // An edit, a static or a combo box's edit text; a drop-down list's selected item.
    void Text(ControlId id, std::string& value);
    void Check(ControlId id, bool& value);
    // The index of the chosen radio button in the group that starts at first (-1: none).
    void Radio(ControlId first, int& index);
    void ComboIndex(ControlId id, int& index);
    // Saving: the box's text. Loading: selects the first item that begins with the value
    // (letter case ignored); when none does, a combo box shows the value as its text.
    void ComboText(ControlId id, std::string& value);
    void Date(ControlId id, DateValue& value);

    // Validation: stops the exchange, gives the control the focus, and makes UpdateData
    // answer false. Call it after showing the message that says what is wrong.
    void Fail(ControlId id);
    bool Failed() const { return failed_; }

private:
    CWindowBase& window_;
    bool save_;
    bool failed_ = false;
};

class CWindowBase {
public:
    explicit CWindowBase(DialogTemplate dialogTemplate);
    virtual ~CWindowBase();
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    const DialogTemplate& Template() const { return template_; }
    // Whether a host has realised the window now.
    bool IsRealised() const { return window_ != nullptr; }
    // The realised window, or null; controls reach it through the classes of Controls.h.
    IDialogWindow* Window() const { return window_; }
    // The window's handle, the owner of the boxes and dialogs it opens; null unless realised.
    platform::WindowHandle Handle() const;
    // The host that realised the window, or null.
    IDialogHost* RealisingHost() const { return host_; }

    CControl Control(ControlId id) { return CControl(this, id); }
    CEdit Edit(ControlId id) { return CEdit(this, id); }
    CButton Button(ControlId id) { return CButton(this, id); }
    CComboBox Combo(ControlId id) { return CComboBox(this, id); }
    CListView List(ControlId id) { return CListView(this, id); }
    CTreeView Tree(ControlId id) { return CTreeView(this, id); }
    CDatePicker Date(ControlId id) { return CDatePicker(this, id); }
    CAnimation Animation(ControlId id) { return CAnimation(this, id); }

    void SetFocus(ControlId id);
    ControlId GetFocus() const;
    void SetCaption(const std::string& caption);
    std::string GetCaption() const;
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void BringToTop();
    void CenterWindow(bool onDesktop = false);
    void MoveWindow(const Rect& rect);

    // Runs the action on the thread that owns the window, from any thread, and waits until
    // it has run (OwnerThread.h). An action for a window that is not there by its turn (not
    // realised yet, or gone meanwhile) is dropped. True when it ran.
    bool RunOnOwnerThread(std::function<void()> action);
    // A window still filling itself from another thread (a page whose worker loads its
    // rows). Hosts that read a window rather than show it (the prompts of a text-only host)
    // wait, serving their thread's queue, until it is not.
    virtual bool IsBusy() const { return false; }

    // Runs DoDataExchange: false fills the controls from the values, true reads them back.
    // Answers false when a validation failed.
    bool UpdateData(bool save);

    // A message box owned by this window; with the caption as given, or the application's
    // title (AppMessageBox).
    int MessageBox(const std::string& text, const std::string& caption, unsigned style);
    int AppMessageBox(const std::string& text, unsigned style);

    // --- For hosts only.
    void HostAttach(const HostKey&, IDialogHost* host, IDialogWindow* window);
    void HostDetach(const HostKey&);
    bool HostInit(const HostKey&);
    // A button was clicked (or Enter or Escape pressed: kIdOk, kIdCancel).
    virtual void HostCommand(const HostKey&, ControlId id);
    void HostSelChange(const HostKey&, ControlId id);
    void HostListItemChanged(const HostKey&, ControlId id, int row);
    bool HostTreeExpanding(const HostKey&, ControlId id, TreeItem item);
    void HostDateChange(const HostKey&, ControlId id);
    void HostShowWindow(const HostKey&, bool show);
    void HostDestroy(const HostKey&);

protected:
    // Opening. The default fills the controls (UpdateData(false)) and answers true: the
    // framework then gives the focus to the first control that can take it. Answer false
    // when the dialog has set the focus itself.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange& dx);
    // A push button, check box or radio button was clicked (not OK and Cancel: see CDialog).
    virtual void OnClicked(ControlId id);
    // The user chose another item of a drop-down list or combo box, or the selection of a
    // tree view changed.
    virtual void OnSelChange(ControlId id);
    // A row of a list view was selected or deselected.
    virtual void OnListItemChanged(ControlId id, int row);
    // The user is expanding a tree item; answer false to refuse.
    virtual bool OnTreeExpanding(ControlId id, TreeItem item);
    virtual void OnDateChange(ControlId id);
    // The window was shown or hidden.
    virtual void OnShowWindow(bool show);
    // The window is going; its controls are still there.
    virtual void OnDestroy();

    DialogTemplate template_;
    // Set while the destructor closes a window left open.
    bool inDestructor_ = false;

private:
    IDialogHost* host_ = nullptr;
    IDialogWindow* window_ = nullptr;
    std::shared_ptr<CWindowLife> life_ = std::make_shared<CWindowLife>();
};

class CDialog : public CWindowBase {
public:
    explicit CDialog(DialogTemplate dialogTemplate, platform::WindowHandle owner = nullptr);

    // Shows the dialog modally through the process's host (Host()); answers what EndDialog
    // was given (kIdOk, kIdCancel, ...), or -1 when the dialog could not be shown.
    int DoModal();
    void EndDialog(int result);
    bool HasEnded() const { return ended_; }
    int Result() const { return result_; }
    // False when the last showing was answered wholly in advance (scripted answers): asking
    // again would only give the same answers.
    bool AnsweredByPerson() const { return answeredByPerson_; }

    platform::WindowHandle Owner() const { return owner_; }
    void SetOwner(platform::WindowHandle owner) { owner_ = owner; }

    void HostCommand(const HostKey&, ControlId id) override;
    // For hosts: the dialog starts a new modal run.
    void HostBeginModal(const HostKey&);
    // For hosts: nobody was asked; the answers were all given in advance.
    void HostAnsweredUnattended(const HostKey&) { answeredByPerson_ = false; }

protected:
    // OK: reads the controls (UpdateData(true)); ends with kIdOk unless a validation failed.
    virtual void OnOK();
    // Cancel (also Escape and closing the window): ends with kIdCancel.
    virtual void OnCancel();

private:
    platform::WindowHandle owner_;
    bool ended_ = false;
    int result_ = -1;
    bool answeredByPerson_ = true;
};

class CPropertySheet;

// A page of a property sheet: a child window created the first time its tab is chosen.
class CPropertyPage : public CWindowBase {
public:
    // title: the text of the page's tab.
    CPropertyPage(DialogTemplate dialogTemplate, std::string title);

    const std::string& Title() const { return title_; }
    CPropertySheet* Sheet() const { return sheet_; }
    bool IsCreated() const { return IsRealised(); }

    // Called by the sheet.
    void AttachToSheet(CPropertySheet* sheet) { sheet_ = sheet; }
    // The page's tab was chosen (after its window was created, the first time).
    virtual bool OnSetActive();
    // Another tab is chosen, or OK pressed: the default reads the controls
    // (UpdateData(true)); answer false to stay on the page.
    virtual bool OnKillActive();
    // The sheet closes with OK (every page that was created, in page order).
    virtual void OnOK();
    // The sheet closes with Cancel (every page that was created).
    virtual void OnCancel();

private:
    std::string title_;
    CPropertySheet* sheet_ = nullptr;
};

// A modal sheet of pages with tabs, OK and Cancel (no Apply button).
class CPropertySheet : public CDialog {
public:
    // startPage: the page shown first.
    CPropertySheet(std::string caption, platform::WindowHandle owner, int startPage = 0);

    // Pages are added before DoModal, in tab order; the sheet does not own them.
    void AddPage(CPropertyPage& page);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage& Page(int index) const { return *pages_[static_cast<size_t>(index)]; }
    int ActiveIndex() const { return active_; }
    // Shows a page (creating it the first time); false when the current page refuses to
    // be left.
    bool SetActivePage(int index);

    // For hosts: the user chose a tab.
    void HostSelectPage(const HostKey&, int index);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    std::vector<CPropertyPage*> pages_;
    int startPage_;
    int active_ = -1;
};

// A child dialog without a caption, placed by its parent over an area of its own (the
// panels of a settings dialog). It starts hidden.
class CChildPanel : public CWindowBase {
public:
    explicit CChildPanel(DialogTemplate dialogTemplate);
    // Creates the panel's window as a child of a realised window (through the parent's
    // host); runs OnInitDialog.
    bool Create(CWindowBase& parent);
};

// A window that stays open while the code that opened it goes on (the progress window).
class CModelessDialog : public CWindowBase {
public:
    explicit CModelessDialog(DialogTemplate dialogTemplate);
    // Creates the window through the process's host, hidden until it shows itself; runs
    // OnInitDialog. False when the host cannot make it.
    bool Create(platform::WindowHandle owner);
    void DestroyWindow();
    // The one line that a text-only host shows for this window (the caption by default).
    virtual std::string SummaryLine() const;

    // For hosts: the window was destroyed and the host has let go of it.
    void HostAfterDestroy(const HostKey&);

protected:
    // After the window is gone: an object that lives on the heap may delete itself here.
    virtual void PostDestroy();
};

} // namespace uifw
