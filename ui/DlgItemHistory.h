// ui/DlgItemHistory.h - the revision history: a sheet with one page, "Revisions", that
// lists the revisions of one file at a time and acts on the selected ones.
//
// The page lists the files under their names ("Filename:", sorted) and the revisions of the
// chosen one (newest first; after "Refresh" in the list's own ascending order of date),
// with the log message of the row last clicked in "Revision Comments:". At most two rows
// are selected. Its actions:
//  - View Revision: every selected revision is fetched beside the file (CVS/Diff) and the
//    files open in one editor (EDITOR);
//  - Diff /w Local: the same with the diff tool (DIFFEXE) and the working file, placed by
//    the tool's placeholders;
//  - Diff: the two selected revisions in the diff tool;
//  - Replace Local: the first selected revision replaces the working file; local changes
//    are kept beside it as .#NAME.REV, and the output pane says where;
//  - Refresh: the log is read again;
//  - Update Comments: the first selected revision's log message becomes the text of
//    "Revision Comments:", and the list is read again.
// A revision that cannot be fetched ends its action, with a line in the output pane; a tool
// that cannot be started says why in a message box; the sheet stays usable after either.
//
// Text-only hosts play the page as a loop of actions (Prompts.h): the files ("historyfile"),
// the table of revisions and the rows ("revisions": rows by any of their cells, such as
// the revision number), then the action ("action": one of the button names or "close"),
// and for Update Comments the new text ("revisioncomment").
#pragma once

#include "operations/CVSLogEntry.h"
#include "platform/Types.h"
#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <string>
#include <vector>

class CCVSContext;

class CPageItemRevHist : public uifw::CPropertyPage {
public:
    static constexpr int kIdd = ui_ids::kIddPageRevHist;
    static constexpr uifw::ControlId kIdcFileName = ui_ids::kIdcRevHistFileName;
    static constexpr uifw::ControlId kIdcRevisions = ui_ids::kIdcRevHistList;
    static constexpr uifw::ControlId kIdcComments = ui_ids::kIdcRevHistComments;
    static constexpr uifw::ControlId kIdcView = ui_ids::kIdcRevHistView;
    static constexpr uifw::ControlId kIdcDiffLocal = ui_ids::kIdcRevHistDiffLocal;
    static constexpr uifw::ControlId kIdcReplace = ui_ids::kIdcRevHistReplace;
    static constexpr uifw::ControlId kIdcDiff = ui_ids::kIdcRevHistDiff;
    static constexpr uifw::ControlId kIdcRefresh = ui_ids::kIdcRevHistRefresh;
    static constexpr uifw::ControlId kIdcUpdateComments = ui_ids::kIdcRevHistUpdateComments;

    // files: full paths, in the caller's order.
    CPageItemRevHist(CCVSContext& context, std::vector<std::string> files);

    const std::string& CurrentFile() const { return current_; }
    const std::vector<CCVSLogEntry>& Records() const { return records_; }

protected:
    bool OnInitDialog() override;
    void OnSelChange(uifw::ControlId id) override;
    void OnListItemChanged(uifw::ControlId id, int row) override;
    void OnClicked(uifw::ControlId id) override;
    void OnDestroy() override;

private:
    void ChooseFile();
    void Load();
    void UpdateComments();
    void ReplaceLocal();
    void StartTool(bool useDiffTool, bool withWorkingFile);
    std::vector<int> SelectedRows();

    CCVSContext& context_;
    std::vector<std::string> files_;
    std::string current_;
    std::vector<CCVSLogEntry> records_;
};

class CDlgItemHistory : public uifw::CPropertySheet {
public:
    // The history command passes the caption "History", no parent and the first page.
    CDlgItemHistory(CCVSContext& context, const std::string& caption,
                    std::vector<std::string> files, platform::WindowHandle parent = nullptr,
                    int startPage = 0);

    CPageItemRevHist& Revisions() { return revisions_; }

protected:
    bool OnInitDialog() override;

private:
    CPageItemRevHist revisions_;
};
