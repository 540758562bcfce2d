#include "common/numtext.h"
#include "workspace/core/wave_files.h"

#include "codec_test_util.h"

#include "support/decimal_comma_locale.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace plotwell::workspace;
using plotwell::common::cformat;

using namespace codec_test;

// ---- WaveCAD .wav -------------------------------------------------------------------------

TEST(WaveCadWav, TwelveBitWriterIsByteExact) {
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteWaveCadWav(stream(2048, {0, 2048, 4095}), 0, 2, false, out, ref));
    EXPECT_EQ(out, bytes({0x00, 0xF8, 0x00, 0x00, 0xFF, 0x07}));
    EXPECT_EQ(ref, 2048);
    // Other references are scaled to 12 bits: R 128, code 255 -> (255-128)*16 = 2032.
    ASSERT_TRUE(WriteWaveCadWav(stream(128, {0, 255}), 0, 1, false, out, ref));
    EXPECT_EQ(out, bytes({0x00, 0xF8, 0xF0, 0x07}));
}

TEST(WaveCadWav, TenBitWriterResamplesTo1024Points) {
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteWaveCadWav(stream(2048, std::vector<uint16_t>(4096, 4095)), 0, 4095, true, out, ref));
    EXPECT_EQ(ref, 512);
    ASSERT_EQ(out.size(), 2048u);
    // 4095 * 512/2048 - 2048 = -1024.25 -> -1024, the 10-bit code 1023 minus 2048.
    EXPECT_EQ(out.substr(0, 2), bytes({0x00, 0xFC}));
}

TEST(WaveCadWav, ReferenceFollowsTheLargestCode) {
    SampleStream s;
    // v -2048 and -1024: codes 0 and 1024 -> 10-bit.
    ASSERT_TRUE(ReadWaveCadWav(bytes({0x00, 0xF8, 0x00, 0xFC}), s));
    EXPECT_EQ(s, stream(512, {0, 1024}));
    // One code of 1025 gives 12-bit.
    ASSERT_TRUE(ReadWaveCadWav(bytes({0x00, 0xF8, 0x01, 0xFC}), s));
    EXPECT_EQ(s.reference(), 2048);
}

TEST(WaveCadWav, RoundTripOfTwelveBitData) {
    std::vector<uint16_t> codes(4096);
    for (int i = 0; i < 4096; ++i)
        codes[std::size_t(i)] = uint16_t(i);
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteWaveCadWav(stream(2048, codes), 0, 4095, false, out, ref));
    SampleStream back;
    ASSERT_TRUE(ReadWaveCadWav(out, back));
    EXPECT_EQ(back, stream(2048, codes));
}

TEST(WaveCadWav, OddLengthFailsButKeepsTheReferenceRule) {
    SampleStream s;
    EXPECT_FALSE(ReadWaveCadWav(bytes({0x00, 0xF8, 0x05}), s));
    EXPECT_EQ(s, stream(512, {0}));
    EXPECT_FALSE(ReadWaveCadWav(bytes({0x05}), s));
    EXPECT_EQ(s.reference(), 512);
    EXPECT_EQ(s.count(), 0);
}

// ---- .asc -----------------------------------------------------------------------------------

TEST(WaveCadAsc, TwelveBitWriterTextHasNoTrailingComma) {
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteWaveCadAsc(stream(2048, {0, 2048, 4095}), 0, 2, false, out, ref));
    EXPECT_EQ(out, "-2048,0,2047");
    EXPECT_EQ(ref, 2048);
    ASSERT_TRUE(WriteWaveCadAsc(stream(1, {0, 65535}), 1, 1, false, out, ref));
    EXPECT_EQ(out, "2047");
}

TEST(WaveCadAsc, TenBitFormWrites1024Values) {
    std::vector<uint16_t> codes(4096);
    for (int i = 0; i < 4096; ++i)
        codes[std::size_t(i)] = uint16_t(i);
    const auto s = stream(2048, codes);
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteWaveFile(WaveFileType::WaveCadAsc, s, 0, 4095, WaveCadForm::TwelveBit, out, ref));
    EXPECT_EQ(std::count(out.begin(), out.end(), ',') + 1, 4096);
    ASSERT_TRUE(WriteWaveFile(WaveFileType::WaveCadAsc, s, 0, 4095, WaveCadForm::TenBit, out, ref));
    EXPECT_EQ(ref, 512);
    EXPECT_EQ(std::count(out.begin(), out.end(), ',') + 1, 1024);
    EXPECT_EQ(out.substr(0, 14), "-512,-511,-510");
    EXPECT_EQ(out.substr(out.size() - 4), ",511");
    // The GS2020 .asc is always the 10-bit form.
    ASSERT_TRUE(WriteWaveFile(WaveFileType::Gs2020Asc, s, 0, 4095, WaveCadForm::TwelveBit, out, ref));
    EXPECT_EQ(std::count(out.begin(), out.end(), ',') + 1, 1024);
}

