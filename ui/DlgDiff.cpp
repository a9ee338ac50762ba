// ui/DlgDiff.cpp - the file difference dialog.
#include "ui/DlgDiff.h"

#include "operations/CVSController.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/PathFunctions.h"

using namespace uifw;

namespace {

DialogTemplate DiffTemplate() {
    DialogTemplate t(CDlgDiff::kIdd, "Morvek :> File Difference");
    t.SetAnswerName("filedifference").SetSize(290, 96);
    t.GroupBox("Diff File:", CDlgDiff::kIdcGroup).At(7, 7, 276, 62);
    t.Label("Source File:").At(15, 22, 50, 8);
    t.Edit(CDlgDiff::kIdcSourceFile, kReadOnly).At(68, 20, 207, 14);
    t.Label("Revision:").At(15, 44, 50, 8);
    t.DropList(CDlgDiff::kIdcRevision, kVScroll).At(68, 42, 207, 120).Prompt("revision");
    t.Button(kIdOk, "OK", kDefault).At(179, 75, 50, 14);
    t.Button(kIdCancel, "Cancel").At(233, 75, 50, 14);
    return t;
}

} // namespace

CDlgDiff::CDlgDiff(CCVSContext& context, const std::string& file, platform::WindowHandle parent)
    : CDialog(DiffTemplate(), parent), context_(context), file_(file) {}

bool CDlgDiff::OnInitDialog() {
    CDialog::OnInitDialog();
    {
        CCVSController controller(context_);
        entries_ = controller.GetHistory(NormalizePath(file_));
    }
    CComboBox revisions = Combo(kIdcRevision);
    for (size_t i = 0; i < entries_.size() && i < kMaxRevisions; ++i) {
        const std::string label = Describe(entries_[i]);
        if (revisions.FindString(-1, label) >= 0)
            continue;
        // Each item carries its record's index, so a label left out never shifts the
        // revision an item stands for.
        revisions.SetItemData(revisions.AddString(label), static_cast<ItemData>(i));
    }
    if (!entries_.empty())
        revisions.SetCurSel(0);
    Edit(kIdcSourceFile).SetText(file_);
    CenterWindow(true);
    return true;
}

void CDlgDiff::OnOK() {
    CComboBox revisions = Combo(kIdcRevision);
    const int selected = revisions.GetCurSel();
    if (selected < 0) {
        AppMessageBox("No revision selected", kMbOk);
        return;
    }
    const ItemData index = revisions.GetItemData(selected);
    if (index >= 0 && static_cast<size_t>(index) < entries_.size())
        chosen_ = entries_[static_cast<size_t>(index)];
    CDialog::OnOK();
}
