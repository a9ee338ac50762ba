// ui/DlgConnect.h - "Connect to Repository/Module ...": the working folder, the CVSROOT and
// the module of a project.
//
// The opener sets the context (whose controller runs the connection test and the module
// browser), the three texts, the module offered first, and whether the repository and the
// working folder may be changed; shows it modally; and on OK reads the three texts. As
// ConnectProject's dialog (operations/CVSController.h) it does all that through Ask.
//
// Text-only hosts ask for: "workdir" (when it may be changed), "cvsroot", "verify" (yes runs
// the connection test), "browse" (yes opens the module browser, CDlgModules), "module";
// the dialog's own answer is "connect" (ok or cancel).
#pragma once

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CDlgConnect : public uifw::CDialog, public IConnectDialog {
public:
    static constexpr int kIdd = ui_ids::kIddConnect;
    static constexpr uifw::ControlId kIdcLocalGroup = ui_ids::kIdcConnectLocalGroup;
    static constexpr uifw::ControlId kIdcLocalPath = ui_ids::kIdcConnectLocalPath;
    static constexpr uifw::ControlId kIdcBrowseFolder = ui_ids::kIdcConnectBrowseFolder;
    static constexpr uifw::ControlId kIdcRemoteGroup = ui_ids::kIdcConnectRemoteGroup;
    static constexpr uifw::ControlId kIdcCvsRoot = ui_ids::kIdcConnectCvsRoot;
    static constexpr uifw::ControlId kIdcExample = ui_ids::kIdcConnectExample;
    static constexpr uifw::ControlId kIdcVerify = ui_ids::kIdcConnectVerify;
    static constexpr uifw::ControlId kIdcModule = ui_ids::kIdcConnectModule;
    static constexpr uifw::ControlId kIdcBrowseModules = ui_ids::kIdcConnectBrowseModules;
    static constexpr uifw::ControlId kIdcHelp = ui_ids::kIdcConnectHelp;

    explicit CDlgConnect(platform::WindowHandle owner);

    void SetContext(CCVSContext* context) { context_ = context; }
    void SetLocalPath(const std::string& path) { localPath_ = path; }
    const std::string& GetLocalPath() const { return localPath_; }
    void SetCvsRoot(const std::string& root) { cvsRoot_ = root; }
    const std::string& GetCvsRoot() const { return cvsRoot_; }
    void SetModule(const std::string& module) { module_ = module; }
    const std::string& GetModule() const { return module_; }
    void SetInitialModule(const std::string& module) { initialModule_ = module; }
    void SetRepositoryEditable(bool editable) { repositoryEditable_ = editable; }
    void SetLocalPathEditable(bool editable) { localPathEditable_ = editable; }

    // IConnectDialog.
    bool Ask(ConnectDialogValues& values) override;
    bool AnsweredByPerson() const override { return CDialog::AnsweredByPerson(); }

    // The help file the Help button opens.
    static std::string HelpFile();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnOK() override;
    void OnClicked(uifw::ControlId id) override;

private:
    // Reads the boxes; the module is the selected item of its box, else the box's text.
    void ReadValues();
    // Why the chosen folder cannot take the chosen repository and module ("" when it can).
    std::string BindingConflict() const;
    void OnVerifyConnection();
    void OnBrowseFolder();
    void OnBrowseModules();

    CCVSContext* context_ = nullptr;
    std::string localPath_;
    std::string cvsRoot_;
    std::string module_;
    std::string initialModule_;
    bool repositoryEditable_ = true;
    bool localPathEditable_ = false;
};
