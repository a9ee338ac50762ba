// engine/DlgStatus.cpp - the progress window.
#include "engine/DlgStatus.h"

#include "engine/CVSContext.h"

#include <atomic>

using namespace uifw;

namespace {

std::atomic<bool> g_noProgressWindow{true};

DialogTemplate StatusTemplate() {
    DialogTemplate t(CDlgStatus::kIdd, "Morvek CVS SCC");
    t.SetSize(250, 96);
    t.Add(ControlKind::Animation, CDlgStatus::kIdcAnimation, "").At(7, 7, 40, 30);
    t.Label("{Activity}", CDlgStatus::kIdcActivity).At(54, 9, 189, 10);
    t.Edit(CDlgStatus::kIdcStatus, kMultiLine | kReadOnly | kVScroll).At(54, 22, 189, 34);
    t.Add(ControlKind::Separator, kIdStatic, "").At(7, 62, 236, 2);
    t.Button(CDlgStatus::kIdcCancel, "Cancel").At(193, 72, 50, 14);
    return t;
}

} // namespace

CDlgStatus::CDlgStatus(CCVSContext* context, platform::WindowHandle owner)
    : CProgressWindowBase(StatusTemplate(), kIdcActivity, kIdcStatus, kIdcCancel),
      context_(context), owner_(owner) {
    g_noProgressWindow = false;
    // Cancel may come from another thread (the terminal's Ctrl-C): asking the command to
    // stop is safe there, touching the window is not.
    SetCancelHook([context] {
        if (context)
            context->Abort();
    });
}

CDlgStatus::~CDlgStatus() {
    g_noProgressWindow = true;
}

bool CDlgStatus::NoProgressWindow() {
    return g_noProgressWindow;
}

bool CDlgStatus::Open() {
    return Create(owner_);
}

bool CDlgStatus::OnInitDialog() {
    CAnimation animation = Animation(kIdcAnimation);
    animation.Open(kIdrAnimation);
    animation.Play(0, 0xFFFF, -1);
    return CProgressWindowBase::OnInitDialog();
}

void CDlgStatus::OnCancelButton() {
    SetActivity("Aborting Operation ...");
    RequestCancel();
    SetActivityField("Working ...");
}

void CDlgStatus::PostDestroy() {
    delete this;
}
