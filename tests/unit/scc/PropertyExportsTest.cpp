// The properties, advanced-options and settings exports through the headless host: which
// window each shows and with what, what SccGetCommandOptions answers and hands back for each
// command, the map it remembers for the file commands, a missing context, and their trace
// blocks byte for byte.
#include "engine/CVSContext.h"
#include "scc/CommandOptions.h"
#include "scc/Exports.h"
#include "tests/support/CvsGlueClient.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/scc/TraceTestSupport.h"
#include "ui/DlgCmdOpts.h"
#include "ui/DlgItemProp.h"
#include "ui/DlgSettings.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using trace_test::Hex;
using trace_test::kBanner;
using uifw::DialogDriver;

const auto kWindow = reinterpret_cast<SccWindow>(0x5150);

class PropertyExports : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Settings().SetCvsExePath(testing_support::FakeCvsPath());
        context_ = env_.MakeContext();
        ResetOfferedOptions();
        trace_.Take();
    }
    void TearDown() override { ResetOfferedOptions(); }

    static std::string OptionsBlock(SccLong command, const char* name, const void* pointer,
                                    const char* result) {
        return kBanner + "SccGetCommandOptions\n" + kBanner + "INPUT:\ncommand       " +
               Hex(static_cast<uint32_t>(command)) + " (" + name + ")\npvOptions     " +
               Hex(pointer) + "\nRESULT: " + result + "\n";
    }
    SCCRTN Options(SccLong command, SccCmdOptions* options) {
        return SccGetCommandOptions(context_.get(), kWindow, command, options);
    }

    testing_support::EngineEnvironment env_;
    trace_test::ScopedTrace trace_;
    std::unique_ptr<CCVSContext> context_;
};

// Asked without a pointer, the export says which commands have options and shows nothing.
TEST_F(PropertyExports, WithoutAPointerOnlyTheAnswerWhetherThereAreOptions) {
    const char* const names[] = {
        "SCC_command_get",        "SCC_command_checkout", "SCC_command_checkin",
        "SCC_command_uncheckout", "SCC_command_add",      "SCC_command_remove",
        "SCC_command_diff",       "SCC_command_history",  "SCC_command_rename",
        "SCC_command_properties", "SCC_command_option",   "?"};
    for (SccLong command = 0; command <= 11; ++command) {
        SCOPED_TRACE(command);
        const bool has = command <= 2 || command == 4 || command == 10;
        EXPECT_EQ(Options(command, nullptr), has ? SCC_I_ADV_SUPPORT : SCC_E_OPNOTSUPPORTED);
        EXPECT_EQ(trace_.Take(), OptionsBlock(command, names[command], nullptr,
                                              has ? "00000001 (SCC_I_ADV_SUPPORT)"
                                                  : "fffffff2 (SCC_E_OPNOTSUPPORTED)"));
    }
    EXPECT_TRUE(AdvancedOptionsOffered());
    EXPECT_EQ(RememberedOptions(), nullptr);
    EXPECT_EQ(context_->GetWindow(), kWindow);
}

