// fuzz/ReplayTest.cpp - every file of a fuzz target's corpus run through the target as an
// ordinary test, in every build (without libFuzzer). The corpus folder comes from the build:
// MORVEK_FUZZ_CORPUS.
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<platform::DirEntry> entries;
    std::vector<std::string> names;
    if (platform::ListFolder(MORVEK_FUZZ_CORPUS, entries))
        for (const platform::DirEntry& entry : entries)
            if (!entry.IsFolder())
                names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

// A test name of letters, digits and underscores, unique within the corpus.
std::string TestNameOf(const std::string& file, std::set<std::string>& taken) {
    std::string name;
    for (char c : file)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    std::string unique = name;
    for (int i = 2; !taken.insert(unique).second; ++i)
        unique = name + "_" + std::to_string(i);
    return unique;
}

class CorpusReplay : public testing::TestWithParam<std::string> {};

TEST_P(CorpusReplay, RunsThroughTheTargetWithoutAFinding) {
    const std::string content =
        testing_support::ReadFile(std::string(MORVEK_FUZZ_CORPUS) + "/" + GetParam());
    EXPECT_EQ(
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(content.data()), content.size()),
        0);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, testing::ValuesIn(CorpusFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             static std::set<std::string> taken;
                             return TestNameOf(info.param, taken);
                         });

TEST(Corpus, HoldsCases) {
    EXPECT_FALSE(CorpusFiles().empty()) << MORVEK_FUZZ_CORPUS;
}

} // namespace
