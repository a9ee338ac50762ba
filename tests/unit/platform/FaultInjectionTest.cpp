// The fault injector: the armed call fails as the system would fail it and only that one,
// only on the thread that armed it, and only for the kinds asked for.
#include "platform/FaultInjection.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolRecord.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <thread>

namespace {

using platform::FaultKind;
using testing_support::ReadFile;
using testing_support::WriteFile;

class FaultInjection : public testing::Test {
protected:
    void TearDown() override { platform::StopFaults(); }
    testing_support::TempDir dir_{"faults"};
    const std::string a_ = dir_ / "a.txt";
    const std::string b_ = dir_ / "b.txt";
};

// Each kind's calls fail with the failure their callers already handle, and leave nothing
// half done.
TEST_F(FaultInjection, TheArmedCallFailsAsTheSystemWould) {
    struct Case {
        const char* name;
        FaultKind kind;
        std::function<bool()> call; // true when the call failed as it should
    };
    testing_support::IsolatedUser user;
    const Case cases[] = {
        {"copy", FaultKind::File,
         [&] { return !platform::CopyFileTo(a_, b_, false) && !platform::Exists(b_); }},
        {"move", FaultKind::File,
         [&] {
             return !platform::MoveFileTo(a_, b_, false) && ReadFile(a_) == "mine\n" &&
                    !platform::Exists(b_);
         }},
        {"delete", FaultKind::File,
         [&] { return !platform::DeleteFileAt(a_) && platform::Exists(a_); }},
        {"look-up", FaultKind::Lookup, [&] { return !platform::Exists(a_); }},
        {"make folder", FaultKind::Folder,
         [&] { return !platform::MakeFolder(dir_ / "f") && !platform::Exists(dir_ / "f"); }},
        {"list folder", FaultKind::Folder,
         [&] {
             std::vector<std::string> names;
             return !platform::ListFolderNames(dir_.Path(), names);
         }},
        {"registry", FaultKind::Registry,
         [&] {
             platform::RegKey key = nullptr;
             return platform::CreateRegKey(platform::RegHive::CurrentUser, "software\\x", &key) ==
                        platform::kRegAccessDenied &&
                    key == nullptr;
         }},
        {"library", FaultKind::Library,
         [&] {
             int code = 0;
             std::string text;
             return platform::OpenLibrary(platform::LibraryFileName("c"), &code, &text) ==
                        nullptr &&
                    code != 0 && !text.empty();
         }},
        {"process", FaultKind::Process,
         [&] {
             platform::ChildProcess child;
             platform::ProcessSpec spec;
             spec.program = testing_support::RecorderProgram();
             std::string error;
             return !child.Start(spec, error) && !error.empty() && child.Id() == 0;
         }},
    };
    for (const Case& c : cases) {
        WriteFile(a_, "mine\n");
        platform::DeleteFileAt(b_);
        platform::ArmFault(c.kind, 1);
        errno = 0;
        EXPECT_TRUE(c.call()) << c.name;
        const platform::FaultReport report = platform::StopFaults();
        EXPECT_TRUE(report.fired) << c.name;
        EXPECT_FALSE(report.call.empty()) << c.name;
    }
}

TEST_F(FaultInjection, OnlyTheNthCallOfTheKindsAskedForFails) {
    WriteFile(a_, "mine\n");
    platform::ArmFault(FaultKind::File, 2);
    EXPECT_TRUE(platform::Exists(a_)) << "a look-up is not a file call";
    EXPECT_TRUE(platform::CopyFileTo(a_, b_, false));
    EXPECT_FALSE(platform::CopyFileTo(a_, b_, false));
    EXPECT_TRUE(platform::CopyFileTo(a_, b_, false)) << "after the fault the calls succeed";
    const platform::FaultReport report = platform::StopFaults();
    EXPECT_EQ(report.calls, 3u);
    EXPECT_TRUE(report.fired);
    EXPECT_EQ(report.call, "CopyFileTo " + b_);

    platform::CountFaultCalls(FaultKind::Any);
    EXPECT_TRUE(platform::Exists(a_));
    EXPECT_TRUE(platform::CopyFileTo(a_, b_, false));
    EXPECT_EQ(platform::StopFaults().calls, 2u);
    EXPECT_TRUE(platform::Exists(a_)) << "disarmed";
}

// Another thread's calls neither count nor fail: the walk replays a command's own calls.
TEST_F(FaultInjection, CountsTheArmingThreadOnly) {
    WriteFile(a_, "mine\n");
    platform::ArmFault(FaultKind::Any, 1);
    bool other = false;
    std::thread([&] { other = platform::Exists(a_); }).join();
    EXPECT_TRUE(other);
    EXPECT_FALSE(platform::Exists(a_));
    EXPECT_EQ(platform::StopFaults().calls, 1u);
}

TEST(FaultSetting, ReadsKindAndNumber) {
    struct Case {
        const char* text;
        bool ok;
        FaultKind kind;
        uint64_t nth;
    } const cases[] = {
        {"file:3", true, FaultKind::File, 3},
        {"lookup:1", true, FaultKind::Lookup, 1},
        {"any:120", true, FaultKind::Any, 120},
        {"registry:7", true, FaultKind::Registry, 7},
        {"file:0", false, {}, 0},
        {"file:", false, {}, 0},
        {"file:-1", false, {}, 0},
        {"disk:2", false, {}, 0},
        {"File:2", false, {}, 0},
        {"file:99999999999999999999", false, {}, 0},
        {"", false, {}, 0},
    };
    for (const Case& c : cases) {
        FaultKind kind = FaultKind::Any;
        uint64_t nth = 0;
        EXPECT_EQ(platform::ParseFaultSetting(c.text, kind, nth), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(kind, c.kind) << c.text;
            EXPECT_EQ(nth, c.nth) << c.text;
        }
    }
}

} // namespace
