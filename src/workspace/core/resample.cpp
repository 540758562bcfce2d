#include "workspace/core/resample.h"

#include "common/saturate.h"

#include <cmath>

namespace plotwell::workspace {

namespace {

// Reads the waveform as a stream does: a read past its end leaves the word as it was.
class CodeReader {
public:
    CodeReader(std::span<const uint16_t> codes, int64_t pos) : codes_(codes), pos_(pos) {}
    void read(uint16_t& w) {
        if (pos_ >= 0 && pos_ < int64_t(codes_.size()))
            w = codes_[std::size_t(pos_)];
        ++pos_;
    }
    void skip() { ++pos_; }

private:
    std::span<const uint16_t> codes_;
    int64_t pos_;
};

void shrink(std::span<const uint16_t> codes, int64_t start, double ratio, int64_t newCount,
            std::vector<uint16_t>& out) {
    CodeReader in(codes, start);
    uint16_t w = 0;
    double acc = 0;
    int64_t i = 0;
    int64_t written = 0;
    for (;;) {
        in.read(w);
        out.push_back(w);
        if (++written == newCount)
            return;
        acc += ratio;
        ++i;
        while (double(i) > acc) {
            in.skip();
            acc += ratio;
        }
    }
}

// `Real` is the precision of an interpolation's step and running value.
template <class Real>
void stretch(std::span<const uint16_t> codes, int64_t start, double ratio, int64_t newCount,
             std::vector<uint16_t>& out) {
    const int64_t last = int64_t(codes.size()) - 1;
    CodeReader in(codes, start);
    uint16_t w = 0;
    in.read(w);
    const uint16_t first = w;
    uint16_t prev = w;
    int64_t idx = start;
    int64_t i = 0;
    double acc = ratio;
    int64_t written = 0;
    for (;;) {
        out.push_back(w);
        uint16_t next;
        if (idx >= last) {
            next = first; // beyond the waveform the line turns back to the selection's start
        } else {
            in.read(w);
            next = w;
        }
        if (++written == newCount)
            return;
        ++i;
        ++idx;
        if (double(i) < acc) {
            // Both operands are exact in single precision, so the quotient rounded once
            // from double is the single-precision quotient.
            const Real step = Real(double(int32_t(next) - int32_t(prev)) / std::ceil(acc - double(i)));
            Real v = Real(prev);
            while (double(i) < acc) {
                v += step;
                w = uint16_t(common::saturateTrunc(double(v), 0, 65535, prev));
                out.push_back(w);
                if (++written == newCount)
                    return;
                ++i;
            }
        }
        acc += ratio;
        prev = next;
    }
}

template <class Real>
bool resampleRun(std::span<const uint16_t> codes, int64_t start, int64_t count, int64_t newCount,
                 std::vector<uint16_t>& out) {
    if (count < 1 || newCount < 1 || newCount > kMaxResampleCount || start < 0 ||
        start > int64_t(codes.size()) - count)
        return false;
    out.reserve(out.size() + std::size_t(newCount));
    const double ratio = double(newCount) / double(count);
    if (ratio <= 1.0)
        shrink(codes, start, ratio, newCount, out);
    else
        stretch<Real>(codes, start, ratio, newCount, out);
    return true;
}

} // namespace

bool ResampleSelection(std::span<const uint16_t> codes, int64_t start, int64_t count, int64_t newCount,
                       std::vector<uint16_t>& out) {
    return resampleRun<double>(codes, start, count, newCount, out);
}

bool StretchResample(std::span<const uint16_t> codes, int64_t newCount, std::vector<uint16_t>& out) {
    return resampleRun<float>(codes, 0, int64_t(codes.size()), newCount, out);
}

} // namespace plotwell::workspace
