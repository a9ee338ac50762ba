// tests/support/CvsEngineFixture.h - the engine's test environment on a real repository,
// reached by each method in turn: the fixture of tests that run operations and dialogs
// against the real cvs. The set-ups are plain classes too, for fixtures of one method
// (TEST_F) and for fixtures that add their own settings before they start.
//
//     class Suite : public testing_support::CvsEngineFixture {};
//     INSTANTIATE_TEST_SUITE_P(Methods, Suite, testing_support::AllCvsMethods(),
//                              testing_support::CvsMethodParamName);
//
// Header only: the tests that use it link the engine's test support themselves.
#pragma once

#include "platform/FileSystem.h"
#include "tests/support/CvsMethods.h"
#include "tests/support/EngineTestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The sandbox's HOME, the repository, its root for the method (a pserver logged in to), an
// isolated user whose settings run cvs, and a context whose text goes to the pane.
class CvsEngineSetup {
public:
    // False, with the reason, when the repository or its server cannot be had here.
    bool StartEngine(CvsMethod method, std::string* problem) {
        if (!repo_.Ready()) {
            *problem = repo_.Problem();
            return false;
        }
        env_.Settings().SetCvsExePath(CvsProgram());
        root_ = RootFor(method, repo_, server_, *problem);
        if (root_.empty())
            return false;
        context_ = env_.MakeContext();
        return true;
    }
    ~CvsEngineSetup() {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(BinDir());
    }

    // The cvs command lines echoed since the last call; forgets the pane.
    std::vector<std::string> Commands() { return env_.Pane().TakeCommands(); }
    // Runs cvs in a working copy the way another user at another desk would.
    RunResult Cvs(const std::vector<std::string>& args, const std::string& folder) {
        return repo_.Cvs(args, folder);
    }

    CvsSandbox sandbox_;
    CvsRepository repo_;
    std::unique_ptr<CvsPserver> server_;
    EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string root_;
};

// The same with a working copy of the module (work_, checked out from root_), bound in the
// context as its project, and the helpers of tests that change it.
class CvsWorkingCopySetup : public CvsEngineSetup {
public:
    bool Start(CvsMethod method, std::string* problem) {
        if (!StartEngine(method, problem))
            return false;
        work_ = NormalizePath(Copy("work"));
        context_->SetCVSRoot(root_);
        context_->SetLocalPath(work_);
        context_->SetProjectModule(CvsRepository::kModule);
        return true;
    }

    // A new working copy of the module in a folder of the sandbox.
    std::string Copy(const std::string& name) {
        std::string folder = sandbox_.Folder(name);
        platform::RemoveEmptyFolder(folder);
        std::string error;
        EXPECT_TRUE(repo_.Checkout(root_, folder, &error)) << error;
        return folder;
    }
    // A path below a folder, the relative part written with "/".
    static std::string In(const std::string& folder, const std::string& relative) {
        std::string path = folder;
        for (char c : "/" + relative)
            path += c == '/' ? Sep() : c;
        return path;
    }
    std::string File(const std::string& relative) const { return In(work_, relative); }
    void Commit(const std::string& folder, const std::string& name, const std::string& content,
                const std::string& message) {
        const RunResult r = repo_.Commit(folder, name, content, message);
        ASSERT_EQ(r.status, 0) << r.err;
        ClearEntriesCache(); // cvs may have rewritten CVS/Entries within the second
    }
    void AllowAdmin() { ASSERT_TRUE(repo_.AllowAdmin()); }

    std::string work_;
};

// The fixtures of tests run by each method; they skip when the repository or the server
// cannot be had.
class CvsEngineFixture : public testing::TestWithParam<CvsMethod>, protected CvsEngineSetup {
protected:
    void SetUp() override {
        std::string problem;
        if (!StartEngine(GetParam(), &problem))
            GTEST_SKIP() << problem;
    }
};

class CvsWorkingCopyFixture : public testing::TestWithParam<CvsMethod>,
                              protected CvsWorkingCopySetup {
protected:
    void SetUp() override {
        std::string problem;
        if (!Start(GetParam(), &problem))
            GTEST_SKIP() << problem;
    }
};

} // namespace testing_support
