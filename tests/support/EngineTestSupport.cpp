// tests/support/EngineTestSupport.cpp - the engine's test environment.
#include "tests/support/EngineTestSupport.h"

#include "platform/FileSystem.h"
#include "ui/framework/OwnerThread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace testing_support {
namespace {
OutputPane* g_pane = nullptr;
}

OutputPane::OutputPane() {
    if (g_pane)
        throw std::logic_error("one output pane at a time");
    g_pane = this;
}

OutputPane::~OutputPane() {
    g_pane = nullptr;
}

int32_t OutputPane::TextOut(char* text, int32_t) {
    if (g_pane && text) {
        g_pane->lines_.push_back(text);
        g_pane->threads_.push_back(std::this_thread::get_id());
    }
    return 0;
}

std::thread::id OutputPane::DeliveredBy(const std::string& line) const {
    auto it = std::find(lines_.begin(), lines_.end(), line);
    return it == lines_.end() ? std::thread::id() : threads_[it - lines_.begin()];
}

std::string OutputPane::All() const {
    std::string all;
    for (const std::string& line : lines_)
        all += line + "\n";
    return all;
}

bool OutputPane::Has(const std::string& line) const {
    return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
}

std::vector<std::string> OutputPane::TakeCommands() {
    std::vector<std::string> commands;
    for (size_t i = 1; i < lines_.size(); ++i)
        if (lines_[i - 1].rfind("Current Directory: ", 0) == 0)
            commands.push_back(lines_[i]);
    Clear();
    return commands;
}

EngineEnvironment::EngineEnvironment() : settings_(std::make_unique<CSccSettings>()) {
    SetProcessSettings(settings_.get());
}

EngineEnvironment::~EngineEnvironment() {
    SetProcessSettings(nullptr);
}

std::unique_ptr<CCVSContext> EngineEnvironment::MakeContext() {
    auto context = std::make_unique<CCVSContext>(nullptr);
    context->SetTextOut(&OutputPane::TextOut);
    return context;
}

ServedWorker::ServedWorker(std::function<void()> body)
    : thread_([this, body = std::move(body), joiner = uifw::ThisThreadQueue()] {
          body();
          ended_ = true; // only now: what the body made has gone with it
          joiner->Wake();
      }) {}

ServedWorker::~ServedWorker() {
    if (thread_.joinable())
        Join();
}

void ServedWorker::Join() {
    const auto ended = [this] { return ended_.load(); };
    if (!uifw::ServeUntil(ended, std::chrono::minutes(1))) {
        ADD_FAILURE() << "a worker has not ended within a minute";
        uifw::ServeUntil(ended);
    }
    thread_.join();
}

FakeCvsPlay::FakeCvsPlay() : dir_("fakecvs-play"), play_("FAKECVS_PLAY", dir_.Path()) {}

std::string FakeCvsPlay::File(const std::string& command, const char* kind) const {
    return dir_ / (command + kind);
}

void FakeCvsPlay::Set(const std::string& command, const std::string& output, int exitCode,
                      const std::string& errors) {
    WriteFile(File(command, ".out"), output);
    WriteFile(File(command, ".err"), errors);
    WriteFile(File(command, ".rc"), std::to_string(exitCode));
}

void FakeCvsPlay::Hold(const std::string& command) {
    WriteFile(File(command, ".hold"), "");
}

void FakeCvsPlay::Release(const std::string& command) {
    WriteFile(File(command, ".go"), "");
}

bool FakeCvsPlay::Started(const std::string& command) const {
    return platform::Exists(File(command, ".started"));
}

std::string FakeCvsPlay::Nice(const std::string& command) const {
    return platform::Exists(File(command, ".nice")) ? ReadFile(File(command, ".nice"))
                                                    : std::string();
}

void FakeCvsPlay::Reset(const std::string& command) {
    for (const char* kind : {".hold", ".go", ".started"})
        platform::DeleteFileAt(File(command, kind));
}

} // namespace testing_support
