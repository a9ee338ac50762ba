// ui/DlgModules.cpp - the module selection dialog.
#include "ui/DlgModules.h"

#include "ui/framework/DialogHost.h"

using namespace uifw;

namespace {

DialogTemplate ModulesTemplate() {
    DialogTemplate t(CDlgModules::kIdd, "Module Selection ...");
    t.SetAnswerName("moduleselection").SetSize(220, 200);
    t.TreeView(CDlgModules::kIdcTree).At(7, 7, 206, 164).Prompt("modules", "Module");
    t.Button(kIdOk, "OK", kDefault).At(109, 178, 50, 14);
    t.Button(kIdCancel, "Cancel").At(163, 178, 50, 14);
    return t;
}

} // namespace

CDlgModules::CDlgModules(platform::WindowHandle owner) : CDialog(ModulesTemplate(), owner) {}

bool CDlgModules::OnInitDialog() {
    CDialog::OnInitDialog();
    const TreeItem root = Tree(kIdcTree).InsertItem(kTreeTop, cvsRoot_);
    Fill(root, ".");
    Tree(kIdcTree).Expand(root);
    return true;
}

bool CDlgModules::Fill(TreeItem item, const std::string& path) {
    if (!context_)
        return false;
    std::vector<CCVSModuleEntry> listing;
    {
        CCVSController controller(*context_);
        listing = controller.GetModules(cvsRoot_, path, true, false);
    }
    CTreeView tree = Tree(kIdcTree);
    for (const CCVSModuleEntry& entry : listing) {
        const ItemData data = nextData_++;
        entries_[data] = std::make_unique<CCVSModuleEntry>(entry);
        tree.InsertItem(item, entry.name, data, true);
    }
    return !listing.empty();
}

const CCVSModuleEntry* CDlgModules::EntryOf(TreeItem item) {
    const auto it = entries_.find(Tree(kIdcTree).GetItemData(item));
    return it == entries_.end() ? nullptr : it->second.get();
}

bool CDlgModules::OnTreeExpanding(ControlId id, TreeItem item) {
    if (id != kIdcTree)
        return true;
    CTreeView tree = Tree(kIdcTree);
    const CCVSModuleEntry* entry = EntryOf(item);
    if (!entry || tree.GetChildItem(item) != kTreeNone)
        return true;
    CWaitCursor busy;
    if (!Fill(item, entry->path))
        tree.SetHasChildren(item, false);
    return true;
}

void CDlgModules::OnSelChange(ControlId id) {
    if (id != kIdcTree)
        return;
    if (const CCVSModuleEntry* entry = EntryOf(Tree(kIdcTree).GetSelectedItem()))
        selectedModule_ = entry->path;
}

void CDlgModules::OnDestroy() {
    Tree(kIdcTree).DeleteAllItems();
    entries_.clear();
    CDialog::OnDestroy();
}
