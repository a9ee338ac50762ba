// scc/CommandOptions.cpp - the advanced-options flag and the remembered options map.
#include "scc/CommandOptions.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Offered {
    std::mutex lock;
    bool offered = false;
    CCVSStringMap* remembered = nullptr;
    // Every map handed out whose context still lives.
    std::vector<CCVSStringMap*> live;
};

Offered& State() {
    static Offered state;
    return state;
}

// The argument as a map handed out earlier, or null. Called with the lock held.
CCVSStringMap* Known(Offered& state, SccCmdOptions argument) {
    auto* map = static_cast<CCVSStringMap*>(argument);
    if (!map || std::find(state.live.begin(), state.live.end(), map) == state.live.end())
        return nullptr;
    return map;
}

} // namespace

void RememberOfferedOptions(CCVSStringMap* options) {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.offered = true;
    state.remembered = options;
    if (options && std::find(state.live.begin(), state.live.end(), options) == state.live.end())
        state.live.push_back(options);
}

void ForgetOfferedOptions(const CCVSStringMap* options) {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.live.erase(std::remove(state.live.begin(), state.live.end(), options), state.live.end());
    if (state.remembered == options)
        state.remembered = nullptr;
}

void ResetOfferedOptions() {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    state.offered = false;
    state.remembered = nullptr;
    state.live.clear();
}

bool AdvancedOptionsOffered() {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.offered;
}

CCVSStringMap* RememberedOptions() {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.remembered;
}

CCVSStringMap& OptionsForGet(CCVSContext& context, SccCmdOptions argument) {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    CCVSStringMap* given = state.offered ? Known(state, argument) : nullptr;
    return given ? *given : context.GetOptions();
}

CCVSStringMap& OptionsForCommand(CCVSContext& context, SccCmdOptions argument) {
    Offered& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (!state.offered)
        return context.GetOptions();
    if (CCVSStringMap* given = Known(state, argument))
        return *given;
    return state.remembered ? *state.remembered : context.GetOptions();
}
