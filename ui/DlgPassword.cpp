// ui/DlgPassword.cpp - the repository login dialog.
#include "ui/DlgPassword.h"

using namespace uifw;

namespace {

DialogTemplate LoginTemplate() {
    DialogTemplate t(CDlgPassword::kIdd, "CVS Repository Login ...");
    // Text-only hosts ask for the two boxes under these names; the dialog's own answer
    // (ok or cancel) is "login".
    t.SetAnswerName("login").SetSize(262, 92);
    t.GroupBox("Credentials", CDlgPassword::kIdcCredentials).At(7, 7, 248, 56);
    t.Label("CVSROOT:").At(15, 22, 44, 8);
    t.Edit(CDlgPassword::kIdcCvsRoot).At(62, 20, 186, 14).Prompt("cvsroot").Required();
    t.Label("Password:").At(15, 42, 44, 8);
    t.Edit(CDlgPassword::kIdcPassword, kPassword).At(62, 40, 186, 14).Prompt("password").Required();
    t.Button(kIdOk, "OK", kDefault).At(151, 71, 50, 14);
    t.Button(kIdCancel, "Cancel").At(205, 71, 50, 14);
    return t;
}

} // namespace

CDlgPassword::CDlgPassword(platform::WindowHandle owner) : CDialog(LoginTemplate(), owner) {}

bool CDlgPassword::OnInitDialog() {
    CDialog::OnInitDialog();
    Edit(kIdcPassword).SetPasswordChar('*');
    // A known repository is shown, not changed; without one the user names it.
    if (!cvsRoot_.empty())
        Edit(kIdcCvsRoot).SetReadOnly(true);
    BringToTop();
    return true;
}

void CDlgPassword::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcCvsRoot, cvsRoot_);
    dx.Text(kIdcPassword, password_);
}

void CDlgPassword::OnCancel() {
    password_.clear();
    CDialog::OnCancel();
}
