// ui/PanelCvsOpts.cpp - the "Source Control Options" panel.
#include "ui/PanelCvsOpts.h"

#include "engine/CVSContext.h"
#include "settings/SccSettings.h"
#include "ui/BrowseProgram.h"

using namespace uifw;

namespace {

// A check box of "CVS Options" and the setting it shows.
struct FlagRow {
    ControlId id;
    const char* caption;
    const char* prompt;
    bool (CSccSettings::*get)() const;
    void (CSccSettings::*set)(bool);
};

using P = CPanelCvsOpts;
using S = CSccSettings;
const FlagRow kFlagRows[] = {
    {P::kIdcWarnOnEdit, "Warn on concurrent edits", "warnonedit", &S::GetWarnOnEdit,
     &S::SetWarnOnEdit},
    {P::kIdcIndependentMode, "Work independently (disable edit/unedit)", "independentmode",
     &S::GetIndependentMode, &S::SetIndependentMode},
    {P::kIdcUseUnixLF, "Enable Unix linefeeds (-lf)", "useunixlf", &S::GetUseUnixLF,
     &S::SetUseUnixLF},
    {P::kIdcAutoCommit, "Enable auto commit/checkin when adding new files to cvs", "autocommit",
     &S::GetAutoCommit, &S::SetAutoCommit},
    {P::kIdcLogoutOnClose, "Perform logout when project is closed", "logoutonclose",
     &S::GetLogoutOnClose, &S::SetLogoutOnClose},
    {P::kIdcUseComments, "Always prompt for comments on check-in", "usecomments",
     &S::GetUseComments, &S::SetUseComments},
    {P::kIdcHideStatusUI, "Hide status/progress dialog", "hidestatusui", &S::GetHideStatusUI,
     &S::SetHideStatusUI},
    {P::kIdcNoCheckoutUpdates, "Disable automatic cvs update on check-out", "nocheckoutupdates",
     &S::GetNoCheckoutUpdates, &S::SetNoCheckoutUpdates},
    {P::kIdcUseCvsTrace, "Enable cvs diagnostic output (-t) option for cvs commands.",
     "usecvstrace", &S::GetUseCvsTrace, &S::SetUseCvsTrace},
    {P::kIdcUseQuickCompare, "Use latest version in repository when performing a compare.",
     "usequickcompare", &S::GetUseQuickCompare, &S::SetUseQuickCompare},
    {P::kIdcExclusiveLock, "Enable exclusive check outs when using edit command (-x)",
     "exclusivelock", &S::GetExclusiveLock, &S::SetExclusiveLock},
};
static_assert(sizeof kFlagRows / sizeof kFlagRows[0] == 11, "one value per check box");

DialogTemplate PanelTemplate() {
    DialogTemplate t(P::kIdd, "");
    t.SetSize(260, 270);
    t.GroupBox("CVS Settings", P::kIdcSettingsGroup).At(0, 0, 260, 96);
    t.Label("cvs.exe path:").At(8, 14, 60, 8);
    t.Edit(P::kIdcCvsExePath).At(70, 12, 160, 14).Prompt("cvsexepath");
    t.Button(P::kIdcBrowseCvsExe, "...").At(234, 12, 18, 14);
    t.Label("Vendor/Name:").At(8, 32, 60, 8);
    t.Edit(P::kIdcVendorName).At(70, 30, 182, 14).Prompt("vendorname");
    t.Label("CVS Root(s):").At(8, 50, 60, 8);
    t.DropList(P::kIdcRoots, kVScroll).At(70, 48, 140, 100).Prompt("cvsroots");
    t.Button(P::kIdcDeleteRoot, "Delete")
        .At(214, 48, 38, 14)
        .Prompt("deleteroot", "Delete the chosen CVS root");
    t.CheckBox(P::kIdcUseCompression, "Enable Compression")
        .At(8, 70, 100, 10)
        .Prompt("usecompression");
    t.Label("Compression Level:").At(120, 72, 70, 8);
    t.DropList(P::kIdcCompressLevel).At(192, 70, 60, 100).Prompt("compresslevel");
    t.GroupBox("CVS Options", P::kIdcOptionsGroup).At(0, 100, 260, 170);
    int y = 114;
    for (const FlagRow& row : kFlagRows) {
        t.CheckBox(row.id, row.caption).At(8, y, 244, 10).Prompt(row.prompt);
        y += 14;
    }
    return t;
}

} // namespace

CPanelCvsOpts::CPanelCvsOpts(CCVSContext* context)
    : CChildPanel(PanelTemplate()), context_(context) {}

