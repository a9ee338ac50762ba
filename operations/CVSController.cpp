// operations/CVSController.cpp - the controller frame, login, update and questions.
#include "operations/CVSController.h"

#include "engine/CVSArgs.h"
#include "platform/FileSystem.h"
#include "platform/Window.h"
#include "settings/SccSettings.h"
#include "ui/DlgPassword.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/TextUtil.h"
#include "workcopy/Entries.h"
#include "workcopy/EntriesOnDisk.h"
#include "workcopy/FileStatus.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"
#include "workcopy/RepositoryBinding.h"

namespace {
// The name an unversioned file is kept under while an update brings the repository's copy.
// No other operation writes or deletes a name of this form.
constexpr const char* kSetAsideSuffix = ".~unversioned";
} // namespace

bool options::IsOn(const CCVSStringMap& map, const char* key) {
    return LookupValue(map, key) == "1";
}

std::vector<std::string> options::UpdateOptions(const CCVSStringMap& map) {
    std::vector<std::string> args;
    if (IsOn(map, kResetSticky))
        args.push_back("-A");
    if (IsOn(map, kPruneEmpty))
        args.push_back("-P");
    if (IsOn(map, kUseKeywordSub))
        args.push_back(LookupValue(map, kKeyword));
    if (IsOn(map, kGetCleanCopy))
        args.push_back("-C");
    if (IsOn(map, kCreateNewDir))
        args.push_back("-d");
    for (auto [flag, tag] : {std::pair{kMergeBranch1, kMergeTag1}, {kMergeBranch2, kMergeTag2}})
        if (IsOn(map, flag)) {
            args.push_back("-j");
            args.push_back(LookupValue(map, tag));
        }
    if (IsOn(map, kUseRevVer)) {
        args.push_back("-r");
        args.push_back(LookupValue(map, kGetRevVer));
    }
    if (IsOn(map, kUseDateVer)) {
        args.push_back("-D");
        args.push_back(LookupValue(map, kGetDateVer));
    }
    return args;
}

CCVSController::CCVSController(CCVSContext& context)
    : context_(context), outer_(context.GetController()) {
    context_.SetController(this);
}

CCVSController::~CCVSController() {
    // A controller made while another works on the context (the connection test of a dialog
    // that an operation shows) hands the context back to that one, which may still have a
    // login to answer.
    if (context_.GetController() == this)
        context_.SetController(outer_);
    context_.ShowProgress(false);
}

void CCVSController::SetErrorMessage(const std::string& text) {
    errorMessage_ = text.substr(0, kErrorMessageSize - 1);
}

bool CCVSController::Failed() {
    const std::string text = context_.GetErrorText();
    context_.Echo(text);
    SetErrorMessage(text);
    return false;
}

void CCVSController::Announce(const std::string& activity) {
    context_.SetActivity(activity);
    context_.Echo(activity);
}

bool CCVSController::OnLoginRequired(const std::string& cvsRoot) {
    return Login(cvsRoot, false);
}

// The dialogs and boxes that a command asks for are shown by the context's own thread, which
// owns the windows, also when the command runs on a worker.
void CCVSController::OnPasswordRequest() {
    CDlgPassword dialog(context_.GetWindow());
    dialog.SetCvsRoot(context_.GetCVSRoot());
    dialog.SetPassword(std::string());
    int result = uifw::kIdCancel;
    context_.RunOnContextThread([&] { result = dialog.DoModal(); });
    if (result == uifw::kIdOk)
        context_.SetPassword(dialog.GetPassword());
}

void CCVSController::OnYesNoQuestion() {
    const std::string output = context_.GetOutput();
    std::string question;
    for (const std::string& line : uifw::Split(output, '\n')) {
        if (line.empty() || line.rfind("Enter: Yes/No", 0) == 0 || line.rfind("Question:", 0) == 0)
            continue;
        question += line + "\n";
    }
    context_.ClearOutput();
    int answer = uifw::kIdNo;
    context_.RunOnContextThread([&] {
        answer = uifw::ShowMessageBox(context_.GetWindow(), question, "CVS Alert",
                                      uifw::kMbYesNo | uifw::kMbIconQuestion);
    });
    context_.GetEnvironment()["CVSLIB_YESNO"] = answer == uifw::kIdYes ? "yes" : "no";
}

bool CCVSController::Login(const std::string& cvsRoot, bool temporary) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Logging in ...");
    CDlgPassword dialog(platform::DesktopWindow());
    dialog.SetCvsRoot(cvsRoot);
    dialog.SetPassword(LookupValue(context_.GetEnvironment(), "CVS_GETPASS"));
    int result = uifw::kIdCancel;
    context_.RunOnContextThread([&] { result = dialog.DoModal(); });
    if (result != uifw::kIdOk) {
        context_.Echo(std::string());
        errorMessage_.clear();
        return false;
    }
    context_.SetPassword(dialog.GetPassword());
    CCVSArgs args;
    args.Add("-d");
    args.Add(dialog.GetCvsRoot());
    args.Add("login");
    bool ok;
    if (temporary) {
        const std::string saved = context_.GetCVSRoot();
        context_.SetCVSRoot(dialog.GetCvsRoot());
        ok = context_.RunInFolder(GetTempFolder(), args);
        context_.SetCVSRoot(saved);
    } else {
        ok = context_.RunInFolder(".", args);
    }
    return ok && context_.GetErrorText().find("Error connecting") == std::string::npos;
}

