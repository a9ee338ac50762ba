// platform/Help.h - showing a compiled HTML help file.
//
// Windows: the HTML Help control. On first use its file is taken from the registered class
// (HKEY_CLASSES_ROOT\CLSID\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\InprocServer32, default
// value, environment references expanded) or, failing that, "hhctrl.ocx" by name, and its
// entry point number 14 (HtmlHelpA) is resolved; both stay loaded for the process. If
// either cannot be had, the failure is remembered and every later call does nothing.
// POSIX has no HTML Help: the first call meets that failure, and it is remembered alike.
#pragma once

#include <string>

namespace platform {

// Shows the topic of the file (HtmlHelpA, no owner window, command 0, data 0). False when no
// HTML Help control could be found, now or on an earlier call.
bool ShowHtmlHelp(const std::string& helpFile);

} // namespace platform
