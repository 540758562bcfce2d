// No reader takes more than 1,048,576 points, and no file larger than its format's largest
// form of that many points is read at all.

#include "workspace/core/wave_files.h"

#include <gtest/gtest.h>

#include <functional>

using namespace plotwell::workspace;

namespace {

std::string repeated(std::string_view piece, int64_t n) {
    std::string s;
    s.reserve(std::size_t(n) * piece.size());
    for (int64_t i = 0; i < n; ++i)
        s.append(piece);
    return s;
}

struct Format {
    int type;
    // A file of n points.
    std::function<std::string(int64_t)> file;
    // The largest form of kMaxFilePoints points the format's writer or its program makes.
    int64_t largestForm;
};

const Format kFormats[] = {
    {1, [](int64_t n) { return std::string("\x00\x08", 2) + std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxFilePoints + 2},
    {13, [](int64_t n) { return std::string("\x00\x08", 2) + std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxFilePoints + 2},
    {2, [](int64_t n) { return std::string(std::size_t(2 * n), '\x01'); }, 2 * kMaxFilePoints},
    {5, [](int64_t n) { return std::string(std::size_t(2 * n), '\x01'); }, 2 * kMaxFilePoints},
    {3, [](int64_t n) { return repeated("-32768,", n); }, 7 * kMaxFilePoints},
    {6, [](int64_t n) { return repeated("-32768,", n); }, 7 * kMaxFilePoints},
    {7, [](int64_t n) { return repeated("-128,", n); }, 5 * kMaxFilePoints},
    {4, [](int64_t n) { return repeated("-1.00000\r\n", n); }, 10 * kMaxFilePoints},
    {9, [](int64_t n) { return ":WFMPRE:BYT_NR 1;:CURVE #8" + std::to_string(100000000 + n).substr(1) +
                               std::string(std::size_t(n), '\x01'); },
     kMaxFilePoints + 1000},
};

} // namespace

TEST(PointLimit, EveryReaderTakesTheLimitAndRefusesOnePointMore) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.type);
        SampleStream s;
        EXPECT_TRUE(ReadWaveFile(f.type, f.file(kMaxFilePoints), s));
        EXPECT_EQ(s.count(), kMaxFilePoints);
        EXPECT_FALSE(ReadWaveFile(f.type, f.file(kMaxFilePoints + 1), s));
        EXPECT_LE(s.count(), kMaxFilePoints);
    }
}

TEST(PointLimit, TheSizeLimitHoldsEveryFileOfTheLimitAndIsExactForBinaryForms) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(f.type);
        EXPECT_GE(MaxWaveFileBytes(f.type), f.largestForm);
        // A few tens of MiB at most, whatever the format.
        EXPECT_LE(MaxWaveFileBytes(f.type), 64 << 20);
    }
    for (int binary : {1, 13})
        EXPECT_EQ(MaxWaveFileBytes(binary), 2 * kMaxFilePoints + 2);
    for (int binary : {2, 5})
        EXPECT_EQ(MaxWaveFileBytes(binary), 2 * kMaxFilePoints);
    // The data-logger files and the types that read nothing are bounded too.
    for (int other : {0, 8, 10, 11, 12})
        EXPECT_LE(MaxWaveFileBytes(other), 64 << 20) << other;
}
