// settings/SccSettings.h - the user's preferences for the provider.
//
// A CSccSettings holds the flags and texts below and three most-recently-used lists
// (modules, CVSROOTs, comment templates). It reads every value when it is made and writes
// every value back when it is destroyed; Load and Save do the same on demand. Setters change
// only the object: nothing reaches the store before the next Save, and the last object to
// save wins. Values live under HKEY_CURRENT_USER\software\Morvek\VODORO in the sections
// SETTINGS, CVSMODULES ("Module_%i"), CVSROOTS ("Root_%i") and CVSTEMPLATES ("Template_%i").
// Every other part of the provider names a preference by its value name (DIFFEXE, ...).
//
// The first load for a user (USERINIT not "1") writes the first-run values. The programs
// among them (EDITOR, DIFFEXE, and CONFLICTEXE's default) are the platform's
// (platform/ToolDefaults.h). A list has no
// limit in memory; Save writes at most the first 15 modules and CVSROOTs, and every
// template. A template is its title, a line feed and its body.
//
// VENDORNAME, when empty after a load or a save, takes a default that lives in the object
// until the next save: the registered organization, else the registered owner (machine
// hive, SOFTWARE\Microsoft\Windows NT\CurrentVersion, else
// SOFTWARE\Microsoft\Windows\CurrentVersion), else the user's full name (POSIX: the
// account's GECOS name; Windows keeps none), else the login name. A POSIX machine has no
// registered owner unless its machine hive file names one.
#pragma once

#include <string>
#include <vector>

class CRegistryEx;

class CSccSettings {
public:
    static constexpr const char* kCompany = "Morvek";
    static constexpr const char* kProduct = "VODORO";
    // Modules and CVSROOTs written by Save.
    static constexpr size_t kMaxSavedListEntries = 15;

    // The initial values, then Load.
    CSccSettings();
    // Save.
    ~CSccSettings();
    CSccSettings(const CSccSettings&) = delete;
    CSccSettings& operator=(const CSccSettings&) = delete;

    void Load();
    // False, with the reason in SaveProblem, when a value did not reach the store.
    bool Save();
    const std::string& SaveProblem() const { return saveProblem_; }

    bool GetExclusiveLock() const { return exclusiveLock_; }
    void SetExclusiveLock(bool on) { exclusiveLock_ = on; }
    bool GetNoCheckoutUpdates() const { return noCheckoutUpdates_; }
    void SetNoCheckoutUpdates(bool on) { noCheckoutUpdates_ = on; }
    bool GetHideStatusUI() const { return hideStatusUI_; }
    void SetHideStatusUI(bool on) { hideStatusUI_ = on; }
    bool GetIndependentMode() const { return independentMode_; }
    void SetIndependentMode(bool on) { independentMode_ = on; }
    bool GetWarnOnEdit() const { return warnOnEdit_; }
    void SetWarnOnEdit(bool on) { warnOnEdit_ = on; }
    // The three program getters store their default into an empty value first, so that the
    // default also reaches the store with the next save.
    const std::string& GetDiffExe();
    void SetDiffExe(const std::string& text) { diffExe_ = text; }
    const std::string& GetEditor();
    void SetEditor(const std::string& text) { editor_ = text; }
    const std::string& GetConflictExe();
    void SetConflictExe(const std::string& text) { conflictExe_ = text; }
    const std::string& GetVendorName() const { return vendorName_; }
    void SetVendorName(const std::string& text) { vendorName_ = text; }
    const std::string& GetCompressLevel() const { return compressLevel_; }
    void SetCompressLevel(const std::string& text) { compressLevel_ = text; }
    bool GetUseCompression() const { return useCompression_; }
    void SetUseCompression(bool on) { useCompression_ = on; }
    bool GetAutoMerge() const { return autoMerge_; }
    void SetAutoMerge(bool on) { autoMerge_ = on; }
    bool GetUseUnixLF() const { return useUnixLF_; }
    void SetUseUnixLF(bool on) { useUnixLF_ = on; }
    bool GetTraceLog() const { return traceLog_; }
    bool GetUseComments() const { return useComments_; }
    void SetUseComments(bool on) { useComments_ = on; }
    bool GetLogoutOnClose() const { return logoutOnClose_; }
    void SetLogoutOnClose(bool on) { logoutOnClose_ = on; }
    bool GetAutoCommit() const { return autoCommit_; }
    void SetAutoCommit(bool on) { autoCommit_ = on; }
    const std::string& GetCvsExePath() const { return cvsExePath_; }
    void SetCvsExePath(const std::string& text) { cvsExePath_ = text; }
    const std::string& GetMruTemplate() const { return mruTemplate_; }
    void SetMruTemplate(const std::string& text) { mruTemplate_ = text; }
    bool GetUseCvsTrace() const { return useCvsTrace_; }
    void SetUseCvsTrace(bool on) { useCvsTrace_ = on; }
    bool GetUseQuickCompare() const { return useQuickCompare_; }
    void SetUseQuickCompare(bool on) { useQuickCompare_ = on; }

