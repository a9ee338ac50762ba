// ui/framework/Prompts.cpp - dialogs and message boxes played as questions.
#include "ui/framework/Prompts.h"

#include "ui/framework/Dialog.h"
#include "ui/framework/OwnerThread.h"
#include "ui/framework/TextUtil.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace uifw {
namespace {

bool ParseYesNo(const std::string& value, bool& yes) {
    const std::string v = LowerCase(Trim(value));
    if (v == "yes" || v == "y" || v == "true" || v == "1" || v == "on") {
        yes = true;
        return true;
    }
    if (v == "no" || v == "n" || v == "false" || v == "0" || v == "off") {
        yes = false;
        return true;
    }
    return false;
}

int ParseNumber(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 6 || t.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::atoi(t.c_str());
}

std::string RowText(const MemoryControl::Row& row) {
    std::string text;
    for (const std::string& cell : row.cells)
        text += (text.empty() ? "" : "  ") + cell;
    return text;
}

// A prompt name as a heading: "watch" -> "Watch".
std::string Capitalised(std::string name) {
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

// Line breaks as a multi-line edit box holds them.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

class Player {
public:
    Player(DialogDriver& ui, IAnswerSource& source) : ui_(ui), source_(source) {}

    void Play() {
        CMemoryWindow* w = ui_.Window();
        if (!w)
            return;
        caption_ = w->GetCaption();
        source_.Heading(caption_);

        bool pressOk = false;
        bool dismiss = false;
        const std::string& dialogName = w->Template().AnswerName();
        if (!dialogName.empty()) {
            Question q;
            q.kind = Question::Kind::Buttons;
            q.name = dialogName;
            q.label = caption_;
            q.heading = caption_;
            q.choices = {"OK", "Cancel"};
            q.scriptedOnly = true;
            Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Value && EqualsNoCase(Trim(a.value), "dismiss")) {
                dismiss = true;
            } else if (a.kind == Answer::Kind::Value) {
                const int choice = MatchChoice(q.choices, a.value);
                if (choice == 1) {
                    ui_.PressEscape();
                    return;
                }
                if (choice < 0) {
                    Fail("the answer " + Quoted(a.value) + " for " + Quoted(caption_) +
                         " is neither ok nor cancel");
                    return;
                }
                pressOk = true;
            }
        }

        if (dismiss) {
            // Only what the prompts open (a browser) is wanted; the dialog is closed unused.
            if (PromptAll())
                ui_.PressEscape();
            return;
        }

        if (!HasPrompts(*w)) {
            if (!pressOk && !AskOkOrCancel(dialogName))
                return;
            if (pressOk)
                ui_.MarkAnsweredUnattended();
            PressOk();
            return;
        }

        for (;;) {
            missing_.clear();
            askedUser_ = false;
            if (!PromptAll())
                return;
            if (!missing_.empty()) {
                std::string message = Quoted(caption_) + ": no answer for ";
                for (size_t i = 0; i < missing_.size(); ++i)
                    message += (i ? "; nor for " : "") + missing_[i];
                Fail(message);
                return;
            }
            if (!askedUser_)
                ui_.MarkAnsweredUnattended();
            PressOk();
            if (ui_.Ended() || !ui_.IsOpen())
                return;
            // Asking again helps only when a person answered: scripted answers would be
            // the same.
            if (!source_.IsInteractive() || !askedUser_) {
                Fail(Quoted(caption_) + " did not accept the answers (see the message above)");
                return;
            }
        }
    }

private:
    // The visible tree of topics that chooses the dialog's panels, if it has one.
    static const MemoryControl* PanelMenuOf(CMemoryWindow& w) {
        for (const MemoryControl& c : w.Controls())
            if (c.spec.kind == ControlKind::TreeView && (c.spec.style & kPanelMenu) && c.visible &&
                c.enabled)
                return &c;
        return nullptr;
    }

    // The panels of a menu of topics. Without a person every topic is visited in turn; a
    // person chooses topics until OK (true: press it) or Cancel (false: given up).
    bool PromptPanelMenu(ControlId menu) {
        if (!source_.IsInteractive()) {
            for (TreeItem topic : ui_.TreeChildren(menu))
                if (!ui_.ClickTreeItem(menu, topic) || !PromptVisiblePanels(false))
                    return false;
            return true;
        }

        CMemoryWindow* w = ui_.Window();
        const std::string label = w && !w->Label(menu).empty() ? w->Label(menu) : "Topics";
        for (;;) {
            const std::vector<TreeItem> topics = ui_.TreeChildren(menu);
            Question q;
            q.kind = Question::Kind::Choice;
            q.label = label;
            q.heading = caption_;
            for (TreeItem topic : topics)
                q.choices.push_back(ui_.TreeText(menu, topic));
            const int ok = static_cast<int>(topics.size());
            q.choices.push_back("OK");
            q.choices.push_back("Cancel");
            Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Cancel || a.kind == Answer::Kind::Missing) {
                ui_.PressEscape();
                return false;
            }
            if (a.kind == Answer::Kind::Keep)
                continue;
            askedUser_ = true;
            const int choice = MatchChoice(q.choices, a.value);
            if (choice < 0) {
                source_.Tell(NotAChoice(Quoted(WithoutColon(label)), a.value, q.choices));
                continue;
            }
            if (choice == ok)
                return true;
            if (choice == ok + 1) {
                ui_.PressEscape();
                return false;
            }
            if (!ui_.ClickTreeItem(menu, topics[static_cast<size_t>(choice)]))
                return false;
            source_.Heading(q.choices[static_cast<size_t>(choice)]);
            if (!PromptVisiblePanels(true))
                return false;
        }
    }

