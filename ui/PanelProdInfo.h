// ui/PanelProdInfo.h - the "About Morvek" panel of the settings dialog: the product, its
// version and the credits. It shows and writes nothing else.
//
// Its first text names the product and holds one "%s", which opening replaces with the
// module's version and " [64-bit]".
#pragma once

#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

class CPanelProdInfo : public uifw::CChildPanel {
public:
    static constexpr int kIdd = ui_ids::kIddPanelProdInfo;
    static constexpr uifw::ControlId kIdcGroup = ui_ids::kIdcProdInfoGroup;
    static constexpr uifw::ControlId kIdcVersion = ui_ids::kIdcProdInfoVersion;

    CPanelProdInfo();

protected:
    bool OnInitDialog() override;
};
