// Whole-file reads and writes: bytes come back exactly as written, a write replaces a file
// in one step, and a write that fails leaves the old file byte for byte with nothing beside
// it.
#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "platform/PathStyle.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

class WholeFile : public testing::Test {
protected:
    void TearDown() override { platform::StopFaults(); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        platform::ListFolderNames(dir_.Path(), names);
        std::sort(names.begin(), names.end());
        return names;
    }

    testing_support::TempDir dir_{"wholefile"};
    const std::string file_ = dir_ / "Entries";
};

const std::string kBinary("\0\x01\r\n\n\r\xff\0end"
                          "\x1a",
                          13);

TEST_F(WholeFile, BytesComeBackAsWrittenAndAReplaceLeavesOnlyTheFile) {
    const std::string big = [] {
        std::string s;
        for (int i = 0; s.size() < (1u << 20) + 3; ++i)
            s += static_cast<char>(i * 7) + std::string("\r\n");
        return s;
    }();
    const std::string cases[] = {"", "one line\r\nD\r\n", "lf only\n", kBinary, big};
    for (const std::string& content : cases) {
        SCOPED_TRACE(content.size());
        platform::DeleteFileAt(file_);
        ASSERT_TRUE(platform::WriteWholeFile(file_, content));
        std::string read = "stale";
        ASSERT_TRUE(platform::ReadWholeFile(file_, read));
        EXPECT_TRUE(read == content);
        // Over an existing file, longer or shorter than the new bytes.
        for (const std::string& before : {std::string(content.size() + 100, 'x'), kBinary}) {
            WriteFile(file_, before);
            ASSERT_TRUE(platform::WriteWholeFile(file_, content));
            EXPECT_TRUE(ReadFile(file_) == content);
        }
        EXPECT_EQ(Names(), std::vector<std::string>{"Entries"});
    }
}

TEST_F(WholeFile, AReadStopsAtItsLimit) {
    WriteFile(file_, kBinary);
    for (size_t limit : {size_t(0), size_t(1), size_t(4), kBinary.size(), kBinary.size() + 9}) {
        std::string read;
        ASSERT_TRUE(platform::ReadWholeFile(file_, read, limit)) << limit;
        EXPECT_TRUE(read == kBinary.substr(0, limit)) << limit;
    }
}

TEST_F(WholeFile, AReadThatCannotHappenFails) {
    const std::string folder = dir_ / "folder";
    ASSERT_TRUE(platform::MakeFolder(folder));
    WriteFile(file_, kBinary);
    struct Case {
        const char* name;
        std::string path;
        bool fault;
    } const cases[] = {
        {"missing", dir_ / "missing", false},
        {"a folder", folder, false},
        {"refused", file_, true},
    };
    for (const Case& c : cases) {
        std::string read;
        if (c.fault)
            platform::ArmFault(platform::FaultKind::File, 1);
        EXPECT_FALSE(platform::ReadWholeFile(c.path, read)) << c.name;
        EXPECT_EQ(platform::StopFaults().fired, c.fault) << c.name;
    }
    std::string read;
    EXPECT_TRUE(platform::ReadWholeFile(file_, read) && read == kBinary) << "the fault passed";
}

// Whatever stops it, the old bytes stay where they were and no half-written file is left
// beside them.
TEST_F(WholeFile, AFailedWriteLeavesTheOldFileAndNothingBeside) {
    const std::string folder = dir_ / "folder";
    ASSERT_TRUE(platform::MakeFolder(folder));
    struct Case {
        const char* name;
        std::string path;
        std::function<void()> arrange;
        bool readOnly; // the old file is read-only, and stays so
    } const cases[] = {
        {"the write refused", file_, [] { platform::ArmFault(platform::FaultKind::File, 1); },
         false},
        {"a read-only file", file_,
         [&] { ASSERT_TRUE(platform::SetAttributes(file_, platform::kAttrReadOnly)); }, true},
        {"a folder in the way", folder, [] {}, false},
        {"no folder to write in",
         dir_ / (std::string("gone") + platform::kPathSeparator + "Entries"), [] {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SetAttributes(file_, 0);
        WriteFile(file_, kBinary);
        const std::vector<std::string> before = Names();
        c.arrange();
        EXPECT_FALSE(platform::WriteWholeFile(c.path, "new\r\n"));
        platform::StopFaults();
        EXPECT_TRUE(ReadFile(file_) == kBinary);
        EXPECT_EQ(Names(), before);
        EXPECT_TRUE(platform::IsFolder(folder));
        EXPECT_EQ((platform::GetAttributes(file_) & platform::kAttrReadOnly) != 0, c.readOnly);
    }
}

// Each write has a temporary file of its own: writers at once never mix their bytes, and
// none of their temporary files stays.
TEST_F(WholeFile, WritersAtOnceEachReplaceTheFileWhole) {
    const std::string first(4096, 'a'), second(8192, 'b');
    bool allWritten[2] = {true, true};
    auto writer = [&](const std::string& content, bool& ok) {
        for (int i = 0; i < 50; ++i)
            ok = platform::WriteWholeFile(file_, content) && ok;
    };
    std::thread one(writer, std::cref(first), std::ref(allWritten[0]));
    std::thread two(writer, std::cref(second), std::ref(allWritten[1]));
    one.join();
    two.join();
    EXPECT_TRUE(allWritten[0] && allWritten[1]);
    const std::string now = ReadFile(file_);
    EXPECT_TRUE(now == first || now == second) << now.size();
    EXPECT_EQ(Names(), std::vector<std::string>{"Entries"});
}

} // namespace