    // Asks the prompts of the dialog's visible panels, showing their free-standing texts
    // first when tell is set. False when the dialog was given up.
    bool PromptVisiblePanels(bool tell) {
        CMemoryWindow* w = ui_.Window();
        if (!w)
            return false;
        const std::vector<CMemoryWindow*> children = w->Children();
        for (CMemoryWindow* child : children) {
            if (!child->IsWindowVisible())
                continue;
            if (tell)
                TellFreeTexts(*child);
            DialogDriver panel = ui_.Child(child->Model());
            if (!PlayWindow(panel))
                return false;
        }
        return true;
    }

    // Static texts that label no control (one followed by another text, a frame or nothing).
    void TellFreeTexts(CMemoryWindow& w) {
        const std::vector<MemoryControl>& controls = w.Controls();
        for (size_t i = 0; i < controls.size(); ++i) {
            const MemoryControl& c = controls[i];
            if (c.spec.kind != ControlKind::Static || !c.visible || c.text.empty())
                continue;
            const bool labels = i + 1 < controls.size() &&
                                controls[i + 1].spec.kind != ControlKind::Static &&
                                controls[i + 1].spec.kind != ControlKind::GroupBox;
            if (!labels)
                source_.Tell(WithoutMnemonics(c.text));
        }
    }

    static bool HasPrompts(CMemoryWindow& w) {
        for (const MemoryControl& c : w.Controls())
            if (!c.spec.prompt.empty())
                return true;
        if (auto* sheet = dynamic_cast<CPropertySheet*>(&w.Model()))
            for (int i = 0; i < sheet->PageCount(); ++i)
                for (const ControlSpec& spec : sheet->Page(i).Template().Controls())
                    if (!spec.prompt.empty())
                        return true;
        for (CMemoryWindow* child : w.Children())
            if (HasPrompts(*child))
                return true;
        return false;
    }

