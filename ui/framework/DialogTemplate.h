// ui/framework/DialogTemplate.h - what a dialog is made of: its caption and its controls.
//
// The dialog layer (ui/framework) holds the dialog logic apart from windows: dialogs, property
// sheets, pages, child panels and the modeless progress window are plain classes that talk
// to their controls by id; a host realises them (in memory for tests, on a terminal for
// scchost, as real windows on Windows).
//
// A template lists the controls in tab order, as a dialog resource does. Control ids are
// the ids of the real controls; the Win32 host builds the dialog from this list (no dialog
// resource is compiled), placing each control at its rectangle (in dialog units). The order
// matters: it is the tab order, the first control that can take the focus gets it when the dialog
// opens, a run of radio buttons started by kGroup forms one group, and a static text names the
// control after it (its label).
//
// A control may carry a prompt name: the answer name under which a text-only host asks for
// its value (a terminal prompt, or a scripted answer passed as MORVEK_ANSWER_<NAME>; see
// HostChoice.h). Controls without one are shown but never asked for.
#pragma once

#include "platform/NativeDialog.h"

#include <string>
#include <vector>

namespace uifw {

using ControlId = int;

// Buttons and dialog results; the same numbers as the system's.
constexpr ControlId kIdOk = 1;
constexpr ControlId kIdCancel = 2;
constexpr ControlId kIdAbort = 3;
constexpr ControlId kIdRetry = 4;
constexpr ControlId kIdIgnore = 5;
constexpr ControlId kIdYes = 6;
constexpr ControlId kIdNo = 7;
// Static texts that no code addresses share this id.
constexpr ControlId kIdStatic = -1;

enum class ControlKind {
    Static,      // a text
    GroupBox,    // a frame with a title
    Separator,   // an etched line
    Edit,        // a text box
    CheckBox,    // ticked or not; ticks itself when clicked
    RadioButton, // one choice of its group; chooses itself when clicked
    PushButton,
    DropList, // a drop-down list: choose an item, nothing else
    ComboBox, // a drop-down box: choose an item or type a text
    ListView, // a list in report mode: columns and rows
    TreeView,
    DatePicker,
    Animation,
};

// Style bits. Each applies to the kinds named beside it. They are the numbers the
// system's side of the Win32 host takes (platform/NativeDialog.h).
enum : unsigned {
    kDisabled = platform::kNativeDisabled, // any control: starts disabled
    kHidden = platform::kNativeHidden,     // any control: starts hidden
    kGroup = platform::kNativeGroup,       // radio button: starts a new group
    // any control: the Tab key and the first focus pass it by
    kNoTabStop = platform::kNativeNoTabStop,
    kDefault = platform::kNativeDefault, // push button: the default button (Enter)

    kMultiLine = platform::kNativeMultiLine,   // edit: several lines, line breaks as CR LF
    kReadOnly = platform::kNativeReadOnly,     // edit: starts read-only
    kPassword = platform::kNativePassword,     // edit: shows a mask character for every character
    kWantReturn = platform::kNativeWantReturn, // edit, multi-line: Enter starts a new line
    kVScroll = platform::kNativeVScroll,       // edit, list: vertical scroll bar

    kSorted = platform::kNativeSorted, // drop-down list, combo box: items kept in alphabetical
                                       // order, letter case ignored
    kMultiSelect = platform::kNativeMultiSelect,     // list view: several rows may be selected
    kFullRowSelect = platform::kNativeFullRowSelect, // list view
    kShowSelAlways =
        platform::kNativeShowSelAlways, // list view: selection shown when the list has no focus
    kNoSortHeader = platform::kNativeNoSortHeader, // list view: column headers are not buttons
    kSortAscending =
        platform::kNativeSortAscending, // list view: rows kept in ascending order of their text,
                                        // letter case ignored, as they are inserted
    kShowNone =
        platform::kNativeShowNone, // date picker: the date may be empty (a check box beside it)
    kPanelMenu = 1u << 23,         // tree view: its top-level items choose the panel the
                                   // dialog shows (a settings dialog); see Prompts.h
};

// A rectangle in dialog units.
struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ControlSpec {
    ControlId id = kIdStatic;
    ControlKind kind = ControlKind::Static;
    std::string text; // caption of statics, buttons, group boxes; initial text of edits
    unsigned style = 0;
    Rect rect;
    std::string prompt;      // the answer name a text-only host asks by; empty: never asked
    std::string promptLabel; // what it asks with, where the control's own label says too
                             // little (a "..." button); empty: the label
    bool optional = true;    // an empty value is a valid answer (see Prompt)
    ControlId askedFor = 0;  // asked only for the action of this button (see AskedFor)
    ControlId askedWith = 0; // asked only while this control is enabled (see AskedWith)
};

class DialogTemplate {
public:
    DialogTemplate() = default;
    // resourceId: the dialog resource of a Win32 host; caption: the window title.
    DialogTemplate(int resourceId, std::string caption);

