#include "sim/stream_parser.h"

#include <gtest/gtest.h>

using namespace plotwell::sim;
using Kind = Message::Kind;

namespace {
std::vector<Message> parse(std::string_view bytes, std::size_t piece = 0, std::size_t maxBlock = 1 << 20) {
    StreamParser p(maxBlock);
    std::vector<Message> out;
    if (piece == 0)
        p.feed(bytes, out);
    else
        for (std::size_t i = 0; i < bytes.size(); i += piece)
            p.feed(bytes.substr(i, piece), out);
    return out;
}
} // namespace

TEST(SimStreamParser, LinesKeepTheirCarriageReturnAndEmptyLines) {
    const auto m = parse("\n*idn?\nlocal\r\n");
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, "");
    EXPECT_EQ(m[1].text, "*idn?");
    EXPECT_EQ(m[2].text, "local\r");
}

TEST(SimStreamParser, BlockTakesExactlyItsCountWhateverThePieces) {
    std::string bytes = "ARBDEF WAVE1,3,#16";
    bytes += std::string("\n#\0\xff\x0a\x23", 6);
    bytes += "\nlocal\n";
    for (std::size_t piece : {0u, 1u, 2u, 5u}) {
        const auto m = parse(bytes, piece);
        ASSERT_EQ(m.size(), 3u) << piece;
        EXPECT_EQ(m[0].kind, Kind::Block);
        EXPECT_EQ(m[0].text, "ARBDEF WAVE1,3,");
        EXPECT_EQ(m[0].data, std::string("\n#\0\xff\x0a\x23", 6));
        EXPECT_EQ(m[1].text, "");
        EXPECT_EQ(m[2].text, "local");
    }
}

TEST(SimStreamParser, MalformedBlockHeadersAreReportedAndLinesResume) {
    struct Case {
        const char* bytes;
        const char* reason;
    } cases[] = {
        {"arb1 #0\nlocal\n", "bad digit count"},
        {"arb1 #x12\nlocal\n", "bad digit count"},
        {"arb1 #4ab12\nlocal\n", "bad count digit"},
        {"curve #9999999999\nlocal\n", "block too large"},
    };
    for (const Case& c : cases) {
        const auto m = parse(c.bytes);
        ASSERT_FALSE(m.empty()) << c.bytes;
        EXPECT_EQ(m[0].kind, Kind::Malformed) << c.bytes;
        EXPECT_NE(m[0].text.find(c.reason), std::string::npos) << m[0].text;
        EXPECT_EQ(m.back().text, "local") << c.bytes;
    }
}

TEST(SimStreamParser, ZeroCountBlockAndBlockThatNeverEnds) {
    auto m = parse("arb1 #10\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].kind, Kind::Block);
    EXPECT_TRUE(m[0].data.empty());

    StreamParser p;
    std::vector<Message> out;
    p.feed("arb1 #210abc", out);
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(p.idle());
}

TEST(SimStreamParser, ValueRunsOfBothCsvCommands) {
    auto m = parse("ARBDEFCSV WAVE1,3,-2048,0,2047\nLOCAL\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].kind, Kind::Csv);
    EXPECT_EQ(m[0].text, "ARBDEFCSV WAVE1,3");
    EXPECT_EQ(m[0].values, (std::vector<long>{-2048, 0, 2047}));
    m = parse("SETARB 1,-2,3\nARBSAV 3,ramp\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "SETARB");
    EXPECT_EQ(m[0].values, (std::vector<long>{1, -2, 3}));
    EXPECT_EQ(m[1].text, "ARBSAV 3,ramp");
}

TEST(SimStreamParser, CsvRunRejectsMalformedValues) {
    std::vector<long> v;
    EXPECT_TRUE(parseCsvRun("5", v));
    EXPECT_TRUE(parseCsvRun("+5,-6", v));
    for (const char* bad : {"", ",", "1,", ",1", "1,,2", "1 ,2", "0x10", "1.5", "-", "1234567890", "1;2"})
        EXPECT_FALSE(parseCsvRun(bad, v)) << bad;
    const auto m = parse("SETARB 1,2,x\n");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].kind, Kind::Malformed);
}
