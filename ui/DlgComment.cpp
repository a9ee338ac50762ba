// ui/DlgComment.cpp - the check-in comment dialog.
#include "ui/DlgComment.h"

#include "settings/SccSettings.h"

using namespace uifw;

namespace {

DialogTemplate CommentTemplate() {
    DialogTemplate t(CDlgComment::kIdd, "Checkin Comments");
    t.SetAnswerName("checkincomments").SetSize(300, 186);
    t.Label("Template:").At(7, 9, 40, 8);
    t.DropList(CDlgComment::kIdcTemplate, kSorted | kVScroll)
        .At(50, 7, 243, 100)
        .Prompt("template");
    t.Label("Comments:").At(7, 27, 60, 8);
    t.Edit(CDlgComment::kIdcComment, kMultiLine | kWantReturn | kVScroll)
        .At(7, 38, 286, 118)
        .Prompt("comment")
        .Required();
    t.CheckBox(CDlgComment::kIdcDoNotDisplay, "Do not display")
        .At(7, 166, 120, 10)
        .Prompt("donotdisplay");
    t.Button(kIdOk, "OK", kDefault).At(189, 164, 50, 14);
    t.Button(kIdCancel, "Cancel").At(243, 164, 50, 14);
    return t;
}

} // namespace

CDlgComment::CDlgComment(platform::WindowHandle parent) : CDialog(CommentTemplate(), parent) {}

bool CDlgComment::OnInitDialog() {
    given_ = comment_;
    doNotDisplay_ = false;
    CDialog::OnInitDialog();

    CSccSettings& settings = GetSettings();
    CComboBox templates = Combo(kIdcTemplate);
    for (int i = 0; i < settings.GetTemplateCount(); ++i)
        templates.AddString(CSccSettings::TemplateTitle(settings.GetTemplate(i)));

    const std::string& remembered = settings.GetMruTemplate();
    if (!remembered.empty() && comment_.empty() && templates.SelectString(-1, remembered) >= 0)
        ChooseTemplate();

    SetFocus(kIdcComment);
    CenterWindow();
    return false;
}

void CDlgComment::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcComment, comment_);
    dx.Check(kIdcDoNotDisplay, doNotDisplay_);
}

void CDlgComment::OnSelChange(ControlId id) {
    if (id == kIdcTemplate)
        ChooseTemplate();
}

void CDlgComment::ChooseTemplate() {
    CComboBox templates = Combo(kIdcTemplate);
    const int chosen = templates.GetCurSel();
    if (chosen < 0)
        return;
    const CSccSettings& settings = GetSettings();
    const int index = settings.FindTemplate(templates.GetItemText(chosen));
    if (index >= 0) {
        comment_ = CSccSettings::TemplateBody(settings.GetTemplate(index));
        // Only the comment box: a tick the user already gave "Do not display" stays.
        Edit(kIdcComment).SetText(comment_);
    }
    SetFocus(kIdcComment);
}

void CDlgComment::OnOK() {
    CComboBox templates = Combo(kIdcTemplate);
    const int chosen = templates.GetCurSel();
    if (chosen >= 0) {
        CSccSettings& settings = GetSettings();
        settings.SetMruTemplate(templates.GetItemText(chosen));
        settings.Save();
    }
    CDialog::OnOK();
}

void CDlgComment::OnCancel() {
    comment_ = given_;
    doNotDisplay_ = false;
    CDialog::OnCancel();
}
