// tests/support/ScchostFixture.h - the fixture of scchost's end-to-end tests: a repository
// reached by each method in turn, a user of the test's own, and scchost run as a program.
//
// Header only: the e2e tests link what they need themselves.
#pragma once

#include "tests/support/CvsMethods.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class ScchostFixture : public testing::TestWithParam<CvsMethod> {
protected:
    void SetUp() override {
        if (RunningUnderWine())
            GTEST_SKIP() << "scchost is run as a program on Linux";
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        std::string problem;
        root_ = RootFor(GetParam(), repo_, server_, problem);
        if (root_.empty())
            GTEST_SKIP() << problem;
    }
    // Runs scchost in the folder with scripted answers (the password when there is one).
    RunResult Scchost(std::vector<std::string> args, const std::string& folder) {
        std::vector<std::string> argv{BinDir() + "/scchost", "--ui", "headless"};
        if (server_)
            argv.insert(argv.end(), {"--password", server_->Password()});
        argv.insert(argv.end(), args.begin(), args.end());
        return testing_support::Run(argv, folder);
    }

    IsolatedUser user_;
    CvsSandbox sandbox_;
    CvsRepository repo_;
    std::unique_ptr<CvsPserver> server_;
    std::string root_;
};

} // namespace testing_support
