#include "workspace/core/datalogger.h"

#include <gtest/gtest.h>

#include <string>

using namespace plotwell::workspace;

namespace {
std::vector<uint16_t> codes(std::initializer_list<uint16_t> c) {
    return c;
}
} // namespace

TEST(ZeloDta, ThreeChannelsWithTheirFlags) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta("0\t1\t0\r\n-2048\t5\t2047\r\n3000\t4095\t-3000\r\n", ch));
    ASSERT_EQ(ch.size(), 3u);
    EXPECT_EQ(ch[0].number, 1);
    EXPECT_EQ(ch[0].reference, 2048);
    EXPECT_EQ(ch[0].unsignedDisplay, 0);
    EXPECT_EQ(ch[0].codes, codes({0, 4095}));
    EXPECT_EQ(ch[1].unsignedDisplay, 1);
    EXPECT_EQ(ch[1].codes, codes({5, 4095}));
    EXPECT_EQ(ch[2].codes, codes({4095, 0})); // below -2048 is 0, not full scale
}

TEST(ZeloDta, NegativeUnsignedSamplesBecomeZero) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta("1\r\n-5\r\n70000\r\n", ch));
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].codes, codes({0, 4095}));
}

TEST(ZeloDta, EmptyHeaderFieldSkipsTheChannel) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta("0\t\t1\n1\t\t2\n3\t\t4\n", ch));
    ASSERT_EQ(ch.size(), 2u);
    EXPECT_EQ(ch[0].number, 1);
    EXPECT_EQ(ch[1].number, 3);
    EXPECT_EQ(ch[1].codes, codes({2, 4}));
}

TEST(ZeloDta, ChannelsStopAtAnEmptyFieldAndShortOnesGetNoWindow) {
    std::vector<LoggerChannel> ch;
    // Channel 1 has one sample, channel 2 three; an empty field ends channel 2.
    ASSERT_TRUE(ReadZeloDta("0\t1\r\n7\t1\r\n\t2\r\n\t3\r\n5\t\r\n", ch));
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].number, 2);
    EXPECT_EQ(ch[0].codes, codes({1, 2, 3}));
}

TEST(ZeloDta, ALineWithFewerFieldsEndsTheWholeReading) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta("1\t1\t1\r\n1\t2\t3\r\n4\t5\t6\r\n7\t8\r\n", ch));
    ASSERT_EQ(ch.size(), 3u);
    EXPECT_EQ(ch[0].codes, codes({1, 4, 7}));
    EXPECT_EQ(ch[1].codes, codes({2, 5, 8}));
    EXPECT_EQ(ch[2].codes, codes({3, 6}));
    ASSERT_TRUE(ReadZeloDta("1\t1\t1\r\n1\t2\t3\r\n4\r\n7\t8\t9\r\n", ch));
    ASSERT_EQ(ch.size(), 1u); // channel 2 ends the reading with one sample
    EXPECT_EQ(ch[0].codes, codes({1, 4, 7}));
}

TEST(ZeloDta, AtMostEightChannelsAnd65536Samples) {
    std::string text = "1\t1\t1\t1\t1\t1\t1\t1\t1\t1\r\n";
    for (int i = 0; i < 3; ++i)
        text += "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\r\n";
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta(text, ch));
    EXPECT_EQ(ch.size(), 8u);
    std::string longFile = "1\r\n";
    for (int i = 0; i < 70000; ++i)
        longFile += "9\r\n";
    ASSERT_TRUE(ReadZeloDta(longFile, ch));
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].codes.size(), 65536u);
}

TEST(ZeloDta, LongLinesAreReadWhole) {
    std::string header = "1";
    std::string line = std::string(300, ' ') + "12";
    for (int c = 1; c < 3; ++c) {
        header += "\t1";
        line += "\t" + std::string(300, ' ') + std::to_string(c);
    }
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDta(header + "\r\n" + line + "\r\n" + line + "\r\n", ch));
    ASSERT_EQ(ch.size(), 3u);
    EXPECT_EQ(ch[0].codes, codes({12, 12}));
    EXPECT_EQ(ch[2].codes, codes({2, 2}));
}

TEST(ZeloDta, MissingLinesFail) {
    std::vector<LoggerChannel> ch;
    EXPECT_FALSE(ReadZeloDta("", ch));
    EXPECT_FALSE(ReadZeloDta("0\t1\r\n", ch));
    EXPECT_TRUE(ReadZeloDta("\r\n\r\n", ch)); // two lines, no channel
    EXPECT_TRUE(ch.empty());
    EXPECT_TRUE(ReadZeloDta(std::string("\0\xff\t\x01\n\n", 6), ch));
    EXPECT_TRUE(ch.empty());
}

TEST(ZeloDac, CountsLimitTheChannelsAndZeroSkipsOne) {
    std::string text = "100\t0\t50\r\n";
    for (int i = 0; i < 120; ++i)
        text += "1\t2\t3\r\n";
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDac(text, ch));
    ASSERT_EQ(ch.size(), 2u);
    EXPECT_EQ(ch[0].number, 1);
    EXPECT_EQ(ch[0].codes.size(), 100u);
    EXPECT_EQ(ch[0].reference, 2000);
    EXPECT_EQ(ch[0].unsignedDisplay, 1);
    EXPECT_EQ(ch[1].number, 3);
    EXPECT_EQ(ch[1].codes.size(), 50u);
}

TEST(ZeloDac, SamplesAreClampedTo0And3999) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDac("4\r\n-5\r\n4500\r\n17\r\n-0\r\n", ch));
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].codes, codes({0, 3999, 17, 0}));
}

TEST(ZeloDac, AtMostFourChannels) {
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDac("2\t2\t2\t2\t2\r\n1\t1\t1\t1\t1\r\n1\t1\t1\t1\t1\r\n", ch));
    EXPECT_EQ(ch.size(), 4u);
}

TEST(ZeloDac, CountsAreUnsigned16Bit) {
    // A count above 32767 is a count, not a signed overflow.
    std::string text = "40000\r\n";
    for (int i = 0; i < 40010; ++i)
        text += "7\r\n";
    std::vector<LoggerChannel> ch;
    ASSERT_TRUE(ReadZeloDac(text, ch));
    ASSERT_EQ(ch.size(), 1u);
    EXPECT_EQ(ch[0].codes.size(), 40000u);
}
