// ui/DlgConnect.cpp - the connect dialog.
#include "ui/DlgConnect.h"

#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "settings/SccSettings.h"
#include "ui/DlgModules.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/Entries.h"
#include "workcopy/RepositoryBinding.h"

using namespace uifw;

namespace {

// The longest path the working-folder box takes, with its terminating NUL.
constexpr size_t kMaxPath = 260;

DialogTemplate ConnectTemplate() {
    DialogTemplate t(CDlgConnect::kIdd, "Connect to Repository/Module ...");
    t.SetAnswerName("connect").SetSize(300, 170);
    t.GroupBox("Local Solution/Project", CDlgConnect::kIdcLocalGroup).At(7, 7, 286, 40);
    t.Label("Working Directory:").At(15, 22, 70, 8);
    t.Edit(CDlgConnect::kIdcLocalPath).At(88, 20, 180, 14).Prompt("workdir").Required();
    t.Button(CDlgConnect::kIdcBrowseFolder, "...").At(272, 20, 16, 14);
    t.GroupBox("Remote Repository/Module", CDlgConnect::kIdcRemoteGroup).At(7, 52, 286, 86);
    t.Label("CVS Repository:").At(15, 67, 70, 8);
    t.ComboBox(CDlgConnect::kIdcCvsRoot).At(88, 65, 200, 60).Prompt("cvsroot").Required();
    t.Label(":pserver:user@host:/path/to/repository", CDlgConnect::kIdcExample).At(88, 81, 200, 8);
    t.Button(CDlgConnect::kIdcVerify, "Verify Connection")
        .At(88, 93, 80, 14)
        .Prompt("verify", "Verify Connection");
    // Before the module box in tab order, so that a text-only host offers the browser first
    // and then asks for the module with the browser's choice as its answer.
    t.Button(CDlgConnect::kIdcBrowseModules, "...")
        .At(272, 113, 16, 14)
        .Prompt("browse", "Choose the module from the repository");
    t.Label("CVS Module:").At(15, 115, 70, 8);
    t.ComboBox(CDlgConnect::kIdcModule).At(88, 113, 180, 60).Prompt("module").Required();
    t.Button(kIdOk, "OK", kDefault).At(129, 148, 50, 14);
    t.Button(kIdCancel, "Cancel").At(183, 148, 50, 14);
    t.Button(CDlgConnect::kIdcHelp, "Help").At(237, 148, 50, 14);
    return t;
}

std::string WithoutTrailingSlash(std::string module) {
    if (module.size() > 1 && module.back() == '/')
        module.pop_back();
    return module;
}

} // namespace

CDlgConnect::CDlgConnect(platform::WindowHandle owner) : CDialog(ConnectTemplate(), owner) {}

std::string CDlgConnect::HelpFile() {
    return platform::ThisModuleFolder() + platform::kPathSeparator + "MorvekCVS.chm";
}

bool CDlgConnect::Ask(ConnectDialogValues& values) {
    localPath_ = values.localPath;
    cvsRoot_ = values.cvsRoot;
    module_ = values.module;
    initialModule_ = values.initialModule;
    repositoryEditable_ = values.repositoryEditable;
    localPathEditable_ = values.localPathEditable;
    if (DoModal() != kIdOk)
        return false;
    values.localPath = localPath_;
    values.cvsRoot = cvsRoot_;
    values.module = module_;
    return true;
}

bool CDlgConnect::OnInitDialog() {
    CDialog::OnInitDialog();
    Edit(kIdcLocalPath).SetReadOnly(!localPathEditable_);
    Button(kIdcBrowseFolder).Enable(localPathEditable_);

    CComboBox modules = Combo(kIdcModule);
    if (!initialModule_.empty() && modules.FindString(-1, initialModule_) < 0)
        modules.AddString(initialModule_);
    if (module_.empty() && !initialModule_.empty())
        modules.SetText(initialModule_);

    const CSccSettings& settings = GetSettings();
    CComboBox roots = Combo(kIdcCvsRoot);
    for (int i = 0; i < settings.GetRootCount(); ++i)
        roots.AddString(settings.GetRoot(i));
    roots.SetText(cvsRoot_);
    roots.Enable(repositoryEditable_);
    Button(kIdcVerify).Enable(repositoryEditable_);
    if (!localPathEditable_)
        roots.SetFocus();

    for (int i = 0; i < settings.GetModuleCount(); ++i)
        modules.AddString(settings.GetModule(i));
    if (!repositoryEditable_)
        modules.SetFocus();

    BringToTop();
    return localPathEditable_ && repositoryEditable_;
}

