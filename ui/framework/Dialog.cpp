// ui/framework/Dialog.cpp - the dialog bases: data exchange, the modal run, sheets and
// their pages, child panels, modeless windows.
#include "ui/framework/Dialog.h"

#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"

namespace uifw {
namespace {

// The radio buttons of the group that starts at first: from it up to the next control of
// any kind marked kGroup.
std::vector<ControlId> RadioGroup(const DialogTemplate& t, ControlId first) {
    std::vector<ControlId> members;
    const auto& controls = t.Controls();
    size_t i = 0;
    while (i < controls.size() && controls[i].id != first)
        ++i;
    for (size_t k = i; k < controls.size(); ++k) {
        if (k > i && (controls[k].style & kGroup))
            break;
        if (controls[k].kind == ControlKind::RadioButton)
            members.push_back(controls[k].id);
    }
    return members;
}

} // namespace

// --- CDataExchange

CDataExchange::CDataExchange(CWindowBase& window, bool save) : window_(window), save_(save) {}

void CDataExchange::Text(ControlId id, std::string& value) {
    if (failed_)
        return;
    if (save_)
        value = window_.Control(id).GetText();
    else
        window_.Control(id).SetText(value);
}

void CDataExchange::Check(ControlId id, bool& value) {
    if (failed_)
        return;
    if (save_)
        value = window_.Button(id).GetCheck();
    else
        window_.Button(id).SetCheck(value);
}

void CDataExchange::Radio(ControlId first, int& index) {
    if (failed_)
        return;
    const std::vector<ControlId> members = RadioGroup(window_.Template(), first);
    if (save_) {
        index = -1;
        for (size_t i = 0; i < members.size(); ++i)
            if (window_.Button(members[i]).GetCheck()) {
                index = static_cast<int>(i);
                break;
            }
    } else {
        for (size_t i = 0; i < members.size(); ++i)
            window_.Button(members[i]).SetCheck(static_cast<int>(i) == index);
    }
}

void CDataExchange::ComboIndex(ControlId id, int& index) {
    if (failed_)
        return;
    if (save_)
        index = window_.Combo(id).GetCurSel();
    else
        window_.Combo(id).SetCurSel(index);
}

void CDataExchange::ComboText(ControlId id, std::string& value) {
    if (failed_)
        return;
    CComboBox box = window_.Combo(id);
    if (save_) {
        value = box.GetText();
        return;
    }
    if (box.SelectString(-1, value) < 0) {
        const ControlSpec* spec = window_.Template().Find(id);
        if (spec && spec->kind == ControlKind::ComboBox)
            box.SetText(value);
    }
}

void CDataExchange::Date(ControlId id, DateValue& value) {
    if (failed_)
        return;
    if (save_)
        value = window_.Date(id).GetTime();
    else
        window_.Date(id).SetTime(value);
}

void CDataExchange::Fail(ControlId id) {
    failed_ = true;
    window_.SetFocus(id);
}

// --- CWindowBase

CWindowBase::CWindowBase(DialogTemplate dialogTemplate) : template_(std::move(dialogTemplate)) {}

CWindowBase::~CWindowBase() {
    // A window still open when its object goes is closed here; by now only the base class
    // is left, so a dialog's own OnDestroy no longer runs.
    if (window_ && host_) {
        inDestructor_ = true;
        host_->DestroyWindow(*this);
    }
}

platform::WindowHandle CWindowBase::Handle() const {
    return window_ ? window_->Handle() : nullptr;
}

void CWindowBase::SetFocus(ControlId id) {
    if (window_)
        window_->SetFocus(id);
}

ControlId CWindowBase::GetFocus() const {
    return window_ ? window_->GetFocus() : 0;
}

void CWindowBase::SetCaption(const std::string& caption) {
    if (window_)
        window_->SetCaption(caption);
}

std::string CWindowBase::GetCaption() const {
    return window_ ? window_->GetCaption() : template_.Caption();
}

void CWindowBase::ShowWindow(bool show) {
    if (window_)
        window_->ShowWindow(show);
}

bool CWindowBase::IsWindowVisible() const {
    return window_ && window_->IsWindowVisible();
}

void CWindowBase::BringToTop() {
    if (window_)
        window_->BringToTop();
}

void CWindowBase::CenterWindow(bool onDesktop) {
    if (window_)
        window_->Place(onDesktop ? Placement::CentredOnDesktop : Placement::CentredOnOwner);
}

void CWindowBase::MoveWindow(const Rect& rect) {
    if (window_)
        window_->MoveTo(rect);
}

bool CWindowBase::UpdateData(bool save) {
    CDataExchange dx(*this, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

int CWindowBase::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    return ShowMessageBox(Handle(), text, caption, style);
}

int CWindowBase::AppMessageBox(const std::string& text, unsigned style) {
    return ShowAppMessageBox(Handle(), text, style);
}

void CWindowBase::HostAttach(const HostKey&, IDialogHost* host, IDialogWindow* window) {
    host_ = host;
    window_ = window;
    life_->Attach();
}

void CWindowBase::HostDetach(const HostKey&) {
    life_->Detach();
    host_ = nullptr;
    window_ = nullptr;
}

bool CWindowBase::RunOnOwnerThread(std::function<void()> action) {
    return life_->SendToOwner(std::move(action));
}

bool CWindowBase::HostInit(const HostKey&) {
    return OnInitDialog();
}

void CWindowBase::HostCommand(const HostKey&, ControlId id) {
    OnClicked(id);
}

void CWindowBase::HostSelChange(const HostKey&, ControlId id) {
    OnSelChange(id);
}

void CWindowBase::HostListItemChanged(const HostKey&, ControlId id, int row) {
    OnListItemChanged(id, row);
}

bool CWindowBase::HostTreeExpanding(const HostKey&, ControlId id, TreeItem item) {
    return OnTreeExpanding(id, item);
}

void CWindowBase::HostDateChange(const HostKey&, ControlId id) {
    OnDateChange(id);
}

void CWindowBase::HostShowWindow(const HostKey&, bool show) {
    OnShowWindow(show);
}

void CWindowBase::HostDestroy(const HostKey&) {
    OnDestroy();
}

bool CWindowBase::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CWindowBase::DoDataExchange(CDataExchange&) {}
void CWindowBase::OnClicked(ControlId) {}
void CWindowBase::OnSelChange(ControlId) {}
void CWindowBase::OnListItemChanged(ControlId, int) {}
bool CWindowBase::OnTreeExpanding(ControlId, TreeItem) {
    return true;
}
void CWindowBase::OnDateChange(ControlId) {}
void CWindowBase::OnShowWindow(bool) {}
void CWindowBase::OnDestroy() {}

// --- CDialog

CDialog::CDialog(DialogTemplate dialogTemplate, platform::WindowHandle owner)
    : CWindowBase(std::move(dialogTemplate)), owner_(owner) {}

int CDialog::DoModal() {
    return Host().RunModal(*this);
}

void CDialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    if (Window())
        Window()->EndModal(result);
}

void CDialog::HostCommand(const HostKey& key, ControlId id) {
    if (id == kIdOk)
        OnOK();
    else if (id == kIdCancel)
        OnCancel();
    else
        CWindowBase::HostCommand(key, id);
}

void CDialog::HostBeginModal(const HostKey&) {
    ended_ = false;
    result_ = -1;
    answeredByPerson_ = true;
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(kIdOk);
}

void CDialog::OnCancel() {
    EndDialog(kIdCancel);
}

// --- CPropertyPage

CPropertyPage::CPropertyPage(DialogTemplate dialogTemplate, std::string title)
    : CWindowBase(std::move(dialogTemplate)), title_(std::move(title)) {}

bool CPropertyPage::OnSetActive() {
    return true;
}

bool CPropertyPage::OnKillActive() {
    return UpdateData(true);
}

void CPropertyPage::OnOK() {}
void CPropertyPage::OnCancel() {}

// --- CPropertySheet

namespace {
DialogTemplate SheetTemplate(std::string caption) {
    DialogTemplate t(0, std::move(caption));
    t.Button(kIdOk, "OK", kDefault).Button(kIdCancel, "Cancel");
    return t;
}
} // namespace

CPropertySheet::CPropertySheet(std::string caption, platform::WindowHandle owner, int startPage)
    : CDialog(SheetTemplate(std::move(caption)), owner), startPage_(startPage) {}

void CPropertySheet::AddPage(CPropertyPage& page) {
    page.AttachToSheet(this);
    pages_.push_back(&page);
}

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= PageCount() || !RealisingHost())
        return false;
    if (index == active_)
        return true;
    if (active_ >= 0) {
        CPropertyPage& current = Page(active_);
        if (!current.OnKillActive())
            return false;
        current.ShowWindow(false);
    }
    CPropertyPage& next = Page(index);
    if (!next.IsRealised() && !RealisingHost()->CreateChild(next, *this))
        return false;
    active_ = index;
    next.ShowWindow(true);
    next.OnSetActive();
    return true;
}

