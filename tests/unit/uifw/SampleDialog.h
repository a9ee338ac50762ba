// A dialog with one control of every kind, for the tests of the dialog layer.
#pragma once

#include "ui/framework/Dialog.h"
#include "ui/framework/MessageBox.h"
#include "ui/framework/ProgressWindow.h"

#include <string>
#include <vector>

namespace sample {

using namespace uifw;

enum : ControlId {
    kFrame = 100,
    kInfo,
    kName,
    kNotes,
    kLocked,
    kSecret,
    kEnableNotes,
    kRadioA,
    kRadioB,
    kRadioC,
    kOtherX,
    kOtherY,
    kFruit,
    kCombo,
    kRows,
    kTree,
    kWhen,
    kAnimation,
    kApply,
};

class CSampleDialog : public CDialog {
public:
    CSampleDialog() : CDialog(MakeTemplate()) {}

    // The values, bound to the controls.
    std::string name = "initial";
    std::string notes = "first\r\nsecond";
    std::string locked = "fixed";
    std::string secret = "pw";
    bool notesEnabled = false;
    int choice = 1; // kRadioA..kRadioC
    int other = 0;  // kOtherX..kOtherY
    std::string fruit = "ch";
    std::string comboText = "typed";
    DateValue when = DateValue::Make(2024, 2, 29, 10, 30, 0);

    // What the dialog was told, in order.
    std::vector<std::string> events;

    static DialogTemplate MakeTemplate() {
        DialogTemplate t(900, "Sample");
        t.SetAnswerName("sample");
        t.GroupBox("Everything", kFrame);
        t.Label("Information", kInfo);
        t.Label("&Name:").Edit(kName).Prompt("name").Required();
        t.Label("Notes:").Edit(kNotes, kMultiLine | kWantReturn | kVScroll).Prompt("notes");
        t.Label("Locked:").Edit(kLocked, kReadOnly).Prompt("locked");
        t.Label("Secret:").Edit(kSecret, kPassword).Prompt("secret");
        t.CheckBox(kEnableNotes, "Enable notes").Prompt("enable");
        t.Radio(kRadioA, "Alpha", kGroup).Prompt("choice");
        t.Radio(kRadioB, "Beta");
        t.Radio(kRadioC, "Gamma");
        t.Radio(kOtherX, "X", kGroup);
        t.Radio(kOtherY, "Y");
        t.Label("Fruit:", kIdStatic).Add(ControlKind::DropList, kFruit, "", kSorted | kGroup);
        t.Prompt("fruit");
        t.Label("Combo:").ComboBox(kCombo).Prompt("combo");
        t.Label("Rows:").ListView(kRows, kMultiSelect | kSortAscending | kFullRowSelect);
        t.Prompt("rows");
        t.Label("Tree:").TreeView(kTree).Prompt("tree");
        t.Label("When:").DatePicker(kWhen, kShowNone).Prompt("when");
        t.Add(ControlKind::Animation, kAnimation, "");
        t.Button(kApply, "Apply");
        t.Button(kIdOk, "OK", kDefault).Button(kIdCancel, "Cancel");
        return t;
    }

protected:
    bool OnInitDialog() override {
        CComboBox fruits = Combo(kFruit);
        fruits.SetItemData(fruits.AddString("cherry"), 3);
        fruits.SetItemData(fruits.AddString("Apple"), 1);
        fruits.SetItemData(fruits.AddString("banana"), 2);
        Combo(kCombo).AddString("zeta");
        Combo(kCombo).AddString("alpha");

        CListView rows = List(kRows);
        rows.InsertColumn(0, "Date", 120);
        rows.InsertColumn(1, "Who", 80);
        const char* dates[] = {"2024-03-01", "2023-12-24", "2024-01-15"};
        for (int i = 0; i < 3; ++i) {
            int row = rows.InsertItem(rows.GetItemCount(), dates[i], 10 + i);
            rows.SetItemText(row, 1, std::string("user") + std::to_string(i));
        }

        Tree(kTree).InsertItem(kTreeTop, "root", 0, true);
        Date(kWhen).SetFormat("MM/dd/yyyy");
        Animation(kAnimation).Open(42);
        Animation(kAnimation).Play(0, 0xFFFF, -1);

        // The combo boxes are filled now, so the exchange can find their items.
        CDialog::OnInitDialog();
        UpdateEnabling();
        return true;
    }

