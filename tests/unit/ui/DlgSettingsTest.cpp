// The settings dialog and its panels, played through the headless host with the settings
// of an isolated user.
#include "ui/DlgSettings.h"

#include "engine/CVSContext.h"
#include "platform/Module.h"
#include "platform/ToolDefaults.h"
#include "settings/RegistryEx.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/unit/ui/CommentTestSupport.h"
#include "ui/framework/HeadlessHost.h"
#include "workcopy/FileUtilities.h"
#include "workcopy/PathFunctions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::ElementsAre;

namespace {

using Cvs = CPanelCvsOpts;
using Tools = CPanelDiffCfg;

// A check box of "CVS Options" and the setting behind it.
struct FlagCase {
    ControlId box;
    const char* label;
    bool (CSccSettings::*get)() const;
    void (CSccSettings::*set)(bool);
};
const FlagCase kFlags[] = {
    {Cvs::kIdcWarnOnEdit, "Warn on concurrent edits", &CSccSettings::GetWarnOnEdit,
     &CSccSettings::SetWarnOnEdit},
    {Cvs::kIdcIndependentMode, "Work independently (disable edit/unedit)",
     &CSccSettings::GetIndependentMode, &CSccSettings::SetIndependentMode},
    {Cvs::kIdcUseUnixLF, "Enable Unix linefeeds (-lf)", &CSccSettings::GetUseUnixLF,
     &CSccSettings::SetUseUnixLF},
    {Cvs::kIdcAutoCommit, "Enable auto commit/checkin when adding new files to cvs",
     &CSccSettings::GetAutoCommit, &CSccSettings::SetAutoCommit},
    {Cvs::kIdcLogoutOnClose, "Perform logout when project is closed",
     &CSccSettings::GetLogoutOnClose, &CSccSettings::SetLogoutOnClose},
    {Cvs::kIdcUseComments, "Always prompt for comments on check-in", &CSccSettings::GetUseComments,
     &CSccSettings::SetUseComments},
    {Cvs::kIdcHideStatusUI, "Hide status/progress dialog", &CSccSettings::GetHideStatusUI,
     &CSccSettings::SetHideStatusUI},
    {Cvs::kIdcNoCheckoutUpdates, "Disable automatic cvs update on check-out",
     &CSccSettings::GetNoCheckoutUpdates, &CSccSettings::SetNoCheckoutUpdates},
    {Cvs::kIdcUseCvsTrace, "Enable cvs diagnostic output (-t) option for cvs commands.",
     &CSccSettings::GetUseCvsTrace, &CSccSettings::SetUseCvsTrace},
    {Cvs::kIdcUseQuickCompare, "Use latest version in repository when performing a compare.",
     &CSccSettings::GetUseQuickCompare, &CSccSettings::SetUseQuickCompare},
    {Cvs::kIdcExclusiveLock, "Enable exclusive check outs when using edit command (-x)",
     &CSccSettings::GetExclusiveLock, &CSccSettings::SetExclusiveLock},
};

// A value of the SETTINGS section as the registry holds it.
std::string StoredText(const std::string& name) {
    CRegistryEx registry(CSccSettings::kCompany, CSccSettings::kProduct, true);
    registry.OpenSection("SETTINGS");
    std::string text = "(missing)";
    registry.ExchangeString(name, text);
    return text;
}

// What the registry holds now (the object saves it back unchanged when it goes).
std::unique_ptr<CSccSettings> Stored() {
    return std::make_unique<CSccSettings>();
}

class DlgSettings : public ::testing::Test {
protected:
    DlgSettings() : context_(env_.MakeContext()), dialog_(context_.get(), nullptr) {}

