// operations/TextLines.h - the lines of a cvs output text, for the readers of the records.
#pragma once

#include <string_view>

// Each line ends at a line feed, which is not part of it; a carriage return before it is.
// Text after the last line feed is a last line; a text that ends with a line feed has no
// empty line after it. Lines are views into the text: nothing is copied, and a line may be
// of any length.
class CTextLines {
public:
    explicit CTextLines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size())
            return false;
        const std::string_view::size_type end = text_.find('\n', pos_);
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
        } else {
            line = text_.substr(pos_, end - pos_);
            pos_ = end + 1;
        }
        return true;
    }

private:
    std::string_view text_;
    std::string_view::size_type pos_ = 0;
};
