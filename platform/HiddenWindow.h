// platform/HiddenWindow.h - a hidden window that carries texts and actions from any thread
// to the thread that made it.
//
// Windows: a hidden child window of class "STATIC" (its window procedure replaced), of the
// parent given or of the desktop; where no such window can be made (Wine without a display)
// a message-only window stands in. A text goes with SendMessageA: the sender waits while the
// window's thread runs the handler, whichever loop that thread is in (a modal dialog, a wait
// of platform/WaitSignal.h), and an action goes the same way with a second message. POSIX
// has no windows: Create fails, and the caller carries things over its own way.
#pragma once

#include "platform/Types.h"

#include <functional>
#include <memory>

namespace platform {

class CHiddenWindow {
public:
    // Runs on the window's thread for each text sent: (text, kind).
    using TextHandler = std::function<void(const char* text, long kind)>;

    CHiddenWindow();
    // Destroys the window (on its own thread; from another it is asked to go).
    ~CHiddenWindow();
    CHiddenWindow(const CHiddenWindow&) = delete;
    CHiddenWindow& operator=(const CHiddenWindow&) = delete;

    // Makes the window on the calling thread, which owns it from now on: window text, control
    // id and the message number that carries texts. A null parent means the desktop. False
    // where no window can be made.
    bool Create(WindowHandle parent, const char* text, int id, unsigned textMessage,
                TextHandler handler);
    WindowHandle Handle() const;
    // Whether it had to be a message-only window.
    bool IsMessageOnly() const;

    // Sends a text (valid for the length of the call) and waits until the handler has run;
    // false when the window is not there.
    bool SendText(const char* text, long kind) const;
    // Runs an action on the window's thread and waits for it; false when it did not run
    // (the window is not there).
    bool Run(const std::function<void()>& action) const;

    struct State;

private:
    std::unique_ptr<State> state_;
};

} // namespace platform
