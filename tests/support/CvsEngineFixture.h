// tests/support/CvsEngineFixture.h - the engine's test environment on a real repository,
// reached by each method in turn: the fixture of tests that run operations and dialogs
// against the real cvs.
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

namespace testing_support {

// The sandbox's HOME, the repository, its root for the method (a pserver logged in to), an
// isolated user whose settings run cvs, and a context whose text goes to the pane. Skips
// when the repository or the server cannot be had.
class CvsEngineFixture : public testing::TestWithParam<CvsMethod> {
protected:
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        env_.Settings().SetCvsExePath(CvsProgram());
        std::string problem;
        root_ = RootFor(GetParam(), repo_, server_, problem);
        if (root_.empty())
            GTEST_SKIP() << problem;
        context_ = env_.MakeContext();
    }
    void TearDown() override {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(BinDir());
    }
    std::vector<std::string> Commands() { return env_.Pane().TakeCommands(); }

    CvsSandbox sandbox_;
    CvsRepository repo_;
    std::unique_ptr<CvsPserver> server_;
    EngineEnvironment env_;
    std::unique_ptr<CCVSContext> context_;
    std::string root_;
};

// The same with a working copy of the module for the test (work_, checked out from root_),
// bound in the context as its project, and the helpers of tests that change it.
class CvsWorkingCopyFixture : public CvsEngineFixture {
protected:
    void SetUp() override {
        CvsEngineFixture::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        work_ = NormalizePath(Copy("work"));
        context_->SetCVSRoot(root_);
        context_->SetLocalPath(work_);
        context_->SetProjectModule(CvsRepository::kModule);
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

} // namespace testing_support
