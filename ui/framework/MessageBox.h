// ui/framework/MessageBox.h - message boxes: button sets, icons and answers.
//
// The numbers are the system's, so that a Win32 host passes them through unchanged.
#pragma once

#include "platform/MessageBox.h"
#include "platform/Types.h"
#include "ui/framework/DialogTemplate.h"

#include <string>
#include <vector>

namespace uifw {

// Button sets (the low four bits) and icons; the ones below the dialog layer knows too are
// its own.
using platform::kMbIconError;
using platform::kMbIconInformation;
using platform::kMbIconQuestion;
using platform::kMbIconWarning;
using platform::kMbOk;
using platform::kMbOkCancel;
using platform::kMbYesNo;
constexpr unsigned kMbAbortRetryIgnore = 0x2;
constexpr unsigned kMbYesNoCancel = 0x3;
constexpr unsigned kMbRetryCancel = 0x5;
constexpr unsigned kMbButtonMask = 0xF;
constexpr unsigned kMbIconMask = 0xF0;

// One message box as a host was asked to show it, and the answer it gave.
struct MessageBoxRecord {
    platform::WindowHandle owner = nullptr;
    std::string text;
    std::string caption;
    unsigned style = kMbOk;
    int answer = 0;
};

// The answers a box with that style can give, in the order its buttons show.
std::vector<int> ButtonsOf(unsigned style);
// "OK", "Cancel", "Yes", ... for an answer.
std::string ButtonName(int answer);
// What a box answers when it is closed without a choice (Escape, or a text-only host that
// cannot ask): Cancel where there is one, else No, else OK.
int SafeAnswer(unsigned style);

// Shows a message box through the process's dialog host (Host(), HostChoice.h). This is the
// entry point for every floor: the trace writer and the engine call it as the dialogs do.
// The caption is used as given, also when empty. The answer is kIdOk, kIdYes, ...
int ShowMessageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned style);
// The same with the application's title as caption: what the framework shows when a box
// has no caption of its own.
int ShowAppMessageBox(platform::WindowHandle owner, const std::string& text, unsigned style);

// The application's title ("Morvek CVS SCC" unless the module host sets another).
std::string ApplicationTitle();
void SetApplicationTitle(const std::string& title);

} // namespace uifw