    DialogSession& Open() {
        session_ = std::make_unique<DialogSession>(env_.Host().Open(dialog_));
        return *session_;
    }
    DialogDriver CvsPanel() { return session_->Child(dialog_.CvsOpts()); }
    DialogDriver ToolsPanel() { return session_->Child(dialog_.DiffCfg()); }
    void ChooseTopic(const std::string& topic) {
        session_->ClickTreeItem(CDlgSettings::kIdcTree,
                                session_->TreeItemAt(CDlgSettings::kIdcTree, {topic}));
    }
    CSccSettings& Settings() { return env_.Settings(); }

    testing_support::EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    CDlgSettings dialog_;
    std::unique_ptr<DialogSession> session_;
};

TEST_F(DlgSettings, OpensOnSourceControlOptionsWithTheOtherPanelsHidden) {
    DialogSession& ui = Open();
    EXPECT_EQ(ui.Caption(), "Morvek CVS SCC :> Settings");
    EXPECT_THAT(ui.TreeChildTexts(CDlgSettings::kIdcTree),
                ElementsAre("Source Control Options", "External Tools", "Comment Templates",
                            "About Morvek"));
    EXPECT_EQ(ui.TreeText(CDlgSettings::kIdcTree, ui.TreeSelection(CDlgSettings::kIdcTree)),
              "Source Control Options");
    // Each topic its own icon, in tree order.
    EXPECT_THAT(ui.Window()->TreeImages(CDlgSettings::kIdcTree),
                ElementsAre(ui_ids::kIdiSettingsCvs, ui_ids::kIdiSettingsTools,
                            ui_ids::kIdiSettingsComments, ui_ids::kIdiSettingsAbout));
    std::vector<int> images;
    for (TreeItem item : ui.TreeChildren(CDlgSettings::kIdcTree))
        images.push_back(ui.Window()->TreeGetItemImage(CDlgSettings::kIdcTree, item));
    EXPECT_THAT(images, ElementsAre(0, 1, 2, 3));
    EXPECT_EQ(ui.FocusedControl(), CDlgSettings::kIdcTree);
    EXPECT_TRUE(ui.WasBroughtToTop());
    EXPECT_EQ(ui.Label(kIdOk), "OK");
    EXPECT_EQ(ui.Label(kIdCancel), "Cancel");
    EXPECT_EQ(ui.Label(CDlgSettings::kIdcHelp), "Help");

    const std::vector<CWindowBase*> panels = {&dialog_.CvsOpts(), &dialog_.DiffCfg(),
                                              &dialog_.CommentOpts(), &dialog_.ProdInfo()};
    const Rect area = dialog_.Template().Find(CDlgSettings::kIdcPanelArea)->rect;
    std::vector<bool> visible;
    for (CWindowBase* panel : panels) {
        DialogDriver p = ui.Child(*panel);
        visible.push_back(p.IsWindowVisible());
        const Rect at = p.Window()->Position();
        EXPECT_EQ(std::vector<int>({at.x, at.y, at.width, at.height}),
                  std::vector<int>({area.x, area.y, area.width, area.height}));
    }
    EXPECT_THAT(visible, ElementsAre(true, false, false, false));
    EXPECT_EQ(CvsPanel().Label(Cvs::kIdcSettingsGroup), "CVS Settings");
    EXPECT_EQ(CvsPanel().Label(Cvs::kIdcOptionsGroup), "CVS Options");
    EXPECT_EQ(ToolsPanel().Label(Tools::kIdcGroup), "External Tools");
    EXPECT_EQ(ui.Child(dialog_.CommentOpts()).Label(CPanelCommentOpts::kIdcGroup),
              "Comment Templates");
    EXPECT_EQ(ui.Child(dialog_.ProdInfo()).Label(CPanelProdInfo::kIdcGroup), "Product Information");

    // Each topic shows its panel and hides the one before.
    ChooseTopic("Comment Templates");
    visible.clear();
    for (CWindowBase* panel : panels)
        visible.push_back(ui.Child(*panel).IsWindowVisible());
    EXPECT_THAT(visible, ElementsAre(false, false, true, false));
    ChooseTopic("About Morvek");
    ChooseTopic("External Tools");
    visible.clear();
    for (CWindowBase* panel : panels)
        visible.push_back(ui.Child(*panel).IsWindowVisible());
    EXPECT_THAT(visible, ElementsAre(false, true, false, false));
}

TEST_F(DlgSettings, HelpOpensTheHelpFileInTheModulesFolder) {
    DialogSession& ui = Open();
    ui.Click(CDlgSettings::kIdcHelp);
    EXPECT_THAT(env_.Host().HelpRequests(),
                ElementsAre(JoinPath(platform::ThisModuleFolder(), "MorvekCVS.chm")));
    EXPECT_TRUE(ui.IsOpen());
    EXPECT_FALSE(ui.Ended());
}

TEST_F(DlgSettings, TheSourceControlPanelShowsEverySetting) {
    Settings().SetCvsExePath("/opt/cvs/bin/cvs");
    Settings().SetVendorName("Anna Berg");
    Settings().UpdateRootList(":local:/repo", false);
    Settings().UpdateRootList(":pserver:anna@127.0.0.1:/cvs", false);
    Settings().SetCompressLevel("3");
    Settings().SetUseCompression(false);
    // Every other box ticked, starting with the first.
    for (size_t i = 0; i < std::size(kFlags); ++i)
        (Settings().*kFlags[i].set)(i % 2 == 0);

    Open();
    DialogDriver p = CvsPanel();
    EXPECT_EQ(p.Label(Cvs::kIdcCvsExePath), "cvs.exe path:");
    EXPECT_EQ(p.Text(Cvs::kIdcCvsExePath), "/opt/cvs/bin/cvs");
    EXPECT_EQ(p.Label(Cvs::kIdcBrowseCvsExe), "...");
    EXPECT_EQ(p.Label(Cvs::kIdcVendorName), "Vendor/Name:");
    EXPECT_EQ(p.Text(Cvs::kIdcVendorName), "Anna Berg");
    EXPECT_EQ(p.Label(Cvs::kIdcRoots), "CVS Root(s):");
    EXPECT_THAT(p.Items(Cvs::kIdcRoots),
                ElementsAre(":pserver:anna@127.0.0.1:/cvs", ":local:/repo"));
    EXPECT_EQ(p.SelectedText(Cvs::kIdcRoots), ":pserver:anna@127.0.0.1:/cvs");
    EXPECT_EQ(p.Label(Cvs::kIdcDeleteRoot), "Delete");
    EXPECT_EQ(p.Label(Cvs::kIdcUseCompression), "Enable Compression");
    EXPECT_FALSE(p.IsChecked(Cvs::kIdcUseCompression));
    EXPECT_EQ(p.Label(Cvs::kIdcCompressLevel), "Compression Level:");
    EXPECT_THAT(p.Items(Cvs::kIdcCompressLevel),
                ElementsAre("1", "2", "3", "4", "5", "6", "7", "8", "9"));
    EXPECT_EQ(p.SelectedText(Cvs::kIdcCompressLevel), "3");
    EXPECT_FALSE(p.IsEnabled(Cvs::kIdcCompressLevel));
    for (size_t i = 0; i < std::size(kFlags); ++i) {
        EXPECT_EQ(p.Label(kFlags[i].box), kFlags[i].label);
        EXPECT_EQ(p.IsChecked(kFlags[i].box), i % 2 == 0) << kFlags[i].label;
    }
}

// The root itself, not a longer one that begins with its text.
TEST_F(DlgSettings, TheFirstStoredRootIsChosenEvenWhenAnotherBeginsWithIt) {
    Settings().UpdateRootList(":local:/repo2", false);
    Settings().UpdateRootList(":local:/repo", false);
    Open();
    EXPECT_EQ(CvsPanel().Selection(Cvs::kIdcRoots), 0);
}

// OK sets every value from its control and saves them all; AUTOMERGE, which no control
// shows, is written back as it was.
TEST_F(DlgSettings, OkStoresEveryCheckBoxAndKeepsAutoMerge) {
    for (bool autoMerge : {true, false}) {
        for (const FlagCase& flag : kFlags) {
            SCOPED_TRACE(flag.label);
            Settings().SetAutoMerge(autoMerge);
            const bool before = (Settings().*flag.get)();
            Open();
            CvsPanel().Click(flag.box);
            session_->Click(kIdOk);
            EXPECT_EQ(session_->Result(), kIdOk);
            auto stored = Stored();
            EXPECT_EQ((stored.get()->*flag.get)(), !before);
            EXPECT_EQ(stored->GetAutoMerge(), autoMerge);
            session_.reset();
        }
    }
}

TEST_F(DlgSettings, OkStoresTheTextsAndTheChosenLevel) {
    Settings().SetCompressLevel("3");
    Settings().SetUseCompression(true);
    Open();
    DialogDriver p = CvsPanel();
    p.Type(Cvs::kIdcCvsExePath, "/usr/local/bin/cvs");
    p.Type(Cvs::kIdcVendorName, "Berg & Co");
    p.Choose(Cvs::kIdcCompressLevel, "7");
    session_->Click(kIdOk);
    auto stored = Stored();
    EXPECT_EQ(stored->GetCvsExePath(), "/usr/local/bin/cvs");
    EXPECT_EQ(stored->GetVendorName(), "Berg & Co");
    EXPECT_EQ(stored->GetCompressLevel(), "7");
    EXPECT_TRUE(stored->GetUseCompression());
}

// A level outside "1" to "9" (or an empty one) shows none, and OK then stores the empty
// text; the settings object holds "3" again after that save.
TEST_F(DlgSettings, ALevelThatIsNotOneToNineShowsNoneAndOkStoresItEmpty) {
    for (const char* level : {"0", "12", "x", ""}) {
        SCOPED_TRACE(level);
        Settings().SetCompressLevel(level);
        Open();
        EXPECT_EQ(CvsPanel().Selection(Cvs::kIdcCompressLevel), -1);
        session_->Click(kIdOk);
        EXPECT_EQ(StoredText("COMPRESSLEVEL"), "");
        EXPECT_EQ(Settings().GetCompressLevel(), "3");
        session_.reset();
    }
}

// A click on "Enable Compression" applies the whole panel at once: Cancel keeps every value
// as it was shown at the click, in the settings object only.
TEST_F(DlgSettings, TickingCompressionEnablesTheLevelAndAppliesThePanelAtOnce) {
    Settings().SetCompressLevel("5");
    Settings().SetUseCompression(false);
    Settings().SetWarnOnEdit(false);
    Settings().Save();
    Open();
    DialogDriver p = CvsPanel();
    p.Type(Cvs::kIdcVendorName, "typed before the click");
    p.Tick(Cvs::kIdcWarnOnEdit);
    p.Tick(Cvs::kIdcUseCompression);
    EXPECT_TRUE(p.IsEnabled(Cvs::kIdcCompressLevel));
    EXPECT_EQ(p.SelectedText(Cvs::kIdcCompressLevel), "5");
    p.Type(Cvs::kIdcCvsExePath, "typed after the click");
    p.Tick(Cvs::kIdcExclusiveLock);

    session_->Click(kIdCancel);
    EXPECT_EQ(session_->Result(), kIdCancel);
    EXPECT_TRUE(Settings().GetUseCompression());
    EXPECT_EQ(Settings().GetCompressLevel(), "5");
    EXPECT_EQ(Settings().GetVendorName(), "typed before the click");
    EXPECT_TRUE(Settings().GetWarnOnEdit());
    EXPECT_EQ(Settings().GetCvsExePath(), "");
    EXPECT_FALSE(Settings().GetExclusiveLock());
    EXPECT_EQ(StoredText("USECOMPRESSION"), "0");

    session_.reset();
    Open();
    DialogDriver again = CvsPanel();
    EXPECT_TRUE(again.IsEnabled(Cvs::kIdcCompressLevel));
    again.Tick(Cvs::kIdcUseCompression, false);
    EXPECT_FALSE(again.IsEnabled(Cvs::kIdcCompressLevel));
    EXPECT_FALSE(Settings().GetUseCompression());
}

// What the user changed in a panel is still there when the topic is chosen again.
TEST_F(DlgSettings, ChangesSurviveChoosingAnotherTopicAndComingBack) {
    Settings().SetHideStatusUI(false);
    Settings().SetUseCompression(true);
    Settings().SetCompressLevel("2");
    Open();
    CvsPanel().Tick(Cvs::kIdcHideStatusUI);
    CvsPanel().Type(Cvs::kIdcVendorName, "changed");
    CvsPanel().Choose(Cvs::kIdcCompressLevel, "8");
    ChooseTopic("External Tools");
    ToolsPanel().Type(Tools::kIdcEditor, "/usr/bin/vi");
    ChooseTopic("Source Control Options");
    EXPECT_TRUE(CvsPanel().IsChecked(Cvs::kIdcHideStatusUI));
    EXPECT_EQ(CvsPanel().Text(Cvs::kIdcVendorName), "changed");
    EXPECT_EQ(CvsPanel().SelectedText(Cvs::kIdcCompressLevel), "8");
    ChooseTopic("External Tools");
    EXPECT_EQ(ToolsPanel().Text(Tools::kIdcEditor), "/usr/bin/vi");
    session_->Click(kIdOk);
    auto stored = Stored();
    EXPECT_TRUE(stored->GetHideStatusUI());
    EXPECT_EQ(stored->GetVendorName(), "changed");
    EXPECT_EQ(stored->GetCompressLevel(), "8");
    EXPECT_EQ(stored->GetEditor(), "/usr/bin/vi");
}

TEST_F(DlgSettings, DeleteTakesTheChosenRootOutAtOnceAndWithoutAChoiceNothing) {
    Settings().UpdateRootList(":local:/c", false);
    Settings().UpdateRootList(":local:/b", false);
    Settings().UpdateRootList(":local:/a", false);
    Settings().Save();
    Open();
    DialogDriver p = CvsPanel();
    p.Choose(Cvs::kIdcRoots, ":local:/b");
    p.Click(Cvs::kIdcDeleteRoot);
    EXPECT_THAT(p.Items(Cvs::kIdcRoots), ElementsAre(":local:/a", ":local:/c"));
    EXPECT_EQ(p.Selection(Cvs::kIdcRoots), -1);
    EXPECT_EQ(Settings().GetRootCount(), 2);
    EXPECT_EQ(Settings().GetRoot(1), ":local:/c");

    p.Click(Cvs::kIdcDeleteRoot);
    EXPECT_EQ(Settings().GetRootCount(), 2);
    EXPECT_EQ(p.Items(Cvs::kIdcRoots).size(), 2u);

    // Cancel does not bring it back; the registry follows with the next save.
    session_->Click(kIdCancel);
    EXPECT_EQ(Stored()->GetRootCount(), 3);
    Settings().Save();
    EXPECT_EQ(Stored()->GetRootCount(), 2);
}

// With logout on close off, the password the context holds is forgotten on OK (and on every
// other apply); with it on, the password stays.
TEST_F(DlgSettings, OkWithLogoutOnCloseClearForgetsTheContextsPassword) {
    for (bool logout : {false, true}) {
        SCOPED_TRACE(logout);
        Settings().SetLogoutOnClose(logout);
        context_->SetPassword("secret");
        Open();
        session_->Click(kIdOk);
        EXPECT_EQ(context_->GetEnvironment()["CVS_GETPASS"], logout ? "secret" : "");
        session_.reset();
    }
    // A dialog opened without a context has no password to forget.
    Settings().SetLogoutOnClose(false);
    CDlgSettings alone(nullptr, nullptr);
    DialogSession ui = env_.Host().Open(alone);
    ui.Click(kIdOk);
    EXPECT_EQ(ui.Result(), kIdOk);
}

// "..." applies the panel, asks for the program, and writes CVSEXEPATH to the registry at
// once, whether the file dialog or the settings dialog is cancelled or not.
TEST_F(DlgSettings, BrowsingForCvsWritesTheChosenPathToTheRegistryAtOnce) {
    Settings().SetCvsExePath("/old/cvs");
    Settings().Save();
    Open();
    DialogDriver p = CvsPanel();
    p.Tick(Cvs::kIdcUseCvsTrace);
    env_.Host().ExpectPathRequest(std::string("/new/bin/cvs"));
    p.Click(Cvs::kIdcBrowseCvsExe);

    ASSERT_EQ(env_.Host().PathRequests().size(), 1u);
    const PathRequest request = env_.Host().PathRequests()[0];
    EXPECT_EQ(request.kind, PathRequest::Kind::File);
    EXPECT_EQ(request.owner, p.Handle());
    EXPECT_EQ(request.file.filter, "Executable Files (*.exe)|*.exe|All Files (*.*)|*.*||");
    EXPECT_EQ(request.file.defaultExtension, "*.Exe");
    EXPECT_EQ(request.file.initialPath, "/old/cvs");
    EXPECT_TRUE(request.file.hideReadOnly);
    EXPECT_TRUE(request.file.overwritePrompt);

    EXPECT_EQ(p.Text(Cvs::kIdcCvsExePath), "/new/bin/cvs");
    EXPECT_TRUE(p.IsChecked(Cvs::kIdcUseCvsTrace));
    EXPECT_EQ(StoredText("CVSEXEPATH"), "/new/bin/cvs");
    // The apply before browsing reached the settings object, not the registry.
    EXPECT_TRUE(Settings().GetUseCvsTrace());
    EXPECT_EQ(StoredText("USECVSTRACE"), "0");

    // A cancelled file dialog keeps the box, and still writes its value.
    p.Type(Cvs::kIdcCvsExePath, "/typed/cvs");
    env_.Host().ExpectPathRequest(std::nullopt);
    p.Click(Cvs::kIdcBrowseCvsExe);
    EXPECT_EQ(p.Text(Cvs::kIdcCvsExePath), "/typed/cvs");
    session_->Click(kIdCancel);
    EXPECT_EQ(StoredText("CVSEXEPATH"), "/typed/cvs");
}

TEST_F(DlgSettings, TheToolsOpenWithTheirDefaultsAndOkStoresThem) {
    Settings().SetDiffExe("");
    Settings().SetConflictExe("");
    Settings().SetEditor("/usr/bin/nano");
    Open();
    DialogDriver p = ToolsPanel();
    EXPECT_EQ(p.Label(Tools::kIdcDiffExe), "Diff/Merge:");
    EXPECT_EQ(p.Label(Tools::kIdcConflictExe), "Conflict Editor:");
    EXPECT_EQ(p.Label(Tools::kIdcEditor), "Text Editor:");
    // Empty values show what their getters give: the platform's programs.
    EXPECT_EQ(p.Text(Tools::kIdcDiffExe), platform::DefaultTools().diff);
    EXPECT_EQ(p.Text(Tools::kIdcConflictExe), platform::DefaultTools().conflictEditor);
    EXPECT_EQ(p.Text(Tools::kIdcEditor), "/usr/bin/nano");
    std::vector<std::string> statics;
    for (const MemoryControl& c : p.Window()->Controls())
        if (c.spec.kind == ControlKind::Static)
            statics.push_back(c.text);
    EXPECT_THAT(statics, testing::IsSupersetOf({std::string("Optional command-line arguments:"),
                                                std::string("%1 local file, %2 remote file")}));

    ChooseTopic("External Tools");
    p.Type(Tools::kIdcDiffExe, "meld %1 %2");
    p.Type(Tools::kIdcConflictExe, "kdiff3 %1");
    p.Type(Tools::kIdcEditor, "");
    session_->Click(kIdOk);
    auto stored = Stored();
    EXPECT_EQ(StoredText("DIFFEXE"), "meld %1 %2");
    EXPECT_EQ(StoredText("CONFLICTEXE"), "kdiff3 %1");
    EXPECT_EQ(StoredText("EDITOR"), "");
}

// Each "..." reads the boxes into the settings object, asks for a program starting at its
// box, and writes that one setting to the registry at once - also when the settings
// dialog is then cancelled.
TEST_F(DlgSettings, BrowsingForAToolWritesItToTheRegistryEvenWhenCancelled) {
    struct Case {
        ControlId box, browse;
        const char* name;
    };
    for (const Case& c : {Case{Tools::kIdcDiffExe, Tools::kIdcBrowseDiffExe, "DIFFEXE"},
                          Case{Tools::kIdcConflictExe, Tools::kIdcBrowseConflictExe, "CONFLICTEXE"},
                          Case{Tools::kIdcEditor, Tools::kIdcBrowseEditor, "EDITOR"}}) {
        SCOPED_TRACE(c.name);
        Settings().SetDiffExe("diff-before");
        Settings().SetConflictExe("conflict-before");
        Settings().SetEditor("editor-before");
        Settings().Save();
        Open();
        ChooseTopic("External Tools");
        DialogDriver p = ToolsPanel();
        p.Type(c.box, "typed");
        env_.Host().ExpectPathRequest(std::string("/chosen/tool"));
        p.Click(c.browse);
        EXPECT_EQ(env_.Host().PathRequests().back().file.initialPath, "typed");
        EXPECT_EQ(env_.Host().PathRequests().back().owner, p.Handle());
        EXPECT_EQ(p.Text(c.box), "/chosen/tool");
        session_->Click(kIdCancel);
        EXPECT_EQ(StoredText(c.name), "/chosen/tool");
        // The others went to the settings object only.
        for (const char* other : {"DIFFEXE", "CONFLICTEXE", "EDITOR"}) {
            if (std::string(other) != c.name) {
                EXPECT_THAT(StoredText(other), testing::EndsWith("-before"));
            }
        }
        session_.reset();
    }
    // A cancelled file dialog leaves the box, and writes what it holds.
    Open();
    ChooseTopic("External Tools");
    DialogDriver p = ToolsPanel();
    p.Type(Tools::kIdcEditor, "/typed/editor");
    env_.Host().ExpectPathRequest(std::nullopt);
    p.Click(Tools::kIdcBrowseEditor);
    EXPECT_EQ(p.Text(Tools::kIdcEditor), "/typed/editor");
    EXPECT_EQ(StoredText("EDITOR"), "/typed/editor");
}

TEST_F(DlgSettings, TheAboutPanelShowsTheVersionWith64Bit) {
    DialogSession& ui = Open();
    DialogDriver p = ui.Child(dialog_.ProdInfo());
    EXPECT_EQ(p.Text(CPanelProdInfo::kIdcVersion),
              "Morvek CVS SCC Version " + GetModuleVersionText() + " [64-bit]");
}

// The comment panel works inside the dialog; OK saves what it stored.
TEST_F(DlgSettings, ATemplateSavedInItsPanelReachesTheRegistryOnOk) {
    DialogSession& ui = Open();
    ChooseTopic("Comment Templates");
    DialogDriver p = ui.Child(dialog_.CommentOpts());
    p.ChooseIndex(CPanelCommentOpts::kIdcList, 0);
    p.Type(CPanelCommentOpts::kIdcTitle, "Release");
    p.Type(CPanelCommentOpts::kIdcBody, "Notes:");
    p.Click(CPanelCommentOpts::kIdcSave);
    ui.Click(kIdOk);
    EXPECT_EQ(comment_tests::Templates(*Stored()), std::vector<std::string>{"Release\nNotes:"});
}

} // namespace
