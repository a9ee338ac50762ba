// platform/posix/RegFile.h - one hive held as REGEDIT4 text: reading, changing, writing.
//
// No system calls here; platform/posix/Registry.cpp does the files and the locks. What a
// file holds is kept in file order: keys, their values, and the lines that could not be
// read, so that writing the document back loses nothing of what it was read from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::regfile {

struct Value {
    std::string name; // empty: the key's default value ("@")
    uint32_t type = 0;
    std::string data; // the bytes as stored
};

// One line of a key's body: a value, or text that could not be read (kept as it stood,
// continuation lines included).
struct Item {
    bool readable = true;
    Value value;     // when readable
    std::string raw; // when not readable
};

struct Block {
    bool preamble = false;        // what stands before the first key header
    bool damaged = false;         // the header could not be read: everything is kept, not read
    std::string header;           // the header line as read, for a damaged block
    std::vector<std::string> key; // the key's path below the hive, component by component
    std::vector<Item> items;
};

enum class OpKind { CreateKey, SetValue, DeleteValue, ClearValues, DeleteTree };

// One change, replayed on the file as it stands when it is written.
struct Op {
    OpKind kind;
    std::vector<std::string> key;
    Value value; // SetValue: name, type, data; DeleteValue: name
};

class Document {
public:
    // rootName: "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
    explicit Document(std::string rootName) : root_(std::move(rootName)) {}

    // Reads REGEDIT4 text (LF or CR LF line ends). Lines that cannot be read are kept.
    void Parse(const std::string& text);
    std::string Serialize() const;

    // How many lines Parse could not read, and the number of the first.
    int DamagedLines() const { return damagedLines_; }
    int FirstDamagedLine() const { return firstDamagedLine_; }

    // A key exists when it is listed, when a listed key lies below it, or when it is one of
    // the keys every hive has (its root and "software").
    bool KeyExists(const std::vector<std::string>& key) const;
    // The readable values of the key, in file order; null for a key without values.
    const std::vector<Item>* ItemsOf(const std::vector<std::string>& key) const;
    const Value* FindValue(const std::vector<std::string>& key, const std::string& name) const;

    void Apply(const Op& op);

private:
    Block* FindBlock(const std::vector<std::string>& key);
    const Block* FindBlock(const std::vector<std::string>& key) const;
    Block& EnsureBlock(const std::vector<std::string>& key);
    void NoteDamage(int line);

    std::string root_;
    std::vector<Block> blocks_;
    int damagedLines_ = 0;
    int firstDamagedLine_ = 0;
};

} // namespace platform::regfile
