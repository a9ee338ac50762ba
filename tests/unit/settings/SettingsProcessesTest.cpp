// Several processes saving one user's settings at once, and one killed while it saves: the
// store file always parses and holds exactly one complete save.
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>

namespace {

using testing_support::IsolatedUser;

std::string Tool() {
    return testing_support::BinDir() + testing_support::Sep() + "morvek_settings_tool";
}

struct Dump {
    std::map<std::string, std::string> values;
    std::map<std::string, std::vector<std::string>> lists; // MODULE, ROOT, TEMPLATE
    std::string err;
    int status = -1;
};

Dump ReadBack() {
    testing_support::RunResult r = testing_support::Run({Tool(), "dump"});
    Dump d;
    d.status = r.status;
    d.err = r.err;
    std::string::size_type start = 0;
    while (start < r.out.size()) {
        std::string::size_type end = r.out.find('\n', start);
        const std::string line = r.out.substr(start, end - start);
        start = end == std::string::npos ? r.out.size() : end + 1;
        const std::string::size_type eq = line.find('=');
        const std::string name = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (name == "MODULE" || name == "ROOT" || name == "TEMPLATE")
            d.lists[name].push_back(value);
        else
            d.values[name] = value;
    }
    return d;
}

std::string TagOf(const std::string& value) {
    std::string::size_type dash = value.rfind('-', value.rfind('-') - 1);
    return value.substr(dash + 1);
}

// Every text and every list entry carries the tag "<pid>-<i>" of one save, and the lists
// are as long as that save made them.
void ExpectOneCompleteSave(const Dump& d) {
    ASSERT_EQ(d.status, 0) << d.err;
    EXPECT_EQ(d.err, "") << "the store file did not parse cleanly";
    const std::string tag = TagOf(d.values.at("DIFFEXE"));
    SCOPED_TRACE("save " + tag);
    for (const char* name : {"EDITOR", "CONFLICTEXE", "VENDORNAME", "CVSEXEPATH", "MRUTEMPLATE"})
        EXPECT_EQ(TagOf(d.values.at(name)), tag) << name;
    const unsigned i = static_cast<unsigned>(std::stoul(tag.substr(tag.find('-') + 1)));
    const std::map<std::string, size_t> lengths = {
        {"MODULE", 1 + i % 15}, {"ROOT", 1 + i % 7}, {"TEMPLATE", 1 + i % 5}};
    for (const auto& [list, length] : lengths) {
        auto found = d.lists.find(list);
        ASSERT_NE(found, d.lists.end()) << list;
        EXPECT_EQ(found->second.size(), length) << list;
        for (const std::string& entry : found->second)
            EXPECT_EQ(TagOf(entry), tag) << list << " " << entry;
    }
}

class SettingsProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing_support::RunningUnderWine())
            GTEST_SKIP() << "the tests start and kill processes the POSIX way";
    }
};

TEST_F(SettingsProcesses, FourSavingAtOnceLeaveOneCompleteSave) {
    IsolatedUser user;
    std::vector<std::thread> savers;
    std::vector<int> status(4, -1);
    for (int k = 0; k < 4; ++k)
        savers.emplace_back([&, k] {
            status[k] = testing_support::Run({Tool(), "save", "200"}).status;
        });
    for (std::thread& t : savers)
        t.join();
    for (int s : status)
        EXPECT_EQ(s, 0);
    ExpectOneCompleteSave(ReadBack());
}

TEST_F(SettingsProcesses, KilledWhileSavingLeavesThePreviousFile) {
    IsolatedUser user;
    ASSERT_EQ(testing_support::Run({Tool(), "save", "1"}).status, 0);
    const std::string temp = user.UserHiveFile() + ".tmp";
    std::mt19937 random(12345);
    int killedWhileWriting = 0;
    for (int attempt = 0; attempt < 40 && (killedWhileWriting < 2 || attempt < 6); ++attempt) {
        platform::DeleteFileAt(temp);
        // Big saves, so that much of the time goes into writing the file.
        testing_support::Started saver({Tool(), "save-forever", "1000000"});
        ASSERT_TRUE(saver.Ok());
        if (attempt % 2 == 0) {
            // At a moment chosen by the clock alone.
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % 200));
        } else {
            // Once a write is seen under way (the temporary file exists only then).
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!platform::Exists(temp) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        saver.Kill();
        if (platform::Exists(temp))
            ++killedWhileWriting;
        ExpectOneCompleteSave(ReadBack());
        if (HasFailure())
            break;
    }
    EXPECT_GE(killedWhileWriting, 1) << "no kill landed while a file was being written";
}

} // namespace
