// settings/SccSettings.cpp - the settings object, its first-run values and its lists.
#include "settings/SccSettings.h"

#include "platform/Registry.h"
#include "platform/ToolDefaults.h"
#include "platform/User.h"
#include "settings/RegistryEx.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace {

constexpr const char* kSettings = "SETTINGS";
constexpr size_t kMachineTextLimit = 999; // the 1000-byte buffers of the machine values

struct ListSection {
    const char* section;
    const char* valueFormat;
    bool limited;
};
constexpr ListSection kModules{"CVSMODULES", "Module_%i", true};
constexpr ListSection kRoots{"CVSROOTS", "Root_%i", true};
constexpr ListSection kTemplates{"CVSTEMPLATES", "Template_%i", false};

void LoadList(CRegistryEx& registry, const ListSection& list, std::vector<std::string>& entries) {
    registry.OpenSection(list.section);
    entries.clear();
    std::vector<std::string> names;
    registry.EnumValueNames(names);
    for (const std::string& name : names) {
        std::string text;
        registry.ExchangeString(name, text);
        entries.push_back(text);
    }
}

void SaveList(CRegistryEx& registry, const ListSection& list,
              const std::vector<std::string>& entries) {
    registry.OpenSection(list.section);
    registry.DeleteAllValues();
    size_t count = entries.size();
    if (list.limited)
        count = std::min(count, CSccSettings::kMaxSavedListEntries);
    for (size_t i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, list.valueFormat, static_cast<int>(i));
        std::string text = entries[i];
        registry.ExchangeString(name, text);
    }
}

std::string EntryAt(const std::vector<std::string>& list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return std::string();
    return list[static_cast<size_t>(index)];
}

template <typename Same>
void UpdateList(std::vector<std::string>& list, const std::string& text, bool remove, Same same) {
    if (text.empty())
        return;
    if (remove) {
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const std::string& entry) { return same(entry, text); }),
                   list.end());
        return;
    }
    for (const std::string& entry : list)
        if (same(entry, text))
            return;
    list.insert(list.begin(), text);
}

std::string MachineText(platform::RegKey key, const char* name) {
    uint32_t type = platform::kRegNone;
    std::string data;
    if (platform::QueryRegValue(key, name, &type, &data) != platform::kRegOk ||
        (type != platform::kRegSz && type != platform::kRegExpandSz))
        return std::string();
    data = data.substr(0, data.find('\0'));
    if (data.size() > kMachineTextLimit)
        data.resize(kMachineTextLimit);
    return data;
}

std::atomic<CSccSettings*> g_installed{nullptr};

} // namespace

CSccSettings::CSccSettings() {
    Load();
}

CSccSettings::~CSccSettings() {
    Save();
}

void CSccSettings::ExchangeValues(CRegistryEx& r) {
    r.ExchangeString("LASTUPDATE", lastUpdate_);
    r.ExchangeFlag("EXCLUSIVELOCK", exclusiveLock_);
    r.ExchangeFlag("CHECKFORUPDATES", checkForUpdates_);
    r.ExchangeFlag("NOCHECKOUTUPDATES", noCheckoutUpdates_);
    r.ExchangeFlag("HIDESTATUSUI", hideStatusUI_);
    r.ExchangeFlag("INDEPENDENTMODE", independentMode_);
    r.ExchangeFlag("WARNONEDIT", warnOnEdit_);
    r.ExchangeString("DIFFEXE", diffExe_);
    r.ExchangeString("EDITOR", editor_);
    r.ExchangeString("CONFLICTEXE", conflictExe_);
    r.ExchangeString("VENDORNAME", vendorName_);
    r.ExchangeString("COMPRESSLEVEL", compressLevel_);
    r.ExchangeFlag("USECOMPRESSION", useCompression_);
    r.ExchangeFlag("AUTOMERGE", autoMerge_);
    r.ExchangeFlag("USEUNIXLF", useUnixLF_);
    r.ExchangeFlag("TRACELOG", traceLog_);
    r.ExchangeFlag("USECOMMENTS", useComments_);
    r.ExchangeFlag("LOGOUTONCLOSE", logoutOnClose_);
    r.ExchangeFlag("AUTOCOMMIT", autoCommit_);
    r.ExchangeString("CVSEXEPATH", cvsExePath_);
    r.ExchangeString("MRUTEMPLATE", mruTemplate_);
    r.ExchangeFlag("USECVSTRACE", useCvsTrace_);
    r.ExchangeFlag("USEQUICKCOMPARE", useQuickCompare_);
}

void CSccSettings::InitializeUser(CRegistryEx& r) {
    bool initialized = false;
    r.ExchangeFlag("USERINIT", initialized);
    if (initialized)
        return;
    r.SetLoading(false);
    r.ExchangeDefaultFlag("CHECKFORUPDATES", true);
    r.ExchangeDefaultFlag("LOGOUTONCLOSE", false);
    r.ExchangeDefaultFlag("USERINIT", true);
    r.ExchangeDefaultFlag("NOCHECKOUTUPDATES", false);
    r.ExchangeDefaultFlag("USECOMMENTS", true);
    r.ExchangeDefaultFlag("OFFLINEMODE", false);
    r.ExchangeDefaultFlag("INDEPENDENTMODE", true);
    r.ExchangeDefaultFlag("WARNONEDIT", false);
    // The programs are the platform's: those Windows users have always been given there,
    // programs a user has elsewhere.
    r.ExchangeDefaultString("EDITOR", platform::DefaultTools().editor);
    r.ExchangeDefaultString("DIFFEXE", platform::DefaultTools().firstRunDiff);
    r.ExchangeDefaultString("LASTUPDATE", "");
    r.ExchangeDefaultString("VENDORNAME", "");
    r.ExchangeDefaultString("COMPRESSLEVEL", "3");
    r.ExchangeDefaultFlag("USECOMPRESSION", false);
    r.ExchangeDefaultFlag("AUTOMERGE", true);
    r.ExchangeDefaultFlag("USEUNIXLF", false);
    r.ExchangeDefaultFlag("HIDESTATUSUI", false);
    r.ExchangeDefaultFlag("AUTOCOMMIT", true);
    r.ExchangeDefaultFlag("TRACELOG", false);
    r.ExchangeDefaultString("MRUTEMPLATE", "");
    r.ExchangeDefaultFlag("USECVSTRACE", false);
    r.ExchangeDefaultFlag("USEQUICKCOMPARE", false);
    r.ExchangeDefaultFlag("EXCLUSIVELOCK", false);
}

