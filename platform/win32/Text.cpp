// platform/win32/Text.cpp - Windows text functions.
#include "platform/Text.h"
#include "platform/win32/Win32.h"

#include <vector>

namespace platform {

bool LooksLikeUnicodeText(const void* bytes, size_t size) {
    // IsTextUnicode rejects any odd length, so a UTF-16 file read through an odd-sized
    // window would never count as Unicode; the partial last unit tells nothing anyway.
    size &= ~size_t(1);
    if (size == 0 || size > 0x7FFFFFFF)
        return false;
    return ::IsTextUnicode(bytes, static_cast<int>(size), nullptr) != 0;
}

std::string LowerText(const std::string& text) {
    std::string lower = text;
    if (!lower.empty())
        ::CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

} // namespace platform
