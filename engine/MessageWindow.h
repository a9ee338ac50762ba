// engine/MessageWindow.h - the message window: how console text reaches the environment.
//
// Text is sent with the append-text message (1131, WM_USER + 107) and delivered
// synchronously on the thread that made the context: the sender waits until it has been
// delivered. A text sent from another thread while the context's thread waits (in a modal
// dialog, or joining a worker, inside a Serving scope) is handed over and delivered by
// that thread; when the context's thread is not waiting for texts, the sender delivers it
// itself, one text at a time, so nothing can wait for ever.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class CCVSContext;

constexpr unsigned kAppendTextMessage = 1131; // WM_USER + 107
constexpr int kTextKindInfo = 1;              // the interface's informational message kind

class CMsgWnd {
public:
    explicit CMsgWnd(CCVSContext* context);
    CMsgWnd(const CMsgWnd&) = delete;
    CMsgWnd& operator=(const CMsgWnd&) = delete;

    // The window text and control id it is made with where real windows exist.
    static constexpr const char* kWindowText = "MorvekMsgWnd";
    static constexpr int kControlId = 1125;

    // Delivers text synchronously (see above). The text is handed on, not copied again: a
    // sender done with it moves it in.
    void Send(std::string text, int kind);

    // While one lives, the context's thread delivers texts that other threads send; it
    // serves them whenever ServePending is called, and at the end of the scope.
    class Serving {
    public:
        explicit Serving(CMsgWnd& window);
        ~Serving();
        Serving(const Serving&) = delete;
        Serving& operator=(const Serving&) = delete;

    private:
        CMsgWnd& window_;
    };
    // Delivers the texts waiting for the context's thread; returns at once elsewhere.
    void ServePending();

private:
    struct Pending {
        std::string* text; // the sender's, which waits until it is done
        int kind;
        bool done = false;
    };
    void Deliver(std::string& text, int kind);
    // Delivers every queued text; called with lock_ held, returns with it held.
    void DrainQueue(std::unique_lock<std::mutex>& guard);

    CCVSContext* context_;
    std::thread::id thread_;
    std::mutex lock_;
    std::mutex deliveryLock_; // one delivery at a time, whichever thread makes it
    std::condition_variable changed_;
    std::deque<Pending*> queue_;
    int serving_ = 0;
};
