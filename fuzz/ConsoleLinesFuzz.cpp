// fuzz/ConsoleLinesFuzz.cpp - console text cut into lines for the output pane, however the
// client library cuts its chunks and whichever stream they come on.
//
// Input: records of a control byte (stream: its low two bits; length: the rest) and that
// many bytes of text. A chunk of length 0 ends the pending line, as the end of a command
// does. The pane must get exactly the lines of the bytes in arrival order, trimmed and
// without empty ones, and each capture every byte of its stream.
#include "engine/CVSContext.h"
#include "fuzz/FuzzInput.h"

namespace {

std::vector<std::string>* g_delivered = nullptr;

int32_t Collect(char* text, int32_t) {
    g_delivered->push_back(text);
    return 0;
}

// A line as the pane gets it: trimmed, dropped when empty, a C string.
void Expect(std::vector<std::string>& lines, const std::string& line) {
    const std::string trimmed = fuzzing::Trimmed(line);
    if (!trimmed.empty())
        lines.push_back(trimmed.substr(0, trimmed.find('\0')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> delivered;
    g_delivered = &delivered;
    std::vector<std::string> expected;
    std::string pending;
    std::string streams[2];
    {
        CCVSContext context;
        context.SetTextOut(Collect);
        size_t at = 0;
        while (at < size) {
            const int stream = data[at] & 3;
            const size_t length = std::min<size_t>(data[at] >> 2, size - at - 1);
            const char* text = reinterpret_cast<const char*>(data + at + 1);
            at += 1 + length;
            context.OnConsoleText(length == 0 && stream == 3 ? nullptr : text, length, stream);
            if (stream < 2)
                streams[stream].append(text, length);
            if (length == 0 && !pending.empty()) {
                Expect(expected, pending);
                pending.clear();
            }
            for (size_t i = 0; i < length; ++i) {
                pending.push_back(text[i]);
                if (text[i] == '\n') {
                    Expect(expected, pending);
                    pending.clear();
                }
            }
        }
        context.OnConsoleText(nullptr, 0, 0);
        Expect(expected, pending);
        FUZZ_CHECK(context.GetOutput() == streams[0]);
        FUZZ_CHECK(context.GetErrorCapture() == streams[1]);
        FUZZ_CHECK(delivered == expected);
        context.SetQuiet(true); // closing a quiet context leaves the settings alone
    }
    g_delivered = nullptr;
    return 0;
}
