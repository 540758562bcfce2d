// WaveCAD .wav and .asc; the .asc form is also the GS2020 .asc.

#include "common/saturate.h"
#include "workspace/core/codec_detail.h"
#include "workspace/core/resample.h"
#include "workspace/core/wave_files.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace plotwell::workspace {

namespace detail {
void appendShort(std::string& out, int16_t v) {
    char buf[8];
    auto res = std::to_chars(buf, buf + sizeof buf, int(v));
    out.append(buf, res.ptr);
}
} // namespace detail

namespace {

// The points a WaveCAD writer stores: the selection itself, or resampled to 1024 points
// for the 10-bit form.
bool wavecadPoints(const SampleStream& samples, int32_t start, int32_t end, bool tenBit,
                   std::vector<uint16_t>& points) {
    const auto sel = detail::selectedCodes(samples, start, end);
    if (sel.empty())
        return false;
    if (!tenBit) {
        points.assign(sel.begin(), sel.end());
        return true;
    }
    return ResampleSelection(samples.codes(), start, int64_t(sel.size()), 1024, points);
}

// The values each form holds: a code outside 0..2R-1 (the 10-bit readers admit 1024 with
// R 512) is written at the nearer end of its form, never wrapped round to the other end.
struct FormRange {
    int16_t lo, hi;
    int16_t clip(double v) const { return int16_t(common::saturateTrunc(v, lo, hi, lo)); }
};
// .wav stores v with code = (v + 2048) AND 0xFFF: 12-bit codes 0..4095, 10-bit 0..1024
// (the 10-bit scale takes the top 12-bit code to 1024, which the reader admits).
constexpr FormRange kWavTwelveBit{-2048, 2047}, kWavTenBit{-2048, -1024};
// .asc stores the signed value itself.
constexpr FormRange kAscTwelveBit{-2048, 2047}, kAscTenBit{-512, 511};

uint16_t wavecadCode(int16_t v) {
    return uint16_t((int32_t(v) + 2048) & 0xFFF);
}

} // namespace

bool ReadWaveCadWav(std::string_view bytes, SampleStream& out) {
    out.clear();
    const std::size_t n = bytes.size() / 2;
    if (int64_t(n) > kMaxPoints)
        return false;
    out = SampleStream(2048, n);
    auto codes = out.codes();
    uint16_t largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        codes[i] = wavecadCode(int16_t(detail::le16(bytes.data() + 2 * i)));
        largest = std::max(largest, codes[i]);
    }
    // The reference word follows the largest code even when the read failed, so the
    // window never keeps a placeholder.
    out.setReference(largest < 1025 ? 512 : 2048);
    return bytes.size() % 2 == 0;
}

bool WriteWaveCadWav(const SampleStream& samples, int32_t start, int32_t end, bool tenBit, std::string& out,
                     uint16_t& writtenReference) {
    out.clear();
    std::vector<uint16_t> points;
    if (!wavecadPoints(samples, start, end, tenBit, points))
        return false;
    const double scale = (tenBit ? 512.0 : 2048.0) / detail::writerReference(samples);
    writtenReference = tenBit ? 512 : 2048;
    out.resize(2 * points.size());
    char* p = out.data();
    const FormRange form = tenBit ? kWavTenBit : kWavTwelveBit;
    for (uint16_t s : points) {
        const auto w = uint16_t(form.clip(double(s) * scale - 2048.0));
        *p++ = char(w & 0xFF);
        *p++ = char(w >> 8);
    }
    return true;
}

bool ReadWaveCadAsc(std::string_view bytes, SampleStream& out) {
    out.clear();
    out.setReference(2048);
    std::vector<uint16_t> codes;
    codes.reserve(std::min<std::size_t>(bytes.size() / 2, kMaxPoints));
    uint16_t largest = 0, smallest = 0xFFFF;
    const bool ok = detail::scanShortList(bytes, [&](int16_t v) {
        const uint16_t c = wavecadCode(v);
        largest = std::max(largest, c);
        smallest = std::min(smallest, c);
        codes.push_back(c);
    });
    // 10-bit files are stored about 1536..2559; a 12-bit file that merely stays low must
    // not be taken for one, or its codes below 1536 would wrap. Only a file read to its end
    // tells which it is: a failed read keeps the 12-bit reference.
    const bool tenBit = ok && !codes.empty() && largest < 2561 && smallest >= 1536;
    if (tenBit)
        for (uint16_t& c : codes)
            c = uint16_t(c - 1536);
    out.assign(tenBit ? 512 : 2048, codes);
    return ok;
}

bool WriteWaveCadAsc(const SampleStream& samples, int32_t start, int32_t end, bool tenBit, std::string& out,
                     uint16_t& writtenReference) {
    out.clear();
    std::vector<uint16_t> points;
    if (!wavecadPoints(samples, start, end, tenBit, points))
        return false;
    const double r = detail::writerReference(samples);
    const double scale = (tenBit ? 512.0 : 2048.0) / r;
    writtenReference = tenBit ? 512 : 2048;
    const FormRange form = tenBit ? kAscTenBit : kAscTwelveBit;
    out.reserve(points.size() * 6);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i)
            out.push_back(',');
        detail::appendShort(out, form.clip((double(points[i]) - r) * scale));
    }
    return true;
}

} // namespace plotwell::workspace
