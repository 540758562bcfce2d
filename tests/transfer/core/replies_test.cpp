#include "transfer/core/replies.h"

#include <gtest/gtest.h>

using namespace plotwell::transfer;

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
