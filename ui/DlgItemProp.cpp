// ui/DlgItemProp.cpp - the item-properties sheet.
#include "ui/DlgItemProp.h"

CDlgItemProp::CDlgItemProp(CCVSContext& context, const std::string& caption,
                           const std::string& path, platform::WindowHandle parent, int startPage)
    : CPropertySheet(caption, parent, startPage), general_(path), watchers_(context, path),
      editors_(context, path) {
    AddPage(general_);
    AddPage(watchers_);
    AddPage(editors_);
}
