// What text-only hosts do with push buttons that have a prompt, with tree items whose text
// holds "/", and with a dialog answered wholly in advance.
#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/TerminalHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

enum : ControlId { kFill = 200, kName, kTree };

// A button that fills the name box, and a tree whose top item is a repository root.
class CBrowseDialog : public CDialog {
public:
    CBrowseDialog() : CDialog(MakeTemplate()) {}
    std::string name;
    std::string chosen;
    int fills = 0;

    static DialogTemplate MakeTemplate() {
        DialogTemplate t(901, "Browse");
        t.Button(kFill, "...").Prompt("fill", "Fill in the name");
        t.Label("Name:").Edit(kName).Prompt("name").Required();
        t.TreeView(kTree).Prompt("tree", "Folder");
        t.Button(kIdOk, "OK", kDefault).Button(kIdCancel, "Cancel");
        return t;
    }

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        const TreeItem top = Tree(kTree).InsertItem(kTreeTop, ":pserver:ann@host:/cvs", 0, true);
        Tree(kTree).InsertItem(Tree(kTree).InsertItem(top, "mod", 1, true), "sub", 2, false);
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override { dx.Text(kName, name); }
    void OnClicked(ControlId id) override {
        if (id == kFill && ++fills)
            Edit(kName).SetText("filled");
    }
    void OnSelChange(ControlId id) override {
        if (id == kTree)
            chosen = Tree(kTree).GetItemText(Tree(kTree).GetSelectedItem());
    }
};

TEST(PromptButtons, ScriptedAnswersPressButtonsAndFindTreeItemsByTheirPath) {
    for (const char* path : {":pserver:ann@host:/cvs/mod/sub", "mod/sub", "/mod/sub"}) {
        testing_support::FaultLog faults;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers({{"fill", "yes"}, {"tree", path}}),
                                [](const std::string&) {});
        CBrowseDialog dialog;
        EXPECT_EQ(dialog.DoModal(), kIdOk) << path;
        EXPECT_THAT(faults.seen, IsEmpty());
        EXPECT_EQ(dialog.fills, 1);
        EXPECT_EQ(dialog.name, "filled");
        EXPECT_EQ(dialog.chosen, "sub");
        EXPECT_FALSE(dialog.AnsweredByPerson());
    }
}

TEST(PromptButtons, AButtonNotAnsweredYesIsPassedBy) {
    struct Case {
        std::map<std::string, std::string> answers;
        int result;
        const char* fault;
    } const cases[] = {
        {{{"fill", "no"}, {"name", "typed"}}, kIdOk, ""},
        {{{"name", "typed"}}, kIdOk, ""},
        {{{"fill", "maybe"}, {"name", "typed"}},
         kIdCancel,
         "the answer for \"Fill in the name\" must be yes or no, not \"maybe\""},
        {{{"name", "typed"}, {"tree", "elsewhere/sub"}},
         kIdCancel,
         "\"elsewhere\" is not one of the choices of \"Folder\""},
    };
    for (const Case& c : cases) {
        testing_support::FaultLog faults;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers), [](const std::string&) {});
        CBrowseDialog dialog;
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.fills, 0);
        if (*c.fault) {
            ASSERT_EQ(faults.seen.size(), 1u);
            EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        } else {
            EXPECT_THAT(faults.seen, IsEmpty());
            EXPECT_EQ(dialog.name, "typed");
        }
    }
}

TEST(PromptButtons, OnATerminalTheButtonIsOfferedAndAnAnswerCountsAsAPersons) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"y", "", "1", "1", "1"};
    CBrowseDialog dialog;
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_THAT(
        terminal.prompts,
        ElementsAre("Fill in the name? [y/n] [no]: ", "Name [filled]: ", "choose (a number): ",
                    "choose (a number) [:pserver:ann@host:/cvs]: ", "choose (a number) [mod]: "));
    EXPECT_THAT(terminal.shown, HasSubstr("Folder (in mod):\n  1) sub\n"));
    EXPECT_EQ(dialog.name, "filled");
    EXPECT_EQ(dialog.chosen, "sub");
    EXPECT_TRUE(dialog.AnsweredByPerson());

    // Everything scripted: nobody was asked, though a terminal was there.
    testing_support::FakeTerminal quiet;
    TerminalHost scripted(quiet, ScriptedAnswers({{"fill", "no"}, {"name", "n"}, {"tree", "mod"}}),
                          testing_support::FailTest);
    ScopedHost useScripted(scripted);
    CBrowseDialog again;
    EXPECT_EQ(again.DoModal(), kIdOk);
    EXPECT_THAT(quiet.prompts, IsEmpty());
    EXPECT_FALSE(again.AnsweredByPerson());
}

} // namespace
