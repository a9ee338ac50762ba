// ui/DlgItemProp.h - the item-properties sheet of one file: "General", "Watchers" and
// "Editors", in this order (PageItemGeneral.h, PageItemLists.h).
//
// The properties command makes it with the context, the caption ("a.txt Properties"), the
// file's normalised full path, the environment's window as owner and the page to show
// first, and shows it modally; its result is not used. It has no Apply button. The list
// pages load on worker threads over the context; the sheet's object waits for them when it
// goes, so it must outlive nothing but its own DoModal.
#pragma once

#include "platform/Types.h"
#include "ui/PageItemGeneral.h"
#include "ui/PageItemLists.h"
#include "ui/framework/Dialog.h"

#include <string>

class CCVSContext;

class CDlgItemProp : public uifw::CPropertySheet {
public:
    static constexpr int kPageGeneral = 0;
    static constexpr int kPageWatchers = 1;
    static constexpr int kPageEditors = 2;

    CDlgItemProp(CCVSContext& context, const std::string& caption, const std::string& path,
                 platform::WindowHandle parent, int startPage = kPageGeneral);

    CPageItemGeneral& General() { return general_; }
    CPageItemWatchers& Watchers() { return watchers_; }
    CPageItemEditors& Editors() { return editors_; }

private:
    CPageItemGeneral general_;
    CPageItemWatchers watchers_;
    CPageItemEditors editors_;
};
