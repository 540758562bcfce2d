#include "workspace/core/wave_files.h"

#include "codec_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace plotwell::workspace;

namespace {
std::string testData(const std::string& name) {
    const auto path = std::filesystem::path(__FILE__).parent_path() / "../../data/isf" / name;
    std::ifstream f(path, std::ios::binary);
    EXPECT_TRUE(f.good()) << path;
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}
} // namespace

using namespace codec_test;

TEST(TektronixIsf, WriterIsByteExactForAFullScaleSquare) {
    std::vector<uint16_t> codes(2000);
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = i < 1000 ? 0 : 4095;
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteTektronixIsf(stream(2048, codes), 0, 1999, out, ref));
    EXPECT_EQ(ref, 128);
    const std::string head = ":WFMPRE:BYT_NR 2;BIT_NR 16;ENCDG BIN;BN_FMT RI;BYT_OR MSB;:CURVE #42000";
    ASSERT_EQ(out.size(), head.size() + 2000 + 1);
    EXPECT_EQ(out.size(), 2072u);
    EXPECT_EQ(out.substr(0, head.size()), head);
    EXPECT_EQ(out.substr(head.size(), 2), std::string("\x80\x00", 2));   // low level
    EXPECT_EQ(out.substr(out.size() - 3), std::string("\x7F\x00\n", 3)); // high level
}

TEST(TektronixIsf, CodesAboveTheRangeStayAtTheTop) {
    // The 10-bit readers admit code 1024 with R 512; it must not wrap to -128.
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteTektronixIsf(stream(512, {1024}), 0, 0, out, ref));
    EXPECT_EQ(uint8_t(out[71]), 0x7F);
}

TEST(TektronixIsf, RoundTripThroughTheWriter) {
    std::vector<uint16_t> codes(1000);
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = uint16_t(i % 256);
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteTektronixIsf(stream(128, codes), 0, 999, out, ref));
    SampleStream back;
    ASSERT_TRUE(ReadTektronixIsf(out, back));
    EXPECT_EQ(back, stream(128, codes));
}

TEST(TektronixIsf, ReadsTheRealLongFormFile) {
    const std::string file = testData("scope-math-envelope-10000pts.isf");
    SampleStream s;
    ASSERT_TRUE(ReadTektronixIsf(file, s));
    ASSERT_EQ(s.count(), 10000);
    EXPECT_EQ(s.reference(), 128);
    const auto block = file.find("#520000") + 7;
    for (int i : {0, 1, 2, 5000, 9999})
        EXPECT_EQ(s.codes()[std::size_t(i)], uint8_t(uint8_t(file[block + 2 * std::size_t(i)]) + 128)) << i;
}

TEST(TektronixIsf, RefusesTheRealFileOfMoreThanAMillionPoints) {
    SampleStream s;
    EXPECT_FALSE(ReadTektronixIsf(testData("scope-ch1-1250000pts-bytnr1-two-records.isf"), s));
    EXPECT_FALSE(s.hasPoints());
}

TEST(TektronixIsf, AbbreviatedOneBytePointsAndOnlyTheFirstRecord) {
    // The real abbreviated file, cut to 1000 points in its first record.
    std::string file = testData("scope-ch1-1250000pts-bytnr1-two-records.isf");
    const auto second = file.find(":WFMP", 100);
    ASSERT_NE(second, std::string::npos);
    const std::string rest = file.substr(second);
    const auto block = file.find("#71250000");
    std::string head = file.substr(0, block);
    for (std::size_t p; (p = head.find("1250000")) != std::string::npos;)
        head.replace(p, 7, "1000");
    const std::string data = file.substr(block + 9, 1000);
    const std::string cut = head + "#41000" + data + "\n" + rest;
    SampleStream s;
    ASSERT_TRUE(ReadTektronixIsf(cut, s));
    ASSERT_EQ(s.count(), 1000);
    for (int i : {0, 1, 500, 999})
        EXPECT_EQ(s.codes()[std::size_t(i)], uint8_t(uint8_t(data[std::size_t(i)]) + 128)) << i;
}

