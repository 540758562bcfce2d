#include "workspace/core/history_file.h"
#include "workspace/core/wave_files.h"

#include "codec_test_util.h"

#include <gtest/gtest.h>

using namespace plotwell::workspace;

using namespace codec_test;

TEST(InternalFormat, WritesReferenceThenSelectedCodesLittleEndian) {
    const auto s = stream(2048, {0, 0x1234, 4095, 7});
    std::string out;
    ASSERT_TRUE(WriteInternal(s, 1, 2, out));
    EXPECT_EQ(out, bytes({0x00, 0x08, 0x34, 0x12, 0xFF, 0x0F}));
}

TEST(InternalFormat, NormalisedWindowWritesReference32768AndReadsBackAs16Bit) {
    const auto s = stream(1, {0, 32768, 65535});
    std::string out;
    ASSERT_TRUE(WriteInternal(s, 0, 2, out));
    EXPECT_EQ(out, bytes({0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF}));
    SampleStream back;
    ASSERT_TRUE(ReadInternal(out, back));
    EXPECT_EQ(back, stream(32768, {0, 32768, 65535}));
}

TEST(InternalFormat, RoundTripKeepsEveryCode) {
    SampleStream s(8192, 5000);
    for (int i = 0; i < 5000; ++i)
        s.setCode(std::size_t(i), uint16_t(i * 13));
    std::string out;
    ASSERT_TRUE(WriteInternal(s, 0, 4999, out));
    SampleStream back;
    ASSERT_TRUE(ReadInternal(out, back));
    EXPECT_EQ(back, s);
}

TEST(InternalFormat, ReferenceWordOneIsAcceptedOnRead) {
    SampleStream back;
    ASSERT_TRUE(ReadInternal(bytes({1, 0, 5, 0}), back));
    EXPECT_EQ(back, stream(1, {5}));
}

TEST(InternalFormat, MalformedFilesFail) {
    SampleStream back;
    for (const std::string& bad : {bytes({}), bytes({0x00}), bytes({0x00, 0x08}), bytes({0x00, 0x08, 1}),
                                   bytes({0x00, 0x08, 1, 2, 3}), bytes({0, 0, 1, 0}),       // R 0
                                   bytes({0x01, 0x80, 1, 0}), bytes({0xFF, 0xFF, 1, 0})}) { // R > 32768
        EXPECT_FALSE(ReadInternal(bad, back)) << bad.size();
        EXPECT_FALSE(back.hasPoints());
        EXPECT_FALSE(ReadBitPattern(bad, back));
    }
    EXPECT_TRUE(ReadInternal(bytes({0x00, 0x80, 1, 0}), back)); // R 32768 is the top
}

TEST(InternalFormat, WritersFailWithoutPointsOrOutsideTheWaveform) {
    std::string out = "old";
    EXPECT_FALSE(WriteInternal(SampleStream(), 0, 0, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(WriteInternal(SampleStream(2048, 0), 0, 0, out));
    EXPECT_FALSE(WriteInternal(stream(2048, {1, 2}), 1, 2, out));
    EXPECT_FALSE(WriteInternal(stream(2048, {1, 2}), 1, 0, out));
    EXPECT_FALSE(WriteBitPattern(stream(2048, {1, 2}), -1, 0, out));
}

TEST(BitPatternFormat, InvertsTheTopBitOnWriteAndRead) {
    const auto s = stream(32768, {0, 65535, 0});
    std::string out;
    ASSERT_TRUE(WriteBitPattern(s, 0, 2, out));
    EXPECT_EQ(out, bytes({0x00, 0x80, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x80}));
    EXPECT_EQ(s, stream(32768, {0, 65535, 0})); // the window's samples are unchanged
    SampleStream back;
    ASSERT_TRUE(ReadBitPattern(out, back));
    EXPECT_EQ(back, s);
    std::string r1;
    ASSERT_TRUE(WriteBitPattern(stream(1, {0}), 0, 0, r1));
    EXPECT_EQ(r1, bytes({0x00, 0x80, 0x00, 0x80}));
}

TEST(SaveTypes, OnlyTypesWithAWriterCanBeSaved) {
    for (int t : {0, 1, 2, 3, 4, 6, 8, 9, 12, 13})
        EXPECT_TRUE(HasWriter(WaveFileType(t))) << t;
    for (int t : {-2, -1, 5, 7, 10, 11, 14})
        EXPECT_FALSE(HasWriter(WaveFileType(t))) << t;
    for (int t : {0, 8, 12})
        EXPECT_EQ(EffectiveSaveType(WaveFileType(t)), WaveFileType::Internal);
    std::string out;
    uint16_t ref = 0;
    const auto s = stream(2048, {1, 2});
    ASSERT_TRUE(WriteWaveFile(WaveFileType::Csv, s, 0, 1, WaveCadForm::TwelveBit, out, ref));
    EXPECT_EQ(out, bytes({0x00, 0x08, 1, 0, 2, 0}));
    EXPECT_EQ(ref, 2048);
    EXPECT_FALSE(WriteWaveFile(WaveFileType::Gs2020Sig, s, 0, 1, WaveCadForm::TwelveBit, out, ref));
    EXPECT_FALSE(WriteWaveFile(WaveFileType::Gs2020Arb, s, 0, 1, WaveCadForm::TwelveBit, out, ref));
    EXPECT_FALSE(WriteWaveFile(WaveFileType::ZeloDac, s, 0, 1, WaveCadForm::TwelveBit, out, ref));
}

TEST(HistoryFile, WritesOneLinePerEntryAndReadsBlanksInExpressions) {
    const std::vector<GenerationEntry> entries{
        {"0", "4095", "2048.00", "0.00", "1", "amp*sin(omg*(t*1.00+per*0.00/360))"},
        {"10", "20", "100.00", "-5.00", "0", "a + b  * c "},
    };
    const std::string text = WriteHistoryFile(entries);
    EXPECT_EQ(text, "0 4095 2048.00 0.00 1 amp*sin(omg*(t*1.00+per*0.00/360))\r\n"
                    "10 20 100.00 -5.00 0 a + b  * c \r\n");
    EXPECT_EQ(ReadHistoryFile(text), entries);
    EXPECT_EQ(HistoryFileName("/w/x.wfm"), "/w/x.wfm.pwi");
}

TEST(HistoryFile, LongExpressionsComeBackWhole) {
    const std::string expr(1500, 'x');
    const std::vector<GenerationEntry> entries{{"0", "1", "2", "3", "2", expr + " + 1"}};
    EXPECT_EQ(ReadHistoryFile(WriteHistoryFile(entries)), entries);
}

TEST(HistoryFile, ToleratesLineEndsAndStopsAtABrokenLine) {
    // A last line without its line end keeps all its characters; "\n" alone ends a line.
    const auto e = ReadHistoryFile("1 2 3 4 0 abc\n\r\n5 6 7 8 1 de f");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].expression, "abc");
    EXPECT_EQ(e[1].expression, "de f");
    const auto broken = ReadHistoryFile("1 2 3 4 0 ok\r\n1 2 3\r\n1 2 3 4 0 never\r\n");
    ASSERT_EQ(broken.size(), 1u);
    const auto empty = ReadHistoryFile("1 2 3 4 0\r\n");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_EQ(empty[0].expression, "");
    EXPECT_TRUE(ReadHistoryFile(std::string("\0\0\xff", 3)).empty());
}