    int GetModuleCount() const { return static_cast<int>(modules_.size()); }
    int GetRootCount() const { return static_cast<int>(roots_.size()); }
    int GetTemplateCount() const { return static_cast<int>(templates_.size()); }
    // The entry at the index; an empty text when the index lies outside the list.
    std::string GetModule(int index) const;
    std::string GetRoot(int index) const;
    std::string GetTemplate(int index) const;

    // Not removing: puts the text at index 0 unless an equal entry (byte for byte) is
    // already there, wherever it stands. Removing: takes out every equal entry. An empty
    // text changes nothing.
    void UpdateModuleList(const std::string& text, bool remove);
    void UpdateRootList(const std::string& text, bool remove);
    // The same, but templates are equal when their titles are.
    void UpdateTemplateList(const std::string& text, bool remove);

    // The title of a template: the text up to the first line feed after any leading ones.
    static std::string TemplateTitle(const std::string& text);
    // The body of a template: everything after the line feed that ends its title (empty
    // when none does). A text without a title (empty, or only line feeds) is all body.
    static std::string TemplateBody(const std::string& text);
    // The index of the first template, in list order, whose title is the given one
    // (byte for byte); -1 when none is.
    int FindTemplate(const std::string& title) const;

private:
    void ExchangeValues(CRegistryEx& registry);
    void InitializeUser(CRegistryEx& registry);
    void DefaultVendorName();
    std::string saveProblem_;

    std::string lastUpdate_;
    bool exclusiveLock_ = false;
    bool checkForUpdates_ = false;
    bool noCheckoutUpdates_ = false;
    bool hideStatusUI_ = false;
    bool independentMode_ = false;
    bool warnOnEdit_ = true;
    std::string diffExe_;
    std::string editor_;
    std::string conflictExe_;
    std::string vendorName_;
    std::string compressLevel_ = "0";
    bool useCompression_ = false;
    bool autoMerge_ = false;
    bool useUnixLF_ = false;
    bool traceLog_ = false;
    bool useComments_ = false;
    bool logoutOnClose_ = false;
    bool autoCommit_ = false;
    std::string cvsExePath_;
    std::string mruTemplate_;
    bool useCvsTrace_ = false;
    bool useQuickCompare_ = false;

    std::vector<std::string> modules_;
    std::vector<std::string> roots_;
    std::vector<std::string> templates_;
};

// The one process-wide settings object. The module host makes it when the library loads
// and installs it here, and removes it before destroying it (which saves it) at unload. A
// program without the module host (a test linking the code) gets an object made and loaded
// on first use and never destroyed, so nothing saves it behind that program's back; a test
// installs its own object with SetProcessSettings, over an isolated store.
CSccSettings& GetSettings();
// Installs the object GetSettings returns; null goes back to the one made on first use.
void SetProcessSettings(CSccSettings* settings);
