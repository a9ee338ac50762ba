// tests/e2e/IdeSession.h - the provider loaded by path and called as an IDE calls it: one
// load with one context, the IDE's output pane, and a fixture per repository method with the
// provider's call trace on.
#pragma once

#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "settings/RegistryEx.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TraceBlocks.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// The IDE's output pane: every text the provider sends, and what the test does on one.
inline std::vector<std::string> g_pane;
inline std::function<void(const std::string&)> g_onText;
inline SccLong PaneTextOut(char* text, SccLong) {
    g_pane.push_back(text ? text : "");
    if (g_onText)
        g_onText(g_pane.back());
    return 0;
}

// Scripted answers by prompt name (HostChoice.h).
using Answers = std::map<std::string, std::string>;

// One load of the provider with one context, as an IDE holds it while a solution is open.
// The scripted answers are in the environment while the provider loads, which takes them.
class IdeSession {
public:
    explicit IdeSession(const Answers& answers) {
        std::vector<std::unique_ptr<testing_support::ScopedEnv>> env;
        env.push_back(std::make_unique<testing_support::ScopedEnv>("MORVEK_UI_HOST", "headless"));
        for (const auto& [name, value] : answers)
            env.push_back(
                std::make_unique<testing_support::ScopedEnv>("MORVEK_ANSWER_" + name, value));
        provider_ = std::make_unique<LoadedProvider>();
        if (!provider_->Ok())
            return;
        char name[SCC_NAME_SIZE] = "", label[SCC_AUXLABEL_SIZE] = "";
        SccLong caps = 0, coLength = 0, length = 0;
        provider_->Get<decltype(&SccInitialize)>("SccInitialize")(&context_, nullptr, "IDE", name,
                                                                  &caps, label, &coLength, &length);
    }
    ~IdeSession() { Uninitialize(); }
    IdeSession(const IdeSession&) = delete;
    IdeSession& operator=(const IdeSession&) = delete;

    bool Ok() const { return context_ != nullptr; }
    std::string Problem() const { return provider_->Ok() ? "no context" : provider_->Error(); }
    void* Context() const { return context_; }
    // An export of the loaded provider, by the type of its declaration.
    template <typename Fn> Fn Get(const char* name) { return provider_->Get<Fn>(name); }

    SCCRTN Open(const std::string& project, const std::string& local, char* aux, SccLong flags,
                const char* comment = "") {
        char user[SCC_USER_SIZE] = "";
        char name[SCC_PRJPATH_SIZE];
        std::snprintf(name, sizeof name, "%s", project.c_str());
        return Get<decltype(&SccOpenProject)>("SccOpenProject")(
            context_, nullptr, user, name, local.c_str(), aux, comment, PaneTextOut, flags);
    }
    SCCRTN GetProjPath(char* user, char* project, char* local, char* aux, SccBool* isNew) {
        return Get<decltype(&SccGetProjPath)>("SccGetProjPath")(context_, nullptr, user, project,
                                                                local, aux, 0, isNew);
    }
    SCCRTN Close() { return Get<decltype(&SccCloseProject)>("SccCloseProject")(context_); }
    void Uninitialize() {
        if (context_)
            Get<decltype(&SccUninitialize)>("SccUninitialize")(context_);
        context_ = nullptr;
    }

private:
    std::unique_ptr<LoadedProvider> provider_;
    void* context_ = nullptr;
};

// A repository by each method, the call trace on, and a fixed clock, so that the trace of the
// provider loaded now has a known name.
class IdeByMethod : public RepositoryByMethod {
protected:
    void SetUp() override {
        RepositoryByMethod::SetUp();
        if (IsSkipped())
            return;
        CRegistryEx r("Morvek", "VODORO", false);
        r.OpenSection("SETTINGS");
        r.ExchangeDefaultFlag("TRACELOG", true);
        g_pane.clear();
    }
    void TearDown() override {
        g_onText = nullptr;
        platform::SetCurrentFolder(testing_support::BinDir());
    }
    // The trace of the provider loaded now (named after the test's clock).
    std::string Trace() const {
        return testing_support::ReadFile(user_.AppDataFolder() + testing_support::Sep() + "Morvek" +
                                         testing_support::Sep() + "Trace220826T123538.log");
    }

    testing_support::ScopedEnv clock_{"MORVEK_TEST_CLOCK", "2022-08-26T12:35:38"};
};

// The same with a working copy of the module (work_), which an IDE opens as its project.
class IdeOnWorkingCopy : public IdeByMethod {
protected:
    void SetUp() override {
        IdeByMethod::SetUp();
        if (IsSkipped())
            return;
        work_ = Folder("wc");
        platform::RemoveEmptyFolder(work_);
        std::string error;
        ASSERT_TRUE(repo_.Checkout(root_, work_, &error)) << error;
    }
    // A path below the working copy, the relative part written with "/".
    std::string File(const std::string& relative) const {
        std::string path = work_;
        for (char c : "/" + relative)
            path += c == '/' ? testing_support::Sep() : c;
        return path;
    }
    // The session opened on the working copy, as an IDE opens its solution's project.
    void Open(IdeSession& ide) {
        ASSERT_TRUE(ide.Ok()) << ide.Problem();
        char aux[SCC_AUXPATH_SIZE] = "";
        std::snprintf(aux, sizeof aux, "%s", root_.c_str());
        ASSERT_EQ(ide.Open("mod", work_, aux, 0), SCC_OK);
    }
    // The trace from the first block of the export named on, once the session has ended.
    std::string TraceFrom(const std::string& name) const {
        const std::string text = Trace();
        const std::string::size_type at = text.find(trace_test::kBanner + name + "\n");
        return at == std::string::npos ? text : text.substr(at);
    }

    std::string work_;
};

} // namespace e2e
