// ui/framework/HostChoice.h - which host a process shows its dialogs with, and the scripted
// answers that stand in for a user.
//
// The host is chosen once per process, the first time a dialog, message box or progress
// window needs it (Host(), DialogHost.h), unless one is installed first (tests install a
// headless host with ScopedHost). The choice follows MORVEK_UI_HOST:
//
//   MORVEK_UI_HOST=windows    the Win32 host: real windows (WindowsHost.h), when the process
//                             can make them; otherwise as auto
//   MORVEK_UI_HOST=terminal   the terminal host: dialogs are asked for on the terminal
//                             (prompts on standard error, answers from standard input)
//   MORVEK_UI_HOST=headless   the headless host fed with the scripted answers; a dialog
//                             they do not answer fails with a message naming the option
//   unset, empty or auto      the Win32 host in a windowed program (one without a console
//                             of its own: an IDE that loads the provider) that can make
//                             windows; else the terminal host when standard input is a
//                             terminal, else the headless host with scripted answers
//
// So console programs (scchost, the test programs) choose as they always did, whatever
// the display, and a provider loaded by an IDE shows real windows. Under Wine without an X
// display no window can be made, and every choice falls back as above.
//
// Scripted answers come from variables MORVEK_ANSWER_<NAME>=VALUE, NAME being a prompt
// name of a dialog's control in capitals (DialogTemplate.h). scchost sets them from its
// options before it loads the provider. They are taken out of the environment when the host
// is chosen, so that child processes (cvs, the external tools) never see them. A terminal
// host uses them too and asks only for what they leave out. The names in use:
//
//   MORVEK_ANSWER_PASSWORD   the repository password (scchost --password, --password-file)
//   MORVEK_ANSWER_CVSROOT    a CVSROOT asked for by a dialog that has none yet, and the
//                            repository of the connect dialog
//   MORVEK_ANSWER_YESNO      yes or no: the answer to every question in a message box
//                            (scchost --yes, --no); yes also answers OK, no also Cancel
//   MORVEK_ANSWER_<DIALOG>   ok or cancel: how a dialog with that answer name is closed;
//                            dismiss: its prompts are answered, then it is cancelled (for
//                            what a prompt opens, such as a browser)
//                            (the login dialog's is LOGIN: MORVEK_ANSWER_LOGIN=cancel; the
//                            check-in comment dialog's is CHECKINCOMMENTS)
//   MORVEK_ANSWER_CONNECT    ok or cancel: the connect dialog ("Connect to Repository/Module")
//   MORVEK_ANSWER_WORKDIR    its working folder, where it may be changed
//   MORVEK_ANSWER_VERIFY     yes: its connection test runs
//   MORVEK_ANSWER_BROWSE     yes: its module browser opens ("Module Selection ...")
//   MORVEK_ANSWER_MODULE     its module
//   MORVEK_ANSWER_MODULES    the module browser's choice, a path of folders from the top
//                            (mod/sub); the CVSROOT shown above them may be left out
//   MORVEK_ANSWER_MODULESELECTION  ok or cancel: the module browser
//   MORVEK_ANSWER_TEMPLATE   the comment template a check-in comment starts from, by its
//                            title or its number in the list (sorted, from 1)
//   MORVEK_ANSWER_COMMENT    the check-in comment (line feeds for several lines); it
//                            replaces a template's body
//   MORVEK_ANSWER_DONOTDISPLAY  yes or no: the comment dialog's "Do not display" box
//   MORVEK_ANSWER_HISTORYFILE  the revision history's file, by its name or number
//   MORVEK_ANSWER_REVISIONS  the revision history's rows, by any cell (the revision number,
//                            such as 1.2) or their number; two at most, separated by commas
//   MORVEK_ANSWER_ACTION     the revision history's actions: view, diff /w local, replace
//                            local, diff, refresh, update comments (a button's text or its
//                            start, letter case ignored), separated by commas and taken in
//                            turn; then the history closes (none: it closes at once). Its
//                            table of revisions goes to standard output without a terminal
//                            (tab-separated, a line of titles first)
//   MORVEK_ANSWER_REVISIONCOMMENT  the new log message for "update comments"
//   MORVEK_ANSWER_REVISION   the revision the diff command compares with (the revision
//                            number, or the item's text); MORVEK_ANSWER_FILEDIFFERENCE=cancel
//                            closes that dialog
//   MORVEK_ANSWER_TAG        the tag chosen in the tag selection (SELECTTAG: ok or cancel)
//   MORVEK_ANSWER_GETOPTIONS ok or cancel: the get and check-out options ("Get/Check-out
//                            Advanced Options..."): MERGE, MERGETAG1, MERGETAG2, VERSION,
//                            VERSIONTAG, DATE, RESETSTICKY, PRUNEEMPTY, CREATENEWDIR,
//                            CLEANCOPY, KEYWORDSUB, KEYWORD; CHOOSEMERGETAG1, CHOOSEMERGETAG2
//                            and CHOOSEVERSIONTAG (yes) open the tag selection (ui/DlgCmdOpts.h)
//   MORVEK_ANSWER_CHECKINOPTIONS  ok or cancel: the check-in and add options ("Check-in
//                            Advanced Options..."): FORCE, CHECKEDITS, COMMITBRANCH, BRANCH,
//                            CHOOSEBRANCH
//   MORVEK_ANSWER_WATCH      "watch add" or "watch remove": a button of the Watchers page of
//                            a file's properties, pressed once its list has loaded
//   MORVEK_ANSWER_FOLDER     the folder a folder browser returns (empty: cancelled)
//   MORVEK_ANSWER_FILE       the file a file-open dialog returns (empty: cancelled)
//   MORVEK_ANSWER_SETTINGS   ok or cancel: the settings dialog ("Morvek CVS SCC :> Settings");
//                            its values are answered under the setting's own name:
//                            CVSEXEPATH, VENDORNAME, USECOMPRESSION, COMPRESSLEVEL (1 to 9,
//                            asked while compression is on), WARNONEDIT, INDEPENDENTMODE,
//                            USEUNIXLF, AUTOCOMMIT, LOGOUTONCLOSE, USECOMMENTS, HIDESTATUSUI,
//                            NOCHECKOUTUPDATES, USECVSTRACE, USEQUICKCOMPARE, EXCLUSIVELOCK,
//                            DIFFEXE, CONFLICTEXE, EDITOR; CVSROOTS chooses a remembered
//                            CVSROOT and DELETEROOT=yes deletes it; TEMPLATES loads a comment
//                            template (its title, or <New...>), TEMPLATETITLE and TEMPLATEBODY
//                            change it, SAVETEMPLATE=yes stores it, REMOVETEMPLATE=yes
//                            removes it
//   MORVEK_ANSWER_<NAME>     any other prompt (scchost --answer NAME=VALUE)
//
// Values by kind of control: text as it stands (line feeds for several lines); yes or no
// for a check box, and for a push button with a prompt of its own (yes presses it;
// otherwise it is passed by); the label of the one to press for push buttons that share a
// prompt; the text of the item, row or radio button (letter case ignored; a number counts
// from 1; a row also by any one of its cells, an item by a word of its text); several rows
// separated by commas; a tree item as the path of item texts from the top, separated by "/"
// (an item whose own text holds "/" is matched whole; the one item of a top level may be
// left out; a "/" at the end opens the item); a date as MM/DD/YYYY, or "none".
#pragma once

