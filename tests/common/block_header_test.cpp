#include "common/block_header.h"

#include <gtest/gtest.h>

using namespace plotwell::common;
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
