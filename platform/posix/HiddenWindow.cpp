// platform/posix/HiddenWindow.cpp - no windows on POSIX: nothing is ever made.
#include "platform/HiddenWindow.h"

namespace platform {

struct CHiddenWindow::State {};

CHiddenWindow::CHiddenWindow() = default;
CHiddenWindow::~CHiddenWindow() = default;

bool CHiddenWindow::Create(WindowHandle, const char*, int, unsigned, TextHandler) {
    return false;
}
WindowHandle CHiddenWindow::Handle() const {
    return nullptr;
}
bool CHiddenWindow::IsMessageOnly() const {
    return false;
}
bool CHiddenWindow::SendText(const char*, long) const {
    return false;
}
bool CHiddenWindow::Run(const std::function<void()>&) const {
    return false;
}

} // namespace platform
