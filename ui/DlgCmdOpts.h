// ui/DlgCmdOpts.h - the advanced options of a command: "Get/Check-out Advanced Options..."
// (CDlgGetCmdOpts, its page CPageUpdateOpts) and "Check-in Advanced Options..."
// (CDlgCheckInOpts, its page CPageCheckinOpts), each a sheet with one page, "Options".
//
// Both pages edit the command options map of the context (CCVSContext::GetOptions), which
// lives as long as the context: options chosen once stay in force for the later commands of
// that context until they are changed. A page reads the map when it opens and writes all its
// keys when the sheet closes with OK; Cancel leaves the map as it was. The update and commit
// operations read the keys (operations/CVSController.h, options::).
//
// "Merge two branches (-j -j)" turns both merge flags on (CHECKOUT_MERGEBRANCH1 and 2), so
// that the update gets "-j TAG1 -j TAG2"; each flag adds one "-j".
//
// The date of "By date (-D)" is kept in the map as yyyy-MM-dd, a form every cvs reads the
// same way (a date in the form of a locale, such as 10.12.2026 or 10/12/2026, is refused
// or read as another day by GNU cvs). A stored date in the form MM/dd/yyyy is read too; one
// that reads as neither opens as today. OK with "By date (-D)" chosen and no valid date says
// so and keeps the sheet open, so that cvs never gets a date it cannot read.
//
// Each "..." opens the tag selection for the project's folder (the context's local path);
// OK there puts the chosen tag into the box beside it, Cancel changes nothing.
//
// Text-only hosts ask for the values by these names (scchost --answer NAME=VALUE):
//   get and check-out (the sheet's own answer "getoptions", ok or cancel):
//     merge       "don't merge", "merge with branch", "merge two branches"
//     mergetag1, mergetag2    the merge tags; choosemergetag1, choosemergetag2 (yes) open
//                 the tag selection for them
//     version     "default", "by tag", "by date"
//     versiontag  the tag or revision to get (chooseversiontag: yes opens the tag selection)
//     date        the date to get the files as of, MM/DD/YYYY
//     resetsticky, pruneempty, createnewdir, cleancopy, keywordsub    yes or no
//     keyword     the keyword substitution: its option (-kb) or its number in the list
//   check-in and add (the sheet's own answer "checkinoptions"):
//     force, checkedits, commitbranch    yes or no
//     branch      the branch or trunk revision to commit to (choosebranch: yes opens the
//                 tag selection)
// A box and its "..." are asked only while the box is enabled.
#pragma once

#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>

class CCVSContext;

// "Options" of get and check-out: branch merging, the version to get, and how to get it.
class CPageUpdateOpts : public uifw::CPropertyPage {
public:
    static constexpr int kIdd = ui_ids::kIddUpdateOpts;
    static constexpr uifw::ControlId kIdcDontMerge = ui_ids::kIdcUpdDontMerge;
    static constexpr uifw::ControlId kIdcMergeBranch1 = ui_ids::kIdcUpdMergeBranch1;
    static constexpr uifw::ControlId kIdcMergeTag1 = ui_ids::kIdcUpdMergeTag1;
    static constexpr uifw::ControlId kIdcChooseMergeTag1 = ui_ids::kIdcUpdChooseMergeTag1;
    static constexpr uifw::ControlId kIdcMergeBranch2 = ui_ids::kIdcUpdMergeBranch2;
    static constexpr uifw::ControlId kIdcMergeTag2 = ui_ids::kIdcUpdMergeTag2;
    static constexpr uifw::ControlId kIdcChooseMergeTag2 = ui_ids::kIdcUpdChooseMergeTag2;
    static constexpr uifw::ControlId kIdcDefaultVer = ui_ids::kIdcUpdDefaultVer;
    static constexpr uifw::ControlId kIdcByTag = ui_ids::kIdcUpdByTag;
    static constexpr uifw::ControlId kIdcTag = ui_ids::kIdcUpdTag;
    static constexpr uifw::ControlId kIdcChooseTag = ui_ids::kIdcUpdChooseTag;
    static constexpr uifw::ControlId kIdcByDate = ui_ids::kIdcUpdByDate;
    static constexpr uifw::ControlId kIdcDate = ui_ids::kIdcUpdDate;
    static constexpr uifw::ControlId kIdcResetSticky = ui_ids::kIdcUpdResetSticky;
    static constexpr uifw::ControlId kIdcPruneEmpty = ui_ids::kIdcUpdPruneEmpty;
    static constexpr uifw::ControlId kIdcCreateNewDir = ui_ids::kIdcUpdCreateNewDir;
    static constexpr uifw::ControlId kIdcCleanCopy = ui_ids::kIdcUpdCleanCopy;
    static constexpr uifw::ControlId kIdcKeywordSub = ui_ids::kIdcUpdKeywordSub;
    static constexpr uifw::ControlId kIdcKeyword = ui_ids::kIdcUpdKeyword;