TEST(WaveCadAsc, TenBitFilesAreRecognisedByBothEnds) {
    SampleStream s;
    ASSERT_TRUE(ReadWaveCadAsc("-512,0,511", s));
    EXPECT_EQ(s, stream(512, {0, 512, 1023}));
    ASSERT_TRUE(ReadWaveCadAsc("-512,513", s));
    EXPECT_EQ(s, stream(2048, {1536, 2561}));
    // A 12-bit negative-going pulse stays below +512 but must not be shifted (and wrap).
    ASSERT_TRUE(ReadWaveCadAsc("-2048,0,100", s));
    EXPECT_EQ(s, stream(2048, {0, 2048, 2148}));
}

TEST(WaveCadAsc, ReaderRoundTripAndTolerance) {
    std::string out;
    uint16_t ref = 0;
    const auto s = stream(2048, {0, 1, 2047, 2048, 4095});
    ASSERT_TRUE(WriteWaveCadAsc(s, 0, 4, false, out, ref));
    SampleStream back;
    ASSERT_TRUE(ReadWaveCadAsc(out, back));
    EXPECT_EQ(back, s);
    // Line ends and blanks between values, a trailing comma and line end are accepted.
    ASSERT_TRUE(ReadWaveCadAsc(" 5,\r\n-2000,\n", back));
    EXPECT_EQ(codesOf(back), (std::vector<uint16_t>{2053, 48}));
    // Values wrap as 16-bit numbers, then to 12 bits.
    ASSERT_TRUE(ReadWaveCadAsc("70000,-2048", back));
    EXPECT_EQ(codesOf(back), (std::vector<uint16_t>{(70000 - 65536 + 2048) & 0xFFF, 0}));
}

TEST(WaveCadAsc, TextThatIsNotANumberFails) {
    SampleStream s;
    EXPECT_FALSE(ReadWaveCadAsc("1,2,x,3", s));
    EXPECT_EQ(s.count(), 2); // what was read so far stays
    EXPECT_FALSE(ReadWaveCadAsc("1,,2", s));
    EXPECT_FALSE(ReadWaveCadAsc("-", s));
    EXPECT_FALSE(ReadWaveCadAsc(std::string("\x00\x01", 2), s));
    EXPECT_TRUE(ReadWaveCadAsc("", s));
    EXPECT_EQ(s.count(), 0);
}

// The 10-bit rule looks at the whole file; a read that stops early keeps the 12-bit
// reference and the codes as read.
TEST(WaveCadAsc, AFailedReadKeepsTheTwelveBitReference) {
    struct Case {
        const char* text;
        SampleStream expected;
    } cases[] = {
        {"-512,0,x", stream(2048, {1536, 2048})},
        {"-512,511,,", stream(2048, {1536, 2559})},
        {"0-", stream(2048, {2048})},
    };
    for (const auto& c : cases) {
        SampleStream s;
        EXPECT_FALSE(ReadWaveCadAsc(c.text, s)) << c.text;
        EXPECT_EQ(s, c.expected) << c.text;
    }
}

// ---- GS2020 ---------------------------------------------------------------------------------

TEST(Gs2020, SigTakesTheFirstByteOfEachPair) {
    SampleStream s;
    ASSERT_TRUE(ReadGs2020Sig(bytes({0x00, 0x99, 0xFF, 0x01, 0x80, 0x00}), s));
    EXPECT_EQ(s, stream(128, {0, 255, 128}));
    EXPECT_FALSE(ReadGs2020Sig(bytes({0x10, 0x00, 0x20}), s));
    EXPECT_EQ(s, stream(128, {0x10}));
}

TEST(Gs2020, ArbIsSigned8BitText) {
    SampleStream s;
    ASSERT_TRUE(ReadGs2020Arb("-128,0,127", s));
    EXPECT_EQ(s, stream(128, {0, 128, 255}));
    EXPECT_FALSE(ReadGs2020Arb("1;2", s));
    std::string out;
    uint16_t ref = 0;
    EXPECT_FALSE(WriteWaveFile(WaveFileType::Gs2020Arb, s, 0, 0, WaveCadForm::TwelveBit, out, ref));
    EXPECT_FALSE(WriteWaveFile(WaveFileType::Gs2020Sig, s, 0, 0, WaveCadForm::TwelveBit, out, ref));
}

// ---- normalised -------------------------------------------------------------------------------

TEST(Normalised, WriterIsByteExact) {
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteNormalised(stream(2048, {0, 1024, 2048, 3072, 4095}), 0, 4, out, ref));
    EXPECT_EQ(out, "-1.00000\r\n-0.50000\r\n+0.00000\r\n+0.50000\r\n+0.99951\r\n");
    EXPECT_EQ(ref, 1);
}

TEST(Normalised, WriterRoundsAsPrintfDoes) {
    // Every 16-bit code, with R 1 and with an odd R, against the C library's "%+7.5f".
    for (uint16_t r : {uint16_t(1), uint16_t(3000)}) {
        SampleStream s(r, 65536);
        for (int i = 0; i < 65536; ++i)
            s.setCode(std::size_t(i), uint16_t(i));
        std::string out;
        uint16_t ref = 0;
        ASSERT_TRUE(WriteNormalised(s, 0, 65535, out, ref));
        std::string expected;
        const double rr = double(s.midCode());
        for (int i = 0; i < 65536; ++i)
            expected += cformat("%+7.5f\r\n", (double(i) - rr) / rr);
        ASSERT_EQ(out, expected) << r;
    }
}

