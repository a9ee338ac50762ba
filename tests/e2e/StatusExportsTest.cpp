// The status exports of the loaded provider against real repositories (local, :fork: and a
// pserver): the status of a checkout's files, the fetch of a folder missing on disk, the
// listing of folders for a command, and their trace blocks byte for byte; then what a status
// query leaves of the folders cvs checks out under another name.
#include "platform/FileSystem.h"
#include "scc/SccApi.h"
#include "settings/RegistryEx.h"
#include "settings/SccSettings.h"
#include "tests/e2e/BuildProducts.h"
#include "tests/e2e/RepositoryByMethod.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TraceBlocks.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using testing_support::ReadFile;
using testing_support::Sep;
using testing_support::WriteFile;
using Method = testing_support::CvsMethod;
using trace_test::Hex;
using trace_test::kBanner;

std::vector<std::string>& PaneLines() {
    static std::vector<std::string> lines;
    return lines;
}
SccLong TextOut(char* text, SccLong) {
    PaneLines().push_back(text);
    return 0;
}

struct Listed {
    SccLong status;
    std::string name;
    bool operator==(const Listed& o) const { return status == o.status && name == o.name; }
};
std::ostream& operator<<(std::ostream& out, const Listed& l) {
    return out << l.name << " " << std::hex << l.status << std::dec;
}
SccBool Collect(void* data, SccBool, SccLong status, char* name) {
    static_cast<std::vector<Listed>*>(data)->push_back({status, name});
    return 1;
}

using QueryInfoFn = SCCRTN (*)(void*, SccLong, const char**, SccLong*);
using PopulateListFn = SCCRTN (*)(void*, SccLong, SccLong, const char**, POPLISTFUNC, void*,
                                  SccLong*, SccLong);

// A checkout of the fixture's module opened as the project of a host's context.
class StatusThroughExports : public e2e::RepositoryByMethod {
protected:
    void SetUp() override {
        RepositoryByMethod::SetUp();
        if (!IsSkipped())
            Open();
    }
    void Open() {
        work_ = sandbox_.Folder("work") + Sep() + "wc";
        ASSERT_TRUE(repo_.Checkout(root_, work_));
        {
            CSccSettings settings;
            settings.SetCvsExePath(testing_support::CvsProgram());
            settings.SetHideStatusUI(true);
        }
        {
            CRegistryEx r("Morvek", "VODORO", false);
            r.OpenSection("SETTINGS");
            r.ExchangeDefaultFlag("TRACELOG", true);
        }
        provider_ = std::make_unique<e2e::LoadedProvider>();
        ASSERT_TRUE(provider_->Ok()) << provider_->Error();
        queryInfo_ = provider_->Get<QueryInfoFn>("SccQueryInfo");
        populateList_ = provider_->Get<PopulateListFn>("SccPopulateList");
        ASSERT_NE(queryInfo_, nullptr);
        ASSERT_NE(populateList_, nullptr);
        // The project's repository is the one the folder names (under Wine, the CVS/Root
        // the Linux cvs wrote): the host passes none, and the provider takes the folder's.
        char name[32], label[32], project[301] = "mod", aux[301] = "";
        SccLong caps, coLength, length;
        ASSERT_EQ(provider_->Get<SCCRTN (*)(void**, void*, const char*, char*, SccLong*, char*,
                                            SccLong*, SccLong*)>("SccInitialize")(
                      &context_, nullptr, "test", name, &caps, label, &coLength, &length),
                  SCC_OK);
        ASSERT_EQ(provider_->Get<SCCRTN (*)(void*, void*, char*, char*, const char*, char*,
                                            const char*, LPTEXTOUTPROC, SccLong)>("SccOpenProject")(
                      context_, nullptr, nullptr, project, work_.c_str(), aux, "", &TextOut, 0),
                  SCC_OK);
        PaneLines().clear();
    }
    void TearDown() override {
        if (context_)
            provider_->Get<SCCRTN (*)(void*)>("SccUninitialize")(context_);
        provider_.reset();
        PaneLines().clear();
    }

