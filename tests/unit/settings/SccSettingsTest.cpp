// CSccSettings: first-run values, the exchange of every value, the lists and their limits,
// the defaulting getters and VENDORNAME.
#include "settings/SccSettings.h"
#include "platform/Registry.h"
#include "platform/ToolDefaults.h"
#include "platform/User.h"
#include "settings/RegistryEx.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace platform;
using testing_support::IsolatedUser;

constexpr const char* kProductPath = "software\\Morvek\\VODORO";

// Reads or writes one value below the product key, outside any settings object.
struct Raw {
    static std::string Get(const std::string& section, const std::string& name,
                           long* result = nullptr) {
        RegKey key = nullptr;
        std::string data;
        uint32_t type = 0;
        long r = OpenRegKey(RegHive::CurrentUser, std::string(kProductPath) + "\\" + section,
                            RegAccess::Read, &key);
        if (r == kRegOk)
            r = QueryRegValue(key, name, &type, &data);
        CloseRegKey(key);
        if (result)
            *result = r;
        return data.substr(0, data.find('\0'));
    }
    static bool Has(const std::string& section, const std::string& name) {
        long result = 0;
        Get(section, name, &result);
        return result == kRegOk;
    }
    static void Set(const std::string& section, const std::string& name, const std::string& text) {
        RegKey key = nullptr;
        ASSERT_EQ(
            CreateRegKey(RegHive::CurrentUser, std::string(kProductPath) + "\\" + section, &key),
            kRegOk);
        SetRegString(key, name, text);
        CloseRegKey(key);
    }
    static void Delete(const std::string& section, const std::string& name) {
        RegKey key = nullptr;
        ASSERT_EQ(
            CreateRegKey(RegHive::CurrentUser, std::string(kProductPath) + "\\" + section, &key),
            kRegOk);
        DeleteRegValue(key, name);
        CloseRegKey(key);
    }
    static std::vector<std::string> Names(const std::string& section) {
        CRegistryEx r("Morvek", "VODORO", true);
        r.OpenSection(section);
        std::vector<std::string> names;
        r.EnumValueNames(names);
        return names;
    }
};

void SetMachine(const std::string& key, const std::string& name, const std::string& text) {
    RegKey k = nullptr;
    ASSERT_EQ(CreateRegKey(RegHive::LocalMachine, key, &k), kRegOk);
    SetRegString(k, name, text);
    CloseRegKey(k);
}

class SccSettings : public ::testing::Test {
protected:
    IsolatedUser user_;
};

TEST_F(SccSettings, FirstLoadWritesTheFirstRunValues) {
    CSccSettings s;
    EXPECT_TRUE(s.GetIndependentMode());
    EXPECT_FALSE(s.GetWarnOnEdit());
    EXPECT_TRUE(s.GetUseComments());
    EXPECT_TRUE(s.GetAutoCommit());
    EXPECT_TRUE(s.GetAutoMerge());
    EXPECT_FALSE(s.GetTraceLog());
    EXPECT_EQ(s.GetCompressLevel(), "3");
    EXPECT_EQ(s.GetEditor(), platform::DefaultTools().editor);
    EXPECT_EQ(s.GetDiffExe(), platform::DefaultTools().firstRunDiff);
    EXPECT_EQ(Raw::Get("SETTINGS", "USERINIT"), "1");
    EXPECT_EQ(Raw::Get("SETTINGS", "OFFLINEMODE"), "0");
    EXPECT_EQ(Raw::Get("SETTINGS", "CHECKFORUPDATES"), "1");
    EXPECT_FALSE(Raw::Has("SETTINGS", "CVSEXEPATH"));
    EXPECT_FALSE(Raw::Has("SETTINGS", "CONFLICTEXE"));
}

TEST_F(SccSettings, AnythingButOneInUserInitStartsOver) {
    for (const char* userInit :
         {static_cast<const char*>(""), "0", "yes", static_cast<const char*>(nullptr)}) {
        { CSccSettings first; }
        Raw::Set("SETTINGS", "EDITOR", "vi");
        Raw::Set("SETTINGS", "INDEPENDENTMODE", "0");
        if (userInit)
            Raw::Set("SETTINGS", "USERINIT", userInit);
        else
            Raw::Delete("SETTINGS", "USERINIT");
        CSccSettings s;
        EXPECT_EQ(s.GetEditor(), platform::DefaultTools().editor)
            << (userInit ? userInit : "missing");
        EXPECT_TRUE(s.GetIndependentMode());
        EXPECT_EQ(Raw::Get("SETTINGS", "USERINIT"), "1");
    }
    // Once initialised, the values are the user's.
    Raw::Set("SETTINGS", "EDITOR", "vi");
    CSccSettings s;
    EXPECT_EQ(s.GetEditor(), "vi");
}

