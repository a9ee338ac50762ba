// tests/e2e/ProviderHost.cpp - the test host of the built provider.
#include "tests/e2e/ProviderHost.h"

#include "settings/RegistryEx.h"
#include "settings/SccSettings.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"

namespace e2e {

std::string InBin(const std::string& name) {
    return testing_support::BinDir() + testing_support::Sep() + name;
}

LoadedProvider::LoadedProvider() {
    module_ =
        platform::OpenLibrary(InBin(platform::LibraryFileName("MorvekCVS")), nullptr, &error_);
}

void LoadedProvider::Unload() {
    platform::CloseLibrary(module_);
    module_ = nullptr;
}

SccLong HostPane::TextOut(char* text, SccLong) {
    Lines().push_back(text ? text : "");
    return 0;
}

std::vector<std::string>& HostPane::Lines() {
    static std::vector<std::string> lines;
    return lines;
}

std::string HostPane::All() {
    std::string all;
    for (const std::string& line : Lines())
        all += line + "\n";
    return all;
}

std::vector<std::string> HostPane::TakeCommands() {
    std::vector<std::string> commands;
    const std::vector<std::string>& lines = Lines();
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i - 1].rfind("Current Directory: ", 0) == 0)
            commands.push_back(lines[i]);
    Clear();
    return commands;
}

bool Exports::Resolve(LoadedProvider& provider) {
    initialize = provider.Get<InitializeFn>("SccInitialize");
    uninitialize = provider.Get<UninitializeFn>("SccUninitialize");
    openProject = provider.Get<OpenProjectFn>("SccOpenProject");
    get = provider.Get<GetFn>("SccGet");
    checkout = provider.Get<CheckoutFn>("SccCheckout");
    uncheckout = provider.Get<UncheckoutFn>("SccUncheckout");
    return initialize && uninitialize && openProject && get && checkout && uncheckout;
}

void StoreUserSettings(const UserSettings& wanted) {
    {
        // The first load for the user writes the first-run values; these replace some.
        CSccSettings settings;
        settings.SetIndependentMode(wanted.independentMode);
        settings.SetWarnOnEdit(false);
        settings.SetUseComments(wanted.useComments);
        settings.SetAutoCommit(wanted.autoCommit);
        settings.SetCvsExePath(wanted.cvsExePath.empty() ? testing_support::CvsProgram()
                                                         : wanted.cvsExePath);
    }
    CRegistryEx registry(CSccSettings::kCompany, CSccSettings::kProduct, false);
    registry.OpenSection("SETTINGS");
    registry.ExchangeDefaultFlag("TRACELOG", wanted.traceLog);
}

TraceReader::TraceReader(const std::string& appDataFolder)
    : path_(appDataFolder + testing_support::Sep() + "Morvek" + testing_support::Sep() +
            "Trace220826T123538.log") {}

std::string TraceReader::Take() {
    const std::string all = testing_support::ReadFile(path_);
    const std::string fresh = all.size() > seen_ ? all.substr(seen_) : std::string();
    seen_ = all.size();
    return fresh;
}

} // namespace e2e
