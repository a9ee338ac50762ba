// ui/PanelDiffCfg.cpp - the "External Tools" panel.
#include "ui/PanelDiffCfg.h"

#include "settings/SccSettings.h"
#include "ui/BrowseProgram.h"

using namespace uifw;

namespace {

using P = CPanelDiffCfg;

DialogTemplate PanelTemplate() {
    DialogTemplate t(P::kIdd, "");
    t.SetSize(260, 120);
    t.GroupBox("External Tools", P::kIdcGroup).At(0, 0, 260, 120);
    t.Label("Diff/Merge:").At(8, 14, 60, 8);
    t.Edit(P::kIdcDiffExe).At(70, 12, 160, 14).Prompt("diffexe");
    t.Button(P::kIdcBrowseDiffExe, "...").At(234, 12, 18, 14);
    t.Label("Conflict Editor:").At(8, 34, 60, 8);
    t.Edit(P::kIdcConflictExe).At(70, 32, 160, 14).Prompt("conflictexe");
    t.Button(P::kIdcBrowseConflictExe, "...").At(234, 32, 18, 14);
    t.Label("Text Editor:").At(8, 54, 60, 8);
    t.Edit(P::kIdcEditor).At(70, 52, 160, 14).Prompt("editor");
    t.Button(P::kIdcBrowseEditor, "...").At(234, 52, 18, 14);
    t.Label("Optional command-line arguments:").At(8, 80, 244, 8);
    t.Label("%1 local file, %2 remote file").At(8, 92, 244, 8);
    return t;
}

} // namespace

CPanelDiffCfg::CPanelDiffCfg() : CChildPanel(PanelTemplate()) {}

bool CPanelDiffCfg::OnInitDialog() {
    CSccSettings& settings = GetSettings();
    diffExe_ = settings.GetDiffExe();
    conflictExe_ = settings.GetConflictExe();
    editor_ = settings.GetEditor();
    return CChildPanel::OnInitDialog();
}

void CPanelDiffCfg::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcDiffExe, diffExe_);
    dx.Text(kIdcConflictExe, conflictExe_);
    dx.Text(kIdcEditor, editor_);
}

void CPanelDiffCfg::StoreTools() {
    UpdateData(true);
    CSccSettings& settings = GetSettings();
    settings.SetEditor(editor_);
    settings.SetConflictExe(conflictExe_);
    settings.SetDiffExe(diffExe_);
}

void CPanelDiffCfg::OnClicked(ControlId id) {
    if (id == kIdcBrowseDiffExe)
        Browse(kIdcDiffExe);
    else if (id == kIdcBrowseConflictExe)
        Browse(kIdcConflictExe);
    else if (id == kIdcBrowseEditor)
        Browse(kIdcEditor);
}

void CPanelDiffCfg::Browse(ControlId box) {
    StoreTools();
    std::string& value = box == kIdcDiffExe       ? diffExe_
                         : box == kIdcConflictExe ? conflictExe_
                                                  : editor_;
    value = BrowseForProgram(Handle(), value);
    ChangeStoredSettings([&](CSccSettings& stored) {
        if (box == kIdcDiffExe)
            stored.SetDiffExe(value);
        else if (box == kIdcConflictExe)
            stored.SetConflictExe(value);
        else
            stored.SetEditor(value);
        UpdateData(false);
    });
}
