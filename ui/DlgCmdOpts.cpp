// ui/DlgCmdOpts.cpp - the advanced-options sheets and their pages.
#include "ui/DlgCmdOpts.h"

#include "engine/CVSContext.h"
#include "operations/CVSController.h"
#include "ui/DlgTagSelect.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/PathFunctions.h"

using namespace uifw;

namespace {

constexpr const char* kPageTitle = "Options";
constexpr const char* kDateFormat = "MM/dd/yyyy";
// What the map holds for a date the picker could not convert.
constexpr const char* kInvalidDate = "Invalid DateTime";

const char* Flag(bool on) {
    return on ? "1" : "0";
}

// A box for a tag with its "..." at (x, y); the "..." is asked for only while the box is
// enabled.
struct TagBox {
    ControlId box, button;
    const char* prompt;
    const char* label;
    const char* choose;
};

void AddTagBox(DialogTemplate& t, const TagBox& b, int x, int y, int width) {
    t.Edit(b.box).At(x, y, width, 14).Prompt(b.prompt, b.label);
    t.Button(b.button, "...")
        .At(x + width + 4, y, 16, 14)
        .Prompt(std::string("choose") + b.prompt, b.choose)
        .AskedWith(b.box);
}

DialogTemplate UpdateTemplate() {
    using P = CPageUpdateOpts;
    DialogTemplate t(P::kIdd, kPageTitle);
    t.SetSize(250, 246);
    t.GroupBox("Branch Merging", ui_ids::kIdcUpdMergeGroup).At(7, 7, 236, 66);
    t.Radio(P::kIdcDontMerge, "Don't merge", kGroup).At(14, 18, 120, 10).Prompt("merge");
    t.Radio(P::kIdcMergeBranch1, "Merge with branch (-j)").At(14, 32, 100, 10);
    AddTagBox(t,
              {P::kIdcMergeTag1, P::kIdcChooseMergeTag1, "mergetag1",
               "First merge tag:", "Choose the first merge tag from the project's tags"},
              120, 30, 96);
    t.Radio(P::kIdcMergeBranch2, "Merge two branches (-j -j)").At(14, 52, 100, 10);
    AddTagBox(t,
              {P::kIdcMergeTag2, P::kIdcChooseMergeTag2, "mergetag2",
               "Second merge tag:", "Choose the second merge tag from the project's tags"},
              120, 50, 96);

    t.GroupBox("Use Version", ui_ids::kIdcUpdVersionGroup).At(7, 78, 236, 66);
    t.Radio(P::kIdcDefaultVer, "Default", kGroup).At(14, 89, 100, 10).Prompt("version");
    t.Radio(P::kIdcByTag, "By tag (-r)").At(14, 105, 100, 10);
    AddTagBox(t,
              {P::kIdcTag, P::kIdcChooseTag, "versiontag",
               "Tag or revision:", "Choose the tag from the project's tags"},
              120, 103, 96);
    t.Radio(P::kIdcByDate, "By date (-D)").At(14, 125, 100, 10);
    t.DatePicker(P::kIdcDate, kShowNone).At(120, 123, 116, 14).Prompt("date", "Date:");

    t.GroupBox("Options", ui_ids::kIdcUpdOptionsGroup).At(7, 149, 236, 90);
    t.CheckBox(P::kIdcResetSticky, "Reset sticky data (-A)")
        .At(14, 160, 110, 10)
        .Prompt("resetsticky");
    t.CheckBox(P::kIdcPruneEmpty, "Prune empty directories (-P)")
        .At(128, 160, 110, 10)
        .Prompt("pruneempty");
    t.CheckBox(P::kIdcCreateNewDir, "Create new directories (-d)")
        .At(14, 174, 110, 10)
        .Prompt("createnewdir");
    t.CheckBox(P::kIdcCleanCopy, "Clean copy (-C)").At(128, 174, 110, 10).Prompt("cleancopy");
    t.CheckBox(P::kIdcKeywordSub, "Keyword Substitution:")
        .At(14, 192, 110, 10)
        .Prompt("keywordsub");
    t.DropList(P::kIdcKeyword, kVScroll).At(14, 206, 222, 100).Prompt("keyword");
    return t;
}

DialogTemplate CheckinTemplate() {
    using P = CPageCheckinOpts;
    DialogTemplate t(P::kIdd, kPageTitle);
    t.SetSize(250, 90);
    t.CheckBox(P::kIdcForce, "Force commit/checkin (-f)").At(7, 7, 200, 10).Prompt("force");
    t.CheckBox(P::kIdcCheckEdits, "Check for valid edits (-c)")
        .At(7, 21, 200, 10)
        .Prompt("checkedits");
    t.CheckBox(P::kIdcCommitBranch, "Commit to this branch or trunk revision (-r rev)")
        .At(7, 35, 236, 10)
        .Prompt("commitbranch");
    AddTagBox(t,
              {P::kIdcBranch, P::kIdcChooseBranch, "branch",
               "Branch or revision:", "Choose the branch from the project's tags"},
              17, 49, 200);
    return t;
}

// The "..." beside a box: the tag selection for the project's folder; OK puts its tag into
// the box.
void ChooseTag(CCVSContext& context, CWindowBase& page, ControlId box) {
    CDlgTagSelect select(context, page.Handle());
    select.SetPath(NormalizePath(context.GetLocalPath()));
    if (select.DoModal() == kIdOk)
        page.Edit(box).SetText(select.GetTag());
}

} // namespace