    bool AskOkOrCancel(const std::string& dialogName) {
        if (!source_.IsInteractive()) {
            Fail(Quoted(caption_) + " has nothing to answer but OK or Cancel" +
                 (dialogName.empty()
                      ? std::string(", and no answer name to pass them by")
                      : ": pass --answer " + dialogName + "=ok or " + dialogName + "=cancel"));
            return false;
        }
        Question q;
        q.kind = Question::Kind::Buttons;
        q.label = caption_;
        q.heading = caption_;
        q.choices = {"OK", "Cancel"};
        for (;;) {
            Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Cancel || a.kind == Answer::Kind::Missing) {
                ui_.PressEscape();
                return false;
            }
            const int choice = a.kind == Answer::Kind::Value ? MatchChoice(q.choices, a.value) : -1;
            if (choice == 0)
                return true;
            if (choice == 1) {
                ui_.PressEscape();
                return false;
            }
        }
    }

    void PressOk() {
        CMemoryWindow* w = ui_.Window();
        if (!w)
            return;
        if (const MemoryControl* ok = w->Find(kIdOk); ok && ok->enabled && ok->visible)
            ui_.Click(kIdOk);
        else
            ui_.PressEnter();
    }

    void Fail(const std::string& message) {
        source_.Unanswered(message);
        ui_.PressEscape();
    }

    // Asks the dialog's own controls, then each page of a sheet, then the visible panels.
    // False when the dialog was given up.
    bool PromptAll() {
        actionsAsked_.clear();
        if (!PlayWindow(ui_))
            return false;
        CMemoryWindow* w = ui_.Window();
        if (!w)
            return false;
        if (const MemoryControl* menu = PanelMenuOf(*w))
            return PromptPanelMenu(menu->spec.id);
        if (auto* sheet = dynamic_cast<CPropertySheet*>(&w->Model())) {
            for (int i = 0; i < sheet->PageCount(); ++i) {
                if (!ui_.SelectPage(i))
                    continue;
                DialogDriver page = ui_.Page(i);
                if (source_.IsInteractive())
                    source_.Tell("[" + sheet->Page(i).Title() + "]");
                if (!PlayWindow(page))
                    return false;
            }
            return true;
        }
        return PromptVisiblePanels(false);
    }

    bool PlayWindow(DialogDriver& d) {
        CMemoryWindow* w = d.Window();
        if (!w)
            return false;
        return w->Template().ActionPrompt().empty() ? PromptWindow(d) : PlayActions(d);
    }

    // A window that a worker is still filling is read once the worker is done; what the
    // worker sends it meanwhile is done here.
    static void WaitWhileBusy(DialogDriver& d) {
        ServeUntil([&d] {
            const CMemoryWindow* filling = d.Window();
            return !filling || !filling->Model().IsBusy();
        });
    }

    bool PromptWindow(DialogDriver& d) {
        WaitWhileBusy(d);
        CMemoryWindow* w = d.Window();
        if (!w)
            return false;
        const bool actions = !w->Template().ActionPrompt().empty();
        for (size_t i = 0; i < w->Controls().size(); ++i) {
            const MemoryControl& c = w->Controls()[i];
            if (c.spec.prompt.empty() || !c.enabled || !c.visible || c.spec.askedFor != 0)
                continue;
            if (c.spec.askedWith != 0 &&
                !(w->IsEnabled(c.spec.askedWith) && w->Find(c.spec.askedWith)->visible))
                continue;
            // The buttons of a window of actions are its actions, asked for by PlayActions.
            if (actions && c.spec.kind == ControlKind::PushButton)
                continue;
            if (!PromptControl(d, *w, c.spec.id))
                return false;
            if (!d.IsOpen() || d.Ended())
                return false;
        }
        if (!source_.IsInteractive())
            ShowListsToScripts(d);
        return true;
    }

    // Scripts get the read-only lists of a window as they stand once its prompts are done
    // (after what a pressed button loaded again): each as its table, whose titles say which
    // list it is.
    void ShowListsToScripts(DialogDriver& d) {
        WaitWhileBusy(d);
        CMemoryWindow* w = d.Window();
        if (!w)
            return;
        for (const MemoryControl& list : w->Controls())
            if (list.spec.kind == ControlKind::ListView && (list.spec.style & kReadOnly) &&
                !list.spec.prompt.empty() && list.visible)
                source_.ShowTable(TableOf(*w, list));
    }

    static Table TableOf(CMemoryWindow& w, const MemoryControl& c) {
        Table table;
        for (int i = 0; i < w.ListColumnCount(c.spec.id); ++i)
            table.columns.push_back(w.ListColumnTitle(c.spec.id, i));
        for (const MemoryControl::Row& row : c.rows) {
            table.rows.push_back(row.cells);
            table.rows.back().resize(std::max(row.cells.size(), table.columns.size()));
        }
        return table;
    }

    // A window of actions: its prompts, then an action, in a loop (see Prompts.h). False
    // when the dialog was given up or has gone; true when the loop was closed.
    bool PlayActions(DialogDriver& d) {
        for (;;) {
            if (!PromptWindow(d))
                return false;
            CMemoryWindow* w = d.Window();
            if (!w || d.Ended())
                return false;
            std::vector<ControlId> buttons;
            Question q;
            q.kind = Question::Kind::Choice;
            q.name = w->Template().ActionPrompt();
            q.label = "Action:";
            q.heading = caption_;
            for (const MemoryControl& c : w->Controls())
                if (c.spec.kind == ControlKind::PushButton && !c.spec.prompt.empty() && c.enabled &&
                    c.visible) {
                    buttons.push_back(c.spec.id);
                    q.choices.push_back(WithoutMnemonics(c.spec.text));
                }
            q.choices.push_back("Close");
            Answer a = source_.Ask(q);
            switch (a.kind) {
            case Answer::Kind::Cancel:
                ui_.PressEscape();
                return false;
            case Answer::Kind::Missing:
                return true;
            case Answer::Kind::Keep:
                askedUser_ = true;
                continue;
            case Answer::Kind::Value:
                break;
            }
            if (!a.scripted)
                askedUser_ = true;
            const std::vector<std::string> parts = Split(a.value, ',');
            for (size_t i = 0; i < parts.size(); ++i) {
                // What the earlier actions left enabled.
                CMemoryWindow* now = d.Window();
                if (!now || d.Ended())
                    return false;
                std::vector<std::string> available;
                std::vector<ControlId> availableButtons;
                for (size_t b = 0; b < buttons.size(); ++b)
                    if (now->IsEnabled(buttons[b])) {
                        available.push_back(q.choices[b]);
                        availableButtons.push_back(buttons[b]);
                    }
                available.push_back("Close");
                const int choice = MatchChoice(available, Trim(parts[i]));
                if (choice < 0) {
                    const std::string error =
                        NotAChoice(Quoted("Action:"), Trim(parts[i]), available);
                    if (!source_.IsInteractive() || a.scripted) {
                        Fail(Quoted(caption_) + ": " + error);
                        return false;
                    }
                    source_.Tell(error);
                    break;
                }
                if (static_cast<size_t>(choice) == availableButtons.size())
                    return true;
                const ControlId button = availableButtons[static_cast<size_t>(choice)];
                if (!AskFor(d, button))
                    return false;
                if (!d.Click(button) || !d.IsOpen() || d.Ended())
                    return false;
            }
            if (a.scripted)
                return true;
        }
    }

    // The prompts asked only for the action of a button.
    bool AskFor(DialogDriver& d, ControlId button) {
        CMemoryWindow* w = d.Window();
        if (!w)
            return false;
        for (size_t i = 0; i < w->Controls().size(); ++i) {
            const MemoryControl& c = w->Controls()[i];
            if (c.spec.askedFor != button || c.spec.prompt.empty() || !c.enabled || !c.visible)
                continue;
            if (!PromptControl(d, *w, c.spec.id) || !d.IsOpen() || d.Ended())
                return false;
        }
        return true;
    }

    std::string LabelOf(CMemoryWindow& w, ControlId id) {
        if (!w.Find(id)->spec.promptLabel.empty())
            return w.Find(id)->spec.promptLabel;
        if (w.Find(id)->spec.kind == ControlKind::RadioButton)
            return GroupLabel(w, id);
        std::string label = w.Label(id);
        if (label.empty())
            label = w.Find(id)->spec.prompt;
        return label;
    }

    // A radio group is named by the static text or frame just before its first button, or
    // else by its prompt name.
    static std::string GroupLabel(CMemoryWindow& w, ControlId id) {
        const std::vector<ControlId> group = w.RadioGroupOf(id);
        const auto& controls = w.Controls();
        for (size_t i = 0; i < controls.size(); ++i)
            if (!group.empty() && controls[i].spec.id == group.front()) {
                if (i > 0 && (controls[i - 1].spec.kind == ControlKind::Static ||
                              controls[i - 1].spec.kind == ControlKind::GroupBox))
                    return WithoutMnemonics(controls[i - 1].text);
                break;
            }
        return w.Find(id)->spec.prompt;
    }

    static std::string WithoutColon(std::string label) {
        while (!label.empty() && (label.back() == ':' || label.back() == ' '))
            label.pop_back();
        return label;
    }

    bool PromptControl(DialogDriver& d, CMemoryWindow& w, ControlId id) {
        MemoryControl& c = *w.Find(id);
        const std::string label = LabelOf(w, id);
        if (c.spec.kind == ControlKind::ListView && (c.spec.style & kReadOnly)) {
            ShowList(w, c);
            return true;
        }
        if (c.spec.kind == ControlKind::Edit && c.readOnly) {
            if (source_.IsInteractive())
                source_.Tell(label + " " + w.Displayed(id));
            return true;
        }
        if (c.spec.kind == ControlKind::TreeView && source_.IsInteractive()) {
            // A scripted path first; else the user walks the tree.
            Question path;
            path.name = c.spec.prompt;
            path.label = label;
            path.heading = caption_;
            path.scriptedOnly = true;
            Answer a = source_.Ask(path);
            if (a.kind != Answer::Kind::Value)
                return BrowseTree(d, w, id, label);
            const std::string error = Apply(d, w, id, a.value);
            if (!error.empty())
                Fail(Quoted(caption_) + ": " + error);
            return error.empty();
        }

        if (c.spec.kind == ControlKind::PushButton)
            return SharesPrompt(w, c) ? PromptActions(d, w, c.spec.prompt)
                                      : PromptButton(d, c, label);

        Question q;
        q.name = c.spec.prompt;
        q.label = label;
        q.heading = caption_;
        switch (c.spec.kind) {
        case ControlKind::Edit:
            q.kind = (c.spec.style & kPassword)    ? Question::Kind::Password
                     : (c.spec.style & kMultiLine) ? Question::Kind::MultiLineText
                                                   : Question::Kind::Text;
            q.current = w.Displayed(id);
            break;
        case ControlKind::CheckBox:
            q.kind = Question::Kind::YesNo;
            q.current = c.checked ? "yes" : "no";
            break;
        case ControlKind::RadioButton:
            q.kind = Question::Kind::Choice;
            for (ControlId member : w.RadioGroupOf(id)) {
                q.choices.push_back(w.Label(member));
                if (w.Find(member)->checked)
                    q.current = w.Label(member);
            }
            break;
        case ControlKind::DropList:
        case ControlKind::ComboBox:
            q.kind = Question::Kind::Choice;
            q.freeText = c.spec.kind == ControlKind::ComboBox;
            for (const MemoryControl::Item& item : c.items)
                q.choices.push_back(item.text);
            // A person is not asked to choose from nothing; a scripted answer still counts.
            q.scriptedOnly = !q.freeText && q.choices.empty();
            q.current = w.GetText(id);
            break;
        case ControlKind::ListView: {
            q.kind = (c.spec.style & kMultiSelect) ? Question::Kind::MultiChoice
                                                   : Question::Kind::Choice;
            // In a window of actions the rows are its subject: they are shown as a table,
            // and the current choice by row numbers.
            const bool table = !w.Template().ActionPrompt().empty();
            for (size_t r = 0; r < c.rows.size(); ++r) {
                const MemoryControl::Row& row = c.rows[r];
                q.choices.push_back(RowText(row));
                if (row.selected)
                    q.current += (q.current.empty() ? "" : ", ") +
                                 (table ? std::to_string(r + 1) : RowText(row));
            }
            if (table) {
                source_.ShowTable(TableOf(w, c));
                q.listed = true;
            }
            break;
        }
        case ControlKind::TreeView:
            q.kind = Question::Kind::Text;
            q.current = c.treeSelection ? w.TreeGetText(id, c.treeSelection) : std::string();
            break;
        case ControlKind::DatePicker:
            q.kind = Question::Kind::Date;
            q.current = w.Displayed(id);
            break;
        default:
            return true; // nothing to ask of a static, a button or a frame
        }

        for (;;) {
            Answer a = source_.Ask(q);
            switch (a.kind) {
            case Answer::Kind::Cancel:
                ui_.PressEscape();
                return false;
            case Answer::Kind::Keep:
                askedUser_ = true;
                return true;
            case Answer::Kind::Missing:
                if (!c.spec.optional && IsEmpty(w, c))
                    missing_.push_back(Quoted(label) + " (no terminal to ask on): pass " +
                                       OptionForAnswer(q.name));
                return true;
            case Answer::Kind::Value:
                break;
            }
            if (!a.scripted)
                askedUser_ = true;
            const std::string error = Apply(d, w, id, a.value);
            if (error.empty())
                return true;
            if (!source_.IsInteractive() || a.scripted) {
                Fail(Quoted(caption_) + ": " + error);
                return false;
            }
            source_.Tell(error);
        }
    }

    // A push button is offered: yes presses it (what it opens is played in turn), anything
    // else passes it by. False when the dialog was given up or has gone.
    bool PromptButton(DialogDriver& d, const MemoryControl& c, const std::string& label) {
        Question q;
        q.kind = Question::Kind::YesNo;
        q.name = c.spec.prompt;
        q.label = label;
        q.heading = caption_;
        q.current = "no";
        const ControlId id = c.spec.id;
        for (;;) {
            Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Cancel) {
                ui_.PressEscape();
                return false;
            }
            if (a.kind != Answer::Kind::Value) {
                askedUser_ = askedUser_ || a.kind == Answer::Kind::Keep;
                return true;
            }
            if (!a.scripted)
                askedUser_ = true;
            bool yes = false;
            if (ParseYesNo(a.value, yes)) {
                if (yes)
                    d.Click(id);
                return d.IsOpen() && !d.Ended();
            }
            const std::string error =
                "the answer for " + Quoted(label) + " must be yes or no, not " + Quoted(a.value);
            if (!source_.IsInteractive() || a.scripted) {
                Fail(Quoted(caption_) + ": " + error);
                return false;
            }
            source_.Tell(error);
        }
    }

    static bool IsEmpty(CMemoryWindow& w, const MemoryControl& c) {
        switch (c.spec.kind) {
        case ControlKind::Edit:
        case ControlKind::ComboBox:
            return c.text.empty();
        case ControlKind::DropList:
            return c.selection < 0;
        case ControlKind::RadioButton:
            for (ControlId member : w.RadioGroupOf(c.spec.id))
                if (w.Find(member)->checked)
                    return false;
            return true;
        case ControlKind::ListView:
            for (const MemoryControl::Row& row : c.rows)
                if (row.selected)
                    return false;
            return true;
        case ControlKind::TreeView:
            return c.treeSelection == kTreeNone;
        case ControlKind::DatePicker:
            return c.date.state != DateValue::State::Valid;
        default:
            return false;
        }
    }

    // Applies an answer to a control as the user would; answers why it cannot, or "".
    std::string Apply(DialogDriver& d, CMemoryWindow& w, ControlId id, const std::string& value) {
        MemoryControl& c = *w.Find(id);
        const std::string label = Quoted(LabelOf(w, id));
        switch (c.spec.kind) {
        case ControlKind::Edit:
            d.Type(id, (c.spec.style & kMultiLine) ? WithCrLf(value) : value);
            return std::string();
        case ControlKind::CheckBox: {
            bool yes = false;
            if (!ParseYesNo(value, yes))
                return "the answer for " + label + " must be yes or no, not " + Quoted(value);
            d.Tick(id, yes);
            return std::string();
        }
        case ControlKind::RadioButton: {
            const std::vector<ControlId> group = w.RadioGroupOf(id);
            std::vector<std::string> labels;
            for (ControlId member : group)
                labels.push_back(w.Label(member));
            const int choice = MatchChoice(labels, value);
            if (choice < 0)
                return NotAChoice(label, value, labels);
            d.Click(group[static_cast<size_t>(choice)]);
            return std::string();
        }
        case ControlKind::DropList:
        case ControlKind::ComboBox: {
            std::vector<std::string> items;
            for (const MemoryControl::Item& item : c.items)
                items.push_back(item.text);
            if (c.spec.kind == ControlKind::ComboBox) {
                const int exact = w.ComboFindExact(id, -1, value);
                if (exact >= 0)
                    d.ChooseIndex(id, exact);
                else
                    d.Type(id, value);
                return std::string();
            }
            int choice = MatchChoice(items, value);
            // Else an item by a word of its text: a revision number among "head 1.5 ...", an
            // option among "(-kb) Like o, ..." (a word's parentheses left out).
            for (size_t i = 0; choice < 0 && i < items.size(); ++i)
                for (std::string word : Split(items[i], ' ')) {
                    if (word.size() > 2 && word.front() == '(' && word.back() == ')')
                        word = word.substr(1, word.size() - 2);
                    if (!word.empty() && EqualsNoCase(word, Trim(value))) {
                        choice = static_cast<int>(i);
                        break;
                    }
                }
            if (choice < 0)
                return NotAChoice(label, value, items);
            d.ChooseIndex(id, choice);
            return std::string();
        }
        case ControlKind::ListView: {
            std::vector<std::string> rows;
            for (const MemoryControl::Row& row : c.rows)
                rows.push_back(row.cells.empty() ? std::string() : row.cells[0]);
            std::vector<int> chosen;
            for (const std::string& part : Split(value, ',')) {
                int choice = MatchChoice(rows, Trim(part));
                for (size_t r = 0; choice < 0 && r < c.rows.size(); ++r)
                    for (const std::string& cell : c.rows[r].cells)
                        if (!cell.empty() && EqualsNoCase(cell, Trim(part))) {
                            choice = static_cast<int>(r);
                            break;
                        }
                if (choice < 0) {
                    std::vector<std::string> full;
                    for (const MemoryControl::Row& row : c.rows)
                        full.push_back(RowText(row));
                    choice = MatchChoice(full, Trim(part));
                }
                if (choice < 0)
                    return NotAChoice(label, Trim(part), rows);
                chosen.push_back(choice);
            }
            if (chosen.empty())
                return "the answer for " + label + " names no row";
            if (chosen.size() > 1 && !(c.spec.style & kMultiSelect))
                return label + " takes one row only";
            d.ClickRow(id, chosen[0]);
            for (size_t i = 1; i < chosen.size(); ++i)
                if (!d.Window() || !w.ListIsSelected(id, chosen[i]))
                    d.CtrlClickRow(id, chosen[i]);
            return std::string();
        }
        case ControlKind::TreeView: {
            TreeItem at = kTreeTop;
            std::string rest = value;
            while (!rest.empty()) {
                if (rest[0] == '/') {
                    rest.erase(0, 1);
                    continue;
                }
                if (at != kTreeTop && w.TreeHasChildren(id, at) && !w.TreeIsExpanded(id, at))
                    d.ExpandTreeItem(id, at);
                const std::vector<TreeItem> children = d.TreeChildren(id, at);
                std::vector<std::string> texts;
                for (TreeItem child : children)
                    texts.push_back(w.TreeGetText(id, child));
                // An item's own text may hold "/" (a repository root does): the longest text
                // that the rest begins with wins; else the rest up to its next "/".
                int choice = -1;
                size_t taken = 0;
                for (size_t i = 0; i < texts.size(); ++i) {
                    const std::string& t = texts[i];
                    if (t.size() > taken && StartsWithNoCase(rest, t) &&
                        (rest.size() == t.size() || rest[t.size()] == '/')) {
                        choice = static_cast<int>(i);
                        taken = t.size();
                    }
                }
                if (choice < 0) {
                    const std::string part = rest.substr(0, rest.find('/'));
                    choice = MatchChoice(texts, part);
                    taken = part.size();
                    // The one item of a top level may be left out of the path.
                    if (choice < 0 && at == kTreeTop && children.size() == 1 &&
                        w.TreeHasChildren(id, children[0])) {
                        at = children[0];
                        continue;
                    }
                    if (choice < 0)
                        return NotAChoice(label, part, texts);
                }
                at = children[static_cast<size_t>(choice)];
                rest.erase(0, taken);
            }
            if (at == kTreeTop)
                return "the answer for " + label + " names no item";
            d.ClickTreeItem(id, at);
            // A path that ends with "/" opens the item it names.
            if (!value.empty() && value.back() == '/' && w.TreeHasChildren(id, at) &&
                !w.TreeIsExpanded(id, at))
                d.ExpandTreeItem(id, at);
            return std::string();
        }
        case ControlKind::DatePicker: {
            if (EqualsNoCase(Trim(value), "none")) {
                if (!(c.spec.style & kShowNone))
                    return label + " cannot be left without a date";
                d.PickDate(id, DateValue::Empty());
                return std::string();
            }
            const DateValue date = ParseMonthDayYear(Trim(value));
            if (!date.IsValid())
                return "the answer for " + label + " is not a date (MM/DD/YYYY): " + Quoted(value);
            d.PickDate(id, date);
            return std::string();
        }
        default:
            return std::string();
        }
    }

    // A list's heading: its label, or its prompt name.
    static std::string ListHeading(CMemoryWindow& w, ControlId id) {
        std::string label = w.Label(id);
        if (label.empty())
            label = Capitalised(w.Find(id)->spec.prompt) + ":";
        return label;
    }

    // A read-only list for a person: its heading, then its table.
    void ShowList(CMemoryWindow& w, const MemoryControl& list) {
        if (!source_.IsInteractive())
            return;
        source_.Tell(ListHeading(w, list.spec.id));
        source_.ShowTable(TableOf(w, list));
        if (list.rows.empty())
            source_.Tell("  (none)");
    }

    static bool SharesPrompt(CMemoryWindow& w, const MemoryControl& button) {
        for (const MemoryControl& other : w.Controls())
            if (&other != &button && other.spec.kind == ControlKind::PushButton &&
                LowerCase(other.spec.prompt) == LowerCase(button.spec.prompt))
                return true;
        return false;
    }

    // The push buttons that share a prompt name are offered as one choice, where the first
    // of them stands in the tab order. A person may do one after another, and sees the
    // lists of the window again after each (once whatever the button started is done);
    // Enter ends. A scripted answer presses one.
    bool PromptActions(DialogDriver& d, CMemoryWindow& w, const std::string& name) {
        if (!actionsAsked_.insert(std::make_pair(&w, LowerCase(name))).second)
            return true;
        for (;;) {
            std::vector<ControlId> buttons;
            Question q;
            q.kind = Question::Kind::Choice;
            q.name = name;
            q.label = Capitalised(name) + ":";
            q.heading = caption_;
            for (const MemoryControl& b : w.Controls())
                if (b.spec.kind == ControlKind::PushButton && b.enabled && b.visible &&
                    LowerCase(b.spec.prompt) == LowerCase(name)) {
                    buttons.push_back(b.spec.id);
                    q.choices.push_back(w.Label(b.spec.id));
                }
            if (buttons.empty())
                return true;
            const Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Cancel) {
                ui_.PressEscape();
                return false;
            }
            if (a.kind != Answer::Kind::Value)
                return true;
            const int choice = MatchChoice(q.choices, a.value);
            if (choice < 0) {
                const std::string why = NotAChoice(Quoted(q.label), a.value, q.choices);
                if (a.scripted || !source_.IsInteractive()) {
                    Fail(Quoted(caption_) + ": " + why);
                    return false;
                }
                source_.Tell(why);
                continue;
            }
            if (!a.scripted)
                askedUser_ = true;
            d.Click(buttons[static_cast<size_t>(choice)]);
            if (!d.IsOpen() || d.Ended())
                return false;
            if (a.scripted || !source_.IsInteractive())
                return true;
            WaitWhileBusy(d);
            for (const MemoryControl& list : w.Controls())
                if (list.spec.kind == ControlKind::ListView && (list.spec.style & kReadOnly) &&
                    !list.spec.prompt.empty() && list.visible)
                    ShowList(w, list);
        }
    }

    static std::string NotAChoice(const std::string& label, const std::string& value,
                                  const std::vector<std::string>& choices) {
        std::string list;
        for (const std::string& choice : choices)
            list += (list.empty() ? "" : ", ") + Quoted(choice);
        return Quoted(value) + " is not one of the choices of " + label + ": " +
               (list.empty() ? std::string("there are none") : list);
    }

    // A tree on a terminal: one level at a time, each choice opening the next.
    bool BrowseTree(DialogDriver& d, CMemoryWindow& w, ControlId id, const std::string& label) {
        TreeItem at = kTreeTop;
        for (;;) {
            const std::vector<TreeItem> children = d.TreeChildren(id, at);
            if (children.empty())
                return true;
            Question q;
            q.kind = Question::Kind::Choice;
            q.name = w.Find(id)->spec.prompt;
            q.label = at == kTreeTop ? label
                                     : WithoutColon(label) + " (in " + w.TreeGetText(id, at) + "):";
            q.heading = caption_;
            for (TreeItem child : children)
                q.choices.push_back(w.TreeGetText(id, child));
            const TreeItem selected = w.TreeSelection(id);
            q.current = selected ? w.TreeGetText(id, selected) : std::string();
            Answer a = source_.Ask(q);
            if (a.kind == Answer::Kind::Cancel) {
                ui_.PressEscape();
                return false;
            }
            if (a.kind != Answer::Kind::Value)
                return true;
            askedUser_ = true;
            const int choice = MatchChoice(q.choices, a.value);
            if (choice < 0) {
                source_.Tell(NotAChoice(Quoted(label), a.value, q.choices));
                continue;
            }
            const TreeItem item = children[static_cast<size_t>(choice)];
            d.ClickTreeItem(id, item);
            if (!d.TreeHasButton(id, item) || !d.ExpandTreeItem(id, item) ||
                d.TreeChildren(id, item).empty())
                return true;
            at = item;
        }
    }

    DialogDriver& ui_;
    IAnswerSource& source_;
    std::string caption_;
    std::vector<std::string> missing_;
    bool askedUser_ = false;
    // The button groups already offered in this pass, by window and prompt name.
    std::set<std::pair<const CMemoryWindow*, std::string>> actionsAsked_;
};

