// Every kind of control, data exchange both ways, item order, enabling and focus, played
// through the headless host.
#include "SampleDialog.h"

#include "tests/support/DialogTestSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/framework/HeadlessHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace uifw;
using namespace sample;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

TEST(SampleDialog, OpeningShowsTheValuesAndOkReadsTheControlsBack) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);

    // Towards the controls.
    EXPECT_EQ(ui.Text(kName), "initial");
    EXPECT_EQ(ui.Text(kNotes), "first\r\nsecond");
    EXPECT_EQ(ui.Text(kLocked), "fixed");
    EXPECT_TRUE(ui.IsReadOnly(kLocked));
    EXPECT_EQ(ui.Displayed(kSecret), std::string(2, MemoryControl::kDefaultPasswordChar));
    EXPECT_FALSE(ui.IsChecked(kEnableNotes));
    EXPECT_FALSE(ui.IsChecked(kRadioA));
    EXPECT_TRUE(ui.IsChecked(kRadioB));
    EXPECT_TRUE(ui.IsChecked(kOtherX));
    EXPECT_EQ(ui.SelectedText(kFruit), "cherry"); // chosen by its beginning, "ch"
    EXPECT_EQ(ui.Text(kCombo), "typed");          // no item begins so: the box's text
    EXPECT_EQ(ui.Selection(kCombo), -1);
    EXPECT_EQ(ui.Date(kWhen), DateValue::Make(2024, 2, 29, 10, 30, 0));
    EXPECT_EQ(ui.Displayed(kWhen), "02/29/2024");
    EXPECT_EQ(ui.Text(kInfo), "Information");
    EXPECT_EQ(ui.Label(kFrame), "Everything");
    EXPECT_EQ(ui.Label(kName), "Name:");
    EXPECT_TRUE(ui.Window()->Find(kAnimation)->playing);

    // The user changes every control.
    ui.Type(kName, "changed");
    ui.Tick(kEnableNotes);
    ui.Type(kNotes, "one\r\ntwo\r\nthree");
    ui.Type(kSecret, "new secret");
    ui.Click(kRadioC);
    ui.Click(kOtherY);
    ui.Choose(kFruit, "APPLE");
    ui.Choose(kCombo, "alpha");
    ui.PickDate(kWhen, DateValue::Make(2025, 1, 2));
    ui.Click(kIdOk);

    ASSERT_EQ(ui.Result(), kIdOk);
    EXPECT_EQ(dialog.name, "changed");
    EXPECT_TRUE(dialog.notesEnabled);
    EXPECT_EQ(dialog.notes, "one\r\ntwo\r\nthree");
    EXPECT_EQ(dialog.secret, "new secret");
    EXPECT_EQ(dialog.locked, "fixed");
    EXPECT_EQ(dialog.choice, 2);
    EXPECT_EQ(dialog.other, 1);
    EXPECT_EQ(dialog.fruit, "Apple");
    EXPECT_EQ(dialog.comboText, "alpha");
    EXPECT_EQ(dialog.when, DateValue::Make(2025, 1, 2));
    EXPECT_THAT(dialog.events, ElementsAre("clicked " + std::to_string(kEnableNotes),
                                           "clicked " + std::to_string(kRadioC),
                                           "clicked " + std::to_string(kOtherY), "fruit Apple",
                                           "selchange " + std::to_string(kCombo), "date"));
}

TEST(SampleDialog, CancelLeavesEveryValueAsItWas) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    ui.Type(kName, "changed");
    ui.Click(kRadioA);
    ui.Choose(kFruit, "banana");
    ui.PressEscape();
    EXPECT_EQ(ui.Result(), kIdCancel);
    EXPECT_EQ(dialog.name, "initial");
    EXPECT_EQ(dialog.choice, 1);
    EXPECT_EQ(dialog.fruit, "ch");
}

TEST(SampleDialog, ItemsKeepTheirOrderAndDataAndAreFoundByTheirBeginning) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    // Sorted ignoring letter case; unsorted in the order added.
    EXPECT_THAT(ui.Items(kFruit), ElementsAre("Apple", "banana", "cherry"));
    EXPECT_THAT(ui.Items(kCombo), ElementsAre("zeta", "alpha"));

    CComboBox fruits = dialog.Combo(kFruit);
    EXPECT_EQ(fruits.GetItemData(0), 1);
    EXPECT_EQ(fruits.GetItemData(2), 3);
    EXPECT_EQ(fruits.FindString(-1, "BAN"), 1);
    EXPECT_EQ(fruits.FindString(1, "a"), 0); // starts after item 1 and wraps around
    EXPECT_EQ(fruits.FindString(-1, "kiwi"), -1);
    EXPECT_EQ(fruits.FindStringExact(-1, "APPLE"), 0);
    EXPECT_EQ(fruits.AddString("Apricot"), 1);
    EXPECT_EQ(fruits.GetCurSel(), 3); // the selection moves with its item
    EXPECT_EQ(fruits.SelectString(-1, "zz"), -1);
    EXPECT_EQ(fruits.GetCurSel(), 3);
    fruits.DeleteString(3);
    EXPECT_EQ(fruits.GetCurSel(), -1);

    CComboBox combo = dialog.Combo(kCombo);
    combo.SetCurSel(1);
    EXPECT_EQ(ui.Text(kCombo), "alpha");
    ui.Type(kCombo, "free text");
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(ui.Text(kCombo), "");
}

