// fuzz/EntriesFuzz.cpp - CVS/Entries as the cache reads it, and CVS/Entries with
// CVS/Entries.Log as the on-disk listing reads them.
//
// Input: the Entries content, then after a NUL the Entries.Log content, then after another
// a file name to ask for. Both readers split lines alike, so for the Entries file alone they
// must agree on every name.
#include "fuzz/FuzzInput.h"
#include "workcopy/Entries.h"
#include "workcopy/EntriesOnDisk.h"

using platform::PathStyle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = fuzzing::SplitAtNul(fuzzing::AsText(data, size), 3);
    const std::string& entries = parts[0];
    const std::string log = fuzzing::PartOr(parts, 1);
    const std::string asked = fuzzing::PartOr(parts, 2, "a.c");
    for (PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
        const CCVSEntries parsed =
            CCVSEntries::Parse(entries, "CVS/Entries", platform::FileStamp{}, style);
        parsed.ForEachLine([&](std::string_view line) {
            const std::string name = GetEntryField(line, 0);
            const std::string key = EntryKeyOf(name, style);
            FUZZ_CHECK(line.find('\n') == std::string_view::npos);
            FUZZ_CHECK(parsed.FindLine(name) == line);
            FUZZ_CHECK(parsed.GetEntryLine(name) == std::string(line));
            for (int k = 0; k < 6; ++k)
                FUZZ_CHECK(GetEntryField(line, k).find('/') == std::string::npos);
            FUZZ_CHECK(IsListedIn(entries, std::string(), name, style) == !key.empty());
        });
        const bool listed = IsListedIn(entries, std::string(), asked, style);
        FUZZ_CHECK(listed ==
                   (!EntryKeyOf(asked, style).empty() && !parsed.GetEntryLine(asked).empty()));
        // The log only adds and takes away whole names: a name the log never mentions keeps
        // the Entries file's answer.
        const bool withLog = IsListedIn(entries, log, asked, style);
        if (log.find(asked) == std::string::npos && asked.find('\n') == std::string::npos)
            FUZZ_CHECK(withLog == listed || style == PathStyle::Windows);
    }
    return 0;
}
