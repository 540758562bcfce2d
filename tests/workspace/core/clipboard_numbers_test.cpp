#include "workspace/core/clipboard_numbers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace plotwell::workspace;

namespace {
std::vector<double> numbers(std::string_view text) {
    std::vector<double> out;
    scanNumbers(text, [&](double v) { out.push_back(v); });
    return out;
}
std::vector<uint16_t> codesOf(std::string_view text) {
    const ClipboardWaveform w = clipboardWaveform(text);
    const auto c = w.samples.codes();
    return {c.begin(), c.end()};
}
} // namespace

// Every code of every reference word the program meets prints as printf would print it.
TEST(CopyText, EveryCodeIsPrintedAsPrintfDoes) {
    for (uint16_t r : {uint16_t(1), uint16_t(2), uint16_t(2048), uint16_t(32768)}) {
        std::vector<uint16_t> codes(65536);
        for (int c = 0; c < 65536; ++c)
            codes[std::size_t(c)] = uint16_t(c);
        std::string text;
        appendCopyText(codes, r, text);
        std::string expected;
        const float rr = r == 1 ? 32768.0f : float(r);
        char line[32];
        for (int c = 0; c < 65536; ++c) {
            std::snprintf(line, sizeof line, "%+7.5f\n", double(float(c - int(rr)) / rr));
            expected += line;
        }
        ASSERT_EQ(text, expected) << "R = " << r;
    }
}

TEST(CopyText, NormalisedExtremesAndMiddle) {
    std::string text;
    appendCopyText(std::vector<uint16_t>{0, 32768, 65535}, 1, text);
    EXPECT_EQ(text, "-1.00000\n+0.00000\n+0.99997\n");
}

TEST(ClipboardNumbers, TokenRules) {
    const std::string hundred(100, '7');
    const struct {
        std::string text;
        std::vector<double> values;
    } cases[] = {
        {"1-2", {-2}},
        {"1.2.3", {0.3}},
        {"2e-3", {0.002}},
        {".", {0}},
        {"1e5-3", {-3}},
        {"+ - +\n-", {}},
        {"-.5", {-0.5}},
        {".e5", {5}},
        {"1e+", {1}},
        {"-e5", {0}},
        {"1e999, 2", {2}},
        {"-1e999 -3", {-3}},
        {"1e-999 4", {0, 4}},
        {hundred + " 4", {4}},
        {hundred + "-5", {-5}},
        {std::string(99, '1') + " 6", {std::stod(std::string(99, '1')), 6}},
        {"0.5, -1;1\tx 7y", {0.5, -1, 1, 7}},
        {"0x1p3", {0, 1, 3}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numbers(c.text), c.values) << c.text;
}

TEST(ClipboardNumbers, CodesReachFullScaleAtTheLargestMagnitude) {
    EXPECT_EQ(codesOf("0.5\n-1\n1\n"), (std::vector<uint16_t>{49151, 1, 65535}));
    EXPECT_EQ(codesOf(".9 0.5"), (std::vector<uint16_t>{65535, 50971}));
    EXPECT_EQ(codesOf("0,1,0,-1"), (std::vector<uint16_t>{32768, 65535, 32768, 1}));
    EXPECT_EQ(codesOf("0 0 0"), (std::vector<uint16_t>{32768, 32768, 32768}));
    EXPECT_EQ(clipboardWaveform("0.5 -1").samples.reference(), 1);
}

TEST(ClipboardNumbers, TooFewAndTooManyNumbers) {
    EXPECT_EQ(clipboardWaveform("1").status, ClipboardWaveform::Status::TooFew);
    EXPECT_EQ(clipboardWaveform("text only").status, ClipboardWaveform::Status::TooFew);
    EXPECT_EQ(clipboardWaveform("1 2 3", 2).status, ClipboardWaveform::Status::TooMany);
    EXPECT_TRUE(clipboardWaveform("1 2 3", 2).samples.empty());
    EXPECT_EQ(clipboardWaveform("1 2", 2).status, ClipboardWaveform::Status::Ok);
    std::string most;
    for (int i = 0; i < 1048576; ++i)
        most += "1 ";
    EXPECT_EQ(clipboardWaveform(most).status, ClipboardWaveform::Status::Ok);
    EXPECT_EQ(clipboardWaveform(most + "1").status, ClipboardWaveform::Status::TooMany);
}

TEST(ClipboardNumbers, TextLongerThanTheLimitIsRefusedNotCut) {
    std::string text;
    text.reserve(kMaxClipboardText + 1);
    text.assign(kMaxClipboardText, ' ');
    text.front() = '1';
    text.back() = '2';
    const ClipboardWaveform whole = clipboardWaveform(text);
    EXPECT_EQ(whole.status, ClipboardWaveform::Status::Ok);
    EXPECT_EQ(whole.count, 2);
    text += '3';
    const ClipboardWaveform refused = clipboardWaveform(text);
    EXPECT_EQ(refused.status, ClipboardWaveform::Status::TooLong);
    EXPECT_EQ(std::string(refused.refusal()), kTooLongClipboardText);
    EXPECT_TRUE(refused.samples.empty());
}