// --- CPageUpdateOpts

const char* const CPageUpdateOpts::kKeywordItems[7] = {
    "(-kv) (Default) Substitue keyword and value.",
    "(-kvl) Substitue keyword, value, and locker (if any).",
    "(-kk) Substitue keyword only.",
    "(-ko) Preserve original string.",
    "(-kb) Like o, but mark file as binary.",
    "(-ku) Mark file as unicode",
    "(-kv) Substitue value only.",
};

std::string CPageUpdateOpts::KeywordOption(const std::string& item) {
    const size_t close = item.find(')');
    if (item.size() < 2)
        return std::string();
    return item.substr(1, close == std::string::npos ? std::string::npos : close - 1);
}

std::string CPageUpdateOpts::StoredDate(const DateValue& date) {
    switch (date.state) {
    case DateValue::State::Valid:
        return date.Format("yyyy-MM-dd");
    case DateValue::State::Invalid:
        return kInvalidDate;
    case DateValue::State::Empty:
        break;
    }
    return std::string();
}

DateValue CPageUpdateOpts::ReadStoredDate(const std::string& text) {
    DateValue date = ParseYearMonthDay(text);
    if (!date.IsValid())
        date = ParseMonthDayYear(text);
    return date.IsValid() ? date : DateValue::Now();
}

CPageUpdateOpts::CPageUpdateOpts(CCVSContext& context)
    : CPropertyPage(UpdateTemplate(), kPageTitle), context_(context) {}

void CPageUpdateOpts::ReadOptions() {
    using namespace options;
    const CCVSStringMap& map = context_.GetOptions();
    resetSticky_ = IsOn(map, kResetSticky);
    pruneEmpty_ = IsOn(map, kPruneEmpty);
    useKeywordSub_ = IsOn(map, kUseKeywordSub);
    cleanCopy_ = IsOn(map, kGetCleanCopy);
    createNewDir_ = IsOn(map, kCreateNewDir);
    keyword_ = LookupValue(map, kKeyword);
    tag_ = LookupValue(map, kGetRevVer);
    mergeTag1_ = LookupValue(map, kMergeTag1);
    mergeTag2_ = LookupValue(map, kMergeTag2);
    date_ = ReadStoredDate(LookupValue(map, kGetDateVer));
    // The first choice of each group that is on; none on chooses the first. Two branches
    // have both merge flags on (see OnOK).
    merge_ = IsOn(map, kDontMerge)      ? kMergeNone
             : IsOn(map, kMergeBranch2) ? kMergeTwo
             : IsOn(map, kMergeBranch1) ? kMergeOne
                                        : kMergeNone;
    version_ = IsOn(map, kUseDefaultVer) ? kVersionDefault
               : IsOn(map, kUseRevVer)   ? kVersionTag
               : IsOn(map, kUseDateVer)  ? kVersionDate
                                         : kVersionDefault;
    keywordIndex_ = -1;
    for (int i = 0; i < 7; ++i)
        if (KeywordOption(kKeywordItems[i]) == keyword_) {
            keywordIndex_ = i;
            break;
        }
}

bool CPageUpdateOpts::OnInitDialog() {
    Date(kIdcDate).SetFormat(kDateFormat);
    CComboBox keywords = Combo(kIdcKeyword);
    for (const char* item : kKeywordItems)
        keywords.AddString(item);
    ReadOptions();
    CPropertyPage::OnInitDialog();
    EnableControls();
    return true;
}

void CPageUpdateOpts::DoDataExchange(CDataExchange& dx) {
    dx.Radio(kIdcDontMerge, merge_);
    dx.Text(kIdcMergeTag1, mergeTag1_);
    dx.Text(kIdcMergeTag2, mergeTag2_);
    dx.Radio(kIdcDefaultVer, version_);
    dx.Text(kIdcTag, tag_);
    dx.Date(kIdcDate, date_);
    dx.Check(kIdcResetSticky, resetSticky_);
    dx.Check(kIdcPruneEmpty, pruneEmpty_);
    dx.Check(kIdcCreateNewDir, createNewDir_);
    dx.Check(kIdcCleanCopy, cleanCopy_);
    dx.Check(kIdcKeywordSub, useKeywordSub_);
    dx.ComboIndex(kIdcKeyword, keywordIndex_);
    if (dx.IsSaving() && version_ == kVersionDate && !date_.IsValid()) {
        AppMessageBox("Choose the date to get the files as of: cvs cannot get them by date "
                      "without one.",
                      kMbOk | kMbIconWarning);
        dx.Fail(kIdcDate);
    }
}

