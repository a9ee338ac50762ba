// ui/PanelCommentOpts.h - the "Comment Templates" panel of the settings dialog, where
// comment templates are created, changed and removed.
//
// The list shows "<New...>" and then each stored title once (titles that differ only in
// letter case show as the later one, at its place). Choosing an item loads its title and
// body into the two boxes; Save stores the boxes as a template (replacing the template
// loaded last, so a changed title renames it) and Remove takes the loaded template out.
// Both change the process's settings object at once and leave the registry to the next
// save of the settings; cancelling the settings dialog does not undo them.
//
// Save refuses an empty title with a message and keeps what was loaded. A title that
// another stored template already has is not stored again, and the template loaded last
// then stays as it was: a rename onto a taken title never drops it.
//
// Text-only hosts ask for the template to load ("templates": a title, or "<New...>" or 1 for
// a new one), then its title and body ("templatetitle", "templatebody"), then whether to
// save it ("savetemplate") or remove it ("removetemplate"), yes or no.
#pragma once

#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CPanelCommentOpts : public uifw::CChildPanel {
public:
    static constexpr int kIdd = ui_ids::kIddPanelComment;
    static constexpr uifw::ControlId kIdcGroup = ui_ids::kIdcPanelCommentGroup;
    static constexpr uifw::ControlId kIdcList = ui_ids::kIdcPanelCommentList;
    static constexpr uifw::ControlId kIdcTitle = ui_ids::kIdcPanelCommentTitle;
    static constexpr uifw::ControlId kIdcBody = ui_ids::kIdcPanelCommentBody;
    static constexpr uifw::ControlId kIdcSave = ui_ids::kIdcPanelCommentSave;
    static constexpr uifw::ControlId kIdcRemove = ui_ids::kIdcPanelCommentRemove;
    // The first item of the list: a template not stored yet.
    static constexpr const char* kNewItem = "<New...>";

    CPanelCommentOpts();

    // The title and body loaded last (or saved last).
    const std::string& GetTitle() const { return title_; }
    const std::string& GetBody() const { return body_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnSelChange(uifw::ControlId id) override;
    void OnClicked(uifw::ControlId id) override;

private:
    void FillList();
    void EnableEditing(bool enable);
    void Save();
    void Remove();

    std::string title_;
    std::string body_;
};
