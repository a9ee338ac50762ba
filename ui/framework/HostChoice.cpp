// ui/framework/HostChoice.cpp - the process's host and the scripted answers.
#include "ui/framework/HostChoice.h"

#include "platform/Environment.h"
#include "platform/Terminal.h"
#include "ui/framework/HeadlessHost.h"
#include "ui/framework/TerminalHost.h"
#include "ui/framework/TextUtil.h"
#include "ui/framework/WindowsHost.h"

#include <cstring>
#include <mutex>

namespace uifw {

ScriptedAnswers::ScriptedAnswers(const std::map<std::string, std::string>& answers) {
    for (const auto& [name, value] : answers)
        Set(name, value);
}

ScriptedAnswers ScriptedAnswers::TakeFromEnvironment() {
    ScriptedAnswers answers;
    const size_t prefix = std::strlen(kAnswerPrefix);
    for (const std::string& variable : platform::EnvironmentNames(kAnswerPrefix)) {
        if (std::optional<std::string> value = platform::GetEnvironmentValue(variable))
            answers.Set(variable.substr(prefix), *value);
        platform::RemoveEnvironmentValue(variable);
    }
    return answers;
}

std::optional<std::string> ScriptedAnswers::Get(const std::string& name) const {
    auto it = answers_.find(LowerCase(name));
    if (it == answers_.end())
        return std::nullopt;
    return it->second;
}

void ScriptedAnswers::Set(const std::string& name, const std::string& value) {
    answers_[LowerCase(name)] = value;
}

std::string OptionForAnswer(const std::string& name) {
    const std::string n = LowerCase(name);
    if (n == "password")
        return "--password PASSWORD or --password-file FILE";
    if (n == "yesno")
        return "--yes or --no";
    return "--answer " + n + "=VALUE";
}

HostKind ChooseHostKind(const std::optional<std::string>& setting, const HostFacts& facts) {
    const std::string value = setting ? LowerCase(Trim(*setting)) : std::string();
    if (value == "terminal")
        return HostKind::Terminal;
    if (value == "headless")
        return HostKind::Headless;
    const bool wantsWindows = value == "windows" || facts.windowedProgram;
    if (wantsWindows && facts.canShowWindows && facts.canShowWindows())
        return HostKind::Windows;
    return facts.inputIsTerminal ? HostKind::Terminal : HostKind::Headless;
}

namespace {

// Made on first use and kept while the program runs: dialogs may still be shown while it
// ends (from the destructors of other process-wide objects). A module that is unloaded
// releases it first (ReleaseProcessHost), so that each load does not leave one behind.
struct ChosenHost {
    std::unique_ptr<ITerminal> terminal;
    std::unique_ptr<IDialogHost> host;
};

ChosenHost* MakeChosenHost() {
    auto chosen = new ChosenHost;
    ScriptedAnswers answers = ScriptedAnswers::TakeFromEnvironment();
    HostFacts facts;
    facts.inputIsTerminal = platform::IsTerminal(platform::StandardStream::Input);
    facts.windowedProgram = !platform::IsConsoleProgram();
    facts.canShowWindows = &CWindowsHost::Available;
    const HostKind kind = ChooseHostKind(platform::GetEnvironmentValue(kHostVariable), facts);
    if (kind == HostKind::Windows) {
        // A person answers every window; the scripted answers are not used.
        chosen->host = std::make_unique<CWindowsHost>();
    } else if (kind == HostKind::Terminal) {
        chosen->terminal = SystemTerminal();
        chosen->host = std::make_unique<TerminalHost>(*chosen->terminal, std::move(answers),
                                                      WriteToStandardError);
    } else {
        auto headless = std::make_unique<HeadlessHost>(WriteToStandardError, false);
        // Without a terminal the tables of windows of actions (the revision history) and
        // the read-only lists (a file's watchers and editors) are the dialog's output, for
        // the scripts that run it.
        headless->UseScriptedAnswers(std::move(answers), WriteToStandardError,
                                     WriteToStandardOutput);
        chosen->host = std::move(headless);
    }
    return chosen;
}

std::mutex g_chosenLock;
ChosenHost* g_chosen = nullptr;

} // namespace

IDialogHost& ProcessHost() {
    std::lock_guard<std::mutex> guard(g_chosenLock);
    if (!g_chosen)
        g_chosen = MakeChosenHost();
    return *g_chosen->host;
}

void ReleaseProcessHost() {
    std::lock_guard<std::mutex> guard(g_chosenLock);
    delete g_chosen;
    g_chosen = nullptr;
}

} // namespace uifw
