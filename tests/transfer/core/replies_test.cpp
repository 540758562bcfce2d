#include "transfer/core/replies.h"

#include <gtest/gtest.h>

using namespace plotwell::transfer;
using S = BlockHeaderStatus;

TEST(BlockHeader, CountDigitsFollowTheCount) {
    EXPECT_EQ(blockHeader(2000), "#42000");
    EXPECT_EQ(blockHeader(1024), "#41024");
    EXPECT_EQ(blockHeader(10), "#210");
    EXPECT_EQ(blockHeader(0), "#10");
}

TEST(BlockHeader, ParsesAndRejects) {
    struct Case {
        std::string bytes;
        std::size_t max, unit;
        S status;
        std::size_t header, count;
    } cases[] = {
        {"#42000xyz", 1 << 20, 2, S::Ok, 6, 2000},
        {"#10", 100, 2, S::Ok, 3, 0},
        {"#9000000004", 100, 1, S::Ok, 11, 4},
        {"", 100, 1, S::Incomplete, 0, 0},
        {"#", 100, 1, S::Incomplete, 0, 0},
        {"#42", 100, 1, S::Incomplete, 0, 0},
        {"x41000", 100, 1, S::NoHash, 0, 0},
        {"#0", 100, 1, S::BadDigits, 0, 0},
        {"#:12", 100, 1, S::BadDigits, 0, 0},
        {"#4abcd", 100, 1, S::BadDigits, 0, 0},
        {"#4a", 100, 1, S::BadDigits, 0, 0},
        {"#41-00", 100000, 1, S::BadDigits, 0, 0},
        {"#9999999999", 2097152, 2, S::TooLarge, 11, 0},
        {"#3999", 2, 2, S::TooLarge, 5, 0},
        {"#15", 100, 2, S::NotWhole, 3, 5},
    };
    for (const Case& c : cases) {
        const BlockHeaderParse p = parseBlockHeader(c.bytes, c.max, c.unit);
        EXPECT_EQ(p.status, c.status) << c.bytes;
        if (p.ok() || c.status == S::NotWhole) {
            EXPECT_EQ(p.headerSize, c.header) << c.bytes;
            EXPECT_EQ(p.count, c.count) << c.bytes;
        }
    }
}

TEST(ReplyFields, IntegersAndFields) {
    EXPECT_EQ(replyInteger("4096\n"), 4096);
    EXPECT_EQ(replyInteger(" -1\r\n"), -1);
    EXPECT_EQ(replyInteger("abc"), std::nullopt);
    EXPECT_EQ(replyInteger(""), std::nullopt);
    EXPECT_EQ(replyIntegerField("RAMP1,ON,1000\n", 2), 1000);
    EXPECT_EQ(replyIntegerField("RAMP1,ON\n", 2), std::nullopt);
    EXPECT_EQ(replyIntegerField("RAMP1,ON,x\n", 2), std::nullopt);
    EXPECT_EQ(replyFirstField("RAMP1,ON,1000\n"), "RAMP1");
    EXPECT_EQ(replyFirstField("NOCOMMA"), "NOCOMMA");
    EXPECT_EQ(replyFirstField(std::string(300, 'n') + ",1").size(), 256u);
}

TEST(CsvValues, AcceptsRunsAndRejectsMalformedOnes) {
    std::vector<int32_t> v;
    EXPECT_TRUE(parseCsvValues("-2048,0,2047\n", v, 10, -2048, 2047));
    EXPECT_EQ(v, (std::vector<int32_t>{-2048, 0, 2047}));
    EXPECT_TRUE(parseCsvValues("5\r\n", v, 10, -10, 10));
    EXPECT_EQ(v, std::vector<int32_t>{5});
    EXPECT_TRUE(parseCsvValues("", v, 10, 0, 1));
    EXPECT_TRUE(v.empty());
    for (const char* bad :
         {"1,,2", "1,", ",1", "1 2", "0x10", "1.5", "-", "2048", "-2049", "123456789", "1,2,3"})
        EXPECT_FALSE(parseCsvValues(bad, v, 2, -2048, 2047)) << bad;
}
