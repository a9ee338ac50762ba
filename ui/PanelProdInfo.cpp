// ui/PanelProdInfo.cpp - the "About Morvek" panel.
#include "ui/PanelProdInfo.h"

#include "workcopy/FileUtilities.h"

using namespace uifw;

namespace {

using P = CPanelProdInfo;

DialogTemplate PanelTemplate() {
    DialogTemplate t(P::kIdd, "");
    t.SetSize(260, 120);
    t.GroupBox("Product Information", P::kIdcGroup).At(0, 0, 260, 120);
    t.Label("Morvek CVS SCC Version %s", P::kIdcVersion).At(8, 16, 244, 8);
    t.Label("A source code control provider for CVS.").At(8, 34, 244, 8);
    t.Label("Copyright (C) Morvek. All rights reserved.").At(8, 50, 244, 8);
    t.Label("CVS is free software, distributed under the GNU General Public License.")
        .At(8, 66, 244, 16);
    return t;
}

} // namespace

CPanelProdInfo::CPanelProdInfo() : CChildPanel(PanelTemplate()) {}

bool CPanelProdInfo::OnInitDialog() {
    CChildPanel::OnInitDialog();
    CControl version = Control(kIdcVersion);
    std::string text = version.GetText();
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, GetModuleVersionText() + " [64-bit]");
    version.SetText(text);
    return true;
}
