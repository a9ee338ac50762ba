// Registering the provider among the machine's source-control providers, through the two
// entry points regsvr32 calls, with the provider loaded by path; and regsvr32 itself where
// there is one. Every case works on the isolated user's machine hive.
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "tests/e2e/BuildProducts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace platform;
using e2e::InBin;

constexpr const char* kOwn = "SOFTWARE\\Morvek\\VODORO";
constexpr const char* kShared = "SOFTWARE\\SourceCodeControlProvider";
constexpr const char* kInstalled = "SOFTWARE\\SourceCodeControlProvider\\InstalledSCCProviders";
constexpr const char* kOther = "SOFTWARE\\Other Maker\\Other SCC";
constexpr int32_t kSelfRegClassError = static_cast<int32_t>(0x80040201u);

// Every value of a machine key as text; "(no key)" when it cannot be opened.
std::map<std::string, std::string> Values(const std::string& path) {
    std::map<std::string, std::string> values;
    RegKey key = nullptr;
    if (OpenRegKey(RegHive::LocalMachine, path, RegAccess::Read, &key) != kRegOk)
        return {{"(no key)", ""}};
    std::string name;
    for (uint32_t i = 0; EnumRegValueName(key, i, &name) == kRegOk; ++i) {
        uint32_t type = 0;
        std::string data;
        QueryRegValue(key, name, &type, &data);
        while (!data.empty() && data.back() == '\0')
            data.pop_back();
        values[name] = data;
    }
    CloseRegKey(key);
    return values;
}

void SetValues(const std::string& path, const std::map<std::string, std::string>& values) {
    RegKey key = nullptr;
    ASSERT_EQ(CreateRegKey(RegHive::LocalMachine, path, &key), kRegOk) << path;
    for (const auto& [name, text] : values)
        ASSERT_EQ(SetRegString(key, name, text), kRegOk);
    CloseRegKey(key);
}

class Registration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(provider_.Ok()) << provider_.Error();
        register_ = provider_.Get<int32_t (*)()>("DllRegisterServer");
        unregister_ = provider_.Get<int32_t (*)()>("DllUnregisterServer");
        ASSERT_NE(register_, nullptr);
        ASSERT_NE(unregister_, nullptr);
    }
    // Another provider, installed and the machine's default.
    void InstallOther() {
        SetValues(kOther, {{"SCCServerName", "Other SCC"}, {"SCCServerPath", "C:\\other.dll"}});
        SetValues(kInstalled, {{"Other SCC", kOther}});
        SetValues(kShared, {{"ProviderRegKey", kOther}});
    }

    testing_support::IsolatedUser user_;
    e2e::LoadedProvider provider_;
    int32_t (*register_)() = nullptr;
    int32_t (*unregister_)() = nullptr;
    const std::string dll_ = InBin(LibraryFileName("MorvekCVS"));
};

TEST_F(Registration, OnAFreshMachineTheProviderIsInstalledAndTheDefault) {
    ASSERT_EQ(register_(), 0);
    using Map = std::map<std::string, std::string>;
    EXPECT_EQ(Values(kOwn), (Map{{"SCCServerName", "Morvek CVS SCC"}, {"SCCServerPath", dll_}}));
    EXPECT_EQ(Values(kInstalled), (Map{{"Morvek CVS SCC", kOwn}}));
    EXPECT_EQ(Values(kShared), (Map{{"ProviderRegKey", kOwn}}));
    EXPECT_EQ(register_(), 0) << "registering again changes nothing";
    EXPECT_EQ(Values(kInstalled), (Map{{"Morvek CVS SCC", kOwn}}));

    // The user's settings live beside the registration (another hive, same key name) and
    // stay; so does anything else in our machine key.
    SetValues(kOwn, {{"InstallPath", "C:\\kept"}});
    ASSERT_EQ(unregister_(), 0);
    EXPECT_EQ(Values(kOwn), (Map{{"InstallPath", "C:\\kept"}}));
    EXPECT_EQ(Values(kInstalled), Map{});
    EXPECT_EQ(Values(kShared), Map{});
    EXPECT_EQ(unregister_(), 0) << "nothing left to remove is no error";
}

TEST_F(Registration, AnotherProviderKeepsItsKeysAndStaysTheDefaultWhileInstalled) {
    using Map = std::map<std::string, std::string>;
    const Map otherOwn{{"SCCServerName", "Other SCC"}, {"SCCServerPath", "C:\\other.dll"}};

    InstallOther();
    ASSERT_EQ(register_(), 0);
    EXPECT_EQ(Values(kShared), (Map{{"ProviderRegKey", kOther}}));
    EXPECT_EQ(Values(kInstalled), (Map{{"Morvek CVS SCC", kOwn}, {"Other SCC", kOther}}));
    ASSERT_EQ(unregister_(), 0);
    EXPECT_EQ(Values(kShared), (Map{{"ProviderRegKey", kOther}}));
    EXPECT_EQ(Values(kInstalled), (Map{{"Other SCC", kOther}}));
    EXPECT_EQ(Values(kOther), otherOwn);

    // A default whose provider is gone (no library named) is taken over; unregistering then
    // leaves no default rather than one that names nothing.
    SetValues(kShared, {{"ProviderRegKey", "SOFTWARE\\Removed\\Provider"}});
    ASSERT_EQ(register_(), 0);
    EXPECT_EQ(Values(kShared), (Map{{"ProviderRegKey", kOwn}}));
    ASSERT_EQ(unregister_(), 0);
    EXPECT_EQ(Values(kShared), Map{});
    EXPECT_EQ(Values(kInstalled), (Map{{"Other SCC", kOther}}));
    EXPECT_EQ(Values(kOther), otherOwn);

    // Our display name taken over by another provider's entry is not ours to remove.
    SetValues(kInstalled, {{"Morvek CVS SCC", kOther}});
    ASSERT_EQ(unregister_(), 0);
    EXPECT_EQ(Values(kInstalled), (Map{{"Morvek CVS SCC", kOther}, {"Other SCC", kOther}}));
}

TEST_F(Registration, AMachineHiveThatCannotBeWrittenFailsTheRegistration) {
    if (testing_support::RunningUnderWine())
        GTEST_SKIP() << "the machine hive is a file on POSIX only";
    // A hive file below a plain file can never be made.
    const std::string blocker = user_.Folder() + "/blocker";
    testing_support::WriteFile(blocker, "a file, not a folder\n");
    testing_support::ScopedEnv machine("MORVEK_MACHINE_REGISTRY", blocker + "/machine.reg");
    EXPECT_EQ(register_(), kSelfRegClassError);
    EXPECT_FALSE(platform::Exists(blocker + "/machine.reg"));
}

// regsvr32 loads the library and calls the two entry points as an installer does.
TEST_F(Registration, Regsvr32RegistersAndUnregisters) {
    if (!testing_support::RunningUnderWine())
        GTEST_SKIP() << "regsvr32 is a Windows program";
    const std::string regsvr32 = "C:\\windows\\system32\\regsvr32.exe";
    testing_support::RunResult r = testing_support::Run({regsvr32, "/s", dll_});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(Values(kOwn)["SCCServerPath"], dll_);
    EXPECT_EQ(Values(kShared)["ProviderRegKey"], kOwn);
    r = testing_support::Run({regsvr32, "/u", "/s", dll_});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(Values(kOwn).count("SCCServerPath"), 0u);
    EXPECT_EQ(Values(kInstalled).count("Morvek CVS SCC"), 0u);
}

} // namespace
