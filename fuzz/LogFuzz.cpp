// fuzz/LogFuzz.cpp - the "cvs log" readers behind the history and tag dialogs.
//
// Input: the log text; when it holds a NUL, the text before it is the working revision
// (CVS/Entries' revision of the file) and the log follows.
#include "fuzz/FuzzInput.h"
#include "operations/CVSLogEntry.h"

#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzzing::SplitAtNul(fuzzing::AsText(data, size), 2);
    const std::string working = parts.size() == 2 ? parts[0] : "1.2";
    const std::string& text = parts.back();

    const std::vector<CCVSLogEntry> entries = ParseLog(text, working);
    size_t heads = 0;
    for (const CCVSLogEntry& entry : entries) {
        FUZZ_CHECK(!entry.isWorking || entry.revision == working);
        heads += entry.isHead ? 1 : 0;
        FUZZ_CHECK(entry.date.find('\n') == std::string::npos);
        FUZZ_CHECK(entry.author.find('\n') == std::string::npos);
        (void)Describe(entry);
    }
    // A text cut off anywhere gives the revisions read so far: never more than the whole.
    const std::vector<CCVSLogEntry> half = ParseLog(text.substr(0, text.size() / 2), working);
    FUZZ_CHECK(half.size() <= entries.size());

    std::vector<std::string> tags;
    ParseTagNames(text, tags);
    FUZZ_CHECK(std::set<std::string>(tags.begin(), tags.end()).size() == tags.size());
    const size_t count = tags.size();
    ParseTagNames(text, tags); // every name is held already: nothing is added
    FUZZ_CHECK(tags.size() == count);
    (void)heads;
    return 0;
}