// With a pointer: the sheet of the command, owned by the call's window; OK hands back the
// context's map, anything else null; the map is remembered however it ended.
TEST_F(PropertyExports, TheSheetOfEachCommandAndWhatItHandsBack) {
    CCVSStringMap* const map = &context_->GetOptions();
    const struct {
        SccLong command;
        const char* caption; // null: nothing is shown
        int answer;
        bool handsBack;
    } cases[] = {
        {SCC_COMMAND_GET, "Get/Check-out Advanced Options...", uifw::kIdOk, true},
        {SCC_COMMAND_CHECKOUT, "Get/Check-out Advanced Options...", uifw::kIdCancel, false},
        {SCC_COMMAND_CHECKIN, "Check-in Advanced Options...", uifw::kIdCancel, false},
        {SCC_COMMAND_ADD, "Check-in Advanced Options...", uifw::kIdOk, true},
        {SCC_COMMAND_OPTIONS, "Morvek CVS SCC :> Settings", uifw::kIdOk, false},
        {SCC_COMMAND_UNCHECKOUT, nullptr, 0, false},
        {SCC_COMMAND_PROPERTIES, nullptr, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        ResetOfferedOptions();
        if (c.caption)
            env_.Host().ExpectDialog(c.caption, [&](DialogDriver& ui) {
                EXPECT_EQ(ui.Owner(), kWindow);
                ui.Click(c.answer);
            });
        void* handed = reinterpret_cast<void*>(0x77);
        EXPECT_EQ(Options(c.command, &handed), SCC_OK);
        EXPECT_EQ(handed, c.handsBack ? map : nullptr);
        EXPECT_TRUE(AdvancedOptionsOffered());
        EXPECT_EQ(RememberedOptions(), map);
        EXPECT_EQ(env_.Host().PendingExpectations(), 0u);
    }
    // What the get sheet's OK wrote, the check-in sheet's too.
    EXPECT_EQ(LookupValue(*map, "CHECKOUT_DONTMERGE"), "1");
    EXPECT_EQ(LookupValue(*map, "COMMIT_FORCED"), "0");
    trace_.Take();

    void* handed = nullptr;
    env_.Host().ExpectDialog("Check-in Advanced Options...",
                             [](DialogDriver& ui) { ui.Click(uifw::kIdCancel); });
    EXPECT_EQ(Options(SCC_COMMAND_CHECKIN, &handed), SCC_OK);
    EXPECT_EQ(trace_.Take(), OptionsBlock(2, "SCC_command_checkin", &handed, "00000000 (SCC_OK)"));
}

TEST_F(PropertyExports, PropertiesShowTheSheetOfTheFile) {
    testing_support::TempDir dir("props");
    const std::string file = NormalizePath(dir.Path()) + testing_support::Sep() + "a.cpp";
    testing_support::WriteFile(file, "int a;\n");
    env_.Host().ExpectDialog("a.cpp Properties", [&](DialogDriver& ui) {
        EXPECT_EQ(ui.Owner(), kWindow);
        EXPECT_EQ(ui.ActivePage(), 0);
        EXPECT_EQ(ui.Page(0).Text(CPageItemGeneral::kIdcLocation), file);
        EXPECT_EQ(ui.Page(0).Text(CPageItemGeneral::kIdcCvsRoot), "N/A");
        ui.Click(uifw::kIdOk);
    });
    EXPECT_EQ(SccProperties(context_.get(), kWindow, file.c_str()), SCC_OK);
    EXPECT_EQ(context_->GetWindow(), kWindow);
    EXPECT_EQ(trace_.Take(), kBanner + "SccProperties\n" + kBanner + "INPUT:\nfile_name      '" +
                                 file + "'\nRESULT: 00000000 (SCC_OK)\n");
    // No file named: nothing to show.
    EXPECT_EQ(SccProperties(context_.get(), kWindow, nullptr), SCC_OK);
    EXPECT_EQ(trace_.Take(), kBanner + "SccProperties\n" + kBanner +
                                 "INPUT:\nfile_name      '(null)'\nRESULT: 00000000 (SCC_OK)\n");
}

TEST_F(PropertyExports, RunSccShowsTheSettingsWhateverTheFiles) {
    const char* names[] = {"C:\\w\\a.cpp", "b.h"};
    for (int answer : {uifw::kIdOk, uifw::kIdCancel}) {
        env_.Host().ExpectDialog("Morvek CVS SCC :> Settings", [&](DialogDriver& ui) {
            EXPECT_EQ(ui.Owner(), kWindow);
            ui.Click(answer);
        });
        EXPECT_EQ(SccRunScc(context_.get(), kWindow, 2, names), SCC_OK);
        EXPECT_EQ(trace_.Take(), kBanner + "SccRunScc\n" + kBanner +
                                     "files        2\nfile_names      'C:\\w\\a.cpp'\n"
                                     "file_names      'b.h'\nRESULT: 00000000 (SCC_OK)\n");
    }
    env_.Host().ExpectDialog("Morvek CVS SCC :> Settings",
                             [](DialogDriver& ui) { ui.Click(uifw::kIdCancel); });
    EXPECT_EQ(SccRunScc(context_.get(), kWindow, 0, nullptr), SCC_OK);
    EXPECT_EQ(trace_.Take(),
              kBanner + "SccRunScc\n" + kBanner + "files        0\nRESULT: 00000000 (SCC_OK)\n");
}

TEST_F(PropertyExports, WithoutAContextEachSaysSoAndFails) {
    for (int i = 0; i < 3; ++i)
        env_.Host().ExpectMessageBox(uifw::kIdOk);
    void* handed = nullptr;
    EXPECT_EQ(SccProperties(nullptr, kWindow, "a.cpp"), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(SccGetCommandOptions(nullptr, kWindow, 0, &handed), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(SccRunScc(nullptr, kWindow, 0, nullptr), SCC_E_NONSPECIFICERROR);
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 3u);
    for (const uifw::MessageBoxRecord& box : env_.Host().MessageBoxes())
        EXPECT_EQ(box.text, "Morvek CVS SCC not initialized by application.");
    EXPECT_FALSE(AdvancedOptionsOffered());
    EXPECT_THAT(trace_.Take(), testing::HasSubstr("RESULT: fffffff1 (SCC_E_NONSPECIFICERROR)\n"));
}

} // namespace
