// tests/e2e/ProviderHost.cpp - the test host of the built provider.
#include "tests/e2e/ProviderHost.h"

#include "platform/FileSystem.h"
#include "settings/RegistryEx.h"
#include "settings/SccSettings.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"

namespace e2e {

SccLong HostPane::TextOut(char* text, SccLong) {
    Lines().push_back(text ? text : "");
    if (OnText())
        OnText()(Lines().back());
    return 0;
}

std::function<void(const std::string&)>& HostPane::OnText() {
    static std::function<void(const std::string&)> hook;
    return hook;
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
    checkin = provider.Get<CheckoutFn>("SccCheckin");
    add = provider.Get<AddFn>("SccAdd");
    remove = provider.Get<CheckoutFn>("SccRemove");
    rename = provider.Get<RenameFn>("SccRename");
    return initialize && uninitialize && openProject && get && checkout && uncheckout && checkin &&
           add && remove && rename;
}

std::string WorkingCopyRoot(const std::string& folder) {
    const std::string sep(1, testing_support::Sep());
    std::string root = testing_support::ReadFile(folder + sep + "CVS" + sep + "Root");
    while (!root.empty() && (root.back() == '\n' || root.back() == '\r'))
        root.pop_back();
    return root;
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

void WorkingCopyTest::SetUp() {
    RepositoryByMethod::SetUp();
    if (!IsSkipped())
        work_ = NewCopy("work");
}

std::string WorkingCopyTest::NewCopy(const std::string& name) {
    const std::string folder = sandbox_.Folder(name);
    platform::RemoveEmptyFolder(folder);
    std::string error;
    EXPECT_TRUE(repo_.Checkout(root_, folder, &error)) << error;
    return folder;
}

std::string WorkingCopyTest::File(const std::string& relative, const std::string& copy) const {
    std::string path = copy.empty() ? work_ : copy;
    for (char c : "/" + relative)
        path += c == '/' ? testing_support::Sep() : c;
    return path;
}

void WorkingCopyTest::TheyCommit(const std::string& relative, const std::string& content,
                                 bool add) {
    const std::string theirs = NewCopy("theirs" + std::to_string(++copies_));
    const std::string file = File(relative, theirs);
    testing_support::WriteFile(file, content);
    const std::string folder = file.substr(0, file.find_last_of(testing_support::Sep()));
    const std::string name = relative.substr(relative.find_last_of('/') + 1);
    if (add) {
        ASSERT_EQ(repo_.Cvs({"add", name}, folder).status, 0);
    }
    auto r = repo_.Cvs({"commit", "-m", "theirs", name}, folder);
    ASSERT_EQ(r.status, 0) << r.err;
}

} // namespace e2e
