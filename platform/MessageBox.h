// platform/MessageBox.h - the system's own message box, for code below the dialog layer.
//
// Windows: MessageBoxA. POSIX has no such box: the text goes to standard error, and the
// answer is the default button's.
#pragma once

#include "platform/Types.h"
#include <string>

namespace platform {

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

int ShowSystemMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         unsigned style);

} // namespace platform