TEST_F(SccSettings, StoredTextsAsRead) {
    { CSccSettings first; }
    Raw::Set("SETTINGS", "HIDESTATUSUI", "yes");
    Raw::Set("SETTINGS", "AUTOCOMMIT", "true");
    Raw::Set("SETTINGS", "USECVSTRACE", "1");
    Raw::Set("SETTINGS", "COMPRESSLEVEL", "");
    {
        CSccSettings s;
        EXPECT_FALSE(s.GetHideStatusUI());
        EXPECT_FALSE(s.GetAutoCommit());
        EXPECT_TRUE(s.GetUseCvsTrace());
        EXPECT_EQ(s.GetCompressLevel(), "3");
    }
    // A missing value keeps what a new object starts with.
    Raw::Delete("SETTINGS", "COMPRESSLEVEL");
    Raw::Delete("SETTINGS", "WARNONEDIT");
    CSccSettings s;
    EXPECT_EQ(s.GetCompressLevel(), "0");
    EXPECT_TRUE(s.GetWarnOnEdit());
}

TEST_F(SccSettings, EveryValueSurvivesASaveAndALoad) {
    {
        CSccSettings s;
        s.SetExclusiveLock(true);
        s.SetNoCheckoutUpdates(true);
        s.SetHideStatusUI(true);
        s.SetIndependentMode(false);
        s.SetWarnOnEdit(true);
        s.SetDiffExe("d.exe");
        s.SetEditor("e.exe");
        s.SetConflictExe("c.exe");
        s.SetVendorName("vendor");
        s.SetCompressLevel("9");
        s.SetUseCompression(true);
        s.SetAutoMerge(false);
        s.SetUseUnixLF(true);
        s.SetUseComments(false);
        s.SetLogoutOnClose(true);
        s.SetAutoCommit(false);
        s.SetCvsExePath("/usr/bin/cvs");
        s.SetMruTemplate("T");
        s.SetUseCvsTrace(true);
        s.SetUseQuickCompare(true);
        s.UpdateTemplateList("T\nline one\nline two", false);
    }
    CSccSettings s;
    EXPECT_TRUE(s.GetExclusiveLock());
    EXPECT_TRUE(s.GetNoCheckoutUpdates());
    EXPECT_TRUE(s.GetHideStatusUI());
    EXPECT_FALSE(s.GetIndependentMode());
    EXPECT_TRUE(s.GetWarnOnEdit());
    EXPECT_EQ(s.GetDiffExe(), "d.exe");
    EXPECT_EQ(s.GetEditor(), "e.exe");
    EXPECT_EQ(s.GetConflictExe(), "c.exe");
    EXPECT_EQ(s.GetVendorName(), "vendor");
    EXPECT_EQ(s.GetCompressLevel(), "9");
    EXPECT_TRUE(s.GetUseCompression());
    EXPECT_FALSE(s.GetAutoMerge());
    EXPECT_TRUE(s.GetUseUnixLF());
    EXPECT_FALSE(s.GetUseComments());
    EXPECT_TRUE(s.GetLogoutOnClose());
    EXPECT_FALSE(s.GetAutoCommit());
    EXPECT_EQ(s.GetCvsExePath(), "/usr/bin/cvs");
    EXPECT_EQ(s.GetMruTemplate(), "T");
    EXPECT_TRUE(s.GetUseCvsTrace());
    EXPECT_TRUE(s.GetUseQuickCompare());
    EXPECT_EQ(s.GetTemplate(0), "T\nline one\nline two");
}

TEST_F(SccSettings, SavedListsAndTheirLimits) {
    {
        CSccSettings s;
        for (int i = 0; i < 20; ++i) {
            s.UpdateModuleList("m" + std::to_string(i), false);
            s.UpdateRootList("r" + std::to_string(i), false);
            s.UpdateTemplateList("t" + std::to_string(i) + "\nbody", false);
        }
        EXPECT_EQ(s.GetModuleCount(), 20);
    }
    EXPECT_TRUE(Raw::Has("CVSMODULES", "Module_14"));
    EXPECT_FALSE(Raw::Has("CVSMODULES", "Module_15"));
    EXPECT_TRUE(Raw::Has("CVSTEMPLATES", "Template_19"));
    CSccSettings s;
    EXPECT_EQ(s.GetModuleCount(), 15);
    EXPECT_EQ(s.GetRootCount(), 15);
    EXPECT_EQ(s.GetTemplateCount(), 20);
    EXPECT_EQ(s.GetModule(0), "m19");
    // Wine enumerates by name, so Module_10 comes before Module_2 there.
    if (!testing_support::RunningUnderWine()) {
        EXPECT_EQ(s.GetModule(14), "m5");
    }
}

TEST_F(SccSettings, FreelyNamedValuesJoinTheListAndAreRenumbered) {
    {
        CSccSettings s;
        s.UpdateRootList("second", false);
        s.UpdateRootList("first", false);
    }
    Raw::Set("CVSROOTS", "added by hand", "third");
    {
        CSccSettings s;
        ASSERT_EQ(s.GetRootCount(), 3);
        // The files enumerate in creation order (Wine sorts by name).
        if (!testing_support::RunningUnderWine()) {
            EXPECT_EQ(s.GetRoot(2), "third");
        }
    }
    std::vector<std::string> names = Raw::Names("CVSROOTS");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Root_0", "Root_1", "Root_2"}));
}