int MatchButton(const std::vector<int>& buttons, const std::string& value) {
    auto has = [&](int b) {
        for (int x : buttons)
            if (x == b)
                return true;
        return false;
    };
    bool yes = false;
    if (ParseYesNo(value, yes)) {
        if (yes) {
            for (int b : {kIdYes, kIdOk, kIdRetry})
                if (has(b))
                    return b;
        } else {
            for (int b : {kIdNo, kIdCancel})
                if (has(b))
                    return b;
        }
    }
    std::vector<std::string> names;
    for (int b : buttons)
        names.push_back(ButtonName(b));
    const std::string v = Trim(value);
    for (size_t i = 0; i < names.size(); ++i)
        if (EqualsNoCase(names[i], v))
            return buttons[i];
    if (v.size() == 1)
        for (size_t i = 0; i < names.size(); ++i)
            if (EqualsNoCase(names[i].substr(0, 1), v))
                return buttons[i];
    return -1;
}

} // namespace

ScriptedSource::ScriptedSource(ScriptedAnswers answers,
                               std::function<void(const std::string&)> tell,
                               std::function<void(const std::string&)> fail,
                               std::function<void(const std::string&)> show)
    : answers_(std::move(answers)), tell_(std::move(tell)), fail_(std::move(fail)),
      show_(std::move(show)) {}

