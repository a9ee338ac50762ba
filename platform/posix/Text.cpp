// platform/posix/Text.cpp - the POSIX stand-ins for the Windows text functions.
#include "platform/Text.h"

#include <cstdint>

namespace platform {

bool LooksLikeUnicodeText(const void* bytes, size_t size) {
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    size &= ~size_t(1);
    if (size < 2)
        return false;
    if ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))
        return true;
    size_t units = size / 2, oddNul = 0, evenNul = 0, controls = 0;
    for (size_t i = 0; i < size; i += 2) {
        if (b[i] == 0)
            ++evenNul;
        if (b[i + 1] == 0) {
            ++oddNul;
            if (b[i] < 0x20 && b[i] != '\t' && b[i] != '\n' && b[i] != '\r')
                ++controls;
        }
    }
    // Latin text in UTF-16LE: nearly every high byte is NUL, no low byte is, and the low
    // bytes are not control characters.
    return oddNul * 10 >= units * 9 && evenNul == 0 && controls * 20 <= units;
}

std::string LowerText(const std::string& text) {
    std::string lower = text;
    for (size_t i = 0; i < lower.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(lower[i]);
        if (c >= 'A' && c <= 'Z') {
            lower[i] = static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && i + 1 < lower.size()) {
            // U+00C0 to U+00DE (but the multiplication sign U+00D7) are capitals whose small
            // letter is 0x20 further on.
            unsigned char next = static_cast<unsigned char>(lower[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                lower[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return lower;
}

} // namespace platform