void CPageUpdateOpts::EnableControls() {
    const int merge = Button(kIdcMergeBranch2).GetCheck()   ? kMergeTwo
                      : Button(kIdcMergeBranch1).GetCheck() ? kMergeOne
                                                            : kMergeNone;
    Date(kIdcDate).Enable(Button(kIdcByDate).GetCheck());
    Edit(kIdcTag).Enable(Button(kIdcByTag).GetCheck());
    Edit(kIdcMergeTag1).Enable(merge != kMergeNone);
    Edit(kIdcMergeTag2).Enable(merge == kMergeTwo);
    Combo(kIdcKeyword).Enable(Button(kIdcKeywordSub).GetCheck());
}

void CPageUpdateOpts::OnClicked(ControlId id) {
    switch (id) {
    case kIdcChooseMergeTag1:
        ChooseTag(context_, *this, kIdcMergeTag1);
        return;
    case kIdcChooseMergeTag2:
        ChooseTag(context_, *this, kIdcMergeTag2);
        return;
    case kIdcChooseTag:
        ChooseTag(context_, *this, kIdcTag);
        return;
    case kIdcDontMerge:
    case kIdcMergeBranch1:
    case kIdcMergeBranch2:
    case kIdcDefaultVer:
    case kIdcByTag:
    case kIdcByDate:
    case kIdcKeywordSub:
        EnableControls();
        return;
    default:
        return;
    }
}

void CPageUpdateOpts::OnOK() {
    using namespace options;
    keyword_ = keywordIndex_ >= 0 && keywordIndex_ < 7 ? KeywordOption(kKeywordItems[keywordIndex_])
                                                       : std::string();
    CCVSStringMap& map = context_.GetOptions();
    map[kDontMerge] = Flag(merge_ == kMergeNone);
    // Each merge flag adds its own "-j TAG" to the update, so two branches need both: with
    // the second alone, the update would merge from one branch only.
    map[kMergeBranch1] = Flag(merge_ != kMergeNone);
    map[kMergeBranch2] = Flag(merge_ == kMergeTwo);
    map[kMergeTag1] = mergeTag1_;
    map[kMergeTag2] = mergeTag2_;
    map[kUseDefaultVer] = Flag(version_ == kVersionDefault);
    map[kUseRevVer] = Flag(version_ == kVersionTag);
    map[kGetRevVer] = tag_;
    map[kUseDateVer] = Flag(version_ == kVersionDate);
    map[kGetDateVer] = StoredDate(date_);
    map[kResetSticky] = Flag(resetSticky_);
    map[kPruneEmpty] = Flag(pruneEmpty_);
    map[kCreateNewDir] = Flag(createNewDir_);
    map[kGetCleanCopy] = Flag(cleanCopy_);
    map[kUseKeywordSub] = Flag(useKeywordSub_);
    map[kKeyword] = keyword_;
}

// --- CPageCheckinOpts

CPageCheckinOpts::CPageCheckinOpts(CCVSContext& context)
    : CPropertyPage(CheckinTemplate(), kPageTitle), context_(context) {}

bool CPageCheckinOpts::OnInitDialog() {
    using namespace options;
    const CCVSStringMap& map = context_.GetOptions();
    force_ = IsOn(map, kCommitForced);
    checkEdits_ = IsOn(map, kCommitCheckEdits);
    commitBranch_ = IsOn(map, kCommitBranch);
    branch_ = LookupValue(map, kCommitBranchName);
    CPropertyPage::OnInitDialog();
    EnableControls();
    return true;
}

void CPageCheckinOpts::DoDataExchange(CDataExchange& dx) {
    dx.Check(kIdcForce, force_);
    dx.Check(kIdcCheckEdits, checkEdits_);
    dx.Check(kIdcCommitBranch, commitBranch_);
    dx.Text(kIdcBranch, branch_);
}

void CPageCheckinOpts::EnableControls() {
    const bool on = Button(kIdcCommitBranch).GetCheck();
    Edit(kIdcBranch).Enable(on);
    Button(kIdcChooseBranch).Enable(on);
}

void CPageCheckinOpts::OnClicked(ControlId id) {
    if (id == kIdcCommitBranch)
        EnableControls();
    else if (id == kIdcChooseBranch)
        ChooseTag(context_, *this, kIdcBranch);
}

void CPageCheckinOpts::OnOK() {
    using namespace options;
    CCVSStringMap& map = context_.GetOptions();
    map[kCommitForced] = Flag(force_);
    map[kCommitCheckEdits] = Flag(checkEdits_);
    map[kCommitBranch] = Flag(commitBranch_);
    map[kCommitBranchName] = branch_;
}

// --- the sheets

CDlgGetCmdOpts::CDlgGetCmdOpts(CCVSContext& context, const std::string& caption,
                               platform::WindowHandle parent, int startPage)
    : COptionsSheet(context, caption, parent, startPage, "getoptions") {}

CDlgCheckInOpts::CDlgCheckInOpts(CCVSContext& context, const std::string& caption,
                                 platform::WindowHandle parent, int startPage)
    : COptionsSheet(context, caption, parent, startPage, "checkinoptions") {}
