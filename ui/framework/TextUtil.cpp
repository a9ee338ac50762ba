// ui/framework/TextUtil.cpp - text helpers of the dialog layer.
#include "ui/framework/TextUtil.h"

namespace uifw {
namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

int CompareNoCase(const std::string& a, const std::string& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(Lower(a[i]));
        const unsigned char y = static_cast<unsigned char>(Lower(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

std::string LowerCase(std::string text) {
    for (char& c : text)
        c = Lower(c);
    return text;
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        c = Upper(c);
    return text;
}

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return std::string();
    const size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    if (text.empty())
        return parts;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(
            text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            break;
        start = at + 1;
    }
    return parts;
}

std::string WithoutMnemonics(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                out.push_back('&'), ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace uifw
