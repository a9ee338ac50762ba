// engine/CVSArgs.h - the argument vector of one cvs command.
//
// The vector never holds the program name: its first item is a global option or the command
// name ("update", "commit", ...). Items are owned, NUL-terminated copies; an item may be
// null. Operations reuse one vector for several commands (RemoveAll between them).
#pragma once

#include <string>
#include <vector>

class CCVSArgs {
public:
    CCVSArgs() = default;
    virtual ~CCVSArgs() { RemoveAll(); }
    CCVSArgs(const CCVSArgs&) = delete;
    CCVSArgs& operator=(const CCVSArgs&) = delete;

    // Appends a copy of text; a null text appends a null item.
    virtual void Add(const char* text);
    void Add(const std::string& text) { Add(text.c_str()); }
    // Inserts a copy of text at index (0 <= index <= count); later items move up.
    void InsertAt(int index, const char* text);
    void RemoveAll();

    int GetCount() const { return static_cast<int>(items_.size()); }
    // The item at index, or null for a null item or an index out of range.
    const char* GetAt(int index) const;
    // The items as the client library takes them: count items, null items included.
    char** GetArgv() { return items_.empty() ? nullptr : items_.data(); }

    // The command line as the provider echoes it: "cvs", then a space and each item (a null
    // item adds only its space).
    std::string CommandLine() const;

private:
    std::vector<char*> items_;
};
