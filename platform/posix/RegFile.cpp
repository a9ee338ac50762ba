// platform/posix/RegFile.cpp - REGEDIT4 text: reading, changing, writing.
//
// The grammar is the one the Windows registry editor writes in its REGEDIT4 format:
//   REGEDIT4
//   (blank line)
//   [HKEY_CURRENT_USER\software\Morvek]
//   "name"="text with \\ and \" escaped"
//   "number"=dword:0000002a
//   "expand"=hex(2):25,54,45,4d,50,25,00
//   @="the default value"
// Long hex lists continue on the next line after a trailing backslash. Strings are written
// in quotes when they are plain text ending in one NUL; any other string (line breaks,
// inner NULs, no NUL at the end) is written as hex(1), which every importer reads back
// byte for byte. It is read as the registry editor imports it: "\\" and "\"" are the only
// escapes (any other backslash is itself), and of two values of one name under one key the
// last counts.
#include "platform/posix/RegFile.h"

#include "platform/Registry.h"
#include "platform/common/RegistryPath.h"

#include <cstdio>

namespace platform::regfile {
namespace {

using registry::SameRegName;

bool SameKey(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameRegName(a[i], b[i]))
            return false;
    return true;
}

bool IsBelowOrSame(const std::vector<std::string>& key, const std::vector<std::string>& top) {
    if (key.size() < top.size())
        return false;
    for (size_t i = 0; i < top.size(); ++i)
        if (!SameRegName(key[i], top[i]))
            return false;
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string TrimRight(const std::string& s) {
    std::string::size_type end = s.size();
    while (end > 0 && IsBlank(s[end - 1]))
        --end;
    return s.substr(0, end);
}

std::string TrimLeft(const std::string& s) {
    std::string::size_type start = 0;
    while (start < s.size() && IsBlank(s[start]))
        ++start;
    return s.substr(start);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool ReadQuoted(const std::string& text, size_t& pos, std::string& out) {
    out.clear();
    ++pos;
    while (pos < text.size()) {
        char c = text[pos++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size())
            return false;
        // Only these two are escapes; any other backslash is itself, as in a path typed by
        // hand ("c:\windows\notepad.exe"). The writer never needs another: text with line
        // breaks or other control characters is written as hex(1).
        if (text[pos] == '\\' || text[pos] == '"')
            out += text[pos++];
        else
            out += '\\';
    }
    return false;
}

void SkipBlanks(const std::string& text, size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
}

bool ReadHexList(const std::string& text, size_t pos, std::string& data) {
    data.clear();
    for (;;) {
        SkipBlanks(text, pos);
        if (pos >= text.size())
            return true;
        int hi = HexDigit(text[pos]);
        if (hi < 0)
            return false;
        ++pos;
        int value = hi;
        if (pos < text.size() && HexDigit(text[pos]) >= 0)
            value = value * 16 + HexDigit(text[pos++]);
        data += static_cast<char>(value);
        SkipBlanks(text, pos);
        if (pos >= text.size())
            return true;
        if (text[pos] != ',')
            return false;
        ++pos;
    }
}

// "name"=data, with the continuation lines of a hex list already joined.
bool ParseValue(const std::string& line, Value& value) {
    size_t pos = 0;
    if (line.empty())
        return false;
    if (line[0] == '@') {
        value.name.clear();
        pos = 1;
    } else if (line[0] == '"') {
        if (!ReadQuoted(line, pos, value.name) || value.name.empty())
            return false;
    } else {
        return false;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=')
        return false;
    ++pos;
    SkipBlanks(line, pos);
    const std::string rest = TrimRight(line.substr(pos));
    if (!rest.empty() && rest[0] == '"') {
        size_t p = 0;
        std::string text;
        if (!ReadQuoted(rest, p, text) || p != rest.size())
            return false;
        value.type = kRegSz;
        value.data = text + '\0';
        return true;
    }
    if (rest.compare(0, 6, "dword:") == 0) {
        const std::string digits = rest.substr(6);
        if (digits.empty() || digits.size() > 8)
            return false;
        uint32_t number = 0;
        for (char c : digits) {
            int d = HexDigit(c);
            if (d < 0)
                return false;
            number = number * 16 + static_cast<uint32_t>(d);
        }
        value.type = kRegDword;
        value.data.clear();
        for (int i = 0; i < 4; ++i)
            value.data += static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (rest.compare(0, 4, "hex:") == 0) {
        value.type = kRegBinary;
        return ReadHexList(rest, 4, value.data);
    }
    if (rest.compare(0, 4, "hex(") == 0) {
        size_t close = rest.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 12)
            return false;
        uint32_t type = 0;
        for (size_t i = 4; i < close; ++i) {
            int d = HexDigit(rest[i]);
            if (d < 0)
                return false;
            type = type * 16 + static_cast<uint32_t>(d);
        }
        value.type = type;
        return ReadHexList(rest, close + 2, value.data);
    }
    return false;
}

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

// Text that the quoted form carries unchanged: one NUL at the end and none before it, no
// control characters but tabs.
bool IsPlainString(const std::string& data) {
    if (data.empty() || data.back() != '\0')
        return false;
    for (size_t i = 0; i + 1 < data.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(data[i]);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return false;
    }
    return true;
}

void AppendHexList(std::string& out, size_t lineStart, const std::string& data) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(data[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
        if (i + 1 == data.size())
            break;
        out += ',';
        if (out.size() - lineStart > 76) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
    }
}

void AppendValue(std::string& out, const Value& v) {
    const size_t lineStart = out.size();
    if (v.name.empty())
        out += '@';
    else
        out += '"' + Escape(v.name) + '"';
    out += '=';
    if (v.type == kRegSz && IsPlainString(v.data)) {
        out += '"' + Escape(v.data.substr(0, v.data.size() - 1)) + '"';
    } else if (v.type == kRegDword && v.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(v.data[static_cast<size_t>(i)]);
        char text[16];
        std::snprintf(text, sizeof text, "dword:%08x", number);
        out += text;
    } else {
        if (v.type == kRegBinary) {
            out += "hex:";
        } else {
            char text[24];
            std::snprintf(text, sizeof text, "hex(%x):", v.type);
            out += text;
        }
        AppendHexList(out, lineStart, v.data);
    }
    out += '\n';
}

const Item* FindReadable(const Block& block, const std::string& name) {
    for (const Item& item : block.items)
        if (item.readable && SameRegName(item.value.name, name))
            return &item;
    return nullptr;
}

Item* FindReadable(Block& block, const std::string& name) {
    return const_cast<Item*>(FindReadable(static_cast<const Block&>(block), name));
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

void Document::NoteDamage(int line) {
    if (damagedLines_++ == 0)
        firstDamagedLine_ = line;
}

void Document::Parse(const std::string& input) {
    blocks_.clear();
    damagedLines_ = 0;
    firstDamagedLine_ = 0;
    Block preamble;
    preamble.preamble = true;
    blocks_.push_back(std::move(preamble));
    size_t current = 0;

    std::string text = input;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    const std::vector<std::string> lines = SplitLines(text);
    bool sawSignature = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::string line = TrimRight(TrimLeft(lines[i]));
        if (line.empty())
            continue;
        if (!sawSignature) {
            sawSignature = true;
            if (line == "REGEDIT4")
                continue;
            NoteDamage(lineNumber);
            blocks_[0].items.push_back(Item{false, Value{}, lines[i]});
            continue;
        }
        if (line[0] == ';') {
            blocks_[current].items.push_back(Item{false, Value{}, lines[i]});
            continue;
        }
        if (line[0] == '[') {
            std::vector<std::string> key;
            bool ok = line.back() == ']' && line.size() > 2 && line[1] != '-';
            if (ok) {
                const std::string inside = line.substr(1, line.size() - 2);
                const std::string::size_type slash = inside.find('\\');
                const std::string rootPart = inside.substr(0, slash);
                ok = SameRegName(rootPart, root_) &&
                     (slash == std::string::npos ||
                      registry::SplitKeyPath(inside.substr(slash + 1), key) == kRegOk);
            }
            if (ok) {
                current = blocks_.size();
                for (size_t b = 1; b < blocks_.size(); ++b)
                    if (!blocks_[b].damaged && SameKey(blocks_[b].key, key))
                        current = b;
                if (current == blocks_.size()) {
                    Block block;
                    block.key = key;
                    blocks_.push_back(std::move(block));
                }
            } else {
                NoteDamage(lineNumber);
                Block block;
                block.damaged = true;
                block.header = lines[i];
                current = blocks_.size();
                blocks_.push_back(std::move(block));
            }
            continue;
        }
        // A value, with the continuation lines of a hex list.
        std::string raw = lines[i];
        std::string joined = line;
        while (joined.back() == '\\' && joined.find("=hex") != std::string::npos &&
               i + 1 < lines.size() && TrimLeft(lines[i + 1]).compare(0, 1, "[") != 0) {
            joined.pop_back();
            ++i;
            raw += '\n';
            raw += lines[i];
            joined += TrimRight(TrimLeft(lines[i]));
            if (joined.empty())
                break;
        }
        Block& block = blocks_[current];
        Value value;
        if (!block.preamble && !block.damaged && ParseValue(joined, value)) {
            // A name given twice holds what it was given last, as an import of the file
            // leaves it; it keeps the place and the spelling of its first line.
            if (Item* earlier = FindReadable(block, value.name)) {
                earlier->value.type = value.type;
                earlier->value.data = std::move(value.data);
            } else {
                block.items.push_back(Item{true, std::move(value), std::string()});
            }
        } else {
            if (!block.damaged)
                NoteDamage(lineNumber);
            block.items.push_back(Item{false, Value{}, raw});
        }
    }
}

std::string Document::Serialize() const {
    std::string out = "REGEDIT4\n";
    for (const Block& block : blocks_) {
        if (!block.preamble) {
            out += '\n';
            if (block.damaged) {
                out += block.header;
            } else {
                out += '[' + root_;
                if (!block.key.empty())
                    out += '\\' + registry::JoinKeyPath(block.key);
                out += ']';
            }
            out += '\n';
        }
        for (const Item& item : block.items) {
            if (item.readable)
                AppendValue(out, item.value);
            else
                out += item.raw + '\n';
        }
    }
    out += '\n';
    return out;
}

Block* Document::FindBlock(const std::vector<std::string>& key) {
    for (Block& block : blocks_)
        if (!block.preamble && !block.damaged && SameKey(block.key, key))
            return &block;
    return nullptr;
}

const Block* Document::FindBlock(const std::vector<std::string>& key) const {
    return const_cast<Document*>(this)->FindBlock(key);
}

Block& Document::EnsureBlock(const std::vector<std::string>& key) {
    if (Block* found = FindBlock(key))
        return *found;
    Block block;
    block.key = key;
    blocks_.push_back(std::move(block));
    return blocks_.back();
}

bool Document::KeyExists(const std::vector<std::string>& key) const {
    if (key.empty() || (key.size() == 1 && SameRegName(key[0], "software")))
        return true;
    for (const Block& block : blocks_)
        if (!block.preamble && !block.damaged && IsBelowOrSame(block.key, key))
            return true;
    return false;
}

const std::vector<Item>* Document::ItemsOf(const std::vector<std::string>& key) const {
    const Block* block = FindBlock(key);
    return block ? &block->items : nullptr;
}

const Value* Document::FindValue(const std::vector<std::string>& key,
                                 const std::string& name) const {
    const Block* block = FindBlock(key);
    const Item* item = block ? FindReadable(*block, name) : nullptr;
    return item ? &item->value : nullptr;
}

void Document::Apply(const Op& op) {
    switch (op.kind) {
    case OpKind::CreateKey:
        EnsureBlock(op.key);
        break;
    case OpKind::SetValue: {
        Block& block = EnsureBlock(op.key);
        if (Item* item = FindReadable(block, op.value.name)) {
            // The stored name keeps the letter case it was created with.
            item->value.type = op.value.type;
            item->value.data = op.value.data;
            return;
        }
        block.items.push_back(Item{true, op.value, std::string()});
        break;
    }
    case OpKind::DeleteValue:
        if (Block* block = FindBlock(op.key)) {
            for (auto it = block->items.begin(); it != block->items.end(); ++it) {
                if (it->readable && SameRegName(it->value.name, op.value.name)) {
                    block->items.erase(it);
                    break;
                }
            }
        }
        break;
    case OpKind::ClearValues:
        // Unreadable lines stay: they are not values this process could have seen.
        if (Block* block = FindBlock(op.key)) {
            std::vector<Item> kept;
            for (Item& item : block->items)
                if (!item.readable)
                    kept.push_back(std::move(item));
            block->items = std::move(kept);
        }
        break;
    case OpKind::DeleteTree: {
        std::vector<Block> kept;
        for (Block& block : blocks_)
            if (block.preamble || block.damaged || !IsBelowOrSame(block.key, op.key))
                kept.push_back(std::move(block));
        blocks_ = std::move(kept);
        break;
    }
    }
}

} // namespace platform::regfile
