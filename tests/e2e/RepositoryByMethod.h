// tests/e2e/RepositoryByMethod.h - end-to-end tests run against the test repository reached
// by each method (a local root, :fork:, a pserver on 127.0.0.1), with a user and a CVS
// sandbox of the test's own; the user's settings run the test's cvs.
#pragma once

#include "settings/SccSettings.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace e2e {

class RepositoryByMethod : public testing::TestWithParam<testing_support::CvsMethod> {
protected:
    // Skips the test when the repository (or its pserver) cannot be had here.
    void SetUp() override {
        if (!repo_.Ready())
            GTEST_SKIP() << repo_.Problem();
        std::string problem;
        root_ = testing_support::RootFor(GetParam(), repo_, server_, problem);
        if (root_.empty())
            GTEST_SKIP() << problem;
        CSccSettings().SetCvsExePath(testing_support::CvsProgram());
    }
    // A fresh, empty folder of the test's own.
    std::string Folder(const std::string& name) { return sandbox_.Folder(name); }
    // The top of the repository, listed by cvs itself.
    std::string TopListing() {
        return repo_.Cvs({"-d", repo_.LocalRoot(), "rls", "-e", ""}, sandbox_.Home()).out;
    }

    testing_support::IsolatedUser user_;
    testing_support::CvsSandbox sandbox_;
    testing_support::CvsRepository repo_;
    std::unique_ptr<testing_support::CvsPserver> server_;
    std::string root_;
};

// Test names after the method: Local, Fork, Pserver.
inline std::string MethodName(const testing::TestParamInfo<testing_support::CvsMethod>& info) {
    return testing_support::CvsMethodName(info.param);
}

} // namespace e2e