void CPropertySheet::HostSelectPage(const HostKey&, int index) {
    SetActivePage(index);
}

bool CPropertySheet::OnInitDialog() {
    active_ = -1;
    const int start = startPage_ >= 0 && startPage_ < PageCount() ? startPage_ : 0;
    SetActivePage(start);
    // The page's own opening has placed the focus.
    return PageCount() == 0;
}

void CPropertySheet::OnOK() {
    if (active_ >= 0 && !Page(active_).OnKillActive())
        return;
    for (CPropertyPage* page : pages_)
        if (page->IsCreated())
            page->OnOK();
    EndDialog(kIdOk);
}

void CPropertySheet::OnCancel() {
    for (CPropertyPage* page : pages_)
        if (page->IsCreated())
            page->OnCancel();
    EndDialog(kIdCancel);
}

// --- CChildPanel

CChildPanel::CChildPanel(DialogTemplate dialogTemplate) : CWindowBase(std::move(dialogTemplate)) {}

bool CChildPanel::Create(CWindowBase& parent) {
    IDialogHost* host = parent.RealisingHost();
    return host && host->CreateChild(*this, parent);
}

// --- CModelessDialog

CModelessDialog::CModelessDialog(DialogTemplate dialogTemplate)
    : CWindowBase(std::move(dialogTemplate)) {}

bool CModelessDialog::Create(platform::WindowHandle owner) {
    return Host().CreateModeless(*this, owner);
}

void CModelessDialog::DestroyWindow() {
    if (RealisingHost())
        RealisingHost()->DestroyWindow(*this);
}

std::string CModelessDialog::SummaryLine() const {
    return GetCaption();
}

void CModelessDialog::HostAfterDestroy(const HostKey&) {
    if (!inDestructor_)
        PostDestroy();
}

void CModelessDialog::PostDestroy() {}

} // namespace uifw
