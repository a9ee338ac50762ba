// The provider module as a host environment loads it: what loading and unloading do, the
// trace file, the switching tool's two exports, and scchost keeping a trace.
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Registry.h"
#include "scc/SccApi.h"
#include "settings/RegistryEx.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using e2e::InBin;
using e2e::LoadedProvider;
using testing_support::IsolatedUser;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::Sep;

const std::string kBanner = "================================================\n";

class ModuleHost : public ::testing::Test {
protected:
    // What the user's settings say before the provider loads.
    void StoreTraceLog(bool on) {
        CRegistryEx r("Morvek", "VODORO", false);
        r.OpenSection("SETTINGS");
        r.ExchangeDefaultString("USERINIT", "1");
        r.ExchangeDefaultFlag("TRACELOG", on);
    }
    std::string StoredSetting(const std::string& name) {
        CRegistryEx r("Morvek", "VODORO", true);
        r.OpenSection("SETTINGS");
        std::string text = "(missing)";
        r.ExchangeString(name, text);
        return text;
    }
    std::string TraceFolder() const { return user_.AppDataFolder() + Sep() + "Morvek"; }

    IsolatedUser user_;
    ScopedEnv clock_{"MORVEK_TEST_CLOCK", "2022-08-26T12:35:38"};
};

TEST_F(ModuleHost, TraceFileLivesWhileTheLibraryIsLoaded) {
    StoreTraceLog(true);
    const std::string trace = TraceFolder() + Sep() + "Trace220826T123538.log";
    ASSERT_TRUE(platform::MakeFolderTree(TraceFolder()));
    testing_support::WriteFile(trace, "left from an earlier load\n");

    LoadedProvider provider;
    ASSERT_TRUE(provider.Ok()) << provider.Error();
    EXPECT_FALSE(platform::Exists(trace)) << "each load starts a new trace";

    provider.Get<SccLong (*)()>("SccGetVersion")();
    std::string expected = kBanner + "SccGetVersion\n" + kBanner + "RESULT: 00010001 \n";
    EXPECT_EQ(ReadFile(trace), expected);

    provider.Get<SCCRTN (*)(void*, SccLong, SccLong)>("SccSetOption")(nullptr, 3, 1);
    expected += kBanner + "SccSetOption\n" + kBanner +
                "INPUT:\ncontext_arg 00000000\noption      00000003\nSCC_OPT_HASCANCELMODE\n"
                "val         00000001\nRESULT: 00000000 (SCC_OK)\n";
    EXPECT_EQ(ReadFile(trace), expected);

    const char* folders[] = {"no-such-folder"};
    SccLong status[] = {7};
    provider.Get<SCCRTN (*)(void*, SccLong, const char**, SccLong*)>("SccDirQueryInfo")(
        nullptr, 1, folders, status);
    provider.Get<SCCRTN (*)()>("SccBeginBatch")();
    expected += kBanner + "SccDirQueryInfo\n" + kBanner +
                "INPUT:\nnum directories  1\nDirectory Names  'no-such-folder' (00000007)\n"
                "OUTPUT:\nDirectory Names  'no-such-folder' (00000000)\n"
                "RESULT: 00000000 (SCC_OK)\n" +
                kBanner + "SccBeginBatch\n" + kBanner + "RESULT: fffffff2 (SCC_E_OPNOTSUPPORTED)\n";
    EXPECT_EQ(ReadFile(trace), expected);

    provider.Unload();
    EXPECT_FALSE(platform::Exists(trace)) << "unloading deletes the trace";
    EXPECT_TRUE(platform::IsFolder(TraceFolder()));
}

TEST_F(ModuleHost, WithoutTraceLogNoFolderIsMadeAndUnloadingSaves) {
    StoreTraceLog(false);
    LoadedProvider provider;
    ASSERT_TRUE(provider.Ok()) << provider.Error();
    provider.Get<SccLong (*)()>("SccGetVersion")();
    // Another program changes a value while the library is loaded: the library's own
    // settings object writes what it loaded back when it goes.
    {
        CRegistryEx r("Morvek", "VODORO", false);
        r.OpenSection("SETTINGS");
        r.ExchangeDefaultString("EDITOR", "changed meanwhile");
    }
    provider.Unload();
    EXPECT_FALSE(platform::Exists(TraceFolder()));
    EXPECT_FALSE(platform::Exists(user_.AppDataFolder()));
    EXPECT_EQ(StoredSetting("EDITOR"), "");
    EXPECT_EQ(StoredSetting("TRACELOG"), "0");
}

