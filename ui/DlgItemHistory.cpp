// ui/DlgItemHistory.cpp - the revision history sheet and its page.
#include "ui/DlgItemHistory.h"

#include "operations/CVSController.h"
#include "settings/SccSettings.h"
#include "ui/ExternalTools.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

using namespace uifw;

namespace {

// The columns of "Revision History:", as the list shows them.
enum Column { kDate, kRevision, kAuthor, kBranch, kComment };

DialogTemplate RevHistTemplate() {
    using P = CPageItemRevHist;
    DialogTemplate t(P::kIdd, "Revisions");
    t.SetActionPrompt("action").SetSize(420, 250);
    t.Label("Filename:").At(7, 9, 40, 8);
    t.DropList(P::kIdcFileName, kSorted | kVScroll).At(50, 7, 200, 100).Prompt("historyfile");
    t.Label("Revision History:").At(7, 26, 80, 8);
    t.ListView(P::kIdcRevisions, kMultiSelect | kFullRowSelect | kShowSelAlways | kNoSortHeader |
                                     kSortAscending | kVScroll)
        .At(7, 37, 406, 110)
        .Prompt("revisions");
    t.Label("Revision Comments:").At(7, 152, 80, 8);
    t.Edit(P::kIdcComments, kMultiLine | kWantReturn | kVScroll | kDisabled)
        .At(7, 163, 406, 58)
        .Prompt("revisioncomment")
        .AskedFor(P::kIdcUpdateComments);
    t.Button(P::kIdcView, "View Revision").At(7, 229, 62, 14).Prompt("view");
    t.Button(P::kIdcDiffLocal, "Diff /w Local").At(73, 229, 62, 14).Prompt("difflocal");
    t.Button(P::kIdcReplace, "Replace Local").At(139, 229, 62, 14).Prompt("replace");
    t.Button(P::kIdcDiff, "Diff").At(205, 229, 62, 14).Prompt("diff");
    t.Button(P::kIdcRefresh, "Refresh").At(271, 229, 62, 14).Prompt("refresh");
    t.Button(P::kIdcUpdateComments, "Update Comments").At(337, 229, 76, 14).Prompt("update");
    return t;
}

// A message as the comment box shows it: each carriage return starts a line.
std::string WithLineBreaks(const std::string& message) {
    std::string text;
    text.reserve(message.size() + message.size() / 32);
    for (size_t i = 0; i < message.size(); ++i) {
        text += message[i];
        if (message[i] == '\r' && (i + 1 >= message.size() || message[i + 1] != '\n'))
            text += '\n';
    }
    return text;
}

} // namespace

CPageItemRevHist::CPageItemRevHist(CCVSContext& context, std::vector<std::string> files)
    : CPropertyPage(RevHistTemplate(), "Revisions"), context_(context), files_(std::move(files)) {}

bool CPageItemRevHist::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    CListView list = List(kIdcRevisions);
    list.InsertColumn(kDate, "Date/Time", 120);
    list.InsertColumn(kRevision, "Revision", 70);
    list.InsertColumn(kAuthor, "Author", 80);
    list.InsertColumn(kBranch, "Branch", 80);
    list.InsertColumn(kComment, "Comment", 400);

    CComboBox names = Combo(kIdcFileName);
    for (size_t i = 0; i < files_.size(); ++i)
        names.SetItemData(names.AddString(GetFileNamePart(files_[i])), static_cast<ItemData>(i));
    if (names.GetCount() > 0) {
        names.SetCurSel(0);
        ChooseFile();
    }
    for (ControlId id :
         {kIdcView, kIdcDiffLocal, kIdcReplace, kIdcDiff, kIdcRefresh, kIdcUpdateComments})
        Control(id).Enable(false);
    Edit(kIdcComments).SetText("");
    return true;
}

void CPageItemRevHist::OnSelChange(ControlId id) {
    if (id == kIdcFileName)
        ChooseFile();
}

void CPageItemRevHist::ChooseFile() {
    CComboBox names = Combo(kIdcFileName);
    const int chosen = names.GetCurSel();
    if (chosen < 0)
        return;
    const ItemData index = names.GetItemData(chosen);
    if (index < 0 || static_cast<size_t>(index) >= files_.size())
        return;
    current_ = files_[static_cast<size_t>(index)];
    for (ControlId id : {kIdcUpdateComments, kIdcRefresh, kIdcDiffLocal, kIdcView, kIdcReplace})
        Control(id).Enable(false);
    Edit(kIdcComments).SetText("");
    Load();
    // Newest first: the dates compared as byte strings.
    List(kIdcRevisions).SortItems([this](ItemData a, ItemData b) {
        const std::string& da = records_[static_cast<size_t>(a)].date;
        const std::string& db = records_[static_cast<size_t>(b)].date;
        return db.compare(da);
    });
}

