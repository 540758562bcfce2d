// No reader takes more than 1,048,576 points, and no file larger than its format's largest
// form of that many points is read at all.

#include "workspace/core/file_types.h"
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
    WaveFileType type;
    // A file of n points.
    std::function<std::string(int64_t)> file;
    // The largest form of kMaxPoints points the format's writer or its program makes.
    int64_t largestForm;
};

const Format kFormats[] = {
    {WaveFileType::Internal,
     [](int64_t n) { return std::string("\x00\x08", 2) + std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxPoints + 2},
    {WaveFileType::BitPattern,
     [](int64_t n) { return std::string("\x00\x08", 2) + std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxPoints + 2},
    {WaveFileType::WaveCadWav, [](int64_t n) { return std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxPoints},
    {WaveFileType::Gs2020Sig, [](int64_t n) { return std::string(std::size_t(2 * n), '\x01'); },
     2 * kMaxPoints},
    {WaveFileType::WaveCadAsc, [](int64_t n) { return repeated("-32768,", n); }, 7 * kMaxPoints},
    {WaveFileType::Gs2020Asc, [](int64_t n) { return repeated("-32768,", n); }, 7 * kMaxPoints},
    {WaveFileType::Gs2020Arb, [](int64_t n) { return repeated("-128,", n); }, 5 * kMaxPoints},
    {WaveFileType::Normalised, [](int64_t n) { return repeated("-1.00000\r\n", n); }, 10 * kMaxPoints},
    {WaveFileType::Tektronix,
     [](int64_t n) {
         return ":WFMPRE:BYT_NR 1;:CURVE #8" + std::to_string(100000000 + n).substr(1) +
                std::string(std::size_t(n), '\x01');
     },
     kMaxPoints + 1000},
};

} // namespace

TEST(PointLimit, EveryReaderTakesTheLimitAndRefusesOnePointMore) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(FileTypeCode(f.type));
        SampleStream s;
        EXPECT_TRUE(ReadWaveFile(f.type, f.file(kMaxPoints), s));
        EXPECT_EQ(s.count(), kMaxPoints);
        EXPECT_FALSE(ReadWaveFile(f.type, f.file(kMaxPoints + 1), s));
        EXPECT_LE(s.count(), kMaxPoints);
    }
}

TEST(PointLimit, TheSizeLimitHoldsEveryFileOfTheLimitAndIsExactForBinaryForms) {
    for (const Format& f : kFormats) {
        SCOPED_TRACE(FileTypeCode(f.type));
        EXPECT_GE(MaxWaveFileBytes(f.type), f.largestForm);
        // A few tens of MiB at most, whatever the format.
        EXPECT_LE(MaxWaveFileBytes(f.type), 64 << 20);
    }
    for (WaveFileType binary : {WaveFileType::Internal, WaveFileType::BitPattern})
        EXPECT_EQ(MaxWaveFileBytes(binary), 2 * kMaxPoints + 2);
    for (WaveFileType binary : {WaveFileType::WaveCadWav, WaveFileType::Gs2020Sig})
        EXPECT_EQ(MaxWaveFileBytes(binary), 2 * kMaxPoints);
    // Every type has a bound, the data-logger files and the types that read nothing too.
    for (const FileTypeRow& row : FileTypeTable())
        EXPECT_LE(MaxWaveFileBytes(row.type), 64 << 20) << FileTypeCode(row.type);
}
