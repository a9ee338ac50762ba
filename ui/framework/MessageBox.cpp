// ui/framework/MessageBox.cpp - message boxes through the process's host.
#include "ui/framework/MessageBox.h"

#include "ui/framework/DialogHost.h"

#include <mutex>

namespace uifw {
namespace {
std::mutex& TitleLock() {
    static std::mutex lock;
    return lock;
}
std::string& Title() {
    static std::string title = "Morvek CVS SCC";
    return title;
}
} // namespace

std::vector<int> ButtonsOf(unsigned style) {
    switch (style & kMbButtonMask) {
    case kMbOkCancel:
        return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore:
        return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel:
        return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo:
        return {kIdYes, kIdNo};
    case kMbRetryCancel:
        return {kIdRetry, kIdCancel};
    default:
        return {kIdOk};
    }
}

std::string ButtonName(int answer) {
    switch (answer) {
    case kIdOk:
        return "OK";
    case kIdCancel:
        return "Cancel";
    case kIdAbort:
        return "Abort";
    case kIdRetry:
        return "Retry";
    case kIdIgnore:
        return "Ignore";
    case kIdYes:
        return "Yes";
    case kIdNo:
        return "No";
    }
    return "button " + std::to_string(answer);
}

int SafeAnswer(unsigned style) {
    const std::vector<int> buttons = ButtonsOf(style);
    for (int preferred : {kIdCancel, kIdNo, kIdIgnore})
        for (int b : buttons)
            if (b == preferred)
                return b;
    return buttons.front();
}

int ShowMessageBox(platform::WindowHandle owner, const std::string& text,
                   const std::string& caption, unsigned style) {
    return Host().MessageBox(owner, text, caption, style);
}

int ShowAppMessageBox(platform::WindowHandle owner, const std::string& text, unsigned style) {
    return ShowMessageBox(owner, text, ApplicationTitle(), style);
}

std::string ApplicationTitle() {
    std::lock_guard<std::mutex> guard(TitleLock());
    return Title();
}

void SetApplicationTitle(const std::string& title) {
    std::lock_guard<std::mutex> guard(TitleLock());
    Title() = title;
}

} // namespace uifw