#include "ui/framework/DialogHost.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace uifw {

constexpr const char* kHostVariable = "MORVEK_UI_HOST";
constexpr const char* kAnswerPrefix = "MORVEK_ANSWER_";

class ScriptedAnswers {
public:
    ScriptedAnswers() = default;
    // Names are prompt names (letter case ignored).
    explicit ScriptedAnswers(const std::map<std::string, std::string>& answers);
    // Takes every MORVEK_ANSWER_<NAME> out of the environment.
    static ScriptedAnswers TakeFromEnvironment();

    std::optional<std::string> Get(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);
    bool Empty() const { return answers_.empty(); }

private:
    std::map<std::string, std::string> answers_; // by lower-case name
};

// What to pass to scchost for an answer, for messages: "--password PASSWORD or
// --password-file FILE", "--yes or --no", else "--answer NAME=VALUE".
std::string OptionForAnswer(const std::string& name);

enum class HostKind { Terminal, Headless, Windows };
// What the choice looks at besides the variable. canShowWindows is asked only when the
// answer depends on it (it makes a window to find out).
struct HostFacts {
    bool inputIsTerminal = false;
    bool windowedProgram = false;
    std::function<bool()> canShowWindows;
};
// The choice described above, from the variable's value (nothing when unset). An unknown
// value counts as auto.
HostKind ChooseHostKind(const std::optional<std::string>& setting, const HostFacts& facts);

// The host chosen for the process (made on first use, kept until the process ends).
IDialogHost& ProcessHost();
// Destroys the chosen host; the next use chooses again. For a module being unloaded, after
// its last dialog.
void ReleaseProcessHost();

} // namespace uifw
