// ui/PanelCommentOpts.cpp - the comment-template panel.
#include "ui/PanelCommentOpts.h"

#include "settings/SccSettings.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/TextUtil.h"

using namespace uifw;

namespace {

DialogTemplate PanelTemplate() {
    DialogTemplate t(CPanelCommentOpts::kIdd, "");
    t.SetSize(260, 200);
    t.GroupBox("Comment Templates", CPanelCommentOpts::kIdcGroup).At(0, 0, 260, 200);
    t.DropList(CPanelCommentOpts::kIdcList, kVScroll)
        .At(10, 14, 240, 100)
        .Prompt("templates", "Comment template");
    t.Label("Description:").At(10, 34, 60, 8);
    t.Edit(CPanelCommentOpts::kIdcTitle, kDisabled).At(10, 44, 240, 14).Prompt("templatetitle");
    t.Label("Template:").At(10, 64, 60, 8);
    t.Edit(CPanelCommentOpts::kIdcBody, kDisabled | kMultiLine | kWantReturn | kVScroll)
        .At(10, 74, 240, 96)
        .Prompt("templatebody");
    t.Button(CPanelCommentOpts::kIdcSave, "Save", kDisabled)
        .At(146, 178, 50, 14)
        .Prompt("savetemplate", "Save the template");
    t.Button(CPanelCommentOpts::kIdcRemove, "Remove", kDisabled)
        .At(200, 178, 50, 14)
        .Prompt("removetemplate", "Remove the template");
    return t;
}

} // namespace

CPanelCommentOpts::CPanelCommentOpts() : CChildPanel(PanelTemplate()) {}

bool CPanelCommentOpts::OnInitDialog() {
    CChildPanel::OnInitDialog();
    FillList();
    return true;
}

void CPanelCommentOpts::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcTitle, title_);
    dx.Text(kIdcBody, body_);
}

void CPanelCommentOpts::FillList() {
    CComboBox list = Combo(kIdcList);
    list.ResetContent();
    list.AddString(kNewItem);
    const CSccSettings& settings = GetSettings();
    for (int i = 0; i < settings.GetTemplateCount(); ++i) {
        const std::string title = CSccSettings::TemplateTitle(settings.GetTemplate(i));
        // Item 0 is "<New...>" whatever a title spells.
        for (int item = list.GetCount() - 1; item >= 1; --item)
            if (EqualsNoCase(list.GetItemText(item), title))
                list.DeleteString(item);
        list.AddString(title);
    }
}

void CPanelCommentOpts::EnableEditing(bool enable) {
    for (ControlId id : {kIdcTitle, kIdcBody, kIdcSave, kIdcRemove})
        Control(id).Enable(enable);
}

void CPanelCommentOpts::OnSelChange(ControlId id) {
    if (id != kIdcList)
        return;
    CComboBox list = Combo(kIdcList);
    const int chosen = list.GetCurSel();
    title_.clear();
    body_.clear();
    if (chosen > 0) {
        const CSccSettings& settings = GetSettings();
        const int index = settings.FindTemplate(list.GetItemText(chosen));
        if (index >= 0) {
            const std::string text = settings.GetTemplate(index);
            title_ = CSccSettings::TemplateTitle(text);
            body_ = CSccSettings::TemplateBody(text);
        }
    }
    UpdateData(false);
    EnableEditing(true);
    SetFocus(kIdcBody);
}

void CPanelCommentOpts::OnClicked(ControlId id) {
    if (id == kIdcSave)
        Save();
    else if (id == kIdcRemove)
        Remove();
}

void CPanelCommentOpts::Save() {
    const std::string loaded = title_;
    const std::string title = Edit(kIdcTitle).GetText();
    const std::string body = Edit(kIdcBody).GetText();
    if (title.empty()) {
        // The loaded title stays, so that Save with a title typed afterwards still
        // replaces the template it came from.
        AppMessageBox("Missing/Invalid Template Title", kMbOk);
        return;
    }
    title_ = title;
    body_ = body;

    CSccSettings& settings = GetSettings();
    // Renaming onto a title another template has would store nothing: keep the loaded
    // one rather than drop it.
    const bool taken = title != loaded && settings.FindTemplate(title) >= 0;
    if (!taken)
        settings.UpdateTemplateList(loaded, true);
    settings.UpdateTemplateList(title + "\n" + body, false);

    FillList();
    Combo(kIdcList).SelectString(0, title);
}

void CPanelCommentOpts::Remove() {
    GetSettings().UpdateTemplateList(title_, true);
    FillList();
    EnableEditing(false);
    title_.clear();
    body_.clear();
    UpdateData(false);
}
