// ui/DlgComment.h - the check-in comment dialog: asks for the comment of a check-in or an
// add, typed or taken from a stored comment template.
//
// The opener sets the comment known so far, shows the dialog modally, and on OK reads the
// comment and the "Do not display" box (the file commands then set USECOMMENTS to its
// negation). A comment handed in is never replaced on opening; without one, the template
// whose title begins with MRUTEMPLATE is chosen and its body fills the comment. OK with a
// template chosen remembers its title in MRUTEMPLATE and saves the settings at once.
//
// Cancel stores nothing and gives back the comment exactly as it was handed in, whatever
// was typed or chosen meanwhile, so a caller never loses a comment the user wrote before.
//
// Text-only hosts ask for the template ("template", a numbered list, skipped when none is
// stored), the comment ("comment", several lines; Enter keeps a comment already there) and
// the box ("donotdisplay"); the dialog's own answer is "checkincomments".
#pragma once

#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CDlgComment : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddComment;
    static constexpr uifw::ControlId kIdcTemplate = ui_ids::kIdcCommentTemplate;
    static constexpr uifw::ControlId kIdcComment = ui_ids::kIdcCommentText;
    static constexpr uifw::ControlId kIdcDoNotDisplay = ui_ids::kIdcCommentDoNotDisplay;

    // parent: the window the environment gave to the interface call.
    explicit CDlgComment(platform::WindowHandle parent);

    void SetComment(const std::string& comment) { comment_ = comment; }
    const std::string& GetComment() const { return comment_; }
    bool GetDoNotDisplay() const { return doNotDisplay_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnSelChange(uifw::ControlId id) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ChooseTemplate();

    std::string comment_;
    bool doNotDisplay_ = false;
    // The comment as the opener handed it in, for Cancel.
    std::string given_;
};
