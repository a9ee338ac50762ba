// The check-in comment dialog, played through the headless host, with the settings of an
// isolated user.
#include "ui/DlgComment.h"

#include "platform/Registry.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/ui/CommentTestSupport.h"
#include "ui/framework/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using comment_tests::StoreTemplates;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr ControlId kTemplate = CDlgComment::kIdcTemplate;
constexpr ControlId kComment = CDlgComment::kIdcComment;
constexpr ControlId kDoNotDisplay = CDlgComment::kIdcDoNotDisplay;

TEST(DlgComment, OpensWithTheCallersCommentTheTitlesSortedAndTheFocusOnTheComment) {
    testing_support::EngineEnvironment env;
    StoreTemplates(env.Settings(), {"Zeta\nzeta body", "Alpha\nalpha body", "review\nr"});
    env.Settings().SetMruTemplate("Alpha");
    int owner = 0;
    CDlgComment dialog(&owner);
    dialog.SetComment("Fixes the parser\r\nsecond line");

    DialogSession ui = env.Host().Open(dialog);
    EXPECT_EQ(ui.Caption(), "Checkin Comments");
    EXPECT_EQ(ui.Label(kTemplate), "Template:");
    EXPECT_EQ(ui.Label(kComment), "Comments:");
    EXPECT_EQ(ui.Label(kDoNotDisplay), "Do not display");
    EXPECT_THAT(ui.Items(kTemplate), ElementsAre("Alpha", "review", "Zeta"));
    // A comment handed in is never replaced by the remembered template.
    EXPECT_EQ(ui.Selection(kTemplate), -1);
    EXPECT_EQ(ui.Text(kComment), "Fixes the parser\r\nsecond line");
    EXPECT_FALSE(ui.IsChecked(kDoNotDisplay));
    EXPECT_EQ(ui.FocusedControl(), kComment);
    EXPECT_EQ(ui.GetPlacement(), Placement::CentredOnOwner);
    EXPECT_EQ(ui.Owner(), &owner);

    ui.Focus(kDoNotDisplay);
    ui.Choose(kTemplate, "Alpha");
    EXPECT_EQ(ui.Text(kComment), "alpha body");
    EXPECT_EQ(ui.FocusedControl(), kComment);
    ui.Choose(kTemplate, "Zeta");
    EXPECT_EQ(ui.Text(kComment), "zeta body");
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetComment(), "zeta body");
    EXPECT_FALSE(dialog.GetDoNotDisplay());
}