void ScriptedSource::ShowTable(const Table& table) {
    if (show_)
        show_(TableForScripts(table));
}

Answer ScriptedSource::Ask(const Question& question) {
    if (question.name.empty())
        return Answer{};
    std::optional<std::string> value = answers_.Get(question.name);
    if (!value)
        return Answer{};
    return Answer::Scripted(*value);
}

void ScriptedSource::Tell(const std::string& text) {
    if (tell_)
        tell_(text);
}

void ScriptedSource::Unanswered(const std::string& message) {
    if (fail_)
        fail_(message);
}

namespace {

std::string ReadableCell(const std::string& cell) {
    constexpr size_t kLongest = 60;
    std::string text;
    for (char c : cell)
        text += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    if (text.size() > kLongest)
        text = text.substr(0, kLongest - 3) + "...";
    return text;
}

} // namespace

std::string TableForReading(const Table& table) {
    std::vector<std::vector<std::string>> lines;
    lines.push_back(table.columns);
    for (const std::vector<std::string>& row : table.rows)
        lines.push_back(row);
    std::vector<size_t> widths;
    for (std::vector<std::string>& line : lines)
        for (size_t i = 0; i < line.size(); ++i) {
            line[i] = ReadableCell(line[i]);
            if (widths.size() <= i)
                widths.push_back(0);
            widths[i] = std::max(widths[i], line[i].size());
        }
    const std::string count = std::to_string(table.rows.size());
    std::string text;
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string number = n == 0 ? std::string() : std::to_string(n) + ")";
        std::string line = "  " + std::string(count.size() + 1 - number.size(), ' ') + number;
        for (size_t i = 0; i < lines[n].size(); ++i)
            line += "  " + lines[n][i] +
                    (i + 1 < lines[n].size() ? std::string(widths[i] - lines[n][i].size(), ' ')
                                             : std::string());
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}

