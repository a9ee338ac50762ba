// platform/win32/Threads.cpp - threads made with CREATE_SUSPENDED.
#include "platform/Threads.h"

#include "platform/win32/Win32.h"

namespace platform {

struct CThread::State {
    std::function<void()> body;
    HANDLE handle = nullptr;
    bool resumed = false;
};

namespace {
DWORD WINAPI Trampoline(LPVOID argument) {
    auto* state = static_cast<CThread::State*>(argument);
    if (state->resumed)
        state->body();
    return 0;
}
} // namespace

CThread::CThread() = default;

CThread::~CThread() {
    if (!state_ || !state_->handle)
        return;
    if (!state_->resumed) {
        // Resumed with nothing to run: its body is skipped and the thread ends at once.
        ::ResumeThread(state_->handle);
    }
    ::WaitForSingleObject(state_->handle, INFINITE);
    ::CloseHandle(state_->handle);
}

bool CThread::CreateSuspended(std::function<void()> body) {
    if (state_)
        return false;
    auto state = std::make_unique<State>();
    state->body = std::move(body);
    state->handle = ::CreateThread(nullptr, 0, Trampoline, state.get(), CREATE_SUSPENDED, nullptr);
    if (!state->handle)
        return false;
    state_ = std::move(state);
    return true;
}

bool CThread::SetLowestPriority() {
    return state_ && !state_->resumed &&
           ::SetThreadPriority(state_->handle, THREAD_PRIORITY_LOWEST) != 0;
}

void CThread::Resume() {
    if (!state_ || state_->resumed)
        return;
    // Written before the thread first runs: ResumeThread orders it.
    state_->resumed = true;
    ::ResumeThread(state_->handle);
}

bool CThread::Wait(int timeoutMs) {
    if (!state_)
        return true;
    return ::WaitForSingleObject(state_->handle,
                                 timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs)) ==
           WAIT_OBJECT_0;
}

bool CThread::Created() const {
    return state_ != nullptr;
}

bool IsLowestPriorityThread() {
    return ::GetThreadPriority(::GetCurrentThread()) == THREAD_PRIORITY_LOWEST;
}

struct CThreadSlot::Key {
    DWORD index = FLS_OUT_OF_INDEXES;
};

// The fibre-local slot's callback runs when a thread ends (and for every value set when the
// slot is freed, which the owner's cleanup must bear).
CThreadSlot::CThreadSlot(void (*cleanup)(void*)) : key_(std::make_unique<Key>()) {
    key_->index = ::FlsAlloc(reinterpret_cast<PFLS_CALLBACK_FUNCTION>(cleanup));
}

CThreadSlot::~CThreadSlot() {
    if (key_->index != FLS_OUT_OF_INDEXES)
        ::FlsFree(key_->index);
}

void* CThreadSlot::Get() const {
    return key_->index != FLS_OUT_OF_INDEXES ? ::FlsGetValue(key_->index) : nullptr;
}

bool CThreadSlot::Set(void* value) {
    return key_->index != FLS_OUT_OF_INDEXES && ::FlsSetValue(key_->index, value);
}

} // namespace platform
