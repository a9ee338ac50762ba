// A window of actions on hosts without windows: a table, rows, an action, again until
// close; on a terminal and from scripted answers; and the two forms of a table.
#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/Dialog.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/TerminalHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

enum : ControlId { kFiles = 300, kName, kOpen, kRename, kReload, kNoPrompt };

// A list of files with three actions on the selected rows; Rename asks for the new name.
class CFilesDialog : public CDialog {
public:
    CFilesDialog() : CDialog(MakeTemplate()) {}
    std::vector<std::string> events;

    static DialogTemplate MakeTemplate() {
        DialogTemplate t(950, "Files");
        t.SetActionPrompt("action");
        t.Label("Files:").ListView(kFiles, kMultiSelect | kFullRowSelect).Prompt("files");
        t.Label("New name:").Edit(kName).Prompt("newname").AskedFor(kRename);
        t.Button(kOpen, "&Open").Prompt("open");
        t.Button(kRename, "Rename").Prompt("rename");
        t.Button(kReload, "Reload").Prompt("reload");
        t.Button(kNoPrompt, "Not an action");
        t.Button(kIdOk, "OK", kDefault).Button(kIdCancel, "Cancel");
        return t;
    }

protected:
    bool OnInitDialog() override {
        CListView files = List(kFiles);
        files.InsertColumn(0, "Name", 100);
        files.InsertColumn(1, "Size", 40);
        files.InsertColumn(2, "Note", 100);
        const char* rows[][3] = {
            {"a.txt", "12", ""}, {"b.txt", "3", "two\r\nlines"}, {"c\\d\te", "1.2", "x"}};
        for (auto& r : rows) {
            const int row = files.InsertItem(files.GetItemCount(), r[0]);
            files.SetItemText(row, 1, r[1]);
            files.SetItemText(row, 2, r[2]);
        }
        CDialog::OnInitDialog();
        Enabling();
        return true;
    }
    void OnListItemChanged(ControlId, int) override { Enabling(); }
    void OnClicked(ControlId id) override {
        CListView files = List(kFiles);
        std::string selected;
        for (int row = files.GetNextSelected(); row >= 0; row = files.GetNextSelected(row))
            selected += (selected.empty() ? "" : "+") + files.GetItemText(row, 0);
        if (id == kOpen)
            events.push_back("open " + selected);
        else if (id == kRename)
            events.push_back("rename " + selected + " to " + Edit(kName).GetText());
        else if (id == kReload)
            events.push_back("reload");
    }
    void OnOK() override {
        events.push_back("ok");
        CDialog::OnOK();
    }

private:
    void Enabling() {
        const int selected = List(kFiles).GetSelectedCount();
        Control(kOpen).Enable(selected > 0);
        Control(kRename).Enable(selected == 1);
    }
};

TEST(ActionLoop, ScriptedAnswersPlayOneRoundAndShowTheTableForScripts) {
    testing_support::FaultLog faults;
    std::vector<std::string> shown;
    HeadlessHost host(faults.Sink());
    host.UseScriptedAnswers(
        ScriptedAnswers({{"files", "1.2"}, {"action", "open, ren"}, {"newname", "new.txt"}}),
        [](const std::string&) {}, [&](const std::string& table) { shown.push_back(table); });
    CFilesDialog dialog;
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_THAT(faults.seen, IsEmpty());
    // A row by any of its cells; the new name asked only for Rename.
    EXPECT_THAT(dialog.events, ElementsAre("open c\\d\te", "rename c\\d\te to new.txt", "ok"));
    EXPECT_THAT(shown, ElementsAre("Name\tSize\tNote\n"
                                   "a.txt\t12\t\n"
                                   "b.txt\t3\ttwo\\r\\nlines\n"
                                   "c\\\\d\\te\t1.2\tx\n"));

    // No action: the window closes at once.
    HeadlessHost quiet(faults.Sink());
    quiet.UseScriptedAnswers(
        ScriptedAnswers(std::map<std::string, std::string>{{"files", "a.txt"}}),
        [](const std::string&) {});
    CFilesDialog closed;
    EXPECT_EQ(closed.DoModal(), kIdOk);
    EXPECT_THAT(closed.events, ElementsAre("ok"));
    EXPECT_THAT(faults.seen, IsEmpty());
}

