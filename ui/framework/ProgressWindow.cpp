// ui/framework/ProgressWindow.cpp - the progress window's fields and its Cancel.
#include "ui/framework/ProgressWindow.h"

namespace uifw {

CProgressWindowBase::CProgressWindowBase(DialogTemplate dialogTemplate, ControlId activityId,
                                         ControlId statusId, ControlId cancelId)
    : CModelessDialog(std::move(dialogTemplate)), activityId_(activityId), statusId_(statusId),
      cancelId_(cancelId) {}

void CProgressWindowBase::SetActivity(const std::string& text) {
    activity_ = text;
    Refresh();
}

void CProgressWindowBase::SetStatusText(const std::string& text) {
    status_.clear();
    for (char c : text)
        if (c != '\n')
            status_.push_back(c);
    Refresh();
}

void CProgressWindowBase::SetCancelHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> guard(hookLock_);
    hook_ = std::move(hook);
}

void CProgressWindowBase::RequestCancel() {
    cancelRequested_ = true;
    std::lock_guard<std::mutex> guard(hookLock_);
    if (hook_)
        hook_();
}

std::string CProgressWindowBase::SummaryLine() const {
    if (status_.empty())
        return activity_;
    if (activity_.empty())
        return status_;
    return activity_ + "  " + status_;
}

void CProgressWindowBase::Refresh() {
    if (!IsRealised() || !IsWindowVisible())
        return;
    Control(activityId_).SetText(activity_);
    Control(statusId_).SetText(status_);
    Window()->Redraw();
}

bool CProgressWindowBase::OnInitDialog() {
    Control(activityId_).SetText(activity_);
    Control(statusId_).SetText(status_);
    CenterWindow(true);
    ShowWindow(true);
    Refresh();
    return true;
}

void CProgressWindowBase::OnClicked(ControlId id) {
    // Escape arrives as kIdCancel whatever the button's own id (also when the status box takes
    // the key and asks the window to close): it means the one thing this window offers. Enter
    // without a button to press arrives as kIdOk and does nothing, as a stray Enter must not
    // stop a long command; Enter on the focused Cancel arrives as that button's click.
    if (id == cancelId_ || id == kIdCancel)
        OnCancelButton();
}

void CProgressWindowBase::OnCancelButton() {
    RequestCancel();
}

} // namespace uifw
