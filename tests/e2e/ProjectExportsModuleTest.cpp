// The lifecycle and project exports through the provider loaded by path, called as an IDE
// calls them, against a local repository, :fork: and a pserver: a new project imported and
// bound, a working folder opened with no repository given, a plain folder refused, a
// sub-module proposed, and their trace blocks byte for byte. Dialogs are answered by the
// scripted answers the provider takes from the environment when it loads.
#include "platform/FileSystem.h"
#include "scc/Exports.h"
#include "settings/RegistryEx.h"
#include "settings/SccSettings.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TraceBlocks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>

namespace {

using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::Sep;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using trace_test::Hex;
using trace_test::InitializeBlock;
using trace_test::kBanner;
using trace_test::kUninitializeBlock;

// The IDE's output pane: every text the provider sends, and what the test does on one.
std::vector<std::string> g_pane;
std::function<void(const std::string&)> g_onText;
SccLong PaneTextOut(char* text, SccLong) {
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
        std::vector<std::unique_ptr<ScopedEnv>> env;
        env.push_back(std::make_unique<ScopedEnv>("MORVEK_UI_HOST", "headless"));
        for (const auto& [name, value] : answers)
            env.push_back(std::make_unique<ScopedEnv>("MORVEK_ANSWER_" + name, value));
        provider_ = std::make_unique<e2e::LoadedProvider>();
        if (!provider_->Ok())
            return;
        char name[SCC_NAME_SIZE] = "", label[SCC_AUXLABEL_SIZE] = "";
        SccLong caps = 0, coLength = 0, length = 0;
        provider_->Get<decltype(&SccInitialize)>("SccInitialize")(&context_, nullptr, "IDE", name,
                                                                  &caps, label, &coLength, &length);
    }
    ~IdeSession() { Uninitialize(); }

    bool Ok() const { return context_ != nullptr; }
    std::string Problem() const { return provider_->Ok() ? "no context" : provider_->Error(); }
    void* Context() const { return context_; }

    SCCRTN Open(const std::string& project, const std::string& local, char* aux, SccLong flags,
                const char* comment = "") {
        char user[SCC_USER_SIZE] = "";
        char name[SCC_PRJPATH_SIZE];
        std::snprintf(name, sizeof name, "%s", project.c_str());
        return provider_->Get<decltype(&SccOpenProject)>("SccOpenProject")(
            context_, nullptr, user, name, local.c_str(), aux, comment, PaneTextOut, flags);
    }
    SCCRTN GetProjPath(char* user, char* project, char* local, char* aux, SccBool* isNew) {
        return provider_->Get<decltype(&SccGetProjPath)>("SccGetProjPath")(
            context_, nullptr, user, project, local, aux, 0, isNew);
    }
    SCCRTN Close() {
        return provider_->Get<decltype(&SccCloseProject)>("SccCloseProject")(context_);
    }
    void Uninitialize() {
        if (context_)
            provider_->Get<decltype(&SccUninitialize)>("SccUninitialize")(context_);
        context_ = nullptr;
    }

private:
    std::unique_ptr<e2e::LoadedProvider> provider_;
    void* context_ = nullptr;
};

// The trace blocks of the exports, as the provider writes them.
std::string OpenBlock(const std::string& project, const std::string& local, const std::string& aux,
                      const std::string& comment, SccLong flags, const std::string& result) {
    return kBanner + "SccOpenProject\n" + kBanner +
           "INPUT: \n"
           "user         ''\n"
           "project      '" +
           project + "'\nlocal_proj   '" + local + "'\naux_proj     '" + aux + "'\ncomment      '" +
           comment + "'\noutproc      " + Hex(reinterpret_cast<void*>(&PaneTextOut)) +
           "\nflags        " + Hex(static_cast<uint32_t>(flags)) + "\n" +
           (flags & SCC_OP_CREATEIFNEW ? "SCC_OP_CREATEIFNEW\n" : "") +
           "OUTPUT:\nRESULT: " + result + "\n";
}
std::string ProjPathLines(const std::string& user, const std::string& project,
                          const std::string& local, const std::string& aux) {
    return "user          '" + user + "'\nproj_name     '" + project + "'\nlocal_path    '" +
           local + "'\naux_proj      '" + aux +
           "'\nallow_change  00000000\nnew           00000000\n";
}
const std::string kCloseBlock =
    kBanner + "SccCloseProject\n" + kBanner + "RESULT: 00000000 (SCC_OK)\n";

