// ui/framework/Prompts.h - a dialog played as a series of questions, for hosts without
// windows.
//
// The terminal host and the headless host with scripted answers show a dialog by asking for
// the value of each control that has a prompt name (DialogTemplate.h), in tab order, through
// a page of a sheet after another and through the visible panels; then they press OK. What
// is disabled or hidden is not asked; a read-only box is shown, not asked; a drop-down list
// without items takes a scripted answer but is not asked on a terminal. A dialog that
// keeps itself open after OK (a validation message) is asked again on a terminal and fails
// with scripted answers. A dialog's own answer (its answer name set to "cancel") closes it
// with Cancel before anything is asked. A window still busy filling itself (IsBusy: a
// worker loading its rows) is read once it is done; the asking thread serves what the
// worker sends meanwhile. A read-only list view is shown as a table, never asked (to a
// person where it stands; to scripts, as their table, once the window's prompts are done). Push
// buttons that share one prompt name are offered as one choice of their labels (a person
// may press one after another, and sees the window's tables again after each; Enter goes
// on); a push button with a prompt of its own is asked as yes or no.
//
// A dialog whose tree of topics is marked kPanelMenu (a settings dialog) is played panel by
// panel instead. A person chooses topics from a menu that ends with OK and Cancel; choosing
// one shows its panel's free-standing texts (static texts that label no control) and asks
// for its prompts, then the menu comes back. Scripted answers visit every topic in turn and
// then press OK.
//
// A window of actions (DialogTemplate::SetActionPrompt) is played as a loop: its list views
// are shown as tables (ShowTable), its prompts asked, then its action (a push button that
// carries a prompt name, by its text, or "close"); the prompts marked AskedFor that button
// are asked, it is pressed, and the loop starts again. Enter shows the window again; close
// (or the end of input) closes it with OK. Scripted answers play one round: the action
// answer may name several actions separated by commas, pressed in turn, and the window
// then closes. Without an action answer it closes at once.
//
// Message boxes with one button are shown; others become a question whose answer is the
// name of a button (yes and no stand for the first button and for No or Cancel).
#pragma once

#include "ui/framework/DialogDriver.h"
#include "ui/framework/DialogHost.h"
#include "ui/framework/HostChoice.h"
#include "ui/framework/MessageBox.h"

#include <functional>
#include <string>
#include <vector>

namespace uifw {

struct Question {
    enum class Kind {
        Text,          // one line
        Password,      // one line, not shown while typed
        MultiLineText, // several lines
        YesNo,         // a check box
        Choice,        // one of the choices (or, with freeText, any text)
        MultiChoice,   // some of the choices
        Date,          // MM/DD/YYYY or none
        Buttons,       // a button of a message box, or OK/Cancel of a dialog
    };
    Kind kind = Kind::Text;
    std::string name;    // the prompt name (the scripted answer's name)
    std::string label;   // the control's label, or the message box's text
    std::string heading; // the dialog's caption, or the message box's caption
    std::string current; // what the control shows now
    std::vector<std::string> choices;
    bool freeText = false;
    // Only a scripted answer counts; a terminal does not ask (a dialog's own OK or Cancel).
    bool scriptedOnly = false;
    // The choices were just shown as a table (ShowTable): a terminal does not list them again.
    bool listed = false;
};

// A list view as a text-only host shows it: column titles and rows of cells.
struct Table {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};
// For a person: the titles and the rows, numbered from 1, in aligned columns; a cell's line
// breaks and tabs become blanks, and a cell longer than 60 characters is cut with "...".
std::string TableForReading(const Table& table);
// For scripts: the titles and then each row as one line, cells separated by tabs; a
// backslash, tab, carriage return and line feed in a cell are written \\, \t, \r and \n.
std::string TableForScripts(const Table& table);

struct Answer {
    enum class Kind {
        Value,   // use the value
        Keep,    // leave the control as it is (Enter on a terminal)
        Missing, // there is no answer (no scripted answer and no terminal)
        Cancel,  // give up: the dialog is cancelled (end of input)
    };
    Kind kind = Kind::Missing;
    std::string value;
    bool scripted = false; // the value came from scripted answers, not from a person

    static Answer Of(std::string value) { return Answer{Kind::Value, std::move(value), false}; }
    static Answer Scripted(std::string value) {
        return Answer{Kind::Value, std::move(value), true};
    }
};

// Who answers: scripted answers, or a user at a terminal.
class IAnswerSource {
public:
    virtual ~IAnswerSource() = default;
    virtual Answer Ask(const Question& question) = 0;
    // Whether a person answers (who can be asked again after a wrong answer).
    virtual bool IsInteractive() const = 0;
    // A text for the user: a message box's text, a wrong answer's reason, a read-only value.
    virtual void Tell(const std::string& text) = 0;
    // A dialog opens (its caption, once per showing).
    virtual void Heading(const std::string& caption) = 0;
    // A list to read before the question about it.
    virtual void ShowTable(const Table& table) = 0;
    // The dialog cannot be answered: the message says what is missing and which option
    // gives it.
    virtual void Unanswered(const std::string& message) = 0;
};

// Answers from ScriptedAnswers only; texts for the user go to tell, failures to fail, and
// tables, as TableForScripts writes them, to show (null: nowhere).
class ScriptedSource : public IAnswerSource {
public:
    ScriptedSource(ScriptedAnswers answers, std::function<void(const std::string&)> tell,
                   std::function<void(const std::string&)> fail,
                   std::function<void(const std::string&)> show = nullptr);
    Answer Ask(const Question& question) override;
    bool IsInteractive() const override { return false; }
    void Tell(const std::string& text) override;
    void Heading(const std::string&) override {}
    void ShowTable(const Table& table) override;
    void Unanswered(const std::string& message) override;
    ScriptedAnswers& Answers() { return answers_; }

private:
    ScriptedAnswers answers_;
    std::function<void(const std::string&)> tell_;
    std::function<void(const std::string&)> fail_;
    std::function<void(const std::string&)> show_;
};

// Plays an open modal dialog until it ends.
void PlayByPrompts(DialogDriver& ui, IAnswerSource& source);
// The answer to a message box.
int AnswerMessageBox(const MessageBoxRecord& box, IAnswerSource& source);
// The answer to a folder browser (the answer name "folder") or a file-open dialog ("file"):
// a path, or nothing for Cancel. On a terminal, Enter keeps a file dialog's initial file
// and cancels a folder browser.
std::optional<std::string> AnswerPathRequest(const PathRequest& request, IAnswerSource& source);

// The index of the choice an answer names: equal text (letter case ignored), else a number
// counted from 1, else the first choice that begins with it; -1 when none.
int MatchChoice(const std::vector<std::string>& choices, const std::string& answer);

} // namespace uifw