    std::string In(const std::string& relative) const {
        std::string path = work_ + Sep() + relative;
        for (char& c : path)
            if (c == '/')
                c = Sep();
        return path;
    }
    // The trace from the last block of the export on.
    std::string LastBlock(const std::string& name) const {
        const std::string trace =
            ReadFile(user_.AppDataFolder() + Sep() + "Morvek" + Sep() + "Trace220826T123538.log");
        const std::string::size_type at = trace.rfind(kBanner + name + "\n" + kBanner);
        return at == std::string::npos ? trace : trace.substr(at);
    }
    std::vector<SccLong> Query(const std::vector<std::string>& files) {
        std::vector<const char*> names;
        for (const std::string& f : files)
            names.push_back(f.c_str());
        std::vector<SccLong> status(files.size(), 0);
        EXPECT_EQ(
            queryInfo_(context_, static_cast<SccLong>(files.size()), names.data(), status.data()),
            SCC_OK);
        return status;
    }
    std::vector<Listed> ListFolder(SccLong command, const std::string& folder) {
        std::vector<Listed> listed;
        const char* names[] = {folder.c_str()};
        EXPECT_EQ(
            populateList_(context_, command, 1, names, &Collect, &listed, nullptr, SCC_PL_DIR),
            SCC_OK);
        return listed;
    }
    // The cvs command lines the provider echoed.
    static std::vector<std::string> Commands() {
        std::vector<std::string> commands;
        for (const std::string& line : PaneLines())
            if (line.rfind("cvs ", 0) == 0 && line.find(": ") == std::string::npos)
                commands.push_back(line);
        return commands;
    }
    static std::string FirstLine(const std::string& text) {
        return text.substr(0, text.find_first_of("\r\n"));
    }
    bool PaneHas(const std::string& text) const {
        for (const std::string& line : PaneLines())
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    testing_support::ScopedEnv clock_{"MORVEK_TEST_CLOCK", "2022-08-26T12:35:38"};
    testing_support::ScopedEnv host_{"MORVEK_UI_HOST", "headless"};
    std::unique_ptr<e2e::LoadedProvider> provider_;
    QueryInfoFn queryInfo_ = nullptr;
    PopulateListFn populateList_ = nullptr;
    void* context_ = nullptr;
    std::string work_;
};

using StatusAgainstRepositories = StatusThroughExports;
INSTANTIATE_TEST_SUITE_P(Methods, StatusAgainstRepositories,
                         testing::Values(Method::Local, Method::Fork, Method::Pserver),
                         e2e::MethodName);

TEST_P(StatusAgainstRepositories, QueryInfoOfACheckout) {
    WriteFile(In("a.txt"), "edited\n");
    WriteFile(In("new.txt"), "not added\n");
    const std::vector<std::string> files = {In("a.txt"), In("img.bin"), In("sub/c.txt"),
                                            In("new.txt"), In("sub")};
    EXPECT_EQ(Query(files), (std::vector<SccLong>{0x1003, 0x1, 0x1, 0x0, 0x1}));
    EXPECT_EQ(LastBlock("SccQueryInfo"), kBanner + "SccQueryInfo\n" + kBanner +
                                             "INPUT:\n"
                                             "num_files       5\n"
                                             "file_names      '" +
                                             files[0] +
                                             "' (SCC_STATUS_NOTCONTROLLED)\n"
                                             "file_names      '" +
                                             files[1] +
                                             "' (SCC_STATUS_NOTCONTROLLED)\n"
                                             "file_names      '" +
                                             files[2] +
                                             "' (SCC_STATUS_NOTCONTROLLED)\n"
                                             "file_names      '" +
                                             files[3] +
                                             "' (SCC_STATUS_NOTCONTROLLED)\n"
                                             "file_names      '" +
                                             files[4] +
                                             "' (SCC_STATUS_NOTCONTROLLED)\n"
                                             "OUTPUT:\n"
                                             "file_names      '" +
                                             files[0] +
                                             "' (00001003:SCC_STATUS_CONTROLLED,"
                                             "SCC_STATUS_CHECKEDOUT,SCC_STATUS_OUTBYUSER,)\n"
                                             "file_names      '" +
                                             files[1] +
                                             "' (00000001:SCC_STATUS_CONTROLLED,)\n"
                                             "file_names      '" +
                                             files[2] +
                                             "' (00000001:SCC_STATUS_CONTROLLED,)\n"
                                             "file_names      '" +
                                             files[3] +
                                             "' (00000000:SCC_STATUS_NOTCONTROLLED)\n"
                                             "file_names      '" +
                                             files[4] +
                                             "' (00000001:SCC_STATUS_CONTROLLED,)\n"
                                             "RESULT: 00000000 (SCC_OK)\n");
    EXPECT_TRUE(PaneLines().empty()) << "no cvs command for a status";
}

TEST_P(StatusAgainstRepositories, AMissingFolderIsFetchedFromTheRepository) {
    const std::string content = ReadFile(In("sub/c.txt"));
    testing_support::RemoveTree(In("sub"));
    const std::string outside = sandbox_.Folder("elsewhere") + Sep() + "gone" + Sep() + "x.c";
    testing_support::RemoveTree(sandbox_.Folder("elsewhere"));
    const std::vector<SccLong> status =
        Query({In("sub/c.txt"), In("sub/c.txt"), In("nothere/x.c"), outside});
    EXPECT_EQ(FirstLine(ReadFile(In("sub/CVS/Repository"))), "mod/sub");
    // Under Wine the update is the Linux cvs's, which cannot read the CR LF lines of the
    // administrative files the Windows build writes: there the module tests are all there is.
    const std::vector<std::string> commands = Commands();
    if (testing_support::RunningUnderWine()) {
        EXPECT_EQ(commands.front(), "cvs ls -e -l mod/sub");
        EXPECT_EQ(commands.back(), "cvs ls -e -l mod/nothere");
    } else {
        EXPECT_EQ(commands,
                  (std::vector<std::string>{"cvs ls -e -l mod/sub", "cvs ls -q mod/sub",
                                            "cvs update -l -d", "cvs ls -e -l mod/nothere"}));
        EXPECT_EQ(status, (std::vector<SccLong>{0x1, 0x1, 0x0, 0x0}));
        EXPECT_EQ(ReadFile(In("sub/c.txt")), content);
    }
    // The folder the repository lacks stays, empty and unbound; nothing is made outside the
    // project.
    EXPECT_EQ(status[2], 0);
    EXPECT_EQ(status[3], 0);
    EXPECT_TRUE(platform::IsFolder(In("nothere")));
    EXPECT_FALSE(platform::Exists(In("nothere/CVS")));
    EXPECT_FALSE(platform::Exists(sandbox_.Folder("elsewhere") + Sep() + "gone"));
}

TEST_P(StatusAgainstRepositories, PopulateListOffersTheRepositoryFilesOfAFolder) {
    WriteFile(In("a.txt"), "edited\n");
    const std::string top = work_;
    std::vector<Listed> all = ListFolder(SCC_COMMAND_GET, top);
    EXPECT_EQ(all, (std::vector<Listed>{{0x3, In("a.txt")},
                                        {0x1, In("img.bin")},
                                        {0x1, In("sub/c.txt")},
                                        {0x1, In("sub/deep/d.txt")}}));
    std::vector<Listed> undo = ListFolder(SCC_COMMAND_UNCHECKOUT, top);
    EXPECT_EQ(undo, (std::vector<Listed>{{0x2, In("a.txt")}}));

    std::vector<Listed> trace;
    const char* names[] = {top.c_str()};
    SccLong status[] = {0x11};
    EXPECT_EQ(populateList_(context_, SCC_COMMAND_UNCHECKOUT, 1, names, &Collect, &trace, status,
                            SCC_PL_DIR),
              SCC_OK);
    EXPECT_EQ(LastBlock("SccPopulateList"), kBanner + "SccPopulateList\n" + kBanner +
                                                "INPUT:\n"
                                                "command       3 (SCC_command_uncheckout)\n"
                                                "num_files     1\n"
                                                "file_names    '" +
                                                top +
                                                "' (00000011)\n"
                                                "options       00000001\n"
                                                "popul_proc    " +
                                                Hex(reinterpret_cast<void*>(&Collect)) +
                                                "\n"
                                                "*callerdat    " +
                                                Hex(&trace) +
                                                "\n"
                                                "OUTPUT:file_names    '" +
                                                top +
                                                "' (00000011)\n"
                                                "*callerdat    " +
                                                Hex(&trace) +
                                                "\n"
                                                "RESULT: 00000000 (SCC_OK)\n");
}

TEST_P(StatusAgainstRepositories, PopulateListBindsAFolderToThePathItListed) {
    testing_support::RemoveTree(In("sub/CVS"));
    std::vector<Listed> listed = ListFolder(SCC_COMMAND_GET, In("sub"));
    EXPECT_EQ(listed, (std::vector<Listed>{{0x1, In("sub/c.txt")}, {0x1, In("sub/deep/d.txt")}}));
    EXPECT_EQ(FirstLine(ReadFile(In("sub/CVS/Repository"))), "mod/sub");

    // A folder the repository does not have is not bound: cvs could never add it then.
    ASSERT_TRUE(platform::MakeFolder(In("local")));
    EXPECT_TRUE(ListFolder(SCC_COMMAND_GET, In("local")).empty());
    EXPECT_FALSE(platform::Exists(In("local/CVS")));
}

// What a status query leaves of folders whose repository path ends in another name than
// the folder: cvs made them so (checkout -d inside a working copy, an alias of a module), or
// the user copied a folder. Every file of the working copy is compared afterwards.
class FoldersUnderAnotherName : public StatusThroughExports {
protected:
    void Cvs(const std::vector<std::string>& args, const std::string& folder) {
        testing_support::RunResult r = repo_.Cvs(args, folder);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::map<std::string, std::string> Files(const std::string& top) {
        return testing_support::ReadTree(top);
    }
};

INSTANTIATE_TEST_SUITE_P(Local, FoldersUnderAnotherName, testing::Values(Method::Local),
                         e2e::MethodName);

TEST_P(FoldersUnderAnotherName, CvsMadeFoldersKeepEverythingACopyLosesItsBinding) {
    // A second checkout of mod/sub inside the working copy (cvs waits for the next second
    // after a checkout, so its files have other times), with work of its own pending: an add,
    // a removal and a base copy. Its parent's Entries does not list it.
    Cvs({"-d", root_, "checkout", "-d", "again", "mod/sub"}, work_);
    WriteFile(In("again/new.txt"), "pending add\n");
    Cvs({"add", "new.txt"}, In("again"));
    testing_support::RemoveTree(In("again/deep/d.txt"));
    Cvs({"remove", "d.txt"}, In("again/deep"));
    ASSERT_TRUE(platform::MakeFolderTree(In("again/CVS/Base")));
    ASSERT_TRUE(platform::CopyFileTo(In("again/c.txt"), In("again/CVS/Base/c.txt"), true));

    // A module alias inside an ampersand module, in a working copy of its own.
    const std::string adminParent = sandbox_.Folder("admin");
    Cvs({"-d", root_, "checkout", "-d", "admin", "CVSROOT"}, adminParent);
    const std::string modules = adminParent + Sep() + "admin";
    WriteFile(modules + Sep() + "modules", ReadFile(modules + Sep() + "modules") +
                                               "subalias -d renamedsub mod/sub\ncombo &subalias\n");
    Cvs({"commit", "-m", "aliases", "modules"}, modules);
    const std::string combo = sandbox_.Folder("combos");
    Cvs({"-d", root_, "checkout", "combo"}, combo);
    ASSERT_TRUE(platform::Exists(combo + Sep() + "combo" + Sep() + "renamedsub" + Sep() + "c.txt"));

    // A copy made by the user, beside its original.
    testing_support::RunResult copy =
        testing_support::Shell("cp -r sub subcopy", testing_support::UnixPath(work_));
    ASSERT_EQ(copy.status, 0) << copy.err;

    const auto before = Files(work_);
    const auto comboBefore = Files(combo);
    const std::string aliased = combo + Sep() + "combo" + Sep() + "renamedsub" + Sep() + "c.txt";
    EXPECT_EQ(Query({In("again/c.txt"), In("again/new.txt"), In("again/deep/d.txt"), aliased,
                     In("subcopy/c.txt"), In("subcopy/deep/d.txt")}),
              (std::vector<SccLong>{0x1003, 0x1003, 0x1, 0x1, 0x0, 0x0}));

    std::map<std::string, std::string> expected;
    for (const auto& [path, content] : before)
        if (path.rfind("subcopy/", 0) != 0 || path.find("CVS/") == std::string::npos)
            expected[path] = content;
    EXPECT_EQ(Files(work_), expected);
    EXPECT_EQ(Files(combo), comboBefore);
    EXPECT_TRUE(platform::Exists(In("subcopy/c.txt")));
    EXPECT_TRUE(
        PaneHas("The folder " + In("subcopy") + " is a copy of the working folder " + In("sub")));

    // cvs still sees the working copy as before: the copy is a folder it does not know.
    testing_support::RunResult status = repo_.Cvs({"-n", "-q", "update"}, work_);
    EXPECT_NE(status.out.find("? subcopy"), std::string::npos) << status.out;
}

} // namespace
