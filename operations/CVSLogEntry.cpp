// operations/CVSLogEntry.cpp - reading the texts of "cvs log" and "cvs log -h".
//
// One pass over the text, line by line, without copying lines: the time is linear in the
// text and a line may be of any length (a message of a hundred kilobytes on one line is
// read like any other).
#include "operations/CVSLogEntry.h"

#include "operations/TextLines.h"

#include <unordered_set>

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A one-line field without the carriage return of a CR LF line end: "1.4" must match the
// revision of CVS/Entries and go back to cvs as it is, whatever line ends cvs wrote.
std::string_view Field(std::string_view text) {
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

// The text after label up to the next ";" (or the end of the line); empty without label.
std::string_view Labelled(std::string_view line, std::string_view label) {
    const std::string_view::size_type at = line.find(label);
    if (at == std::string_view::npos)
        return std::string_view();
    const std::string_view rest = line.substr(at + label.size());
    return Field(rest.substr(0, rest.find(';')));
}

// The lines that close a revision: the dashes between revisions, the equals signs after the
// last one.
bool IsSeparator(std::string_view line) {
    return StartsWith(line, "----") || StartsWith(line, "====");
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const std::string_view::size_type first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::string_view();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

std::string Describe(const CCVSLogEntry& entry) {
    std::string text = entry.isHead ? "head " : entry.isWorking ? "ancestor " : "";
    text += entry.revision;
    text += ' ';
    text += entry.date;
    text += ' ';
    text += entry.author;
    return text;
}

std::vector<CCVSLogEntry> ParseLog(std::string_view text, std::string_view workingRevision) {
    std::vector<CCVSLogEntry> entries;
    CTextLines in(text);
    std::string_view head;
    std::string_view line;
    while (in.Next(line)) {
        if (StartsWith(line, "head: ")) {
            head = Field(line.substr(6));
            continue;
        }
        if (!StartsWith(line, "revision "))
            continue; // the header lines, and whatever another cvs prints there
        CCVSLogEntry entry;
        entry.revision = Field(line.substr(9));
        entry.isHead = entry.revision == head;
        entry.isWorking = entry.revision == workingRevision;
        // The date line, then "branches: " when the revision has branches, then the message
        // up to the separator. Text that ends early gives the entry as far as it goes.
        if (in.Next(line) && !IsSeparator(line)) {
            entry.date = Labelled(line, "date: ");
            entry.author = Labelled(line, "author: ");
            bool more = in.Next(line);
            if (more && StartsWith(line, "branches: ")) {
                entry.branches = Field(line.substr(10));
                more = in.Next(line);
            }
            for (; more && !IsSeparator(line); more = in.Next(line))
                entry.message.append(line.data(), line.size());
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

void ParseTagNames(std::string_view text, std::vector<std::string>& tags) {
    std::unordered_set<std::string> known(tags.begin(), tags.end());
    CTextLines in(text);
    std::string_view line;
    bool inTags = false;
    while (in.Next(line)) {
        // The names are the indented lines under "symbolic names:"; "keyword substitution:"
        // follows them, and so does, in any cvs, a line that is not indented.
        if (inTags && (line.empty() || (line[0] != '\t' && line[0] != ' ') ||
                       StartsWith(line, "keyword substitution:")))
            inTags = false;
        if (inTags) {
            const std::string name(Trimmed(line.substr(0, line.find(':'))));
            if (!name.empty() && known.insert(name).second)
                tags.push_back(name);
        }
        if (StartsWith(line, "symbolic names:"))
            inTags = true;
    }
}
