// platform/Text.h - text facts that differ between platforms.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The line end of text files the system writes for its own tools: CR LF on Windows, LF on
// POSIX (GNU cvs refuses a CVS/Root or CVS/Repository that ends in CR LF).
#ifdef _WIN32
constexpr const char* kTextLineEnd = "\r\n";
#else
constexpr const char* kTextLineEnd = "\n";
#endif

// Whether bytes look like UTF-16 text. A lone trailing byte is ignored on every platform,
// since readers look at a fixed-size prefix of a file. Windows: IsTextUnicode with all its
// tests. POSIX
// stand-in: UTF-16 with a byte-order mark (FF FE or FE FF), or byte-order-mark-less UTF-16LE
// whose statistics say so: mostly NUL in the odd positions (the high bytes of Latin text)
// and almost none in the even ones.
bool LooksLikeUnicodeText(const void* bytes, size_t size);

// Lower case in the system's ANSI code page (Windows: CharLowerBuff). POSIX: ASCII letters
// and the Latin-1 capitals of UTF-8 text.
std::string LowerText(const std::string& text);

} // namespace platform
