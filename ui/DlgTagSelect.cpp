// ui/DlgTagSelect.cpp - the tag selection.
#include "ui/DlgTagSelect.h"

#include "operations/CVSController.h"

#include <vector>

using namespace uifw;

namespace {

DialogTemplate TagTemplate() {
    DialogTemplate t(CDlgTagSelect::kIdd, "Select Tag");
    t.SetAnswerName("selecttag").SetSize(186, 170);
    t.Label("Current Tags:").At(7, 7, 100, 8);
    t.ListView(CDlgTagSelect::kIdcTags, kFullRowSelect | kShowSelAlways | kNoSortHeader | kVScroll)
        .At(7, 18, 172, 124)
        .Prompt("tag");
    t.Button(kIdOk, "OK", kDefault).At(75, 149, 50, 14);
    t.Button(kIdCancel, "Cancel").At(129, 149, 50, 14);
    return t;
}

} // namespace

CDlgTagSelect::CDlgTagSelect(CCVSContext& context, platform::WindowHandle parent)
    : CDialog(TagTemplate(), parent), context_(context) {}

bool CDlgTagSelect::OnInitDialog() {
    CDialog::OnInitDialog();
    tag_.clear();
    CListView tags = List(kIdcTags);
    tags.InsertColumn(0, "Tag", 160);
    std::vector<std::string> found;
    CCVSController controller(context_);
    if (controller.GetTags(path_, found))
        for (const std::string& tag : found)
            tags.InsertItem(0, tag);
    return true;
}

void CDlgTagSelect::OnOK() {
    CListView tags = List(kIdcTags);
    const int selected = tags.GetNextSelected();
    tag_ = selected >= 0 ? tags.GetItemText(selected, 0) : std::string();
    CDialog::OnOK();
}