TEST(TektronixIsf, HeaderRules) {
    SampleStream s;
    const std::string pairs("\x01\x02\xFF\x04", 4);
    ASSERT_TRUE(ReadTektronixIsf(":WFMPRE:BYT_NR 2;BYT_OR MSB;:CURVE #14" + pairs, s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{129, 127}));
    ASSERT_TRUE(ReadTektronixIsf(":WFMPRE:BYT_NR 2;BYT_OR LSB;:CURVE #14" + pairs, s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{130, 132}));
    ASSERT_TRUE(ReadTektronixIsf(":WFMP:BYT_N 1;BYT_O MSB;:CURV #14" + pairs, s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{129, 130, 127, 132}));
    ASSERT_TRUE(ReadTektronixIsf(":WFMPRE:BYT_NR 1;BN_FMT RP;:CURVE #14" + pairs, s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{1, 2, 255, 4}));
    // Any header at all: two-byte points, most significant first.
    ASSERT_TRUE(ReadTektronixIsf("#14" + pairs, s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{129, 127}));
    // A '#' inside a quoted identifier is not the block.
    ASSERT_TRUE(ReadTektronixIsf(":WFMPRE:WFID \"Ch1 #3\";:CURVE #14" + pairs, s));
    EXPECT_EQ(s.count(), 2);
    // A count of 0, or no count digits, is an empty waveform.
    ASSERT_TRUE(ReadTektronixIsf(":CURVE #10", s));
    EXPECT_EQ(s.count(), 0);
    ASSERT_TRUE(ReadTektronixIsf(":CURVE #0\n", s));
    EXPECT_EQ(s.count(), 0);
    EXPECT_EQ(s.reference(), 128);
}

TEST(TektronixIsf, RefusedHeaders) {
    SampleStream s;
    const std::string data(8, '\x10');
    for (const char* head : {":WFMPRE:BYT_NR 4;:CURVE #18", ":WFMPRE:BYT_NR 8;:CURVE #18",
                             ":WFMPRE:BN_FMT FP;:CURVE #18", ":WFMP:BYT_N x;:CURV #18",
                             ":WFMPRE:NR_PT 1048577;:CURVE #18", ":WFMP:NR_P 99999999999;:CURV #18"}) {
        EXPECT_FALSE(ReadTektronixIsf(head + data, s)) << head;
        EXPECT_FALSE(s.hasPoints());
    }
    // A block count of more than 1,048,576 points is refused before anything is read.
    EXPECT_FALSE(ReadTektronixIsf(":CURVE #72097154" + data, s));
    EXPECT_FALSE(ReadTektronixIsf(":WFMP:BYT_N 1;:CURV #71048577" + data, s));
    EXPECT_FALSE(s.hasPoints());
    EXPECT_TRUE(ReadTektronixIsf(":WFMPRE:NR_PT 1048576;:CURVE #18" + data, s));
}

TEST(TektronixIsf, MalformedBlocks) {
    SampleStream s;
    EXPECT_FALSE(ReadTektronixIsf("", s));
    EXPECT_FALSE(ReadTektronixIsf(":WFMPRE:BYT_NR 2;no block", s));
    EXPECT_FALSE(ReadTektronixIsf(":CURVE #", s));
    EXPECT_FALSE(ReadTektronixIsf(":CURVE #x1", s));
    EXPECT_FALSE(ReadTektronixIsf(":CURVE #5123", s)); // fewer digits than announced
    EXPECT_FALSE(ReadTektronixIsf(":CURVE #2a4", s));  // a count digit that is not one
    // Fewer bytes than the count: a failure that keeps the points read.
    EXPECT_FALSE(ReadTektronixIsf(std::string(":CURVE #18\x01\x00\x02", 13), s));
    EXPECT_EQ(s.count(), 1);
    // An odd count: the last lone byte is left, and the reading ends cleanly.
    ASSERT_TRUE(ReadTektronixIsf(std::string(":CURVE #13\x01\x00\x02\n", 14), s));
    EXPECT_EQ(codesOf(s), (std::vector<uint16_t>{129}));
}
