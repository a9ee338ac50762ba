// workcopy/FileUtilities.cpp - small file and text functions.
#include "workcopy/FileUtilities.h"

#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/PathStyle.h"
#include "platform/Text.h"
#include "workcopy/PathFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool IsValidPathResult(const std::string& text) {
    return text != kInvalidPathResult;
}

bool EnsureFolder(const std::string& path) {
    return platform::Exists(path) || platform::MakeFolderTree(path);
}

size_t FolderPartLength(std::string_view path) {
    std::string_view::size_type s = path.find_last_of("\\/");
    if (s == std::string_view::npos)
        return 0;
    const bool driveRoot = s == 2 && path[1] == ':';
    return s == 0 || driveRoot ? s + 1 : s;
}

std::string GetFolderOfPath(const std::string& path) {
    if (IsDirectoryPath(path))
        return path;
    return path.substr(0, FolderPartLength(path));
}

bool RemoveFile(const std::string& path) {
    platform::SetAttributes(path, platform::GetAttributes(path) &
                                      ~(platform::kAttrReadOnly | platform::kAttrArchive));
    return platform::DeleteFileAt(path);
}

bool SameFileContent(const std::string& a, const std::string& b) {
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = fa ? std::fopen(b.c_str(), "rb") : nullptr;
    bool same = fa && fb;
    char bufA[16384], bufB[sizeof bufA];
    while (same) {
        const size_t na = std::fread(bufA, 1, sizeof bufA, fa);
        const size_t nb = std::fread(bufB, 1, sizeof bufB, fb);
        same = na == nb && std::memcmp(bufA, bufB, na) == 0 && !std::ferror(fa) && !std::ferror(fb);
        if (na < sizeof bufA)
            break;
    }
    if (fa)
        std::fclose(fa);
    if (fb)
        std::fclose(fb);
    return same;
}

bool SetCurrentFolderTo(const std::string& path) {
    platform::SetCurrentFolder(IsDirectoryPath(path) ? path : GetParentFolder(path));
    return true;
}

std::string GetCurrentFolder() {
    return NormalizePath(platform::GetCurrentFolder());
}

std::string GetTempFolder() {
    return NormalizePath(platform::GetTempFolderPath());
}

namespace {

// Up to limit bytes of a file as a C runtime text-mode stream delivers them on Windows:
// CR LF becomes LF and a byte 0x1A ends the data. Done by hand so that every platform
// classifies a file alike.
bool ReadTextModePrefix(const std::string& path, size_t limit, std::string& data) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    int c;
    while (data.size() < limit && (c = std::fgetc(file)) != EOF) {
        if (c == 0x1A)
            break;
        if (c == '\r') {
            int next = std::fgetc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        data.push_back(static_cast<char>(c));
    }
    std::fclose(file);
    return true;
}

bool IsPlainTextByte(unsigned char c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0x09 && c <= 0x0D);
}

} // namespace

int DetectTextEncoding(const std::string& path) {
    if (IsDirectoryPath(path))
        return kEncodingUnknown;
    std::string data;
    if (!ReadTextModePrefix(path, 255, data))
        return kEncodingUnknown;
    const unsigned char* b = reinterpret_cast<const unsigned char*>(data.data());
    if (platform::LooksLikeUnicodeText(data.data(), data.size()))
        return kEncodingUnicode;
    if (data.size() > 3 && b[0] == 0xEF) {
        if (b[1] == 0xBB && b[2] == 0xBF)
            return kEncodingText;
    } else if (data.size() >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        return kEncodingUnicode;
    }
    for (unsigned char c : data)
        if (!IsPlainTextByte(c))
            return kEncodingBinary;
    return kEncodingText;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    const std::string la = platform::LowerText(a), lb = platform::LowerText(b);
    const int c = std::memcmp(la.data(), lb.data(), std::min(la.size(), lb.size()));
    if (c != 0)
        return c;
    return la.size() < lb.size() ? -1 : la.size() > lb.size() ? 1 : 0;
}

int CompareNoCase(const char* a, const char* b) {
    return CompareNoCase(std::string(a ? a : ""), std::string(b ? b : ""));
}

bool SamePath(const std::string& a, const std::string& b) {
    return platform::kFileNamesFoldCase ? CompareNoCase(a, b) == 0 : a == b;
}

std::string GetModuleVersionText() {
    return platform::ThisModuleVersionText();
}