void CPageItemRevHist::Load() {
    CListView list = List(kIdcRevisions);
    list.DeleteAllItems();
    Edit(kIdcComments).SetText("");
    records_.clear();
    {
        CCVSController controller(context_);
        records_ = controller.GetHistory(current_);
    }
    for (size_t i = 0; i < records_.size(); ++i) {
        const CCVSLogEntry& record = records_[i];
        const int row = list.InsertItem(list.GetItemCount(), record.date, static_cast<ItemData>(i));
        list.SetItemText(row, kRevision, record.revision);
        list.SetItemText(row, kAuthor, record.author);
        list.SetItemText(row, kBranch, record.branches);
        list.SetItemText(row, kComment, record.message);
    }
}

void CPageItemRevHist::OnListItemChanged(ControlId id, int row) {
    if (id != kIdcRevisions)
        return;
    CListView list = List(kIdcRevisions);
    CEdit comments = Edit(kIdcComments);
    comments.Enable(true);
    const ItemData index = list.GetItemData(row);
    if (index >= 0 && static_cast<size_t>(index) < records_.size())
        comments.SetText(WithLineBreaks(records_[static_cast<size_t>(index)].message));

    const int selected = list.GetSelectedCount();
    for (ControlId button : {kIdcRefresh, kIdcView, kIdcUpdateComments, kIdcDiffLocal, kIdcReplace})
        Control(button).Enable(selected > 0);
    Control(kIdcDiff).Enable(selected > 1);
    if (selected > 2)
        list.SetSelected(row, false);
}

void CPageItemRevHist::OnClicked(ControlId id) {
    switch (id) {
    case kIdcView:
        StartTool(false, true);
        break;
    case kIdcDiffLocal:
        StartTool(true, true);
        break;
    case kIdcDiff:
        StartTool(true, false);
        break;
    case kIdcReplace:
        ReplaceLocal();
        break;
    case kIdcRefresh:
        Load();
        break;
    case kIdcUpdateComments:
        UpdateComments();
        break;
    default:
        break;
    }
}

void CPageItemRevHist::OnDestroy() {
    records_.clear();
    CPropertyPage::OnDestroy();
}

std::vector<int> CPageItemRevHist::SelectedRows() {
    std::vector<int> rows;
    CListView list = List(kIdcRevisions);
    for (int row = list.GetNextSelected(); row >= 0; row = list.GetNextSelected(row))
        rows.push_back(row);
    return rows;
}

void CPageItemRevHist::UpdateComments() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    // The whole text: a long message is never cut short.
    const std::string revision = List(kIdcRevisions).GetItemText(rows[0], kRevision);
    const std::string comment = Edit(kIdcComments).GetText();
    bool changed = false;
    {
        CCVSController controller(context_);
        changed = controller.SetLogMessage(current_, revision, comment);
    }
    if (changed) {
        Load();
        return;
    }
    std::string error = context_.GetErrorText();
    if (error.empty())
        error = "The comment of revision " + revision + " of " + current_ + " was not changed";
    MessageBox(error, "Morvek :> Error", kMbOk);
}

void CPageItemRevHist::ReplaceLocal() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    const std::string revision = List(kIdcRevisions).GetItemText(rows[0], kRevision);
    CCVSController controller(context_);
    if (!IsValidPathResult(controller.GetRevision(current_, revision, true)))
        context_.Echo("Could not replace " + current_ + " by revision " + revision);
}

void CPageItemRevHist::StartTool(bool useDiffTool, bool withWorkingFile) {
    std::vector<std::string> fetched;
    for (int row : SelectedRows()) {
        const std::string revision = List(kIdcRevisions).GetItemText(row, kRevision);
        CCVSController controller(context_);
        const std::string path = controller.GetRevision(current_, revision, false);
        if (GetFileNamePart(path) == kInvalidPathResult) {
            context_.Echo("Could not get revision " + revision + " of " + current_);
            return;
        }
        fetched.push_back(path);
    }
    CSccSettings& settings = GetSettings();
    const std::string setting = useDiffTool ? settings.GetDiffExe() : settings.GetEditor();
    const std::string commandLine = HistoryToolCommandLine(setting, RevisionFileList(fetched),
                                                           current_, useDiffTool, withWorkingFile);
    StartExternalTool(context_, commandLine, useDiffTool ? "DIFFEXE" : "EDITOR", std::string());
}

CDlgItemHistory::CDlgItemHistory(CCVSContext& context, const std::string& caption,
                                 std::vector<std::string> files, platform::WindowHandle parent,
                                 int startPage)
    : CPropertySheet(caption, parent, startPage), revisions_(context, std::move(files)) {
    AddPage(revisions_);
}

bool CDlgItemHistory::OnInitDialog() {
    const bool result = CPropertySheet::OnInitDialog();
    CenterWindow(true);
    BringToTop();
    return result;
}