TEST(DlgComment, ATemplateIsItsTitleALineFeedAndItsBody) {
    const struct {
        const char* stored;
        const char* title;
        const char* body;
    } cases[] = {
        {"Review\nReviewed-by", "Review", "Reviewed-by"},
        {"\n\nTitle\nBody", "Title", "Body"},
        {"All title", "All title", ""},
        {"Ends\n", "Ends", ""},
        {"Lines\nline one\r\nline two\r\n", "Lines", "line one\r\nline two\r\n"},
        {"Gap\n\nafter a blank line", "Gap", "\nafter a blank line"},
        {"Second\nline feed\nkept in the body", "Second", "line feed\nkept in the body"},
        {"\n\n", "", "\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.stored)));
        testing_support::EngineEnvironment env;
        StoreTemplates(env.Settings(), {c.stored});
        CDlgComment dialog(nullptr);
        DialogSession ui = env.Host().Open(dialog);
        EXPECT_THAT(ui.Items(kTemplate), ElementsAre(c.title));
        ui.Type(kComment, "typed before choosing");
        ui.ChooseIndex(kTemplate, 0);
        EXPECT_EQ(ui.Text(kComment), c.body);
        ui.Click(kIdOk);
        EXPECT_EQ(dialog.GetComment(), c.body);
    }
}

// Titles typed by hand into the registry may repeat; the first in list order is the one used.
TEST(DlgComment, OfTwoTemplatesWithOneTitleTheFirstInListOrderIsUsed) {
    testing_support::EngineEnvironment env;
    platform::RegKey key = nullptr;
    ASSERT_EQ(platform::CreateRegKey(platform::RegHive::CurrentUser,
                                     "software\\Morvek\\VODORO\\CVSTEMPLATES", &key),
              platform::kRegOk);
    platform::SetRegString(key, "Template_0", "Dup\nfirst");
    platform::SetRegString(key, "Template_1", "Dup\nsecond");
    platform::CloseRegKey(key);
    env.Settings().Load();

    CDlgComment dialog(nullptr);
    DialogSession ui = env.Host().Open(dialog);
    EXPECT_THAT(ui.Items(kTemplate), ElementsAre("Dup", "Dup"));
    ui.ChooseIndex(kTemplate, 1);
    EXPECT_EQ(ui.Text(kComment), "first");
}

TEST(DlgComment, TheRememberedTemplateIsChosenOnlyForAnEmptyComment) {
    const struct {
        const char* name;
        const char* remembered;
        const char* given;
        int selection;
        const char* comment;
    } cases[] = {
        {"prefix, other case", "REV", "", 0, "Reviewed-by: anna"},
        {"whole title", "review-old", "", 1, "old body"},
        {"comment handed in", "Review", "mine", -1, "mine"},
        {"no title begins with it", "Gone", "", -1, ""},
        {"nothing remembered", "", "", -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::EngineEnvironment env;
        StoreTemplates(env.Settings(),
                       {"Zeta\nz", "review-old\nold body", "Review\nReviewed-by: anna"});
        env.Settings().SetMruTemplate(c.remembered);
        CDlgComment dialog(nullptr);
        dialog.SetComment(c.given);
        DialogSession ui = env.Host().Open(dialog);
        EXPECT_EQ(ui.Selection(kTemplate), c.selection);
        EXPECT_EQ(ui.Text(kComment), c.comment);
        EXPECT_EQ(ui.FocusedControl(), kComment);
    }
}

TEST(DlgComment, OkWithATemplateChosenRemembersItAndSavesEverySettingAtOnce) {
    testing_support::EngineEnvironment env;
    StoreTemplates(env.Settings(), {"Zeta\nz", "Review\nReviewed-by: "});
    env.Settings().Save();
    env.Settings().SetEditor("unsaved-editor");

    CDlgComment dialog(nullptr);
    DialogSession ui = env.Host().Open(dialog);
    ui.Choose(kTemplate, "Review");
    ui.Type(kComment, "Reviewed-by: anna\r\nTested on two machines");
    ui.Tick(kDoNotDisplay);
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetComment(), "Reviewed-by: anna\r\nTested on two machines");
    EXPECT_TRUE(dialog.GetDoNotDisplay());
    EXPECT_EQ(env.Settings().GetMruTemplate(), "Review");

    CSccSettings stored;
    EXPECT_EQ(stored.GetMruTemplate(), "Review");
    EXPECT_EQ(stored.GetEditor(), "unsaved-editor");
}

TEST(DlgComment, OkWithoutATemplateChosenStoresNothing) {
    testing_support::EngineEnvironment env;
    StoreTemplates(env.Settings(), {"Review\nr"});
    env.Settings().Save();
    env.Settings().SetMruTemplate("Gone");
    env.Settings().SetEditor("unsaved-editor");

    CDlgComment dialog(nullptr);
    DialogSession ui = env.Host().Open(dialog);
    EXPECT_EQ(ui.Selection(kTemplate), -1);
    ui.Type(kComment, "line 1\r\nline 2");
    ui.PressEnter();
    EXPECT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.GetComment(), "line 1\r\nline 2");
    EXPECT_EQ(env.Settings().GetMruTemplate(), "Gone");

    CSccSettings stored;
    EXPECT_EQ(stored.GetMruTemplate(), "");
    EXPECT_NE(stored.GetEditor(), "unsaved-editor");
}

// Whatever happened in the dialog, Cancel hands back the caller's comment as it came and
// stores nothing.
TEST(DlgComment, CancelGivesBackTheCommentAsHandedInAndStoresNothing) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        testing_support::EngineEnvironment env;
        StoreTemplates(env.Settings(), {"Review\nReviewed-by: "});
        env.Settings().SetMruTemplate("Old");
        env.Settings().Save();

        CDlgComment dialog(nullptr);
        dialog.SetComment("a comment written in the IDE\r\nover two lines");
        DialogSession ui = env.Host().Open(dialog);
        ui.Choose(kTemplate, "Review");
        ui.Type(kComment, "typed over it");
        ui.Tick(kDoNotDisplay);
        if (escape)
            ui.PressEscape();
        else
            ui.Click(kIdCancel);
        EXPECT_EQ(ui.Result(), kIdCancel);
        EXPECT_EQ(dialog.GetComment(), "a comment written in the IDE\r\nover two lines");
        EXPECT_FALSE(dialog.GetDoNotDisplay());
        EXPECT_EQ(env.Settings().GetMruTemplate(), "Old");
        EXPECT_EQ(comment_tests::Templates(env.Settings()),
                  std::vector<std::string>{"Review\nReviewed-by: "});
        CSccSettings stored;
        EXPECT_EQ(stored.GetMruTemplate(), "Old");
    }

    // Shown modally, as the file commands show it.
    testing_support::EngineEnvironment env;
    StoreTemplates(env.Settings(), {"Review\nReviewed-by: "});
    env.Host().ExpectDialog("Checkin Comments", [](DialogDriver& ui) {
        ui.Choose(kTemplate, "Review");
        ui.Click(kIdCancel);
    });
    CDlgComment dialog(nullptr);
    dialog.SetComment("kept");
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_EQ(dialog.GetComment(), "kept");
    EXPECT_FALSE(dialog.IsRealised());
}