bool CPanelCvsOpts::OnInitDialog() {
    shownSinceOpening_ = false;
    CChildPanel::OnInitDialog();
    CComboBox levels = Combo(kIdcCompressLevel);
    for (char level = '1'; level <= '9'; ++level)
        levels.AddString(std::string(1, level));
    const CSccSettings& settings = GetSettings();
    CComboBox roots = Combo(kIdcRoots);
    for (int i = 0; i < settings.GetRootCount(); ++i)
        roots.AddString(settings.GetRoot(i));
    cvsExePath_ = settings.GetCvsExePath();
    Refresh();
    return true;
}

void CPanelCvsOpts::DoDataExchange(CDataExchange& dx) {
    dx.Text(kIdcCvsExePath, cvsExePath_);
    dx.Text(kIdcVendorName, vendorName_);
    dx.Check(kIdcUseCompression, useCompression_);
    for (size_t i = 0; i < kFlagCount; ++i)
        dx.Check(kFlagRows[i].id, flags_[i]);
}

void CPanelCvsOpts::ReadSettings() {
    CSccSettings& settings = GetSettings();
    vendorName_ = settings.GetVendorName();
    useCompression_ = settings.GetUseCompression();
    compressLevel_ = settings.GetCompressLevel();
    size_t i = 0;
    for (const FlagRow& row : kFlagRows)
        flags_[i++] = (settings.*row.get)();
    autoMerge_ = settings.GetAutoMerge();
}

void CPanelCvsOpts::Refresh() {
    UpdateData(false);
    ReadSettings();

    const CSccSettings& settings = GetSettings();
    CComboBox roots = Combo(kIdcRoots);
    if (settings.GetRootCount() > 0) {
        // The stored root itself, not another that merely begins with its text.
        const std::string first = settings.GetRoot(0);
        int at = roots.FindStringExact(-1, first);
        if (at < 0)
            at = roots.FindString(0, first);
        if (at >= 0)
            roots.SetCurSel(at);
    }
    // An empty or unknown level chooses none (an empty text would match the first item).
    CComboBox levels = Combo(kIdcCompressLevel);
    levels.SetCurSel(compressLevel_.empty() ? -1 : levels.FindString(0, compressLevel_));
    EnableLevel();
}

void CPanelCvsOpts::Apply() {
    UpdateData(true);
    compressLevel_ = Combo(kIdcCompressLevel).GetText();

    CSccSettings& settings = GetSettings();
    settings.SetCvsExePath(cvsExePath_);
    settings.SetVendorName(vendorName_);
    settings.SetUseCompression(useCompression_);
    settings.SetCompressLevel(compressLevel_);
    size_t i = 0;
    for (const FlagRow& row : kFlagRows)
        (settings.*row.set)(flags_[i++]);
    settings.SetAutoMerge(autoMerge_);

    if (!Flag(kIdcLogoutOnClose) && context_)
        context_->GetEnvironment()["CVS_GETPASS"] = "";
    EnableLevel();
}

bool CPanelCvsOpts::Flag(ControlId id) const {
    for (size_t i = 0; i < kFlagCount; ++i)
        if (kFlagRows[i].id == id)
            return flags_[i];
    return false;
}

void CPanelCvsOpts::EnableLevel() {
    Control(kIdcCompressLevel).Enable(useCompression_);
}

void CPanelCvsOpts::OnClicked(ControlId id) {
    if (id == kIdcUseCompression)
        Apply();
    else if (id == kIdcDeleteRoot)
        DeleteRoot();
    else if (id == kIdcBrowseCvsExe)
        BrowseCvsExe();
}

void CPanelCvsOpts::OnShowWindow(bool show) {
    // The refresh at opening left the controls with the values the panel started with;
    // the first showing puts the settings there. Later showings keep what the user changed.
    if (show && !shownSinceOpening_) {
        shownSinceOpening_ = true;
        Refresh();
    }
}

void CPanelCvsOpts::DeleteRoot() {
    CComboBox roots = Combo(kIdcRoots);
    const int chosen = roots.GetCurSel();
    if (chosen < 0)
        return;
    GetSettings().UpdateRootList(roots.GetItemText(chosen), true);
    roots.DeleteString(chosen);
}

void CPanelCvsOpts::BrowseCvsExe() {
    Apply();
    cvsExePath_ = BrowseForProgram(Handle(), cvsExePath_);
    ChangeStoredSettings([this](CSccSettings& stored) {
        stored.SetCvsExePath(cvsExePath_);
        Refresh();
    });
}