    int ResourceId() const { return resourceId_; }
    const std::string& Caption() const { return caption_; }
    const Rect& Size() const { return size_; }
    // The name under which a text-only host takes the dialog's own answer, OK or Cancel
    // (MORVEK_ANSWER_<NAME>=ok|cancel). Empty: the dialog has none.
    const std::string& AnswerName() const { return answerName_; }
    // The name under which a text-only host asks for the window's action (empty: the
    // window has none). A window of actions is not filled in once and closed: a text-only
    // host asks for its prompts, then for one of its push buttons that carry a prompt name
    // (the action, by the button's text) or "close", presses it, and asks again until the
    // answer is close (Prompts.h).
    const std::string& ActionPrompt() const { return actionPrompt_; }
    const std::vector<ControlSpec>& Controls() const { return controls_; }
    const ControlSpec* Find(ControlId id) const;
    // The radio buttons of the group that holds id (a control marked kGroup starts a new
    // group), in tab order; empty when id is not a control of the template.
    std::vector<ControlId> RadioGroupOf(ControlId id) const;

    // Building, in tab order. Each adds a control and returns the template, so that calls
    // chain; At, Prompt and Required change the control added last.
    DialogTemplate& SetSize(int width, int height);
    DialogTemplate& SetAnswerName(std::string name);
    DialogTemplate& SetActionPrompt(std::string name);
    DialogTemplate& Add(ControlKind kind, ControlId id, std::string text, unsigned style = 0);
    DialogTemplate& Label(std::string text, ControlId id = kIdStatic);
    DialogTemplate& GroupBox(std::string text, ControlId id = kIdStatic);
    DialogTemplate& Edit(ControlId id, unsigned style = 0);
    DialogTemplate& CheckBox(ControlId id, std::string text, unsigned style = 0);
    DialogTemplate& Radio(ControlId id, std::string text, unsigned style = 0);
    DialogTemplate& Button(ControlId id, std::string text, unsigned style = 0);
    DialogTemplate& DropList(ControlId id, unsigned style = 0);
    DialogTemplate& ComboBox(ControlId id, unsigned style = 0);
    DialogTemplate& ListView(ControlId id, unsigned style = 0);
    DialogTemplate& TreeView(ControlId id, unsigned style = 0);
    DialogTemplate& DatePicker(ControlId id, unsigned style = 0);
    DialogTemplate& At(int x, int y, int width, int height);
    // Marks the control last added as asked for under name by text-only hosts, with label as
    // the question when it is given. A push button with a prompt is offered as "press it?"
    // (yes presses it, no or nothing passes it by).
    DialogTemplate& Prompt(std::string name, std::string label = std::string());
    // A prompt whose value must not stay empty: a text-only host without an answer for it
    // does not press OK.
    DialogTemplate& Required();
    // In a window of actions: the prompt of the control last added is asked only when the
    // action of that push button is chosen, just before it is pressed.
    DialogTemplate& AskedFor(ControlId button);
    // The prompt of the control last added is asked only while that other control is
    // enabled and shown: a "..." button that always stays enabled but fills a box that may
    // not be.
    DialogTemplate& AskedWith(ControlId other);

private:
    int resourceId_ = 0;
    std::string caption_;
    Rect size_;
    std::string answerName_;
    std::string actionPrompt_;
    std::vector<ControlSpec> controls_;
};

// Which kinds can hold the keyboard focus.
bool CanTakeFocus(ControlKind kind);

} // namespace uifw
