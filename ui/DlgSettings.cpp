// ui/DlgSettings.cpp - the settings dialog.
#include "ui/DlgSettings.h"

#include "platform/Module.h"
#include "settings/SccSettings.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/MessageBox.h"
#include "workcopy/PathFunctions.h"

using namespace uifw;

namespace {

using D = CDlgSettings;

// The topics in tree order; an item's data is its index here.
const char* const kTopics[] = {"Source Control Options", "External Tools", "Comment Templates",
                               "About Morvek"};

DialogTemplate SettingsTemplate() {
    DialogTemplate t(D::kIdd, "Morvek CVS SCC :> Settings");
    t.SetAnswerName("settings").SetSize(400, 300);
    t.TreeView(D::kIdcTree, kPanelMenu).At(7, 7, 120, 264);
    // The area the panels are placed over.
    t.Add(ControlKind::Static, D::kIdcPanelArea, "", kHidden).At(133, 7, 260, 264);
    t.Button(kIdOk, "OK", kDefault).At(235, 279, 50, 14);
    t.Button(kIdCancel, "Cancel").At(289, 279, 50, 14);
    t.Button(D::kIdcHelp, "Help").At(343, 279, 50, 14);
    return t;
}

} // namespace

CDlgSettings::CDlgSettings(CCVSContext* context, platform::WindowHandle parent)
    : CDialog(SettingsTemplate(), parent), cvsOpts_(context) {}

CChildPanel* CDlgSettings::PanelOf(TreeItem item) {
    if (item == kTreeNone)
        return nullptr;
    CChildPanel* panels[] = {&cvsOpts_, &diffCfg_, &commentOpts_, &prodInfo_};
    const ItemData index = Tree(kIdcTree).GetItemData(item);
    return index >= 0 && index < 4 ? panels[index] : nullptr;
}

bool CDlgSettings::OnInitDialog() {
    shown_ = nullptr;
    CDialog::OnInitDialog();

    CTreeView tree = Tree(kIdcTree);
    tree.SetImageList({ui_ids::kIdiSettingsCvs, ui_ids::kIdiSettingsTools,
                       ui_ids::kIdiSettingsComments, ui_ids::kIdiSettingsAbout});
    for (ItemData i = 0; i < 4; ++i)
        tree.SetItemImage(tree.InsertItem(kTreeTop, kTopics[i], i), static_cast<int>(i));

    const ControlSpec* area = Template().Find(kIdcPanelArea);
    for (CChildPanel* panel :
         std::initializer_list<CChildPanel*>{&cvsOpts_, &diffCfg_, &commentOpts_, &prodInfo_}) {
        panel->Create(*this);
        panel->MoveWindow(area->rect);
    }

    tree.SelectItem(tree.GetRootItem());
    SetFocus(kIdcTree);
    BringToTop();
    return false;
}

void CDlgSettings::OnSelChange(ControlId id) {
    if (id != kIdcTree)
        return;
    CChildPanel* next = PanelOf(Tree(kIdcTree).GetSelectedItem());
    CChildPanel* previous = shown_;
    if (next)
        next->ShowWindow(true);
    if (previous && previous != next)
        previous->ShowWindow(false);
    shown_ = next;
}

void CDlgSettings::OnClicked(ControlId id) {
    if (id == kIdcHelp)
        ShowHelp(JoinPath(platform::ThisModuleFolder(), kHelpFile));
}

void CDlgSettings::OnOK() {
    CDialog::OnOK();
    cvsOpts_.Apply();
    diffCfg_.StoreTools();
    if (!GetSettings().Save())
        uifw::ShowMessageBox(Handle(), GetSettings().SaveProblem(), "Morvek :> Error",
                             uifw::kMbOk | uifw::kMbIconError);
}
