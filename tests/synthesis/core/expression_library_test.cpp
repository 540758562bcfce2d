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
         }) {
        std::size_t skipped = 99;
        EXPECT_EQ(ReadLibrary(c.bytes, &skipped), c.lines);
        EXPECT_EQ(skipped, c.skipped);
    }
}

TEST(ExpressionLibrary, SortedPlaceIgnoresCase) {
    std::vector<std::string> lines;
    for (const char* l : {"beta\t= 2", "Alpha\t= 1", "gamma\t= 3", "alpha\t= 1", "BETA\t= 4"})
        lines.insert(lines.begin() + std::ptrdiff_t(LibrarySortedIndex(lines, l)), l);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Alpha\t= 1", "alpha\t= 1", "beta\t= 2", "BETA\t= 4", "gamma\t= 3"}));
}