bool CCVSController::RunOn(std::initializer_list<const char*> command,
                           const std::vector<std::string>& files) {
    CCVSArgs args;
    for (const char* item : command)
        args.Add(item);
    return context_.RunOnFiles(args, files);
}

std::vector<CCVSController::SetAside>
CCVSController::SetAsideUnversioned(const std::vector<std::string>& batch) {
    std::vector<SetAside> setAside;
    for (const std::string& file : batch) {
        // A folder is never moved: cvs updates a folder in place, keeping what is in it.
        // Whether cvs knows the file is read from disk now: the cache may predate an add.
        if (!PathExists(file) || IsDirectoryPath(file) ||
            ReadEntriesListing(file) != EntriesListing::NotListed)
            continue;
        std::string backup = file + kSetAsideSuffix;
        for (int n = 2; PathExists(backup); ++n)
            backup = file + kSetAsideSuffix + std::to_string(n);
        if (platform::MoveFileTo(file, backup, false)) {
            setAside.push_back({file, backup});
            context_.Echo("Kept the unversioned file " + file + " as " + backup);
        } else {
            // Left in place: cvs then refuses to overwrite it and says so.
            context_.Echo("Could not move the unversioned file " + file +
                          " out of the way; it is left as it is");
        }
    }
    return setAside;
}

void CCVSController::RestoreSetAside(const std::vector<SetAside>& setAside, bool updated) {
    for (const SetAside& kept : setAside) {
        if (PathExists(kept.file))
            continue; // the repository's copy came; the user's stays under its kept name
        if (!platform::MoveFileTo(kept.backup, kept.file, false))
            context_.Echo("Could not put " + kept.backup + " back as " + kept.file +
                          "; it stays where it is");
        else if (updated)
            context_.Echo("The repository has no " + kept.file + "; the file is back in its place");
        else
            context_.Echo("The update failed; " + kept.file + " is back in its place");
    }
}

bool CCVSController::UpdateFiles(const std::vector<std::string>& files, bool revert, bool checkOut,
                                 bool undoCheckOut, const CCVSStringMap* options) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce(checkOut ? "Checking out file(s) ..." : "Updating file(s) ...");
    if (files.empty())
        return true;
    const CCVSStringMap& map = options ? *options : context_.GetOptions();
    std::vector<std::string> batch;
    for (size_t i = 0; i < files.size(); ++i) {
        batch.push_back(files[i]);
        const bool last = i + 1 == files.size();
        if (!last && SamePath(GetParentFolder(files[i]), GetParentFolder(files[i + 1])))
            continue;
        if (!ProcessBatch(batch, revert, checkOut, undoCheckOut, map))
            return false;
        batch.clear();
    }
    return true;
}

bool CCVSController::ProcessBatch(const std::vector<std::string>& batch, bool revert, bool checkOut,
                                  bool undoCheckOut, const CCVSStringMap& map) {
    CSccSettings& settings = GetSettings();
    const bool independent = settings.GetIndependentMode();
    const std::string folder = GetParentFolderNormalized(batch.back());
    if (!PathExists(folder) || !IsCVSFolder(folder)) {
        EnsureFolder(folder);
        if (!IsCVSFolder(folder))
            CreateAdminFolder(
                folder, context_.GetCVSRoot(),
                DeriveRepositoryPath(folder, context_.GetLocalPath(), context_.GetProjectModule()));
    }

    if (checkOut && !independent && settings.GetWarnOnEdit()) {
        if (!RunOn({"editors"}, batch))
            return Failed();
        if (!context_.GetOutput().empty() &&
            uifw::ShowMessageBox(context_.GetWindow(), "Files already open for edit. Continue?", "",
                                 uifw::kMbYesNo) != uifw::kIdYes)
            return false;
    }
    if (undoCheckOut && !independent && !RunOn({"unedit"}, batch))
        return Failed();

    bool allExist = true;
    for (const std::string& file : batch)
        allExist = allExist && PathExists(file);
    CCVSArgs update;
    update.Add("update");
    const std::vector<std::string> chosen = options::UpdateOptions(map);
    for (const std::string& option : chosen)
        update.Add(option);
    if (revert && chosen.empty())
        update.Add("-C");
    const bool skipUpdate =
        checkOut && allExist && settings.GetNoCheckoutUpdates() && chosen.empty();
    if (!skipUpdate) {
        // Only the update needs an unversioned file out of the way of the repository's copy.
        const std::vector<SetAside> setAside = SetAsideUnversioned(batch);
        const bool updated = context_.RunOnFiles(update, batch);
        if (!updated)
            Failed();
        RestoreSetAside(setAside, updated);
        if (!updated)
            return false;
    }

    if (checkOut && !independent) {
        const bool ok =
            settings.GetExclusiveLock() ? RunOn({"edit", "-x"}, batch) : RunOn({"edit"}, batch);
        if (!ok)
            return Failed();
    }
    for (const std::string& file : batch) {
        if (checkOut)
            MakeWritable(file);
        if (undoCheckOut)
            MakeReadOnly(file);
    }
    return true;
}

bool CCVSController::CheckOutFiles(const std::vector<std::string>& files,
                                   const CCVSStringMap* options) {
    return UpdateFiles(files, false, true, false, options);
}

bool CCVSController::UncheckOutFiles(const std::vector<std::string>& files) {
    CCVSContext::CCommandScope turn(context_, this);
    Announce("Unchecking out file(s) ...");
    return UpdateFiles(files, true, false, true, &context_.GetOptions());
}
