// engine/CVSArgs.cpp - the argument vector of one cvs command.
#include "engine/CVSArgs.h"

#include <cstring>

namespace {
char* Copy(const char* text) {
    if (!text)
        return nullptr;
    const size_t size = std::strlen(text) + 1;
    char* copy = new char[size];
    std::memcpy(copy, text, size);
    return copy;
}
} // namespace

void CCVSArgs::Add(const char* text) {
    items_.push_back(Copy(text));
}

void CCVSArgs::InsertAt(int index, const char* text) {
    if (index < 0)
        index = 0;
    if (index > GetCount())
        index = GetCount();
    items_.insert(items_.begin() + index, Copy(text));
}

void CCVSArgs::RemoveAll() {
    for (char* item : items_)
        delete[] item;
    items_.clear();
}

const char* CCVSArgs::GetAt(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

std::string CCVSArgs::CommandLine() const {
    std::string line = "cvs";
    for (const char* item : items_) {
        line += ' ';
        if (item)
            line += item;
    }
    return line;
}
