// tests/support/DialogTestSupport.h - what the tests of dialogs share: a place to collect
// the faults a host reports, and a terminal played by the test.
//
// Header only: the tests that use it link the dialog layer themselves.
#pragma once

#include "ui/framework/TerminalHost.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Collects the faults of a host, for tests that expect some.
struct FaultLog {
    std::vector<std::string> seen;
    uifw::FaultSink Sink() {
        return [this](const std::string& m) { seen.push_back(m); };
    }
};

// A terminal whose input the test gives; it keeps what was shown and every prompt
// (marked "(no echo)" when typing was not shown), and the Ctrl-C handler it was given.
class FakeTerminal : public uifw::ITerminal {
public:
    std::deque<std::string> input;
    std::string shown;
    std::vector<std::string> prompts;
    bool errorIsTerminal = true;
    int columns = 80;
    std::function<void()> interrupt;
    int stops = 0;

    bool ReadLine(const std::string& prompt, std::string& line, bool echo) override {
        shown += prompt;
        prompts.push_back(prompt + (echo ? "" : "(no echo)"));
        if (input.empty())
            return false;
        line = input.front();
        input.pop_front();
        shown += (echo ? line : std::string()) + "\n";
        return true;
    }
    void Write(const std::string& text) override { shown += text; }
    bool ErrorIsTerminal() const override { return errorIsTerminal; }
    int Columns() const override { return columns; }
    void WatchInterrupts(std::function<void()> onInterrupt) override {
        interrupt = std::move(onInterrupt);
    }
    void StopWatchingInterrupts() override {
        interrupt = nullptr;
        ++stops;
    }
};

} // namespace testing_support
