// fuzz/AdminFilesFuzz.cpp - the first line of CVS/Repository and CVS/Root, as the readers
// take it from at most a buffer's worth of the file.
//
// Input: the file's content.
#include "fuzz/FuzzInput.h"
#include "workcopy/RepositoryBinding.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content = fuzzing::AsText(data, size);
    for (size_t buffer : {kRepositoryLineBuffer, kRootLineBuffer, size_t{1}, size_t{8}}) {
        const std::optional<std::string> line = FirstAdminLine(content, buffer);
        // What the readers see of a long file: only its head, with the same answer.
        const std::optional<std::string> fromHead =
            FirstAdminLine(content.substr(0, buffer), buffer);
        FUZZ_CHECK(line == fromHead);
        if (!line) {
            FUZZ_CHECK(content.empty() || content.substr(0, content.find('\n')).size() >= buffer);
            continue;
        }
        FUZZ_CHECK(line->size() < buffer);
        FUZZ_CHECK(line->find('\n') == std::string::npos);
        FUZZ_CHECK(content.compare(0, line->size(), *line) == 0);
        // Only the CR of a CR LF (or of a last line) is taken away, never a character of the
        // line's own.
        const size_t end = std::min(content.find('\n'), content.size());
        FUZZ_CHECK(end == line->size() ||
                   (end == line->size() + 1 && content[line->size()] == '\r'));
    }
    return 0;
}
