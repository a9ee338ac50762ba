// tests/integration/operations/ControllerFixture.h - what the controller's tests against the
// real cvs share: a repository reached by one of the methods, a working copy of its module
// (the project), a context on that copy whose output goes to a recorded pane, and helpers to
// read what ran.
#pragma once

#include "operations/CVSController.h"
#include "platform/FileSystem.h"
#include "tests/support/CvsFixtures.h"
#include "tests/support/EngineTestSupport.h"
#include "workcopy/Entries.h"
#include "workcopy/PathFunctions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class ControllerFixture {
public:
    // False, with the reason, when the repository or its server cannot be had here.
    bool Start(CvsMethod method, std::string* problem) {
        if (!repo_.Ready()) {
            *problem = repo_.Problem();
            return false;
        }
        env_.Settings().SetCvsExePath(CvsProgram());
        root_ = RootFor(method, repo_, server_, *problem);
        if (root_.empty())
            return false;
        work_ = NormalizePath(NewCopy("work"));
        context_ = env_.MakeContext();
        context_->SetCVSRoot(root_);
        context_->SetLocalPath(work_);
        context_->SetProjectModule(CvsRepository::kModule);
        return true;
    }
    ~ControllerFixture() {
        context_.reset();
        ClearEntriesCache();
        platform::SetCurrentFolder(BinDir());
    }

    // A fresh working copy of the module in the sandbox.
    std::string NewCopy(const std::string& name) {
        std::string folder = sandbox_.Folder(name);
        platform::RemoveEmptyFolder(folder);
        std::string error;
        EXPECT_TRUE(repo_.Checkout(root_, folder, &error)) << error;
        return folder;
    }
    // A path below a folder, given with "/" between its parts.
    static std::string In(const std::string& folder, const std::string& relative) {
        std::string path = folder;
        for (char c : "/" + relative)
            path += c == '/' ? Sep() : c;
        return path;
    }
    std::string File(const std::string& relative) const { return In(work_, relative); }
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
    std::string root_, work_;
};

} // namespace testing_support