// Choosing a template fills the comment only: a tick the user gave "Do not display" stays.
TEST(DlgComment, ChoosingATemplateKeepsTheDoNotDisplayTick) {
    testing_support::EngineEnvironment env;
    StoreTemplates(env.Settings(), {"Review\nr"});
    CDlgComment dialog(nullptr);
    DialogSession ui = env.Host().Open(dialog);
    ui.Tick(kDoNotDisplay);
    ui.Choose(kTemplate, "Review");
    EXPECT_TRUE(ui.IsChecked(kDoNotDisplay));
    ui.Click(kIdOk);
    EXPECT_TRUE(dialog.GetDoNotDisplay());
    EXPECT_EQ(dialog.GetComment(), "r");
}

// Without a terminal the dialog is answered from scripted answers, or fails naming the
// option that would have answered it.
TEST(DlgComment, ScriptedAnswers) {
    const std::vector<std::string> stored = {"Zeta\nz", "Review\nReviewed-by: anna"};
    const struct {
        const char* name;
        std::map<std::string, std::string> answers;
        bool withTemplates;
        const char* given;
        int result;
        const char* comment;
        bool doNotDisplay;
        const char* remembered; // MRUTEMPLATE afterwards
        const char* fault;      // part of the failure message; empty: none
    } cases[] = {
        {"comment", {{"comment", "one\ntwo"}}, true, "", kIdOk, "one\r\ntwo", false, "", ""},
        {"empty comment", {{"comment", ""}}, true, "", kIdOk, "", false, "", ""},
        {"template by title",
         {{"template", "review"}},
         true,
         "",
         kIdOk,
         "Reviewed-by: anna",
         false,
         "Review",
         ""},
        {"template by number", {{"TEMPLATE", "2"}}, true, "", kIdOk, "z", false, "Zeta", ""},
        {"template, then own comment",
         {{"template", "Review"}, {"comment", "own"}},
         true,
         "",
         kIdOk,
         "own",
         false,
         "Review",
         ""},
        {"comment handed in", {}, true, "from the caller", kIdOk, "from the caller", false, "", ""},
        {"do not display",
         {{"comment", "c"}, {"donotdisplay", "yes"}},
         false,
         "",
         kIdOk,
         "c",
         true,
         "",
         ""},
        {"no comment", {}, true, "", kIdCancel, "", false, "", "pass --answer comment=VALUE"},
        {"cancelled",
         {{"checkincomments", "cancel"}, {"comment", "c"}},
         true,
         "kept",
         kIdCancel,
         "kept",
         false,
         "",
         ""},
        {"unknown template",
         {{"template", "nope"}, {"comment", "c"}},
         true,
         "kept",
         kIdCancel,
         "kept",
         false,
         "",
         "is not one of the choices"},
        {"template with none stored",
         {{"template", "Review"}, {"comment", "c"}},
         false,
         "",
         kIdCancel,
         "",
         false,
         "",
         "there are none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::EngineEnvironment env;
        if (c.withTemplates)
            StoreTemplates(env.Settings(), stored);
        testing_support::FaultLog faults;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers), [](const std::string&) {});
        CDlgComment dialog(nullptr);
        dialog.SetComment(c.given);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.GetComment(), c.comment);
        EXPECT_EQ(dialog.GetDoNotDisplay(), c.doNotDisplay);
        EXPECT_EQ(env.Settings().GetMruTemplate(), c.remembered);
        if (*c.fault == '\0') {
            EXPECT_THAT(faults.seen, testing::IsEmpty());
        } else {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr("\"Checkin Comments\""));
            EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        }
    }
}

} // namespace
