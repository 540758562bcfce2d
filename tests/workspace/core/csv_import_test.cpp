#include "workspace/core/csv_import.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plotwell::workspace;

namespace {

struct Imported {
    CsvLayout layout;
    CsvColumn col;
};

Imported import(std::string_view text, int column) {
    Imported r;
    r.layout = CsvFindLayout(text);
    r.col = CsvConvertColumn(text.substr(r.layout.dataStart), column);
    return r;
}

std::vector<uint16_t> codesOf(const CsvColumn& c) {
    const auto s = c.preview.codes();
    return {s.begin(), s.end()};
}

} // namespace

TEST(CsvImport, Cases) {
    struct Case {
        const char* name;
        std::string text;
        int column;
        int columns;
        std::vector<uint16_t> codes;
        bool illegal;
    };
    const std::vector<Case> cases = {
        {"header, two columns", "time,volts\n0,0.5\n1,-1\n", 1, 2, {49150, 0}, false},
        {"no header", "0.5\n-1\n", 0, 1, {49150, 0}, false},
        {"M = 2", "2\n-2\n0\n", 0, 1, {65534, 0, 32767}, false},
        {"CRLF one line end", "time,volts\r\n0,0.5\r\n1,-1\r\n", 1, 2, {49150, 0}, false},
        {"CRLF first column", "a,b\r\n1,x\r\n-1,y\r\n", 0, 2, {65534, 0}, false},
        {"short row is illegal, not the next line", "1,2\n3\n4,-4\n", 1, 2, {49150, 0}, true},
        {"header beginning with a digit is data", "1st,volts\n0,1\n0,-1\n", 1, 2, {65534, 0}, true},
        {"a number in any header field keeps the line", "t,5\n0,1\n", 1, 2, {65534, 39320}, false},
        {"M = 0 is not scaled", "x\n0\n0\n", 0, 1, {32767, 32767}, false},
        {"trailing empty lines are no rows", "1\n-1\n\n\r\n", 0, 1, {65534, 0}, false},
        {"empty middle line is illegal", "1\n\n-1\n", 0, 1, {65534, 0}, true},
        {"signed mantissas and exponents", "+1.0E+00\n-5.0e-1\n.25\n", 0, 1, {65534, 16383, 40958}, false},
        {"lone sign converts to 0", "-\n1\n", 0, 1, {32767, 65534}, false},
        {"no line end at the end", "4,1\n-4,2", 0, 2, {65534, 0}, false},
        {"blank before a number is not a number", "a,b\n1, 2\n1,-2\n", 1, 2, {0}, true},
        {"hexadecimal as the standard conversion reads it",
         "0x10\n-0x10\n0x1.8p3\n0X1F\n",
         0,
         1,
         {49679, 15855, 45451, 65534},
         false},
        {"infinity and NaN texts are illegal rows",
         "-inf\n+nan\n2\n-INFINITY\n+NaN(1)\n-1\n",
         0,
         1,
         {65534, 16383},
         true},
        {"an overflow is an illegal row, not the scale",
         "1\n1e309\n-0\n0.5\n-1e-320\n2\n",
         0,
         1,
         {49150, 32767, 40958, 32767, 65534},
         true},
        {"a long number that overflows", "1" + std::string(400, '0') + "\n1\n-1\n", 0, 1, {65534, 0}, true},
        {"hexadecimal overflow and denormal", "0x1p1024\n-0x1p-1074\n1\n", 0, 1, {32767, 65534}, true},
        {"code is v x 32767 / M + 32767 in that order", "49.91\n-36.11\n", 0, 1, {65534, 9060}, false},
        {"magnitudes near the double limit", "1e305\n-1e305\n5e304\n", 0, 1, {65534, 0, 49150}, false},
        {"CR-only lines: no line feed, so the header is an illegal row",
         "a,b\r1,2\r3,-4\r",
         1,
         2,
         {49150, 0},
         true},
        {"a lone CR ends a line", "1\r2\n-2\n", 0, 1, {49150, 65534, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Imported r = import(c.text, c.column);
        EXPECT_EQ(r.layout.columns, c.columns);
        EXPECT_EQ(r.col.pointCount, int(c.codes.size()));
        EXPECT_EQ(codesOf(r.col), c.codes);
        EXPECT_EQ(r.col.illegalRows, c.illegal);
        EXPECT_EQ(r.col.preview.reference(), 32768);
    }
}

TEST(CsvImport, HeaderDetection) {
    struct Case {
        std::string text;
        std::size_t dataStart;
        int columns;
    };
    for (const Case& c : std::vector<Case>{{"time,volts\n0,1\n", 11, 2},
                                           {"0,1,2\n", 0, 3},
                                           {"a,b,c\r\n1,2\r\n", 7, 2},
                                           {",x\n1\n", 3, 1},
                                           {"header only", 0, 1},
                                           {"time,volts", 0, 2},
                                           {"a,b\r1,2\r3,4\r", 0, 2},
                                           {"a,b\rc\nx,y,z\n", 6, 3},
                                           {"", 0, 1}}) {
        SCOPED_TRACE(c.text);
        const CsvLayout l = CsvFindLayout(c.text);
        EXPECT_EQ(l.dataStart, c.dataStart);
        EXPECT_EQ(l.columns, c.columns);
    }
}

// Exports as oscilloscopes write them: an index or a time column, then volts.
TEST(CsvImport, OscilloscopeExports) {
    const std::string indexed =
        "Index,CH1(V)\r\n0,-2.000e-01\r\n1,+4.000e-01\r\n2,+0.000e+00\r\n3,-4.000e-01\r\n";
    const Imported a = import(indexed, 1);
    EXPECT_EQ(a.layout.columns, 2);
    EXPECT_EQ(codesOf(a.col), (std::vector<uint16_t>{16383, 65534, 32767, 0}));
    EXPECT_FALSE(a.col.illegalRows);

    const std::string timed = "TIME,CH1,CH2\n-1.0000E-06,1.20E-02,-3.0E+00\n-9.9800E-07,-2.40E-02,3.0E+00\n";
    const Imported t = import(timed, 0);
    EXPECT_EQ(t.layout.columns, 3);
    EXPECT_EQ(codesOf(t.col), (std::vector<uint16_t>{0, 65}));
    EXPECT_EQ(codesOf(import(timed, 2).col), (std::vector<uint16_t>{0, 65534}));
}

TEST(CsvImport, TooManyRowsRefused) {
    std::string text;
    text.reserve(2 * (std::size_t(kMaxPoints) + 1));
    for (int32_t i = 0; i <= kMaxPoints; ++i)
        text += "1\n";
    const CsvColumn c = CsvConvertColumn(text, 0);
    EXPECT_TRUE(c.tooLong);
    EXPECT_TRUE(c.preview.empty());
    text.resize(text.size() - 2);
    EXPECT_FALSE(CsvConvertColumn(text, 0).tooLong);
}

TEST(CsvImport, PatternThreshold) {
    SampleStream s(32768, 0);
    for (uint16_t c : {0, 32767, 32768, 32769, 65534})
        s.append(c);
    CsvToBitPattern(s);
    EXPECT_EQ(s.reference(), 32768);
    EXPECT_EQ(std::vector<uint16_t>(s.codes().begin(), s.codes().end()),
              (std::vector<uint16_t>{0, 0, 0, 65535, 65535}));
}

TEST(CsvImport, ProgressStepsEvery4000Points) {
    // Each pass steps at its 4000th and 8000th point.
    for (const auto& [points, wanted] : {std::pair(7999, 2), std::pair(8000, 4)}) {
        std::string text;
        for (int i = 0; i < points; ++i)
            text += "1\n";
        std::vector<int> stages;
        int steps = 0;
        CsvConvertColumn(
            text, 0, [&](int s) { stages.push_back(s); }, [&] { ++steps; });
        EXPECT_EQ(stages, (std::vector<int>{1, 2}));
        EXPECT_EQ(steps, wanted) << points;
    }
}

TEST(CsvImport, Thumbnail) {
    // 12 x 14 pixels: the plot is 10 wide and 10 high from (1, 2); code 0 lies at y = 12.
    const std::vector<uint16_t> two = {65535, 0};
    EXPECT_EQ(CsvThumbnail(two, 12, 14), (std::vector<CsvPoint>{{1, 2}, {6, 2}, {6, 2}, {6, 2}, {6, 12}}));
    // Many points per column are drawn as their extremes.
    std::vector<uint16_t> many(1000, 32768);
    many[3] = 65535;
    many[7] = 0;
    const auto t = CsvThumbnail(many, 12, 14);
    EXPECT_EQ(t.front(), (CsvPoint{1, 7}));
    EXPECT_EQ(t[1], (CsvPoint{2, 2}));
    EXPECT_EQ(t[2], (CsvPoint{2, 12}));
    EXPECT_LE(t.size(), 1 + 4 * 10u);
    EXPECT_TRUE(CsvThumbnail({}, 12, 14).empty());
}