    // The choices of the two radio groups, in their order.
    enum Merge { kMergeNone, kMergeOne, kMergeTwo };
    enum Version { kVersionDefault, kVersionTag, kVersionDate };

    // The items of the keyword list, in order; the option an item stands for is its text
    // from the second character up to the first ")".
    static const char* const kKeywordItems[7];
    static std::string KeywordOption(const std::string& item);
    // The date as the map keeps it (yyyy-MM-dd; see above), and back.
    static std::string StoredDate(const uifw::DateValue& date);
    static uifw::DateValue ReadStoredDate(const std::string& text);

    explicit CPageUpdateOpts(CCVSContext& context);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnClicked(uifw::ControlId id) override;
    void OnOK() override;

private:
    void ReadOptions();
    void EnableControls();

    CCVSContext& context_;
    bool resetSticky_ = false, pruneEmpty_ = false, useKeywordSub_ = false, cleanCopy_ = false,
         createNewDir_ = false;
    std::string keyword_;
    int keywordIndex_ = -1;
    int merge_ = kMergeNone;
    int version_ = kVersionDefault;
    std::string tag_, mergeTag1_, mergeTag2_;
    uifw::DateValue date_;
};

// "Options" of check-in and add: force, check edits, commit to a branch.
class CPageCheckinOpts : public uifw::CPropertyPage {
public:
    static constexpr int kIdd = ui_ids::kIddCheckinOpts;
    static constexpr uifw::ControlId kIdcForce = ui_ids::kIdcCiForce;
    static constexpr uifw::ControlId kIdcCheckEdits = ui_ids::kIdcCiCheckEdits;
    static constexpr uifw::ControlId kIdcCommitBranch = ui_ids::kIdcCiCommitBranch;
    static constexpr uifw::ControlId kIdcBranch = ui_ids::kIdcCiBranch;
    static constexpr uifw::ControlId kIdcChooseBranch = ui_ids::kIdcCiChooseBranch;

    explicit CPageCheckinOpts(CCVSContext& context);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnClicked(uifw::ControlId id) override;
    void OnOK() override;

private:
    void EnableControls();

    CCVSContext& context_;
    bool force_ = false, checkEdits_ = false, commitBranch_ = false;
    std::string branch_;
};

// A sheet of one options page: the context, the caption, the owner window and the page
// shown first. No Apply button; DoModal answers kIdOk or kIdCancel.
template <class TPage> class COptionsSheet : public uifw::CPropertySheet {
public:
    TPage& Options() { return options_; }

protected:
    COptionsSheet(CCVSContext& context, const std::string& caption, platform::WindowHandle parent,
                  int startPage, const char* answerName)
        : CPropertySheet(caption, parent, startPage), options_(context) {
        template_.SetAnswerName(answerName);
        AddPage(options_);
    }

private:
    TPage options_;
};

class CDlgGetCmdOpts : public COptionsSheet<CPageUpdateOpts> {
public:
    static constexpr const char* kCaption = "Get/Check-out Advanced Options...";
    CDlgGetCmdOpts(CCVSContext& context, const std::string& caption, platform::WindowHandle parent,
                   int startPage = 0);
};

class CDlgCheckInOpts : public COptionsSheet<CPageCheckinOpts> {
public:
    static constexpr const char* kCaption = "Check-in Advanced Options...";
    CDlgCheckInOpts(CCVSContext& context, const std::string& caption, platform::WindowHandle parent,
                    int startPage = 0);
};
