// engine/TextCapture.h - everything one stream of a cvs command delivered, every byte.
//
// A command's output can be as large as a file's whole history or a binary file's content.
// One growing string would hold the old and the new buffer at once whenever it grows (up to
// three times the text at that moment); the capture keeps its bytes in blocks of a fixed
// size instead, so growing never copies what it holds, and a caller that wants one string
// gets exactly one copy.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CTextCapture {
public:
    static constexpr size_t npos = std::string::npos;

    void Append(const char* data, size_t size);
    void Clear();
    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    // The whole text as one string.
    std::string Text() const { return Substr(0); }
    // Up to count bytes from pos (none when pos is past the end).
    std::string Substr(size_t pos, size_t count = npos) const;
    // Appends those bytes to out.
    void AppendTo(std::string& out, size_t pos, size_t count = npos) const;
    // The first position at or after from where what begins, or npos.
    size_t Find(const std::string& what, size_t from = 0) const;

private:
    // Every block but the last holds exactly this much, so a position names its block.
    static constexpr size_t kBlock = 64 * 1024;

    std::vector<std::vector<char>> blocks_; // reserved exactly: never more than kBlock
    size_t size_ = 0;
};