TEST(SampleDialog, ListViewRowsColumnsSelectionAndSorting) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    EXPECT_THAT(ui.Columns(kRows), ElementsAre("Date", "Who"));
    // Kept in ascending order of their text as they were inserted.
    EXPECT_THAT(ui.RowTexts(kRows), ElementsAre("2023-12-24", "2024-01-15", "2024-03-01"));
    EXPECT_THAT(ui.Rows(kRows)[0], ElementsAre("2023-12-24", "user1"));

    dialog.events.clear();
    ui.ClickRow(kRows, 0);
    ui.CtrlClickRow(kRows, 2);
    ui.CtrlClickRow(kRows, 1); // a third: the dialog deselects it again
    EXPECT_THAT(ui.SelectedRows(kRows), ElementsAre(0, 2));
    EXPECT_THAT(dialog.events, ElementsAre("row 0 on", "row 2 on", "row 1 on", "row 1 off"));
    dialog.events.clear();
    ui.ClickRow(kRows, 1); // a plain click selects it alone
    EXPECT_THAT(ui.SelectedRows(kRows), ElementsAre(1));
    EXPECT_THAT(dialog.events, ElementsAre("row 0 off", "row 2 off", "row 1 on"));

    CListView rows = dialog.List(kRows);
    EXPECT_EQ(rows.GetNextSelected(), 1);
    EXPECT_EQ(rows.GetNextSelected(1), -1);
    // Newest first by the rows' data (the insertion order 10, 11, 12).
    rows.SortItems([](ItemData a, ItemData b) { return static_cast<int>(b - a); });
    EXPECT_THAT(ui.RowTexts(kRows), ElementsAre("2024-01-15", "2023-12-24", "2024-03-01"));
    EXPECT_THAT(ui.SelectedRows(kRows), ElementsAre(0)); // selection travels with the row
    rows.DeleteAllItems();
    EXPECT_EQ(rows.GetItemCount(), 0);
}

TEST(SampleDialog, TreeItemsGetTheirChildrenWhenExpanded) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    const TreeItem root = ui.TreeItemAt(kTree, {"root"});
    EXPECT_TRUE(ui.TreeHasButton(kTree, root));
    EXPECT_TRUE(ui.TreeChildren(kTree, root).empty());

    EXPECT_TRUE(ui.ExpandTreeItem(kTree, root));
    EXPECT_THAT(ui.TreeChildTexts(kTree, root), ElementsAre("a", "b"));
    const TreeItem b = ui.TreeItemAt(kTree, {"root", "b"});
    EXPECT_FALSE(ui.ExpandTreeItem(kTree, b)); // nothing below: not opened, button gone
    EXPECT_FALSE(ui.TreeHasButton(kTree, b));
    EXPECT_EQ(dialog.Tree(kTree).GetItemData(b), 2);
    EXPECT_EQ(dialog.Tree(kTree).GetParentItem(b), root);

    ui.ClickTreeItem(kTree, b);
    EXPECT_EQ(ui.TreeSelection(kTree), b);
    // Expanding by program asks nothing.
    dialog.events.clear();
    const TreeItem a = ui.TreeItemAt(kTree, {"root", "a"});
    dialog.Tree(kTree).Expand(a);
    EXPECT_TRUE(dialog.events.empty());
    EXPECT_TRUE(ui.TreeIsExpanded(kTree, a));
    EXPECT_THAT(dialog.events, testing::IsEmpty());
    EXPECT_THAT(ui.TreeChildren(kTree, a), testing::IsEmpty());
    EXPECT_EQ(dialog.Tree(kTree).GetNextSiblingItem(a), b);
    dialog.Tree(kTree).DeleteItem(b);
    EXPECT_EQ(ui.TreeSelection(kTree), kTreeNone);
    EXPECT_THAT(ui.TreeChildTexts(kTree, root), ElementsAre("a"));
}

