// The comment-template panel, placed in a stand-in for the settings dialog and played
// through the headless host, with the settings of an isolated user.
#include "ui/PanelCommentOpts.h"

#include "tests/support/EngineTestSupport.h"
#include "tests/unit/ui/CommentTestSupport.h"
#include "ui/DlgComment.h"
#include "ui/framework/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using comment_tests::StoreTemplates;
using comment_tests::Templates;
using testing::Each;
using testing::ElementsAre;

namespace {

using Panel = CPanelCommentOpts;
using Strings = std::vector<std::string>;

// Whether "Description:", "Template:", Save and Remove are enabled.
std::vector<bool> EditingEnabled(const DialogDriver& p) {
    std::vector<bool> enabled;
    for (ControlId id : {Panel::kIdcTitle, Panel::kIdcBody, Panel::kIdcSave, Panel::kIdcRemove})
        enabled.push_back(p.IsEnabled(id));
    return enabled;
}

// Creates and shows the panel as the settings dialog does with the panel of its chosen topic.
class CSettingsStandIn : public CDialog {
public:
    CSettingsStandIn()
        : CDialog(DialogTemplate(1, "Settings").Button(kIdOk, "OK").Button(kIdCancel, "Cancel")) {}
    Panel panel;

protected:
    bool OnInitDialog() override {
        panel.Create(*this);
        panel.ShowWindow(true);
        return CDialog::OnInitDialog();
    }
};

class PanelCommentOpts : public ::testing::Test {
protected:
    // The panel of an open settings dialog.
    DialogDriver OpenPanel() {
        session_ = std::make_unique<DialogSession>(env_.Host().Open(settingsDialog_));
        return session_->Child(settingsDialog_.panel);
    }
    CSccSettings& Settings() { return env_.Settings(); }
    // What the registry holds now.
    static Strings StoredTemplates() {
        CSccSettings stored;
        return Templates(stored);
    }

    testing_support::EngineEnvironment env_;
    CSettingsStandIn settingsDialog_;
    std::unique_ptr<DialogSession> session_;
};

TEST_F(PanelCommentOpts, OpensWithNewFirstEachTitleOnceAndEditingDisabled) {
    StoreTemplates(Settings(), {"Zeta\nz", "review\nlower", "Alpha\na", "Review\nupper"});
    DialogDriver p = OpenPanel();
    EXPECT_EQ(p.Label(Panel::kIdcGroup), "Comment Templates");
    EXPECT_EQ(p.Label(Panel::kIdcTitle), "Description:");
    EXPECT_EQ(p.Label(Panel::kIdcBody), "Template:");
    // Not sorted; a title differing only in case shows once, as the later one at its place.
    EXPECT_THAT(p.Items(Panel::kIdcList), ElementsAre("<New...>", "Zeta", "Alpha", "Review"));
    EXPECT_EQ(p.Selection(Panel::kIdcList), -1);
    EXPECT_THAT(EditingEnabled(p), Each(false));

    p.Choose(Panel::kIdcList, "Review");
    EXPECT_EQ(p.Text(Panel::kIdcTitle), "Review");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "upper");
    EXPECT_THAT(EditingEnabled(p), Each(true));
    EXPECT_EQ(p.FocusedControl(), Panel::kIdcBody);

    p.ChooseIndex(Panel::kIdcList, 0);
    EXPECT_EQ(p.Text(Panel::kIdcTitle), "");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "");
    EXPECT_TRUE(p.IsEnabled(Panel::kIdcSave));
}

