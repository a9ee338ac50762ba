// SccProperties, SccGetCommandOptions and SccRunScc through the provider loaded by path,
// called as an IDE calls them, against a local repository, :fork: and a pserver: the
// properties sheet adding the user's watch and listing the file's editors, the options
// sheets handing back the context's map, the settings stored, and their trace blocks byte
// for byte. The sheets are answered by the scripted answers the provider takes from the
// environment when it loads.
#include "platform/FileSystem.h"
#include "tests/e2e/IdeSession.h"
#include "tests/support/CvsMethods.h"
#include "tests/support/TraceBlocks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace {

using e2e::Answers;
using e2e::g_pane;
using e2e::IdeSession;
using testing::Contains;
using testing::HasSubstr;
using trace_test::Hex;
using trace_test::kBanner;
using trace_test::kUninitializeBlock;

std::string PropertiesBlock(const std::string& file) {
    return kBanner + "SccProperties\n" + kBanner + "INPUT:\nfile_name      '" + file +
           "'\nRESULT: 00000000 (SCC_OK)\n";
}
std::string OptionsBlock(SccLong command, const char* name, const void* pointer,
                         const char* result) {
    return kBanner + "SccGetCommandOptions\n" + kBanner + "INPUT:\ncommand       " +
           Hex(static_cast<uint32_t>(command)) + " (" + name + ")\npvOptions     " + Hex(pointer) +
           "\nRESULT: " + result + "\n";
}

class PropertyExportsModule : public e2e::IdeOnWorkingCopy {};

INSTANTIATE_TEST_SUITE_P(Methods, PropertyExportsModule, testing_support::AllCvsMethods(),
                         e2e::MethodName);

TEST_P(PropertyExportsModule, PropertiesAddTheUsersWatchAndListTheEditors) {
    const std::string a = File("a.txt");
    ASSERT_EQ(repo_.Cvs({"edit", "a.txt"}, work_).status, 0);
    IdeSession ide(Answers{{"WATCH", "watch add"}});
    Open(ide);
    g_pane.clear();
    EXPECT_EQ(ide.Get<decltype(&SccProperties)>("SccProperties")(ide.Context(), nullptr, a.c_str()),
              SCC_OK);
    // The watchers (on a worker), the watch, the watchers again, the editors (on a worker).
    for (const char* command : {"cvs watchers a.txt", "cvs watch add a.txt", "cvs editors a.txt"})
        EXPECT_THAT(g_pane, Contains(command));
    const std::string watchers = repo_.Cvs({"watchers", "a.txt"}, work_).out;
    // The temporary watches of the user's edit, and now the permanent ones.
    EXPECT_THAT(watchers, HasSubstr("\ttedit\ttunedit\ttcommit\tedit\tunedit\tcommit\n"));

    ide.Uninitialize();
    EXPECT_EQ(TraceFrom("SccProperties"), PropertiesBlock(a) + kUninitializeBlock);
}

TEST_P(PropertyExportsModule, TheOptionsSheetsHandBackTheMapAndTheSettingsAreStored) {
    IdeSession ide(Answers{{"GETOPTIONS", "ok"},
                           {"VERSION", "by tag"},
                           {"VERSIONTAG", "REL_1"},
                           {"CHECKINOPTIONS", "cancel"},
                           {"SETTINGS", "ok"},
                           {"USECOMPRESSION", "yes"},
                           {"COMPRESSLEVEL", "7"}});
    Open(ide);
    auto options = ide.Get<decltype(&SccGetCommandOptions)>("SccGetCommandOptions");
    EXPECT_EQ(options(ide.Context(), nullptr, SCC_COMMAND_ADD, nullptr), SCC_I_ADV_SUPPORT);
    EXPECT_EQ(options(ide.Context(), nullptr, SCC_COMMAND_UNCHECKOUT, nullptr),
              SCC_E_OPNOTSUPPORTED);
    void* handed = nullptr;
    EXPECT_EQ(options(ide.Context(), nullptr, SCC_COMMAND_GET, &handed), SCC_OK);
    ASSERT_NE(handed, nullptr);
    const auto& map = *static_cast<const std::map<std::string, std::string>*>(handed);
    EXPECT_EQ(map.at("CHECKOUT_USEREVVER"), "1");
    EXPECT_EQ(map.at("CHECKOUT_GETREVVER"), "REL_1");
    EXPECT_EQ(map.at("CHECKOUT_USEDEFAULTVER"), "0");
    void* cancelled = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(options(ide.Context(), nullptr, SCC_COMMAND_CHECKIN, &cancelled), SCC_OK);
    EXPECT_EQ(cancelled, nullptr);
    void* settings = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(options(ide.Context(), nullptr, SCC_COMMAND_OPTIONS, &settings), SCC_OK);
    EXPECT_EQ(settings, nullptr);
    const char* names[] = {"a.txt"};
    EXPECT_EQ(ide.Get<decltype(&SccRunScc)>("SccRunScc")(ide.Context(), nullptr, 1, names), SCC_OK);

    ide.Uninitialize();
    EXPECT_EQ(
        TraceFrom("SccGetCommandOptions"),
        OptionsBlock(4, "SCC_command_add", nullptr, "00000001 (SCC_I_ADV_SUPPORT)") +
            OptionsBlock(3, "SCC_command_uncheckout", nullptr, "fffffff2 (SCC_E_OPNOTSUPPORTED)") +
            OptionsBlock(0, "SCC_command_get", &handed, "00000000 (SCC_OK)") +
            OptionsBlock(2, "SCC_command_checkin", &cancelled, "00000000 (SCC_OK)") +
            OptionsBlock(10, "SCC_command_option", &settings, "00000000 (SCC_OK)") + kBanner +
            "SccRunScc\n" + kBanner +
            "files        1\nfile_names      'a.txt'\nRESULT: 00000000 (SCC_OK)\n" +
            kUninitializeBlock);
    CSccSettings stored;
    EXPECT_TRUE(stored.GetUseCompression());
    EXPECT_EQ(stored.GetCompressLevel(), "7");
}

} // namespace
