// ui/DlgModules.h - "Module Selection ...": the folders of a repository as a tree, each
// level listed when it is first opened.
//
// The opener sets the context and the CVSROOT, shows it modally and on OK reads the
// selected module (the repository path of the chosen folder). The top item shows the
// CVSROOT and is filled when the dialog opens.
//
// Text-only hosts ask for "modules": a path of folder names, the CVSROOT at the top may be
// left out (modules=mod/sub); on a terminal the tree is walked level by level. The dialog's
// own answer is "moduleselection" (ok or cancel).
#pragma once

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <map>
#include <memory>
#include <string>

class CDlgModules : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddModules;
    static constexpr uifw::ControlId kIdcTree = ui_ids::kIdcModulesTree;

    explicit CDlgModules(platform::WindowHandle owner);

    void SetContext(CCVSContext* context) { context_ = context; }
    void SetCvsRoot(const std::string& root) { cvsRoot_ = root; }
    const std::string& GetSelectedModule() const { return selectedModule_; }

protected:
    bool OnInitDialog() override;
    bool OnTreeExpanding(uifw::ControlId id, uifw::TreeItem item) override;
    void OnSelChange(uifw::ControlId id) override;
    void OnDestroy() override;

private:
    // Lists the repository path under the item, one child per folder; whether there was any.
    bool Fill(uifw::TreeItem item, const std::string& path);
    const CCVSModuleEntry* EntryOf(uifw::TreeItem item);

    CCVSContext* context_ = nullptr;
    std::string cvsRoot_;
    std::string selectedModule_;
    // The entry each item carries, by the item's data; freed with the items.
    std::map<uifw::ItemData, std::unique_ptr<CCVSModuleEntry>> entries_;
    uifw::ItemData nextData_ = 1;
};
