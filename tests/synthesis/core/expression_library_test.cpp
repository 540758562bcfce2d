#include "synthesis/core/expression_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plotwell::synthesis;

TEST(ExpressionLibrary, LineAndRecall) {
    struct Case {
        std::string name, expression, line, recalled;
    };
    for (const Case& c : std::vector<Case>{
             {"sine", "sin(omg*t)", "sine\t= sin(omg*t)", "sin(omg*t)"},
             {"", "t", "\t= t", "t"},
             // The first '=' of the line is taken, so a name holding '=' recalls from inside.
             {"a=b", "x", "a=b\t= x", "\t= x"},
             {"eq", "a==b", "eq\t= a==b", "a==b"},
         }) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(LibraryLine(c.name, c.expression), c.line);
        EXPECT_EQ(RecallExpression(c.line), c.recalled);
    }
    EXPECT_EQ(RecallExpression("no equals"), "");
    EXPECT_EQ(RecallExpression("x="), "");
    EXPECT_EQ(RecallExpression("x= "), "");
    EXPECT_EQ(LibraryLine("n", std::string(kLibraryLineMax - 4, 'x'))->size(), kLibraryLineMax);
    EXPECT_FALSE(LibraryLine("n", std::string(kLibraryLineMax - 3, 'x')));
}

TEST(ExpressionLibrary, FileRoundTrip) {
    const std::vector<std::string> lines = {"alpha\t= t*2", "Beta\t= sin(omg*t)", "gamma\t= -1"};
    const std::string bytes = WriteLibrary(lines);
    EXPECT_EQ(bytes, "alpha\t= t*2\r\nBeta\t= sin(omg*t)\r\ngamma\t= -1\r\n");
    EXPECT_EQ(ReadLibrary(bytes), lines);
    EXPECT_EQ(WriteLibrary({}), "");
}

TEST(ExpressionLibrary, ReadingForeignAndBrokenFiles) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
        std::size_t skipped;
    };
    const std::string tooLong = "n\t= " + std::string(kLibraryLineMax, 'x');
    const std::string longest = "n\t= " + std::string(195, 'x'); // 199 characters, the longest entry
    for (const Case& c : std::vector<Case>{
             {"a\t= 1\nb\t= 2", {"a\t= 1", "b\t= 2"}, 0},
             {"a\t= 1\rb\t= 2\r\n\r\n", {"a\t= 1", "b\t= 2"}, 0},
             {"no entry\r\na\t= 1\r\n", {"a\t= 1"}, 1},
             {tooLong + "\r\nb\t= 2\r\n", {"b\t= 2"}, 1},
             {longest + "\r\n" + longest + "x\r\n", {longest}, 1},
             {"", {}, 0},
             // Bytes that are no UTF-8, and control bytes, stay as they were.
             {"caf\xe9\t= t\r\n" + std::string("\0=\x01", 3), {"caf\xe9\t= t", std::string("\0=\x01", 3)}, 0},
         }) {
        std::size_t skipped = 99;
        EXPECT_EQ(ReadLibrary(c.bytes, &skipped), c.lines);
        EXPECT_EQ(skipped, c.skipped);
    }
}

TEST(ExpressionLibrary, AddingLinesKeepsTheOrderOfAddingThemOneByOne) {
    using Lines = std::vector<std::string>;
    constexpr std::size_t none = std::size_t(-1);
    struct Case {
        Lines lines, added;
        std::size_t row;
        Lines result;
        std::size_t movedTo;
    };
    for (const Case& c : std::vector<Case>{
             // A file read into an empty list: sorted without regard to case, equal lines
             // in the file's order.
             {{},
              {"beta\t= 2", "Alpha\t= 1", "gamma\t= 3", "alpha\t= 1", "BETA\t= 4"},
              none,
              {"Alpha\t= 1", "alpha\t= 1", "beta\t= 2", "BETA\t= 4", "gamma\t= 3"},
              none},
             // An import: a line already there comes before an equal one imported.
             {{"a\t= 1", "B\t= 2", "c\t= 3"},
              {"c\t= 9", "b\t= 8", "A\t= 7"},
              1,
              {"a\t= 1", "A\t= 7", "B\t= 2", "b\t= 8", "c\t= 3", "c\t= 9"},
              2},
             {{"a\t= 1", "b\t= 2"}, {"a\t= 1", "b\t= 2"}, 1, {"a\t= 1", "a\t= 1", "b\t= 2", "b\t= 2"}, 2},
             {{"a\t= 1"}, {}, 0, {"a\t= 1"}, 0},
         }) {
        Lines lines = c.lines;
        EXPECT_EQ(AddToLibrary(lines, c.added, c.row), c.movedTo);
        EXPECT_EQ(lines, c.result);
        Lines oneByOne = c.lines;
        for (const std::string& l : c.added)
            oneByOne.insert(oneByOne.begin() + std::ptrdiff_t(LibrarySortedIndex(oneByOne, l)), l);
        EXPECT_EQ(lines, oneByOne);
    }
}
