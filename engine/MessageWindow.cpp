// engine/MessageWindow.cpp - synchronous delivery of console text on the context's thread.
#include "engine/MessageWindow.h"

#include "engine/CVSContext.h"

CMsgWnd::CMsgWnd(CCVSContext* context) : context_(context) {
    life_->Attach();
    window_.Create(nullptr, kWindowText, kControlId, kAppendTextMessage,
                   [this](const char* text, long kind) {
                       if (context_)
                           context_->DeliverText(text ? text : "", static_cast<int>(kind));
                   });
}

CMsgWnd::~CMsgWnd() {
    life_->Detach();
}

void CMsgWnd::Send(std::string text, int kind) {
    if (window_.Handle()) {
        if (life_->OnOwnerThread()) {
            if (context_)
                context_->DeliverText(std::move(text), kind);
        } else {
            window_.SendText(text.c_str(), kind);
        }
        return;
    }
    RunOnOwnerThread([&] {
        if (context_)
            context_->DeliverText(std::move(text), kind);
    });
}

bool CMsgWnd::RunOnOwnerThread(std::function<void()> action) {
    if (window_.Handle() && !life_->OnOwnerThread())
        return window_.Run(action);
    return life_->SendToOwner(std::move(action));
}

bool CMsgWnd::OnOwnerThread() const {
    return life_->OnOwnerThread();
}