class ProjectExportsModule : public e2e::RepositoryByMethod {
protected:
    void SetUp() override {
        RepositoryByMethod::SetUp();
        if (IsSkipped())
            return;
        {
            CSccSettings settings;
            settings.SetCvsExePath(testing_support::CvsProgram());
            settings.SetVendorName("Ann Smith");
        }
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
        return ReadFile(user_.AppDataFolder() + Sep() + "Morvek" + Sep() +
                        "Trace220826T123538.log");
    }

    ScopedEnv clock_{"MORVEK_TEST_CLOCK", "2022-08-26T12:35:38"};
};

INSTANTIATE_TEST_SUITE_P(Methods, ProjectExportsModule,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

TEST_P(ProjectExportsModule, ANewProjectIsImportedAndBound) {
    const std::string bytes("int main(void) { return 0; }\r\n\0\xff", 33);
    // The repository given with the project, or chosen in the connect dialog.
    const struct {
        const char* project;
        bool given;
    } ways[] = {{"given", true}, {"chosen", false}};
    for (const auto& way : ways) {
        SCOPED_TRACE(way.project);
        const std::string folder = Folder(way.project);
        WriteFile(folder + Sep() + "main.c", bytes);
        Answers answers;
        if (!way.given)
            answers["CVSROOT"] = root_;
        IdeSession ide(answers);
        ASSERT_TRUE(ide.Ok()) << ide.Problem();
        char aux[SCC_AUXPATH_SIZE] = "";
        if (way.given)
            std::snprintf(aux, sizeof aux, "%s", root_.c_str());
        EXPECT_EQ(ide.Open(way.project, folder, aux, SCC_OP_CREATEIFNEW, "first import"), SCC_OK);
        EXPECT_STREQ(aux, root_.c_str());
        EXPECT_EQ(ReadFile(folder + Sep() + "CVS" + Sep() + "Repository"),
                  std::string(way.project) + "\n");
        EXPECT_EQ(ReadFile(folder + Sep() + "main.c"), bytes);
        // The module is made empty: the IDE adds the project's files itself afterwards.
        EXPECT_THAT(TopListing(), HasSubstr(std::string("D/") + way.project + "////"));
        EXPECT_EQ(ReadFile(folder + Sep() + "CVS" + Sep() + "Entries"), "D\n");
        EXPECT_EQ(ide.Close(), SCC_OK);
        const void* context = ide.Context();
        ide.Uninitialize();
        EXPECT_EQ(Trace(), InitializeBlock("IDE", context) +
                               OpenBlock(way.project, folder, way.given ? root_ : "",
                                         "first import", SCC_OP_CREATEIFNEW, "00000000 (SCC_OK)") +
                               kCloseBlock + kUninitializeBlock);
    }
}

TEST_P(ProjectExportsModule, AWorkingFolderOpensWithItsRootAndAPlainFolderIsRefused) {
    const std::string wc = Folder("wc");
    platform::RemoveEmptyFolder(wc);
    ASSERT_TRUE(repo_.Checkout(root_, wc));
    const std::string plain = Folder("plain");
    const std::string missing = plain + Sep() + "missing";
    const std::string inner = wc + Sep() + "p";
    ASSERT_TRUE(platform::MakeFolder(inner));
    IdeSession ide(Answers{{"CONNECT", "cancel"}});
    ASSERT_TRUE(ide.Ok()) << ide.Problem();

    // The IDE knows the working folder, not its repository: the provider fills it in.
    char aux[SCC_AUXPATH_SIZE] = "";
    EXPECT_EQ(ide.Open("mod", wc, aux, 0), SCC_OK);
    EXPECT_STREQ(aux, root_.c_str());
    EXPECT_THAT(g_pane,
                testing::ElementsAre("Opening Project ...", "Project Information ...",
                                     "CVSROOT...: " + root_, "CVS PATH..: mod", "LOCAL PATH: " + wc,
                                     "CVS EXE...: " + testing_support::CvsProgram()));
    g_pane.clear();

    // A folder that is no working folder, with no repository named, is not the IDE's to bind
    // without asking: nothing is made, not even a missing folder.
    for (const std::string& local : {plain, missing}) {
        char none[SCC_AUXPATH_SIZE] = "";
        EXPECT_EQ(ide.Open("proj", local, none, 0), SCC_E_UNKNOWNPROJECT) << local;
        EXPECT_THAT(g_pane, testing::ElementsAre("Opening Project ...",
                                                 "Missing project source control information"));
        g_pane.clear();
    }
    std::vector<platform::DirEntry> entries;
    ASSERT_TRUE(platform::ListFolder(plain, entries));
    EXPECT_TRUE(entries.empty());

    // A new project in a folder of the working copy is proposed as a module below mod.
    char user[SCC_USER_SIZE] = "", project[SCC_PRJPATH_SIZE] = "p";
    char local[SCC_PRJPATH_SIZE], proposed[SCC_AUXPATH_SIZE] = "";
    std::snprintf(local, sizeof local, "%s", inner.c_str());
    SccBool isNew = 0;
    EXPECT_EQ(ide.GetProjPath(user, project, local, proposed, &isNew), SCC_I_OPERATIONCANCELED);
    EXPECT_STREQ(project, "mod/p");
    EXPECT_STREQ(proposed, root_.c_str());
    EXPECT_STREQ(user, "Ann Smith");
    EXPECT_FALSE(platform::Exists(inner + Sep() + "CVS"));

    const void* context = ide.Context();
    ide.Uninitialize();
    EXPECT_EQ(
        Trace(),
        InitializeBlock("IDE", context) + OpenBlock("mod", wc, "", "", 0, "00000000 (SCC_OK)") +
            OpenBlock("proj", plain, "", "", 0, "fffffffe (SCC_E_UNKNOWNPROJECT)") +
            OpenBlock("proj", missing, "", "", 0, "fffffffe (SCC_E_UNKNOWNPROJECT)") + kBanner +
            "SccGetProjPath\n" + kBanner + "INPUT:\n" + ProjPathLines("", "p", inner, "") +
            "OUTPUT:\n" + ProjPathLines("Ann Smith", "mod/p", inner, root_) +
            "RESULT: 00000002 (SCC_I_OPERATIONCANCELED)\n" + kUninitializeBlock);
}

// The connection test of the dialog that a new project's connection shows runs a controller
// of its own. When it has ended, the connection's own commands must still be able to log in.
class ConnectionAfterTheConnectionTest : public ProjectExportsModule {};
INSTANTIATE_TEST_SUITE_P(Methods, ConnectionAfterTheConnectionTest,
                         testing::Values(Method::Pserver),
                         [](const testing::TestParamInfo<Method>& info) {
                             return testing_support::CvsMethodName(info.param);
                         });

TEST_P(ConnectionAfterTheConnectionTest, StillLogsIn) {
    WriteFile(sandbox_.PassFile(), ""); // logged out
    const std::string folder = Folder("mod");
    // The login of the connection test is forgotten (as a logout in another window forgets
    // it) once the dialog has closed, so that the connection's first command, the second
    // test of a module, has to log in again.
    const std::string passFile = sandbox_.PassFile();
    int tests = 0;
    g_onText = [passFile, &tests](const std::string& text) {
        if (text == "Testing module ..." && ++tests == 2)
            WriteFile(passFile, "");
    };
    IdeSession ide(
        Answers{{"CVSROOT", root_}, {"VERIFY", "yes"}, {"PASSWORD", server_->Password()}});
    ASSERT_TRUE(ide.Ok()) << ide.Problem();
    char aux[SCC_AUXPATH_SIZE] = "";
    EXPECT_EQ(ide.Open("mod", folder, aux, SCC_OP_CREATEIFNEW), SCC_OK);
    EXPECT_STREQ(aux, root_.c_str());
    EXPECT_EQ(std::count(g_pane.begin(), g_pane.end(), "Logging in ..."), 2)
        << "the connection test's login and the connection's own";
    EXPECT_EQ(ReadFile(folder + Sep() + "CVS" + Sep() + "Repository"), "mod\n");
    EXPECT_TRUE(platform::Exists(folder + Sep() + "a.txt"));
    EXPECT_THAT(ReadFile(passFile), HasSubstr(server_->User() + "@127.0.0.1:"));
    EXPECT_EQ(tests, 2);
}

} // namespace
