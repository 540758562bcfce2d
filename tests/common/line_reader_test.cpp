#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using plotwell::common::LineReader;

namespace {
std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> out;
    LineReader lines(text);
    while (const auto line = lines.next())
        out.emplace_back(*line);
    return out;
}
} // namespace

TEST(LineReader, LineEndsAndTheLastLine) {
    using L = std::vector<std::string>;
    const struct {
        std::string_view text;
        L lines;
    } cases[] = {
        {"", L{}},
        {"a", L{"a"}},
        {"a\n", L{"a"}},
        {"a\r\nb\nc", L{"a", "b", "c"}},
        {"\n\r\n", L{"", ""}},
        {"a\r\r\n", L{"a\r"}}, // only the CR right before the LF belongs to the line end
        {"a\rb", L{"a\rb"}},
        {std::string_view("a\0b\n", 4), L{std::string("a\0b", 3)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(c.text), c.lines) << c.text;
}

TEST(LineReader, PeekBlankLinesAndRewind) {
    LineReader lines(" \t\r\n\nkey 1\r\nnext");
    lines.skipBlankLines();
    EXPECT_EQ(lines.peek(), "key 1");
    EXPECT_EQ(lines.next(), "key 1");
    EXPECT_EQ(lines.next(), "next");
    EXPECT_TRUE(lines.atEnd());
    EXPECT_EQ(lines.next(), std::nullopt);
    lines.rewind();
    EXPECT_EQ(lines.peek(), " \t");
}
