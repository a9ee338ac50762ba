// ui/DlgPassword.h - the repository login dialog: asks for the password of a CVSROOT.
//
// The controller opens it (for a login, and when the client library asks for a password
// while a command runs), so it includes nothing above the dialog layer.
//
// The opener sets the CVSROOT and an initial password, shows it modally, and on OK reads
// the password and the CVSROOT (which the user may have typed when it was empty). Cancel
// empties the password.
#pragma once

#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CDlgPassword : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddPassword;
    static constexpr uifw::ControlId kIdcCredentials = ui_ids::kIdcPasswordCredentials;
    static constexpr uifw::ControlId kIdcCvsRoot = ui_ids::kIdcPasswordCvsRoot;
    static constexpr uifw::ControlId kIdcPassword = ui_ids::kIdcPasswordPassword;

    explicit CDlgPassword(platform::WindowHandle owner);

    void SetCvsRoot(const std::string& cvsRoot) { cvsRoot_ = cvsRoot; }
    const std::string& GetCvsRoot() const { return cvsRoot_; }
    void SetPassword(const std::string& password) { password_ = password; }
    const std::string& GetPassword() const { return password_; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnCancel() override;

private:
    std::string cvsRoot_;
    std::string password_;
};