TEST(Normalised, ReaderMapsValuesToCodes) {
    SampleStream s;
    ASSERT_TRUE(ReadNormalised("1.0\r\n-1.0\r\n0.5\r\n-2\r\n3e9\n-0.5", s));
    EXPECT_EQ(s, stream(1, {65535, 0, 49152, 0, 65535, 16384}));
    // A text that is not a number ends the file successfully.
    ASSERT_TRUE(ReadNormalised("0.25\r\nnan\r\n0.5\r\n", s));
    EXPECT_EQ(s, stream(1, {40960}));
    ASSERT_TRUE(ReadNormalised("0x10\n", s));
    EXPECT_EQ(s, stream(1, {32768}));
}

TEST(Normalised, ReaderIgnoresTheUsersDecimalComma) {
    SampleStream s;
    std::string out;
    uint16_t ref = 0;
    {
        DecimalCommaLocale locale;
        if (!locale.active())
            GTEST_SKIP() << "no decimal-comma locale can be made here";
        ASSERT_TRUE(ReadNormalised("0.5\r\n", s));
        ASSERT_TRUE(WriteNormalised(s, 0, 0, out, ref));
    }
    EXPECT_EQ(s, stream(1, {49152}));
    EXPECT_EQ(out, "+0.50000\r\n");
}

TEST(Normalised, RoundTripWithinOneStep) {
    std::vector<uint16_t> codes;
    for (int c = 0; c < 65536; c += 97)
        codes.push_back(uint16_t(c));
    std::string out;
    uint16_t ref = 0;
    ASSERT_TRUE(WriteNormalised(stream(32768, codes), 0, int32_t(codes.size()) - 1, out, ref));
    SampleStream back;
    ASSERT_TRUE(ReadNormalised(out, back));
    ASSERT_EQ(back.count(), int(codes.size()));
    for (std::size_t i = 0; i < codes.size(); ++i)
        EXPECT_NEAR(back.codes()[i], codes[i], 1.0) << i;
}

// ---- the reader table -------------------------------------------------------------------------

TEST(ReaderTable, TypesWithoutAReaderReadNothing) {
    SampleStream s = stream(2048, {1});
    for (int t : {0, 8, 12}) {
        EXPECT_TRUE(ReadWaveFile(WaveFileType(t), "123", s));
        EXPECT_FALSE(s.hasPoints());
    }
    EXPECT_FALSE(ReadWaveFile(WaveFileType::ZeloDta, "1\t2\r\n", s));
    EXPECT_TRUE(ReadWaveFile(WaveFileType::Gs2020Asc, "-512,511", s));
    EXPECT_EQ(s.reference(), 512);
}

// ---- codes outside the reference's range -------------------------------------------------

// A code above 2R-1 (the 10-bit readers admit 1024 with R 512) or at the very top of a
// 16-bit waveform is written as the format's top value, never wrapped round to its bottom.
TEST(ForeignWriters, CodesOutsideTheRangeSaturateAtTheTop) {
    constexpr WaveCadForm kTwelve = WaveCadForm::TwelveBit, kTen = WaveCadForm::TenBit;
    struct Case {
        int saveType;
        WaveCadForm form;
        SampleStream samples;
        uint16_t top; // the code the file reads back as
    } cases[] = {
        {2, kTwelve, stream(512, {0, 1024}), 4095}, // .wav, 12-bit form
        {2, kTen, stream(128, {0, 300}), 1024},     // .wav, 10-bit form (its top is 1024)
        {2, kTwelve, stream(1, {0, 65535}), 4095},  // .wav from 16 bits
        {3, kTwelve, stream(512, {0, 1024}), 4095}, // .asc, 12-bit form
        {3, kTen, stream(128, {0, 300}), 1023},     // .asc, 10-bit form
        {3, kTwelve, stream(1, {0, 65535}), 4095},  // .asc from 16 bits
        {9, kTwelve, stream(512, {0, 1024}), 255},  // .isf
        {9, kTwelve, stream(1, {0, 65535}), 255},   // .isf from 16 bits
    };
    for (const auto& c : cases) {
        std::string out;
        uint16_t ref = 0;
        ASSERT_TRUE(WriteWaveFile(WaveFileType(c.saveType), c.samples, 0, 1, c.form, out, ref)) << c.saveType;
        SampleStream back;
        ASSERT_TRUE(ReadWaveFile(WaveFileType(c.saveType), out, back)) << c.saveType;
        ASSERT_GE(back.count(), 2) << c.saveType;
        // The resampled forms turn back toward the first point: look at the extremes.
        const auto codes = codesOf(back);
        EXPECT_EQ(*std::max_element(codes.begin(), codes.end()), c.top) << c.saveType << " " << int(c.form);
        EXPECT_EQ(*std::min_element(codes.begin(), codes.end()), 0) << c.saveType << " " << int(c.form);
    }
}
