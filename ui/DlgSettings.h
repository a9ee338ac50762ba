// ui/DlgSettings.h - the settings dialog, "Morvek CVS SCC :> Settings": a tree of topics on
// the left, the panel of the chosen topic on the right, OK, Cancel and Help.
//
// Topics, in this order: "Source Control Options" (CPanelCvsOpts), "External Tools"
// (CPanelDiffCfg), "Comment Templates" (CPanelCommentOpts) and "About Morvek"
// (CPanelProdInfo). The panels are made when the dialog opens, all hidden and placed over
// the panel area; choosing a topic shows its panel, then hides the one shown before. The
// first topic is chosen on opening and the tree has the focus.
//
// The panels read the process's settings object and write it back, some values at once
// (see each panel). OK applies "Source Control Options", stores the three tools, and saves
// every setting to the registry. Cancel takes nothing back: what the panels already put
// into the settings object reaches the registry with its next save, and what a "..."
// button wrote to the registry stays written. Help opens MorvekCVS.chm in the module's
// folder.
//
// Text-only hosts offer the topics as a menu (each chosen topic asks for its panel's values,
// shown with their current value; Enter keeps one), with OK and Cancel at its end; scripted
// answers visit every panel in turn and then press OK. The dialog's own answer is
// "settings" (ok or cancel); each panel names the answers it takes.
#pragma once

#include "platform/Types.h"
#include "ui/PanelCommentOpts.h"
#include "ui/PanelCvsOpts.h"
#include "ui/PanelDiffCfg.h"
#include "ui/PanelProdInfo.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

class CCVSContext;

class CDlgSettings : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddSettings;
    static constexpr uifw::ControlId kIdcTree = ui_ids::kIdcSettingsTree;
    static constexpr uifw::ControlId kIdcPanelArea = ui_ids::kIdcSettingsPanelArea;
    static constexpr uifw::ControlId kIdcHelp = ui_ids::kIdcSettingsHelp;
    // The help file, in the module's folder.
    static constexpr const char* kHelpFile = "MorvekCVS.chm";

    // context: the one the dialog is opened for (its password is forgotten when logout on
    // close is off); parent: the environment's window.
    CDlgSettings(CCVSContext* context, platform::WindowHandle parent);

    CPanelCvsOpts& CvsOpts() { return cvsOpts_; }
    CPanelDiffCfg& DiffCfg() { return diffCfg_; }
    CPanelCommentOpts& CommentOpts() { return commentOpts_; }
    CPanelProdInfo& ProdInfo() { return prodInfo_; }

protected:
    bool OnInitDialog() override;
    void OnSelChange(uifw::ControlId id) override;
    void OnClicked(uifw::ControlId id) override;
    void OnOK() override;

private:
    uifw::CChildPanel* PanelOf(uifw::TreeItem item);

    CPanelCvsOpts cvsOpts_;
    CPanelDiffCfg diffCfg_;
    CPanelCommentOpts commentOpts_;
    CPanelProdInfo prodInfo_;
    uifw::CChildPanel* shown_ = nullptr;
};
