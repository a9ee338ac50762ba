// ui/PanelCvsOpts.h - the "Source Control Options" panel of the settings dialog: the cvs
// program, the vendor name, the remembered CVSROOTs, compression and the flags that steer
// the commands.
//
// The panel keeps one value per control, and AUTOMERGE, which no control shows: it is read
// and written back unchanged. Refresh loads the controls from the panel's values and then
// reads the values anew from the settings (all but CVSEXEPATH, which the panel reads once
// when it opens); Apply reads the controls into the values and sets every setting from them
// in the process's settings object, without writing the registry. The dialog applies on OK;
// the panel applies on each click on "Enable Compression" and before browsing, so Cancel
// does not take those back. When "Perform logout when project is closed" is clear, Apply
// also forgets the context's password (CVS_GETPASS becomes empty).
//
// The panel refreshes when it opens and when it is first shown, so that its controls show
// the settings; showing it again after another topic keeps what the user changed in it.
// "Delete" takes the chosen CVSROOT out of the list at once; "..." chooses the cvs program
// and writes CVSEXEPATH to the registry at once, even if the dialog is then cancelled.
//
// Text-only hosts ask for each value under the setting's name in lower case
// ("cvsexepath", "vendorname", "usecompression", "compresslevel" while compression is on,
// "warnonedit", ...); "cvsroots" chooses a remembered CVSROOT and "deleteroot" (yes) deletes
// it.
#pragma once

#include "ui/Resource.h"
#include "ui/framework/Dialog.h"

#include <array>
#include <string>

class CCVSContext;

class CPanelCvsOpts : public uifw::CChildPanel {
public:
    static constexpr int kIdd = ui_ids::kIddPanelCvsOpts;
    static constexpr uifw::ControlId kIdcSettingsGroup = ui_ids::kIdcCvsOptsSettingsGroup;
    static constexpr uifw::ControlId kIdcCvsExePath = ui_ids::kIdcCvsOptsCvsExePath;
    static constexpr uifw::ControlId kIdcBrowseCvsExe = ui_ids::kIdcCvsOptsBrowseCvsExe;
    static constexpr uifw::ControlId kIdcVendorName = ui_ids::kIdcCvsOptsVendorName;
    static constexpr uifw::ControlId kIdcRoots = ui_ids::kIdcCvsOptsRoots;
    static constexpr uifw::ControlId kIdcDeleteRoot = ui_ids::kIdcCvsOptsDeleteRoot;
    static constexpr uifw::ControlId kIdcUseCompression = ui_ids::kIdcCvsOptsUseCompression;
    static constexpr uifw::ControlId kIdcCompressLevel = ui_ids::kIdcCvsOptsCompressLevel;
    static constexpr uifw::ControlId kIdcOptionsGroup = ui_ids::kIdcCvsOptsOptionsGroup;
    static constexpr uifw::ControlId kIdcWarnOnEdit = ui_ids::kIdcCvsOptsWarnOnEdit;
    static constexpr uifw::ControlId kIdcIndependentMode = ui_ids::kIdcCvsOptsIndependentMode;
    static constexpr uifw::ControlId kIdcUseUnixLF = ui_ids::kIdcCvsOptsUseUnixLF;
    static constexpr uifw::ControlId kIdcAutoCommit = ui_ids::kIdcCvsOptsAutoCommit;
    static constexpr uifw::ControlId kIdcLogoutOnClose = ui_ids::kIdcCvsOptsLogoutOnClose;
    static constexpr uifw::ControlId kIdcUseComments = ui_ids::kIdcCvsOptsUseComments;
    static constexpr uifw::ControlId kIdcHideStatusUI = ui_ids::kIdcCvsOptsHideStatusUI;
    static constexpr uifw::ControlId kIdcNoCheckoutUpdates = ui_ids::kIdcCvsOptsNoCheckoutUpdates;
    static constexpr uifw::ControlId kIdcUseCvsTrace = ui_ids::kIdcCvsOptsUseCvsTrace;
    static constexpr uifw::ControlId kIdcUseQuickCompare = ui_ids::kIdcCvsOptsUseQuickCompare;
    static constexpr uifw::ControlId kIdcExclusiveLock = ui_ids::kIdcCvsOptsExclusiveLock;

    // context: the one the dialog was opened for (null: no password to forget).
    explicit CPanelCvsOpts(CCVSContext* context);

    // Controls to values, values into the settings object.
    void Apply();
    // Controls from values, values from the settings object.
    void Refresh();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(uifw::CDataExchange& dx) override;
    void OnClicked(uifw::ControlId id) override;
    void OnShowWindow(bool show) override;

private:
    void ReadSettings();
    // The panel's value of a check box of "CVS Options".
    bool Flag(uifw::ControlId id) const;
    void EnableLevel();
    void DeleteRoot();
    void BrowseCvsExe();

    CCVSContext* context_;
    std::string cvsExePath_;
    std::string vendorName_;
    std::string compressLevel_;
    bool useCompression_ = false;
    // The check boxes of "CVS Options", in the order of their rows (PanelCvsOpts.cpp).
    static constexpr size_t kFlagCount = 11;
    std::array<bool, kFlagCount> flags_{};
    bool autoMerge_ = false;
    bool shownSinceOpening_ = false;
};