TEST_F(SccSettings, ListUpdates) {
    CSccSettings s;
    s.UpdateModuleList("a", false);
    s.UpdateModuleList("b", false);
    s.UpdateModuleList("c", false);
    s.UpdateModuleList("a", false); // known already: stays where it is
    s.UpdateModuleList("A", false); // letter case counts
    s.UpdateModuleList("", false);
    ASSERT_EQ(s.GetModuleCount(), 4);
    EXPECT_EQ(s.GetModule(0), "A");
    EXPECT_EQ(s.GetModule(3), "a");

    s.UpdateRootList("r", false);
    s.UpdateRootList("x", false);
    s.UpdateRootList("r", false);
    s.UpdateRootList("", true);
    EXPECT_EQ(s.GetRootCount(), 2);
    s.UpdateRootList("r", true);
    EXPECT_EQ(s.GetRootCount(), 1);
    EXPECT_EQ(s.GetRoot(0), "x");

    s.UpdateTemplateList("\n\nFix\nfirst body", false);
    s.UpdateTemplateList("Fix\nanother body", false); // same title
    s.UpdateTemplateList("Other", false);
    ASSERT_EQ(s.GetTemplateCount(), 2);
    EXPECT_EQ(s.GetTemplate(1), "\n\nFix\nfirst body");
    s.UpdateTemplateList("Fix\n", true);
    ASSERT_EQ(s.GetTemplateCount(), 1);
    EXPECT_EQ(CSccSettings::TemplateTitle(s.GetTemplate(0)), "Other");
}

TEST_F(SccSettings, EntriesOutsideAListAreEmpty) {
    CSccSettings s;
    for (int index : {0, 5, -1})
        EXPECT_EQ(s.GetModule(index), "");
    s.UpdateRootList("r", false);
    EXPECT_EQ(s.GetRoot(1), "");
    EXPECT_EQ(s.GetTemplate(0), "");
}

TEST_F(SccSettings, EmptyProgramsTakeTheirDefaultIntoTheNextSave) {
    {
        CSccSettings s;
        s.SetEditor("");
        s.SetConflictExe("");
        s.SetDiffExe("");
        EXPECT_EQ(s.GetEditor(), platform::DefaultTools().editor);
        EXPECT_EQ(s.GetConflictExe(), platform::DefaultTools().conflictEditor);
        EXPECT_EQ(s.GetDiffExe(), platform::DefaultTools().diff);
    }
    EXPECT_EQ(Raw::Get("SETTINGS", "EDITOR"), platform::DefaultTools().editor);
    EXPECT_EQ(Raw::Get("SETTINGS", "CONFLICTEXE"), platform::DefaultTools().conflictEditor);
    EXPECT_EQ(Raw::Get("SETTINGS", "DIFFEXE"), platform::DefaultTools().diff);
}

TEST_F(SccSettings, VendorNameDefaultsAndStaysInTheObject) {
    const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    const std::string fallbackName = !platform::GetUserFullName().empty()
                                         ? platform::GetUserFullName()
                                         : platform::GetUserLoginName();
    {
        CSccSettings s;
        EXPECT_EQ(s.GetVendorName(), fallbackName);
        EXPECT_FALSE(s.GetVendorName().empty());
    }
    EXPECT_EQ(Raw::Get("SETTINGS", "VENDORNAME"), fallbackName) << "saved with the object";
    Raw::Set("SETTINGS", "VENDORNAME", "");

    SetMachine("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner", "Old Owner");
    {
        CSccSettings s;
        EXPECT_EQ(s.GetVendorName(), "Old Owner") << "the older key when the NT one is missing";
        s.SetVendorName("");
    }
    SetMachine(nt, "RegisteredOwner", "Owner");
    {
        CSccSettings s;
        EXPECT_EQ(s.GetVendorName(), "Owner");
        s.SetVendorName("");
    }
    SetMachine(nt, "RegisteredOrganization", "Organization");
    {
        CSccSettings s;
        EXPECT_EQ(s.GetVendorName(), "Organization");
        s.SetVendorName("Mine");
    }
    CSccSettings s;
    EXPECT_EQ(s.GetVendorName(), "Mine");
}

TEST_F(SccSettings, ProcessObjectIsTheInstalledOne) {
    CSccSettings mine;
    SetProcessSettings(&mine);
    EXPECT_EQ(&GetSettings(), &mine);
    SetProcessSettings(nullptr);
}

TEST_F(SccSettings, UnusableStoreLeavesTheInitialValues) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "a Windows user always has a registry to write to";
    testing_support::WriteFile(user_.Folder() + "/plain-file", "x");
    testing_support::ScopedEnv config("XDG_CONFIG_HOME", user_.Folder() + "/plain-file/below");
    CSccSettings s;
    EXPECT_FALSE(s.GetIndependentMode());
    EXPECT_TRUE(s.GetWarnOnEdit());
    EXPECT_EQ(s.GetCompressLevel(), "0");
    EXPECT_FALSE(s.GetUseComments());
    EXPECT_FALSE(s.GetAutoCommit());
    EXPECT_EQ(s.GetCvsExePath(), "");
    EXPECT_EQ(s.GetModuleCount(), 0);
}

} // namespace