// One test, not two: Uninstall stops every switching tool of the user, so a second test
// running at the same time would lose its own.
TEST_F(ModuleHost, Commit2StartsTheSwitchingToolAndUninstallStopsOnlyIt) {
    const std::string sleeper = e2e::ProgramPath("morvek_sleeper");
    const std::string programs = user_.Folder() + Sep() + "programs";
    const std::string installed = programs + Sep() + "Morvek CVS SCC" + Sep() + "Belmora.exe";
    ScopedEnv programFiles("MORVEK_PROGRAM_FILES", programs);

    LoadedProvider provider;
    ASSERT_TRUE(provider.Ok()) << provider.Error();
    auto commit2 = provider.Get<intptr_t (*)()>("Commit2");
    auto uninstall = provider.Get<intptr_t (*)()>("Uninstall");
    ASSERT_NE(commit2, nullptr);
    ASSERT_NE(uninstall, nullptr);
    EXPECT_EQ(commit2(), 0) << "not installed";

    ASSERT_TRUE(platform::MakeFolderTree(programs + Sep() + "Morvek CVS SCC"));
    ASSERT_TRUE(platform::CopyFileTo(sleeper, installed, false));
    EXPECT_EQ(commit2(), 0);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!platform::Exists(installed + ".ran") && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(platform::Exists(installed + ".ran")) << "Commit2 did not start the tool";

    // Same name in another folder, the name in other letter case, and another name.
    const struct {
        const char* name;
        bool stops;
    } programsToRun[] = {{"Belmora.exe", true}, {"belmora.exe", false}, {"Other.exe", false}};
    std::vector<std::unique_ptr<testing_support::Started>> running;
    int n = 0;
    for (const auto& p : programsToRun) {
        const std::string folder = user_.Folder() + Sep() + "run" + std::to_string(n++);
        ASSERT_TRUE(platform::MakeFolder(folder));
        ASSERT_TRUE(platform::CopyFileTo(sleeper, folder + Sep() + p.name, false));
        running.push_back(std::make_unique<testing_support::Started>(
            std::vector<std::string>{folder + Sep() + p.name, "60"}));
        ASSERT_TRUE(running.back()->Ok()) << p.name;
    }
    for (size_t i = 0; i < running.size(); ++i) {
        const std::string marker = user_.Folder() + Sep() + "run" + std::to_string(i) + Sep() +
                                   programsToRun[i].name + ".ran";
        while (!platform::Exists(marker) && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    EXPECT_EQ(uninstall(), 0);
    for (size_t i = 0; i < running.size(); ++i) {
        if (programsToRun[i].stops)
            EXPECT_TRUE(running[i]->WaitForEnd(10000)) << programsToRun[i].name;
        else
            EXPECT_TRUE(running[i]->Running()) << programsToRun[i].name;
    }
}

class ScchostTrace : public ModuleHost {};

TEST_F(ScchostTrace, CopiesTheTraceBeforeUnloading) {
    StoreTraceLog(true);
    const std::string copy = user_.Folder() + Sep() + "kept.log";
    auto r = e2e::RunScchost({"--trace", copy, "version"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(copy), kBanner + "SccGetVersion\n" + kBanner + "RESULT: 00010001 \n");
    EXPECT_FALSE(platform::Exists(TraceFolder() + Sep() + "Trace220826T123538.log"));
}

TEST_F(ScchostTrace, SaysSoWhenTracingIsOff) {
    StoreTraceLog(false);
    const std::string copy = user_.Folder() + Sep() + "kept.log";
    auto r = e2e::RunScchost({"--trace", copy, "version"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1.1 (0x00010001)\n");
    EXPECT_NE(r.err.find("TRACELOG"), std::string::npos) << r.err;
    EXPECT_FALSE(platform::Exists(copy));
}

} // namespace
