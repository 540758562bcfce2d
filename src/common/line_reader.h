#pragma once
// Walks a text line by line, for every reader of a line-based file (settings, data-logger
// and history files). "\r\n" and "\n" both end a line; a last line without a line end
// still counts, and the text's end gives no empty line after it.

#include <cstddef>
#include <optional>
#include <string_view>

namespace plotwell::common {

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    void rewind() { pos_ = 0; }

    // The next line without its line end; nullopt at the end of the text.
    std::optional<std::string_view> peek() const {
        if (atEnd())
            return std::nullopt;
        const std::size_t nl = text_.find('\n', pos_);
        std::string_view line = text_.substr(pos_, (nl == std::string_view::npos ? text_.size() : nl) - pos_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }

    // The next line as peek() has it, and moves past it.
    std::optional<std::string_view> next() {
        const auto line = peek();
        if (line) {
            const std::size_t nl = text_.find('\n', pos_);
            pos_ = nl == std::string_view::npos ? text_.size() : nl + 1;
        }
        return line;
    }

    // Skips lines that hold nothing but blanks.
    void skipBlankLines() {
        while (const auto line = peek()) {
            if (line->find_first_not_of(" \t") != std::string_view::npos)
                return;
            next();
        }
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace plotwell::common
