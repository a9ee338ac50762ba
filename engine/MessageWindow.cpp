// engine/MessageWindow.cpp - synchronous delivery of console text on the context's thread.
#include "engine/MessageWindow.h"

#include "engine/CVSContext.h"

CMsgWnd::CMsgWnd(CCVSContext* context) : context_(context) {
    life_->Attach();
}

CMsgWnd::~CMsgWnd() {
    life_->Detach();
}

void CMsgWnd::Send(std::string text, int kind) {
    RunOnOwnerThread([&] {
        if (context_)
            context_->DeliverText(std::move(text), kind);
    });
}

bool CMsgWnd::RunOnOwnerThread(std::function<void()> action) {
    return life_->SendToOwner(std::move(action));
}

bool CMsgWnd::OnOwnerThread() const {
    return life_->OnOwnerThread();
}
