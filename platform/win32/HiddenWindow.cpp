// platform/win32/HiddenWindow.cpp - a hidden "STATIC" window with its own window procedure in
// front of the class's.
#include "platform/HiddenWindow.h"

#include "platform/win32/Win32.h"

#include <atomic>

namespace platform {

struct CHiddenWindow::State {
    HWND window = nullptr;
    UINT textMessage = 0;
    TextHandler handler;
    bool messageOnly = false;
};

namespace {

// The message that carries an action: a pointer to a std::function in wParam.
constexpr UINT kRunMessage = WM_APP + 107;

// The class's own procedure, the same for every STATIC window.
std::atomic<WNDPROC> g_staticProc{nullptr};

LRESULT CALLBACK HiddenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state =
        reinterpret_cast<CHiddenWindow::State*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state && message == state->textMessage) {
        if (state->handler)
            state->handler(reinterpret_cast<const char*>(wParam), static_cast<long>(lParam));
        return 0;
    }
    if (state && message == kRunMessage) {
        (*reinterpret_cast<const std::function<void()>*>(wParam))();
        return 1;
    }
    const WNDPROC original = g_staticProc.load();
    return original ? ::CallWindowProcA(original, window, message, wParam, lParam)
                    : ::DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeStatic(HWND parent, const char* text, int id) {
    return ::CreateWindowExA(0, "STATIC", text, WS_CHILD, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleA(nullptr), nullptr);
}

} // namespace

CHiddenWindow::CHiddenWindow() : state_(std::make_unique<State>()) {}

CHiddenWindow::~CHiddenWindow() {
    HWND window = state_->window;
    if (!window)
        return;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0); // nothing reaches this object any more
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        ::DestroyWindow(window);
    else
        ::PostMessageA(window, WM_CLOSE, 0, 0); // only its own thread may destroy it
}

bool CHiddenWindow::Create(WindowHandle parent, const char* text, int id, unsigned textMessage,
                           TextHandler handler) {
    if (state_->window)
        return false;
    HWND window = MakeStatic(parent ? static_cast<HWND>(parent) : ::GetDesktopWindow(), text, id);
    state_->messageOnly = window == nullptr;
    if (!window) // no display: a window that only receives messages needs none
        window = MakeStatic(HWND_MESSAGE, text, id);
    if (!window)
        return false;
    state_->textMessage = textMessage;
    state_->handler = std::move(handler);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
    const auto original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HiddenProc)));
    if (original && original != &HiddenProc)
        g_staticProc = original;
    state_->window = window;
    return true;
}

WindowHandle CHiddenWindow::Handle() const {
    return state_->window;
}

bool CHiddenWindow::IsMessageOnly() const {
    return state_->messageOnly;
}

bool CHiddenWindow::SendText(const char* text, long kind) const {
    if (!state_->window || !::IsWindow(state_->window))
        return false;
    ::SendMessageA(state_->window, state_->textMessage, reinterpret_cast<WPARAM>(text),
                   static_cast<LPARAM>(kind));
    return true;
}

bool CHiddenWindow::Run(const std::function<void()>& action) const {
    if (!state_->window)
        return false;
    return ::SendMessageA(state_->window, kRunMessage, reinterpret_cast<WPARAM>(&action), 0) == 1;
}

} // namespace platform