void CDlgConnect::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcLocalPath, localPath_);
    dx.Text(kIdcCvsRoot, cvsRoot_);
    dx.Text(kIdcModule, module_);
}

void CDlgConnect::ReadValues() {
    UpdateData(true);
    CComboBox modules = Combo(kIdcModule);
    const int selected = modules.GetCurSel();
    if (selected >= 0)
        module_ = modules.GetItemText(selected);
}

std::string CDlgConnect::BindingConflict() const {
    if (!IsCVSFolder(localPath_))
        return std::string();
    const std::string root = ReadRoot(localPath_);
    if (!SameCvsRoot(root, cvsRoot_))
        return "The folder " + localPath_ + " is a working folder of " + root + ", not of " +
               cvsRoot_ + ".\n\nChoose another folder, or that repository.";
    const std::string module = GetModulePath(localPath_);
    if (module != WithoutTrailingSlash(module_))
        return "The folder " + localPath_ + " is a working folder of the module " + module +
               ", not of " + module_ + ".\n\nChoose another folder, or that module.";
    return std::string();
}

void CDlgConnect::OnOK() {
    ReadValues();
    struct Required {
        const std::string& value;
        const char* message;
        ControlId box;
    } const required[] = {
        {localPath_, "Missing local path", kIdcLocalPath},
        {cvsRoot_, "Missing cvs root", kIdcCvsRoot},
        {module_, "Missing cvs module", kIdcModule},
    };
    for (const Required& r : required)
        if (r.value.empty()) {
            MessageBox(r.message, "Error", kMbOk);
            SetFocus(r.box);
            return;
        }
    // A folder bound elsewhere would have its commands go to its own repository while the
    // project names another.
    const std::string conflict = BindingConflict();
    if (!conflict.empty()) {
        MessageBox(conflict, "Error", kMbOk);
        SetFocus(repositoryEditable_ ? kIdcCvsRoot : kIdcModule);
        return;
    }
    EndDialog(kIdOk);
}

void CDlgConnect::OnClicked(ControlId id) {
    if (id == kIdcVerify)
        OnVerifyConnection();
    else if (id == kIdcBrowseFolder)
        OnBrowseFolder();
    else if (id == kIdcBrowseModules)
        OnBrowseModules();
    else if (id == kIdcHelp)
        uifw::ShowHelp(HelpFile());
}

void CDlgConnect::OnVerifyConnection() {
    if (!context_)
        return;
    const std::string root = Combo(kIdcCvsRoot).GetText();
    ReadValues();
    bool connected;
    {
        CCVSController controller(*context_);
        // A login to a repository without passwords succeeds whether or not it is there:
        // only a listing of its top shows that it answers.
        connected = controller.Login(root, true) && controller.TestModule(root, std::string());
    }
    if (connected) {
        CWaitCursor busy;
        CComboBox roots = Combo(kIdcCvsRoot);
        if (roots.FindString(-1, root) < 0) {
            roots.AddString(root);
            CSccSettings& settings = GetSettings();
            settings.UpdateRootList(root, false);
            settings.Save();
        } else {
            roots.SelectString(-1, root);
        }
        UpdateData(false);
    } else {
        CWaitCursor busy;
        UpdateData(false);
    }
    const std::string text =
        connected ? "Successfully connected to " + root + "."
                  : "Unable to connect to " + root + "\n\n" + context_->GetErrorText();
    MessageBox(text, "Morvek :> Connection Test", kMbOk | kMbIconInformation);
}

void CDlgConnect::OnBrowseFolder() {
    const std::optional<std::string> folder = uifw::BrowseForFolder(Handle(), "Select a folder");
    if (!folder)
        return;
    std::string path = *folder;
    if (path.size() + 1 < kMaxPath)
        path += platform::kPathSeparator;
    Edit(kIdcLocalPath).SetText(path);
}

void CDlgConnect::OnBrowseModules() {
    const std::string root = Combo(kIdcCvsRoot).GetText();
    if (root.empty()) {
        AppMessageBox("Please enter a CVSROOT", kMbOk);
        return;
    }
    CDlgModules modules(Handle());
    modules.SetContext(context_);
    modules.SetCvsRoot(root);
    if (modules.DoModal() == kIdOk) {
        // The choice is the box's text now; a list item left selected would win over it.
        CComboBox box = Combo(kIdcModule);
        box.SetCurSel(-1);
        box.SetText(modules.GetSelectedModule());
    }
}