std::string TableForScripts(const Table& table) {
    auto line = [](const std::vector<std::string>& cells) {
        std::string text;
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i)
                text += '\t';
            for (char c : cells[i]) {
                switch (c) {
                case '\\':
                    text += "\\\\";
                    break;
                case '\t':
                    text += "\\t";
                    break;
                case '\r':
                    text += "\\r";
                    break;
                case '\n':
                    text += "\\n";
                    break;
                default:
                    text += c;
                }
            }
        }
        return text + "\n";
    };
    std::string text = line(table.columns);
    for (const std::vector<std::string>& row : table.rows)
        text += line(row);
    return text;
}

void PlayByPrompts(DialogDriver& ui, IAnswerSource& source) {
    Player(ui, source).Play();
}

int AnswerMessageBox(const MessageBoxRecord& box, IAnswerSource& source) {
    const std::vector<int> buttons = ButtonsOf(box.style);
    const std::string shown = box.caption.empty() ? box.text : box.caption + ": " + box.text;
    if (buttons.size() == 1) {
        source.Tell(shown);
        return buttons[0];
    }
    Question q;
    q.kind = Question::Kind::Buttons;
    q.name = "yesno";
    q.label = box.text;
    q.heading = box.caption;
    for (int b : buttons)
        q.choices.push_back(ButtonName(b));
    for (;;) {
        Answer a = source.Ask(q);
        if (a.kind == Answer::Kind::Cancel)
            return SafeAnswer(box.style);
        if (a.kind == Answer::Kind::Keep)
            continue;
        if (a.kind == Answer::Kind::Missing) {
            source.Unanswered(Quoted(shown) + ": no answer (no terminal to ask on): pass " +
                              OptionForAnswer(q.name));
            return SafeAnswer(box.style);
        }
        const int answer = MatchButton(buttons, a.value);
        if (answer >= 0) {
            if (!source.IsInteractive() || a.scripted)
                source.Tell(shown + " [" + ButtonName(answer) + "]");
            return answer;
        }
        std::string names;
        for (const std::string& name : q.choices)
            names += (names.empty() ? "" : ", ") + name;
        if (!source.IsInteractive() || a.scripted) {
            source.Unanswered(Quoted(shown) + ": the answer " + Quoted(a.value) +
                              " names none of its buttons (" + names + ")");
            return SafeAnswer(box.style);
        }
        source.Tell("answer one of: " + names);
    }
}