TEST(ActionLoop, AScriptedActionThatIsNotAvailableFailsAndCancels) {
    const struct {
        const char* name;
        std::map<std::string, std::string> answers;
        const char* fault;
        std::vector<std::string> events;
    } cases[] = {
        {"disabled: no row chosen",
         {{"action", "open"}},
         "\"open\" is not one of the choices of \"Action:\": \"Reload\", \"Close\"",
         {}},
        {"disabled by then: two rows",
         {{"files", "1, 2"}, {"action", "open,rename"}},
         "\"rename\" is not one of the choices",
         {"open a.txt+b.txt"}},
        {"a button without a prompt", {{"action", "not an action"}}, "is not one of", {}},
        {"an unknown row", {{"files", "z.txt"}}, "\"z.txt\" is not one of the choices", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::FaultLog faults;
        HeadlessHost host(faults.Sink());
        host.UseScriptedAnswers(ScriptedAnswers(c.answers), [](const std::string&) {});
        CFilesDialog dialog;
        EXPECT_EQ(dialog.DoModal(), kIdCancel);
        ASSERT_EQ(faults.seen.size(), 1u);
        EXPECT_THAT(faults.seen[0], HasSubstr("\"Files\": "));
        EXPECT_THAT(faults.seen[0], HasSubstr(c.fault));
        EXPECT_EQ(dialog.events, c.events);
    }
}

TEST(ActionLoop, ATerminalLoopsUntilClose) {
    testing_support::FakeTerminal terminal;
    TerminalHost host(terminal, ScriptedAnswers(), testing_support::FailTest);
    ScopedHost use(host);
    terminal.input = {"2",     "open", // round 1
                      "",      "",     // round 2: Enter keeps the rows and shows the window again
                      "1",     "frob", // round 3: not an action, asked again
                      "",      "rename", "x.txt",
                      "",      "2", // round 4: "2" is the second action: Rename
                      "y.txt", "",       "close"};
    CFilesDialog dialog;
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_THAT(dialog.events,
                ElementsAre("open b.txt", "rename a.txt to x.txt", "rename a.txt to y.txt", "ok"));
    EXPECT_THAT(terminal.shown, HasSubstr("      Name   Size  Note\n"
                                          "  1)  a.txt  12\n"
                                          "  2)  b.txt  3     two  lines\n"
                                          "  3)  c\\d e  1.2   x\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("Action:\n  1) Open\n  2) Rename\n  3) Reload\n"
                                          "  4) Close\n"));
    EXPECT_THAT(terminal.shown, HasSubstr("\"frob\" is not one of the choices"));
    // The rows are asked by number; the current ones shown by their numbers.
    EXPECT_EQ(terminal.prompts[0], "choose (numbers, separated by commas): ");
    EXPECT_EQ(terminal.prompts[2], "choose (numbers, separated by commas) [2]: ");
    EXPECT_EQ(terminal.prompts[8], "New name: ");

    terminal.input = {"1"}; // then the end of input
    CFilesDialog cancelled;
    EXPECT_EQ(cancelled.DoModal(), kIdCancel);
    EXPECT_THAT(cancelled.events, IsEmpty());
}

TEST(ActionLoop, TablesForPeopleAreAlignedAndCut) {
    Table table;
    table.columns = {"Rev", "Comment"};
    table.rows = {{"1.10", std::string(70, 'x')}, {"1.9", "tab\there"}};
    EXPECT_EQ(TableForReading(table), "      Rev   Comment\n"
                                      "  1)  1.10  " +
                                          std::string(57, 'x') +
                                          "...\n"
                                          "  2)  1.9   tab here\n");
    table.rows.clear();
    EXPECT_EQ(TableForReading(table), "      Rev  Comment\n");
    EXPECT_EQ(TableForScripts(table), "Rev\tComment\n");
}

} // namespace
