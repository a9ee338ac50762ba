// ui/PanelDiffCfg.h - the "External Tools" panel of the settings dialog: the programs for
// comparing and merging (DIFFEXE), for conflicts (CONFLICTEXE) and for text (EDITOR).
//
// The boxes open with the settings as their getters give them (each has a default when it
// is empty). Reading the boxes - on the dialog's OK and before each browse - stores them in
// the process's settings object at once. Each "..." chooses a program for its box and
// writes that setting to the registry at once, even if the dialog is then cancelled. A tool
// text may carry "%1" (the local file) and "%2" (the remote file).
//
// Text-only hosts ask for the three boxes as "diffexe", "conflictexe" and "editor".
#pragma once

#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CPanelDiffCfg : public uifw::CChildPanel {
public:
    static constexpr int kIdd = ui_ids::kIddPanelDiffCfg;
    static constexpr uifw::ControlId kIdcGroup = ui_ids::kIdcDiffCfgGroup;
    static constexpr uifw::ControlId kIdcDiffExe = ui_ids::kIdcDiffCfgDiffExe;
    static constexpr uifw::ControlId kIdcBrowseDiffExe = ui_ids::kIdcDiffCfgBrowseDiffExe;
    static constexpr uifw::ControlId kIdcConflictExe = ui_ids::kIdcDiffCfgConflictExe;
    static constexpr uifw::ControlId kIdcBrowseConflictExe = ui_ids::kIdcDiffCfgBrowseConflictExe;
    static constexpr uifw::ControlId kIdcEditor = ui_ids::kIdcDiffCfgEditor;
    static constexpr uifw::ControlId kIdcBrowseEditor = ui_ids::kIdcDiffCfgBrowseEditor;

    CPanelDiffCfg();

    // Reads the three boxes into the settings object (EDITOR, CONFLICTEXE, DIFFEXE).
    void StoreTools();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnClicked(uifw::ControlId id) override;

private:
    void Browse(uifw::ControlId box);

    std::string diffExe_;
    std::string conflictExe_;
    std::string editor_;
};