std::optional<std::string> AnswerPathRequest(const PathRequest& request, IAnswerSource& source) {
    const bool folder = request.kind == PathRequest::Kind::Folder;
    Question q;
    q.kind = Question::Kind::Text;
    q.name = folder ? "folder" : "file";
    q.label = folder ? (request.title.empty() ? std::string("Folder:") : request.title + ":")
                     : std::string("File to open:");
    q.heading = q.label;
    q.current = folder ? std::string() : request.file.initialPath;
    Answer a = source.Ask(q);
    switch (a.kind) {
    case Answer::Kind::Value:
        if (a.value.empty())
            return std::nullopt;
        return a.value;
    case Answer::Kind::Keep:
        if (q.current.empty())
            return std::nullopt;
        return q.current;
    case Answer::Kind::Missing:
        source.Unanswered(Quoted(q.label) + ": no answer (no terminal to ask on): pass " +
                          OptionForAnswer(q.name));
        return std::nullopt;
    case Answer::Kind::Cancel:
        break;
    }
    return std::nullopt;
}

int MatchChoice(const std::vector<std::string>& choices, const std::string& answer) {
    for (size_t i = 0; i < choices.size(); ++i)
        if (EqualsNoCase(choices[i], answer))
            return static_cast<int>(i);
    const int number = ParseNumber(answer);
    if (number >= 1 && static_cast<size_t>(number) <= choices.size())
        return number - 1;
    if (!answer.empty())
        for (size_t i = 0; i < choices.size(); ++i)
            if (StartsWithNoCase(choices[i], answer))
                return static_cast<int>(i);
    return -1;
}

} // namespace uifw
