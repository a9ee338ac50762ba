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
#include "tests/support/CvsFixtures.h"
#include "tests/support/EngineTestSupport.h"
#include "workcopy/Entries.h"

#include <gtest/gtest.h>

namespace testing_support {

inline auto AllCvsMethods() {
    return testing::Values(CvsMethod::Local, CvsMethod::Fork, CvsMethod::Pserver);
}

inline std::string CvsMethodParamName(const testing::TestParamInfo<CvsMethod>& info) {
    return CvsMethodName(info.param);
}

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

} // namespace testing_support
