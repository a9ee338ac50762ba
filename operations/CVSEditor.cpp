// operations/CVSEditor.cpp - reading the texts of "cvs editors" and "cvs watchers".
#include "operations/CVSEditor.h"

#include "operations/TextLines.h"

namespace {

// The fields of a line, split at tabs as a tokenizer does: runs of tabs are one separator
// and leading tabs are skipped. continued: the line started with a tab.
struct Fields {
    std::vector<std::string_view> items;
    bool continued = false;
};

Fields Split(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    Fields fields;
    fields.continued = !line.empty() && line.front() == '\t';
    std::string_view::size_type pos = 0;
    while (pos < line.size()) {
        const std::string_view::size_type start = line.find_first_not_of('\t', pos);
        if (start == std::string_view::npos)
            break;
        std::string_view::size_type end = line.find('\t', start);
        if (end == std::string_view::npos)
            end = line.size();
        fields.items.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

// The field at index, or empty.
std::string At(const std::vector<std::string_view>& items, size_t index) {
    return index < items.size() ? std::string(items[index]) : std::string();
}

// Reads the lines of text; for each, gives its fields from the user on, and the file: its
// own first field, or the file of the line before for a continuation line.
template <typename OnLine> void ReadUsers(std::string_view text, OnLine onLine) {
    CTextLines lines(text);
    std::string_view line;
    std::string file;
    while (lines.Next(line)) {
        Fields fields = Split(line);
        std::vector<std::string_view> rest;
        if (fields.continued) {
            rest = std::move(fields.items);
        } else {
            file = At(fields.items, 0);
            if (!fields.items.empty())
                rest.assign(fields.items.begin() + 1, fields.items.end());
        }
        onLine(file, rest);
    }
}

} // namespace

void ParseEditors(std::string_view text, std::vector<CCVSEditor>& editors) {
    ReadUsers(text, [&](const std::string& file, const std::vector<std::string_view>& rest) {
        editors.push_back(CCVSEditor{file, At(rest, 0), At(rest, 1), At(rest, 2), At(rest, 3)});
    });
}

void ParseWatchers(std::string_view text, std::vector<CCVSWatcher>& watchers) {
    ReadUsers(text, [&](const std::string& file, const std::vector<std::string_view>& rest) {
        CCVSWatcher watcher;
        watcher.file = file;
        watcher.user = At(rest, 0);
        for (size_t i = 1; i < rest.size(); ++i) {
            const std::string_view action = rest[i];
            watcher.edit = watcher.edit || action == "edit" || action == "tedit";
            watcher.unedit = watcher.unedit || action == "unedit" || action == "tunedit";
            watcher.commit = watcher.commit || action == "commit" || action == "tcommit";
        }
        watchers.push_back(std::move(watcher));
    });
}
