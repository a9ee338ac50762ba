// ui/DlgTagSelect.h - the tag selection: the tags of the project, one of them chosen.
//
// The opener sets the path whose tags are listed (the options pages give the project's
// local path). Opening lists the tags of that folder and below, the last found on top. OK
// hands back the chosen tag (empty when none is chosen); Cancel hands back nothing. A
// failed listing leaves the list empty.
//
// Text-only hosts ask for "tag" (a tag by its name or its number); the dialog's own answer
// is "selecttag".
#pragma once

#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CCVSContext;

class CDlgTagSelect : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddTagSelect;
    static constexpr uifw::ControlId kIdcTags = ui_ids::kIdcTagSelectList;

    CDlgTagSelect(CCVSContext& context, platform::WindowHandle parent);

    void SetPath(const std::string& path) { path_ = path; }
    const std::string& GetPath() const { return path_; }
    // After OK: the chosen tag, or empty.
    const std::string& GetTag() const { return tag_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CCVSContext& context_;
    std::string path_;
    std::string tag_;
};