// Save changes the settings object at once; the registry follows with the next save of the
// settings, and cancelling the settings dialog does not undo it.
TEST_F(PanelCommentOpts, SaveOfANewTemplatePutsItFirstAndSelectsIt) {
    StoreTemplates(Settings(), {"Alpha\na"});
    Settings().Save();
    DialogDriver p = OpenPanel();
    p.ChooseIndex(Panel::kIdcList, 0);
    p.Type(Panel::kIdcTitle, "Bug fix");
    p.Type(Panel::kIdcBody, "Fixes: \r\nTested: ");
    p.Click(Panel::kIdcSave);

    EXPECT_EQ(Templates(Settings()), (Strings{"Bug fix\nFixes: \r\nTested: ", "Alpha\na"}));
    EXPECT_THAT(p.Items(Panel::kIdcList), ElementsAre("<New...>", "Bug fix", "Alpha"));
    EXPECT_EQ(p.SelectedText(Panel::kIdcList), "Bug fix");
    EXPECT_EQ(p.Text(Panel::kIdcTitle), "Bug fix");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "Fixes: \r\nTested: ");
    EXPECT_TRUE(p.IsEnabled(Panel::kIdcBody));
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
    EXPECT_EQ(StoredTemplates(), Strings{"Alpha\na"});

    session_->Click(kIdCancel);
    EXPECT_EQ(Templates(Settings()).size(), 2u);
    Settings().Save();
    EXPECT_EQ(StoredTemplates(), (Strings{"Bug fix\nFixes: \r\nTested: ", "Alpha\na"}));
}

TEST_F(PanelCommentOpts, SaveReplacesTheLoadedTemplateAndAChangedTitleRenamesIt) {
    StoreTemplates(Settings(), {"Alpha\na", "Review\nold body", "Zeta\nz"});
    DialogDriver p = OpenPanel();
    p.Choose(Panel::kIdcList, "Review");
    p.Type(Panel::kIdcBody, "new body");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Review\nnew body", "Alpha\na", "Zeta\nz"}));

    p.Type(Panel::kIdcTitle, "Code review");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Code review\nnew body", "Alpha\na", "Zeta\nz"}));
    EXPECT_THAT(p.Items(Panel::kIdcList), ElementsAre("<New...>", "Code review", "Alpha", "Zeta"));
    EXPECT_EQ(p.SelectedText(Panel::kIdcList), "Code review");

    // A change of letter case is a new title too.
    p.Type(Panel::kIdcTitle, "Code Review");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Code Review\nnew body", "Alpha\na", "Zeta\nz"}));
}

// The message, and nothing lost: the loaded title stays the one a later Save replaces.
TEST_F(PanelCommentOpts, SaveRefusesAnEmptyTitleAndKeepsTheLoadedTemplate) {
    StoreTemplates(Settings(), {"Alpha\na", "Review\nr"});
    DialogDriver p = OpenPanel();
    p.Choose(Panel::kIdcList, "Review");
    p.Type(Panel::kIdcTitle, "");
    p.Type(Panel::kIdcBody, "edited");
    env_.Host().ExpectMessageBox(kIdOk);
    p.Click(Panel::kIdcSave);
    ASSERT_EQ(env_.Host().MessageBoxes().size(), 1u);
    const MessageBoxRecord box = env_.Host().MessageBoxes()[0];
    EXPECT_EQ(box.text, "Missing/Invalid Template Title");
    EXPECT_EQ(box.caption, "Morvek CVS SCC");
    EXPECT_EQ(box.style & kMbButtonMask, kMbOk);
    EXPECT_EQ(Templates(Settings()), (Strings{"Alpha\na", "Review\nr"}));
    EXPECT_EQ(p.SelectedText(Panel::kIdcList), "Review");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "edited");
    EXPECT_TRUE(p.IsEnabled(Panel::kIdcSave));

    p.Type(Panel::kIdcTitle, "Reviewed");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Reviewed\nedited", "Alpha\na"}));
}