TEST(SampleDialog, DatePickerHoldsADateOrNothing) {
    HeadlessHost host(testing_support::FailTest);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    CDatePicker when = dialog.Date(kWhen);
    when.SetTime(DateValue::Invalid()); // not a date: the picker keeps its own
    EXPECT_EQ(when.GetTime(), DateValue::Make(2024, 2, 29, 10, 30, 0));
    when.SetTime(DateValue::Empty());
    EXPECT_EQ(when.GetTime().state, DateValue::State::Empty);
    EXPECT_EQ(ui.Displayed(kWhen), "");
    ui.Click(kIdOk);
    EXPECT_EQ(dialog.when.state, DateValue::State::Empty);

    EXPECT_EQ(ParseMonthDayYear("12/31/1999 23:59:58"), DateValue::Make(1999, 12, 31, 23, 59, 58));
    EXPECT_EQ(ParseMonthDayYear("2/30/2024").state, DateValue::State::Invalid);
    EXPECT_EQ(ParseMonthDayYear("12/31/1999x").state, DateValue::State::Invalid);
    EXPECT_EQ(DateValue::Make(2024, 7, 4, 15, 5, 9).Format("dd d/M/yy h:mm:ss tt 'at' MMM"),
              "04 4/7/24 3:05:09 PM at Jul");
    // The days of the week, across a leap day and the turn of a century.
    EXPECT_EQ(DateValue::Make(2000, 2, 29, 13, 5, 9).Format("dddd, MMMM dd, yyyy hh:mm:ss tt"),
              "Tuesday, February 29, 2000 01:05:09 PM");
    EXPECT_EQ(DateValue::Make(1900, 1, 1).Format("ddd"), "Mon");
    EXPECT_EQ(DateValue::Make(2024, 12, 31).Format("dddd"), "Tuesday");
    EXPECT_EQ(DateValue::Make(2025, 3, 1).Format("dddd"), "Saturday");
}

TEST(SampleDialog, EnablingAndFocusAsTheUserMeetsThem) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    EXPECT_EQ(ui.FocusedControl(), kName); // the first control that takes the focus
    EXPECT_FALSE(ui.IsEnabled(kNotes));

    EXPECT_FALSE(ui.Type(kNotes, "refused"));
    ASSERT_EQ(faults.seen.size(), 1u);
    EXPECT_THAT(faults.seen[0], HasSubstr("dialog \"Sample\""));
    EXPECT_THAT(faults.seen[0], HasSubstr("\"Notes:\" (id " + std::to_string(kNotes) + ")"));
    EXPECT_THAT(faults.seen[0], HasSubstr("disabled"));
    dialog.SetFocus(kNotes); // a disabled control takes no focus
    EXPECT_EQ(ui.FocusedControl(), kName);

    ui.Tick(kEnableNotes);
    EXPECT_TRUE(ui.IsEnabled(kNotes));
    EXPECT_EQ(ui.FocusedControl(), kEnableNotes);
    EXPECT_TRUE(ui.Type(kNotes, "now"));
    EXPECT_EQ(ui.FocusedControl(), kNotes);

    dialog.Control(kApply).Show(false);
    EXPECT_FALSE(ui.Click(kApply));
    EXPECT_FALSE(ui.Choose(kFruit, "kiwi"));
    ASSERT_EQ(faults.seen.size(), 3u);
    EXPECT_THAT(faults.seen[1], HasSubstr("hidden"));
    EXPECT_THAT(faults.seen[2], HasSubstr("\"Apple\", \"banana\", \"cherry\""));
}

TEST(SampleDialog, ValidationKeepsTheDialogOpenWithAMessage) {
    HeadlessHost host(testing_support::FailTest);
    host.ExpectMessageBox(kIdOk);
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    ui.Type(kName, "");
    ui.Focus(kCombo);
    ui.Click(kIdOk);
    EXPECT_FALSE(ui.Ended());
    EXPECT_EQ(ui.FocusedControl(), kName);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    const MessageBoxRecord box = host.MessageBoxes()[0];
    EXPECT_EQ(box.text, "Missing name");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.owner, ui.Handle());
}

TEST(SampleDialog, AFaultOfTheDialogIsReported) {
    testing_support::FaultLog faults;
    HeadlessHost host(faults.Sink());
    CSampleDialog dialog;
    DialogSession ui = host.Open(dialog);
    dialog.Combo(kName).AddString("x");
    dialog.Control(4242).Enable(false);
    ASSERT_EQ(faults.seen.size(), 2u);
    EXPECT_THAT(faults.seen[0], HasSubstr("adding an item on \"Name:\""));
    EXPECT_THAT(faults.seen[0], HasSubstr("edit box"));
    EXPECT_THAT(faults.seen[1], HasSubstr("4242"));
}

} // namespace