    void DoDataExchange(CDataExchange& dx) override {
        dx.Text(kName, name);
        dx.Text(kNotes, notes);
        dx.Text(kLocked, locked);
        dx.Text(kSecret, secret);
        dx.Check(kEnableNotes, notesEnabled);
        dx.Radio(kRadioA, choice);
        dx.Radio(kOtherX, other);
        dx.ComboText(kFruit, fruit);
        dx.ComboText(kCombo, comboText);
        dx.Date(kWhen, when);
    }

    void OnClicked(ControlId id) override {
        events.push_back("clicked " + std::to_string(id));
        if (id == kEnableNotes)
            UpdateEnabling();
        if (id == kApply)
            MessageBox("Applied " + Control(kName).GetText(), "Sample", kMbOk | kMbIconInformation);
    }

    void OnSelChange(ControlId id) override {
        if (id == kFruit)
            events.push_back("fruit " + Combo(kFruit).GetText());
        else if (id == kTree)
            events.push_back("tree " + Tree(kTree).GetItemText(Tree(kTree).GetSelectedItem()));
        else
            events.push_back("selchange " + std::to_string(id));
    }

    void OnListItemChanged(ControlId id, int row) override {
        CListView rows = List(id);
        events.push_back("row " + std::to_string(row) + (rows.IsSelected(row) ? " on" : " off"));
        // At most two rows: a third is deselected again.
        if (rows.IsSelected(row) && rows.GetSelectedCount() > 2)
            rows.SetSelected(row, false);
    }

    bool OnTreeExpanding(ControlId id, TreeItem item) override {
        CTreeView tree = Tree(id);
        events.push_back("expanding " + tree.GetItemText(item));
        if (tree.GetChildItem(item) != kTreeNone)
            return true;
        if (tree.GetItemText(item) == "root") {
            tree.InsertItem(item, "a", 1, true);
            tree.InsertItem(item, "b", 2, true);
        } else if (tree.GetItemText(item) == "a") {
            tree.InsertItem(item, "a1", 11);
        } else {
            tree.SetHasChildren(item, false); // nothing below: the button goes
        }
        return true;
    }

    void OnDateChange(ControlId) override { events.push_back("date"); }

    void OnOK() override {
        if (!UpdateData(true))
            return;
        if (name.empty()) {
            MessageBox("Missing name", "Error", kMbOk);
            SetFocus(kName);
            return;
        }
        EndDialog(kIdOk);
    }

private:
    void UpdateEnabling() { Control(kNotes).Enable(Button(kEnableNotes).GetCheck()); }
};

// A progress window like the provider's: activity, command line, Cancel.
class CProgress : public CProgressWindowBase {
public:
    enum : ControlId { kActivity = 10049, kStatus = 10050, kAnimation = 10052, kCancel = 10053 };
    static DialogTemplate MakeTemplate() {
        DialogTemplate t(10036, "Morvek CVS SCC");
        t.Label("{Activity}", kActivity)
            .Edit(kStatus, kMultiLine | kReadOnly | kVScroll)
            .Add(ControlKind::Animation, kAnimation, "")
            .Button(kCancel, "Cancel");
        return t;
    }
    explicit CProgress(bool* destroyed = nullptr)
        : CProgressWindowBase(MakeTemplate(), kActivity, kStatus, kCancel), destroyed_(destroyed) {}

protected:
    void PostDestroy() override {
        if (destroyed_)
            *destroyed_ = true;
    }

private:
    bool* destroyed_;
};

} // namespace sample
