#pragma once
// The body shared by the one-waveform file readers' targets: read the bytes as the program
// opens a file, then hand what was read to every writer as a save would.

#include "fuzz_check.h"
#include "workspace/core/sample_stream.h"
#include "workspace/core/wave_files.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

namespace plotwell::fuzz {

using Reader = bool (*)(std::string_view, workspace::SampleStream&);

inline void readThenSave(Reader read, const uint8_t* data, std::size_t size) {
    using namespace workspace;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SampleStream s;
    const bool ok = read(bytes, s);
    FUZZ_CHECK(s.count() <= kMaxPoints);
    if (!ok || !s.hasPoints())
        return;
    // Saving what was read must not fail in a way that hurts, and the own format must
    // read back to the same codes. One writer per input (picked by its length) keeps the
    // target fast; over a run every writer meets every kind of file. Half the time the
    // selection may lie outside the waveform, as a stale one could: each writer checks it.
    static constexpr WaveFileType kTypes[] = {
        WaveFileType::Internal,  WaveFileType::WaveCadWav, WaveFileType::WaveCadAsc, WaveFileType::Normalised,
        WaveFileType::Gs2020Asc, WaveFileType::Tektronix,  WaveFileType::BitPattern};
    const WaveFileType type = kTypes[size % std::size(kTypes)];
    const WaveCadForm form = (size / std::size(kTypes)) % 2 ? WaveCadForm::TenBit : WaveCadForm::TwelveBit;
    const int32_t last = s.lastIndex();
    const int32_t count = s.count();
    int32_t start = 0, end = last;
    if ((size / 14) % 2) {
        start = int32_t(size % std::size_t(count + 3)) - 1;
        end = last + 1 - int32_t((size / 3) % std::size_t(count + 3));
    }
    std::string out;
    uint16_t written = 0;
    if (HasWriter(type))
        WriteWaveFile(type, s, start, end, form, out, written);
    if (WriteInternal(s, 0, last, out)) {
        SampleStream back;
        FUZZ_CHECK(ReadInternal(out, back));
        FUZZ_CHECK(std::equal(back.codes().begin(), back.codes().end(), s.codes().begin(), s.codes().end()));
    }
}

// Files of more than 1,048,576 points are megabytes long: the mutator seldom makes them,
// and reading one takes too long to do per input. So before fuzzing, each reader gets one
// point more than the limit in every form (two-byte words, "%hd," values, lines, a .isf
// block) and must refuse it, or read no more than the limit where the form is not its own.
inline void readOversized(Reader read) {
    using workspace::kMaxPoints;
    const std::size_t points = std::size_t(kMaxPoints) + 1;
    auto file = [points](std::string head, std::string_view point) {
        head.reserve(head.size() + points * point.size());
        for (std::size_t i = 0; i < points; ++i)
            head.append(point);
        return head;
    };
    const std::string word("\x00\x08", 2);
    const std::string files[] = {
        file(word, word),
        file("", "0,"),
        file("", "1\n"),
        file(":WFMPRE:BYT_NR 1;:CURVE #7" + std::to_string(points), "\x01"),
        file(":WFMPRE:BYT_NR 2;:CURVE #7" + std::to_string(2 * points), word),
    };
    for (const std::string& f : files) {
        workspace::SampleStream s;
        read(f, s);
        FUZZ_CHECK(s.count() <= kMaxPoints);
    }
}

} // namespace plotwell::fuzz

#define PW_WAVE_FILE_FUZZ(reader)                                                                            \
    extern "C" int LLVMFuzzerInitialize(int*, char***) {                                                     \
        plotwell::fuzz::readOversized(reader);                                                               \
        return 0;                                                                                            \
    }                                                                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {                           \
        plotwell::fuzz::readThenSave(reader, data, size);                                                    \
        return 0;                                                                                            \
    }
