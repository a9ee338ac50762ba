// ui/DlgDiff.h - the file difference dialog: the revision the diff command compares a
// working file with.
//
// Opening reads the file's history and lists the first 30 revisions by their Describe text
// ("head 1.5 DATE AUTHOR", "ancestor 1.3 ...", "1.2 ..."), the first one chosen. OK hands
// back the chosen revision's record; without a choice it says "No revision selected" and
// stays open. Cancel hands back nothing.
//
// Text-only hosts ask for "revision" (an item by its text, its number, or the revision
// number alone); the dialog's own answer is "filedifference".
#pragma once

#include "operations/CVSLogEntry.h"
#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>
#include <vector>

class CCVSContext;

class CDlgDiff : public uifw::CDialog {
public:
    static constexpr int kIdd = ui_ids::kIddDiff;
    static constexpr uifw::ControlId kIdcGroup = ui_ids::kIdcDiffGroup;
    static constexpr uifw::ControlId kIdcSourceFile = ui_ids::kIdcDiffSourceFile;
    static constexpr uifw::ControlId kIdcRevision = ui_ids::kIdcDiffRevision;
    // Revisions listed at most.
    static constexpr size_t kMaxRevisions = 30;

    // file: the working file's full path.
    CDlgDiff(CCVSContext& context, const std::string& file, platform::WindowHandle parent);

    // After OK: the chosen revision's record.
    const CCVSLogEntry& GetEntry() const { return chosen_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CCVSContext& context_;
    std::string file_;
    std::vector<CCVSLogEntry> entries_;
    CCVSLogEntry chosen_;
};
