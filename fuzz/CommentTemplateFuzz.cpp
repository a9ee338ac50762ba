// fuzz/CommentTemplateFuzz.cpp - a comment template's title and body, as the comment
// dialog and the templates panel split the stored text.
//
// Input: the stored template text. Title and body must give back the text: the leading
// line feeds, the title, one line feed and the body.
#include "fuzz/FuzzInput.h"
#include "settings/SccSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(fuzzing::AsText(data, size));
    const std::string title = CSccSettings::TemplateTitle(text);
    const std::string body = CSccSettings::TemplateBody(text);
    FUZZ_CHECK(title.find('\n') == std::string::npos);
    const size_t leading = std::min(text.find_first_not_of('\n'), text.size());
    if (title.empty()) {
        FUZZ_CHECK(leading == text.size());
        FUZZ_CHECK(body == text);
        return 0;
    }
    const std::string rebuilt = text.substr(0, leading) + title +
                                (leading + title.size() < text.size() ? "\n" + body : body);
    FUZZ_CHECK(rebuilt == text);
    // A stored template keeps its title: the text saved from the two boxes reads back as them.
    const std::string saved = title + "\n" + body;
    FUZZ_CHECK(CSccSettings::TemplateTitle(saved) == title);
    FUZZ_CHECK(CSccSettings::TemplateBody(saved) == body);
    return 0;
}