TEST_F(PanelCommentOpts, ATitleAlreadyStoredIsNotStoredAgainAndNothingIsDropped) {
    StoreTemplates(Settings(), {"Alpha\na", "Zeta\nz"});
    DialogDriver p = OpenPanel();
    // A new template under a stored title: no message, the stored one stays.
    p.ChooseIndex(Panel::kIdcList, 0);
    p.Type(Panel::kIdcTitle, "Alpha");
    p.Type(Panel::kIdcBody, "other");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Alpha\na", "Zeta\nz"}));
    EXPECT_EQ(p.SelectedText(Panel::kIdcList), "Alpha");

    // A rename onto a stored title keeps the renamed template.
    p.Choose(Panel::kIdcList, "Zeta");
    p.Type(Panel::kIdcTitle, "Alpha");
    p.Click(Panel::kIdcSave);
    EXPECT_EQ(Templates(Settings()), (Strings{"Alpha\na", "Zeta\nz"}));
    EXPECT_TRUE(env_.Host().MessageBoxes().empty());
}

TEST_F(PanelCommentOpts, RemoveTakesOutTheLoadedTemplateNotTheTypedTitle) {
    StoreTemplates(Settings(), {"review\nlower", "Alpha\na", "Review\nupper"});
    DialogDriver p = OpenPanel();
    p.Choose(Panel::kIdcList, "Review");
    p.Type(Panel::kIdcTitle, "Alpha");
    p.Click(Panel::kIdcRemove);
    // Titles compare with their letter case.
    EXPECT_EQ(Templates(Settings()), (Strings{"review\nlower", "Alpha\na"}));
    EXPECT_THAT(p.Items(Panel::kIdcList), ElementsAre("<New...>", "review", "Alpha"));
    EXPECT_EQ(p.Selection(Panel::kIdcList), -1);
    EXPECT_THAT(EditingEnabled(p), Each(false));
    EXPECT_EQ(p.Text(Panel::kIdcTitle), "");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "");
    EXPECT_EQ(settingsDialog_.panel.GetTitle(), "");

    p.ChooseIndex(Panel::kIdcList, 0);
    p.Type(Panel::kIdcTitle, "Alpha");
    p.Click(Panel::kIdcRemove);
    EXPECT_EQ(Templates(Settings()), (Strings{"review\nlower", "Alpha\na"}));
}

// A title that spells "<New...>" is a template like any other.
TEST_F(PanelCommentOpts, ATemplateTitledLikeTheNewItemIsListedAndLoaded) {
    StoreTemplates(Settings(), {"<New...>\nbody"});
    DialogDriver p = OpenPanel();
    EXPECT_THAT(p.Items(Panel::kIdcList), ElementsAre("<New...>", "<New...>"));
    p.ChooseIndex(Panel::kIdcList, 1);
    EXPECT_EQ(p.Text(Panel::kIdcBody), "body");
    p.ChooseIndex(Panel::kIdcList, 0);
    EXPECT_EQ(p.Text(Panel::kIdcTitle), "");
    EXPECT_EQ(p.Text(Panel::kIdcBody), "");
}

// What the panel stores, the comment dialog offers, and the registry keeps byte for byte.
TEST_F(PanelCommentOpts, TemplatesMadeInThePanelReachTheCommentDialogAndTheRegistry) {
    {
        DialogDriver p = OpenPanel();
        p.ChooseIndex(Panel::kIdcList, 0);
        p.Type(Panel::kIdcTitle, "Release");
        p.Type(Panel::kIdcBody, "Version: \r\n\r\nNotes:\r\n");
        p.Click(Panel::kIdcSave);
        session_->Click(kIdOk);
        Settings().Save(); // as the settings dialog's OK does
    }
    EXPECT_EQ(StoredTemplates(), Strings{"Release\nVersion: \r\n\r\nNotes:\r\n"});

    Settings().Load();
    CDlgComment dialog(nullptr);
    DialogSession ui = env_.Host().Open(dialog);
    ui.Choose(CDlgComment::kIdcTemplate, "Release");
    ui.Click(kIdOk);
    EXPECT_EQ(dialog.GetComment(), "Version: \r\n\r\nNotes:\r\n");
}

} // namespace
