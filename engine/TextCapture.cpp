// engine/TextCapture.cpp - the blocks of a capture.
#include "engine/TextCapture.h"

#include <algorithm>
#include <string_view>

void CTextCapture::Append(const char* data, size_t size) {
    while (size > 0) {
        if (blocks_.empty() || blocks_.back().size() == kBlock)
            blocks_.emplace_back();
        std::vector<char>& block = blocks_.back();
        const size_t take = std::min(size, kBlock - block.size());
        // Small outputs keep small blocks.
        if (block.capacity() < block.size() + take)
            block.reserve(std::min(kBlock, std::max(block.size() + take, 2 * block.capacity())));
        block.insert(block.end(), data, data + take);
        data += take;
        size -= take;
        size_ += take;
    }
}

void CTextCapture::Clear() {
    blocks_.clear();
    blocks_.shrink_to_fit();
    size_ = 0;
}

void CTextCapture::AppendTo(std::string& out, size_t pos, size_t count) const {
    if (pos >= size_)
        return;
    count = std::min(count, size_ - pos);
    out.reserve(out.size() + count);
    while (count > 0) {
        const std::vector<char>& block = blocks_[pos / kBlock];
        const size_t offset = pos % kBlock;
        const size_t take = std::min(count, block.size() - offset);
        out.append(block.data() + offset, take);
        pos += take;
        count -= take;
    }
}

std::string CTextCapture::Substr(size_t pos, size_t count) const {
    std::string out;
    AppendTo(out, pos, count);
    return out;
}

size_t CTextCapture::Find(const std::string& what, size_t from) const {
    if (what.empty())
        return from <= size_ ? from : npos;
    if (from >= size_ || what.size() > size_ - from)
        return npos;
    const size_t m = what.size();
    for (size_t i = from / kBlock; i < blocks_.size(); ++i) {
        const size_t start = i * kBlock;
        const std::string_view block(blocks_[i].data(), blocks_[i].size());
        // Within the block first: those matches begin before any that reaches the next one.
        const size_t inside = block.find(what, from > start ? from - start : 0);
        if (inside != std::string::npos)
            return start + inside;
        // Then those that begin in this block's last m - 1 bytes and end in the next.
        if (i + 1 < blocks_.size() && m > 1) {
            const size_t tail = std::min(block.size(), m - 1);
            const size_t tailStart = start + block.size() - tail;
            const size_t first = std::max(tailStart, from);
            const std::string seam = Substr(first, tailStart + tail - first + m - 1);
            const size_t across = seam.find(what);
            if (across != std::string::npos)
                return first + across;
        }
    }
    return npos;
}