void CSccSettings::Load() {
    CRegistryEx registry(kCompany, kProduct, true);
    registry.OpenSection(kSettings);
    InitializeUser(registry);
    registry.SetLoading(true);
    registry.OpenSection(kSettings);
    ExchangeValues(registry);
    if (compressLevel_.empty())
        compressLevel_ = "3";
    LoadList(registry, kModules, modules_);
    LoadList(registry, kRoots, roots_);
    LoadList(registry, kTemplates, templates_);
    DefaultVendorName();
}

bool CSccSettings::Save() {
    CRegistryEx registry(kCompany, kProduct, false);
    registry.OpenSection(kSettings);
    ExchangeValues(registry);
    if (compressLevel_.empty())
        compressLevel_ = "3";
    SaveList(registry, kModules, modules_);
    SaveList(registry, kRoots, roots_);
    SaveList(registry, kTemplates, templates_);
    DefaultVendorName();
    const std::string problem = registry.FinishWriting();
    saveProblem_ = problem.empty()
                       ? std::string()
                       : "The settings were not saved completely: could not write " + problem + ".";
    return problem.empty();
}

void CSccSettings::DefaultVendorName() {
    if (!vendorName_.empty())
        return;
    std::string owner;
    std::string organization;
    platform::RegKey key = nullptr;
    if (platform::OpenRegKey(platform::RegHive::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                             platform::RegAccess::Read, &key) == platform::kRegOk ||
        platform::OpenRegKey(platform::RegHive::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                             platform::RegAccess::Read, &key) == platform::kRegOk) {
        owner = MachineText(key, "RegisteredOwner");
        organization = MachineText(key, "RegisteredOrganization");
        platform::CloseRegKey(key);
    }
    for (const std::string& candidate :
         {organization, owner, platform::GetUserFullName(), platform::GetUserLoginName()}) {
        if (!candidate.empty()) {
            vendorName_ = candidate.substr(0, kMachineTextLimit);
            return;
        }
    }
}

const std::string& CSccSettings::GetDiffExe() {
    if (diffExe_.empty())
        diffExe_ = platform::DefaultTools().diff;
    return diffExe_;
}

const std::string& CSccSettings::GetEditor() {
    if (editor_.empty())
        editor_ = platform::DefaultTools().editor;
    return editor_;
}

const std::string& CSccSettings::GetConflictExe() {
    if (conflictExe_.empty())
        conflictExe_ = platform::DefaultTools().conflictEditor;
    return conflictExe_;
}

std::string CSccSettings::GetModule(int index) const {
    return EntryAt(modules_, index);
}

std::string CSccSettings::GetRoot(int index) const {
    return EntryAt(roots_, index);
}

std::string CSccSettings::GetTemplate(int index) const {
    return EntryAt(templates_, index);
}

void CSccSettings::UpdateModuleList(const std::string& text, bool remove) {
    UpdateList(modules_, text, remove,
               [](const std::string& a, const std::string& b) { return a == b; });
}

void CSccSettings::UpdateRootList(const std::string& text, bool remove) {
    UpdateList(roots_, text, remove,
               [](const std::string& a, const std::string& b) { return a == b; });
}

void CSccSettings::UpdateTemplateList(const std::string& text, bool remove) {
    UpdateList(templates_, text, remove, [](const std::string& a, const std::string& b) {
        return TemplateTitle(a) == TemplateTitle(b);
    });
}

std::string CSccSettings::TemplateTitle(const std::string& text) {
    const std::string::size_type start = text.find_first_not_of('\n');
    if (start == std::string::npos)
        return std::string();
    return text.substr(start, text.find('\n', start) - start);
}

std::string CSccSettings::TemplateBody(const std::string& text) {
    const std::string::size_type start = text.find_first_not_of('\n');
    if (start == std::string::npos)
        return text;
    const std::string::size_type end = text.find('\n', start);
    return end == std::string::npos ? std::string() : text.substr(end + 1);
}

int CSccSettings::FindTemplate(const std::string& title) const {
    for (size_t i = 0; i < templates_.size(); ++i)
        if (TemplateTitle(templates_[i]) == title)
            return static_cast<int>(i);
    return -1;
}

CSccSettings& GetSettings() {
    if (CSccSettings* installed = g_installed.load())
        return *installed;
    // Never destroyed, so never saved behind the back of a program that forgot to install
    // its own: whoever changes it saves it, as every caller that changes settings does.
    static CSccSettings* fallback = new CSccSettings;
    return *fallback;
}

void SetProcessSettings(CSccSettings* settings) {
    g_installed.store(settings);
}
