// engine/MessageWindow.h - the message window: how console text reaches the environment.
//
// Text is sent with the append-text message (1131, WM_USER + 107) and delivered
// synchronously on the thread that made the context, and the sender waits until it has been
// delivered. Where real windows exist the message window is one (platform/HiddenWindow.h:
// a hidden "STATIC" child, "MorvekMsgWnd", id 1125) and a text from another thread (a
// worker's command, the client library's) is a sent window message, answered in whatever
// loop the context's thread is in. Elsewhere the text waits in that thread's queue until
// the thread serves it, whenever it waits (in a modal dialog, in a command, waiting for a
// worker or for the context: ui/framework/OwnerThread.h). Text sent after the window has
// gone is dropped.
#pragma once

#include "platform/HiddenWindow.h"
#include "ui/framework/OwnerThread.h"

#include <functional>
#include <memory>
#include <string>

class CCVSContext;

constexpr unsigned kAppendTextMessage = 1131; // WM_USER + 107
constexpr int kTextKindInfo = 1;              // the interface's informational message kind

class CMsgWnd {
public:
    explicit CMsgWnd(CCVSContext* context);
    ~CMsgWnd();
    CMsgWnd(const CMsgWnd&) = delete;
    CMsgWnd& operator=(const CMsgWnd&) = delete;

    // The window text and control id it is made with where real windows exist.
    static constexpr const char* kWindowText = "MorvekMsgWnd";
    static constexpr int kControlId = 1125;

    // Delivers text synchronously on the window's thread (see above). The text is handed
    // on, not copied again: a sender done with it moves it in.
    void Send(std::string text, int kind);

    // Runs an action on the window's thread, the context's, and waits for it (dropped when
    // the window has gone); true when it ran. What the context's other windows need from a
    // worker goes this way too.
    bool RunOnOwnerThread(std::function<void()> action);
    // Whether the calling thread is the window's.
    bool OnOwnerThread() const;
    // The real window, where there is one (null elsewhere).
    platform::WindowHandle Handle() const { return window_.Handle(); }

private:
    CCVSContext* context_;
    platform::CHiddenWindow window_;
    std::shared_ptr<uifw::CWindowLife> life_ = std::make_shared<uifw::CWindowLife>();
};
