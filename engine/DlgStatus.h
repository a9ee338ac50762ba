// engine/DlgStatus.h - the progress window: the activity, the command line being run, an
// animation, and Cancel.
//
// At most one exists in the process; while it does, other contexts run without one. It
// lives on the heap and deletes itself when its window is destroyed.
#pragma once

#include "platform/Types.h"
#include "ui/framework/ProgressWindow.h"

class CCVSContext;

class CDlgStatus : public uifw::CProgressWindowBase {
public:
    static constexpr int kIdd = 10036;
    static constexpr uifw::ControlId kIdcActivity = 10049;
    static constexpr uifw::ControlId kIdcStatus = 10050;
    static constexpr uifw::ControlId kIdcAnimation = 10052;
    static constexpr uifw::ControlId kIdcCancel = 10053;
    static constexpr int kIdrAnimation = 10039;

    CDlgStatus(CCVSContext* context, platform::WindowHandle owner);
    ~CDlgStatus() override;

    // Creates the window (modeless) over its owner; false when the host cannot.
    bool Open();
    platform::WindowHandle Owner() const { return owner_; }

    // True while no progress window exists in the process.
    static bool NoProgressWindow();

protected:
    bool OnInitDialog() override;
    void OnCancelButton() override;
    void PostDestroy() override;

private:
    [[maybe_unused]] CCVSContext* context_;
    platform::WindowHandle owner_;
};
