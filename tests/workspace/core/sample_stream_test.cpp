#include "workspace/core/sample_stream.h"

#include <gtest/gtest.h>

using plotwell::workspace::SampleStream;

TEST(SampleStream, EmptyStreamHasNoPoints) {
    SampleStream s;
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.byteLength(), 0u);
    EXPECT_LT(s.count(), 1);
    EXPECT_FALSE(s.hasPoints());
    EXPECT_EQ(s.toBytes(), "");
}

TEST(SampleStream, ReferenceWordAloneIsZeroPoints) {
    SampleStream s;
    s.setReference(2048);
    EXPECT_EQ(s.byteLength(), 2u);
    EXPECT_EQ(s.count(), 0);
    EXPECT_FALSE(s.hasPoints());
}

TEST(SampleStream, BytesAreReferenceThenCodesLittleEndian) {
    SampleStream s(2048, 3);
    s.setCode(0, 0);
    s.setCode(1, 2048);
    s.setCode(2, 4095);
    const std::string expected("\x00\x08\x00\x00\x00\x08\xFF\x0F", 8);
    EXPECT_EQ(s.toBytes(), expected);
    EXPECT_EQ(s.count(), 3);
    EXPECT_EQ(s.lastIndex(), 2);
    EXPECT_EQ(SampleStream::fromBytes(expected), s);
}

TEST(SampleStream, ValuesAreCodeMinusMidCode) {
    SampleStream s(2048, 3);
    s.setCode(0, 0);
    s.setCode(1, 2048);
    s.setCode(2, 4095);
    EXPECT_EQ(s.value(0), -2048);
    EXPECT_EQ(s.value(1), 0);
    EXPECT_EQ(s.value(2), 2047);
    EXPECT_EQ(s.maxCode(), 4095);
    EXPECT_DOUBLE_EQ(s.normalised(0), -1.0);
}

TEST(SampleStream, ReferenceOneIsNormalisedAboutMidCode32768) {
    SampleStream s(1, 2);
    s.setCode(0, 0);
    s.setCode(1, 65535);
    EXPECT_EQ(s.midCode(), 32768);
    EXPECT_EQ(s.value(0), -32768);
    EXPECT_EQ(s.value(1), 32767);
    EXPECT_EQ(s.maxCode(), 65535);
    EXPECT_DOUBLE_EQ(s.normalised(0), -1.0);
}

TEST(SampleStream, OddTrailingByteIsDropped) {
    const std::string bytes("\x00\x01\x34\x12\x99", 5);
    SampleStream s = SampleStream::fromBytes(bytes);
    EXPECT_EQ(s.reference(), 256);
    EXPECT_EQ(s.count(), 1);
    EXPECT_EQ(s.code(0), 0x1234);
}

TEST(SampleStream, ResizeKeepsReferenceAndCodes) {
    SampleStream s(512, 2, 7);
    s.resize(4, 9);
    EXPECT_EQ(s.reference(), 512);
    EXPECT_EQ(s.count(), 4);
    EXPECT_EQ(s.code(1), 7);
    EXPECT_EQ(s.code(3), 9);
    s.resize(1);
    EXPECT_EQ(s.count(), 1);
    s.clear();
    EXPECT_TRUE(s.empty());
}

TEST(SampleStream, MillionPointsRoundTrip) {
    SampleStream s(32768, 1048576);
    for (std::size_t i = 0; i < 1048576; ++i)
        s.setCode(i, uint16_t(i * 7));
    const std::string bytes = s.toBytes();
    EXPECT_EQ(bytes.size(), 2u + 2u * 1048576u);
    EXPECT_EQ(SampleStream::fromBytes(bytes), s);
}
