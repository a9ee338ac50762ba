// fuzz/ErrorTextFuzz.cpp - the error text of a command, decided from what cvs wrote on its
// two streams (a server's refusal is told by markers in the output).
//
// Input: a control byte, the output text, a NUL, the error text. The control byte can put
// the output behind a filler that ends just short of the capture's first block, so that the
// markers straddle the seam between two blocks. The captures must answer as one string
// holding the same bytes would.
#include "engine/CVSContext.h"
#include "engine/TextCapture.h"
#include "fuzz/FuzzInput.h"

namespace {

const std::string kServer = "cvs server:";
const std::string kAborted = "cvs [checkout aborted]:";

// The same decision on one plain string.
std::string ExpectedErrorText(const std::string& output, const std::string& errors) {
    const size_t s = output.find(kServer);
    const size_t a = output.find(kAborted, s == std::string::npos ? 0 : s + 1);
    if (s == std::string::npos && a == std::string::npos)
        return errors;
    std::string result =
        a == std::string::npos ? std::string() : output.substr(a + kAborted.size());
    if (s != std::string::npos) {
        const size_t from = s + kServer.size();
        result += " : ";
        if (a != std::string::npos && a >= from)
            result += fuzzing::Trimmed(output.substr(from, a - from));
    }
    return result;
}

// Appends in pieces of the given size, as the client library delivers chunks.
void Fill(CTextCapture& capture, const std::string& text, size_t piece) {
    for (size_t at = 0; at < text.size(); at += piece)
        capture.Append(text.data() + at, std::min(piece, text.size() - at));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const unsigned control = data[0];
    const std::vector<std::string> parts =
        fuzzing::SplitAtNul(fuzzing::AsText(data + 1, size - 1), 2);
    std::string output = parts[0];
    const std::string errors = fuzzing::PartOr(parts, 1);
    if (control & 1) {
        const size_t block = 64 * 1024;
        output.insert(0, block - 1 - (control >> 1) % 32, 'x');
    }
    CTextCapture out;
    CTextCapture err;
    Fill(out, output, 1 + (control >> 3) * 97);
    Fill(err, errors, 1 + (control >> 5));
    FUZZ_CHECK(out.Size() == output.size() && out.Text() == output);
    FUZZ_CHECK(ErrorTextOf(out, err) == ExpectedErrorText(output, errors));
    FUZZ_CHECK(ErrorTextFromOutput(out) == (output.find(kServer) != std::string::npos ||
                                            output.find(kAborted) != std::string::npos));
    for (const std::string& what : {std::string("cvs login"), kServer, std::string("\n")}) {
        for (size_t from : {size_t{0}, size_t{1}, output.size() / 2})
            FUZZ_CHECK(out.Find(what, from) == output.find(what, from));
    }
    return 0;
}
