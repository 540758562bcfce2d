#pragma once
// Helpers shared by the waveform codecs; not part of their interface.

#include "workspace/core/sample_stream.h"
#include "workspace/core/wave_files.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plotwell::workspace::detail {

// The selected codes, or an empty span when the waveform holds no point or the selection
// is not inside it.
std::span<const uint16_t> selectedCodes(const SampleStream& samples, int32_t start, int32_t end);

// The reference word as the writers use it: 1 stands for 32768.
inline double writerReference(const SampleStream& samples) {
    return double(samples.midCode());
}

inline void putLe16(std::string& out, uint16_t w) {
    out.push_back(char(w & 0xFF));
    out.push_back(char(w >> 8));
}
inline uint16_t le16(const char* p) {
    return uint16_t(uint8_t(p[0]) | (uint16_t(uint8_t(p[1])) << 8));
}

// Scans "%hd," values as a C stream would: blanks before a value are skipped, a value is
// an optionally signed decimal taken modulo 2^16 as a signed 16-bit number, and one comma
// after it is taken when present. Ends with true at the end of the text (trailing blanks
// allowed), with false at a text that is not a number or after kMaxPoints values when
// more follow. `each` gets every value.
template <class F> bool scanShortList(std::string_view text, F&& each);

// Appends "%hd" of v.
void appendShort(std::string& out, int16_t v);

bool isBlank(char c);

template <class F> bool scanShortList(std::string_view text, F&& each) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    int64_t taken = 0;
    for (;;) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i == n)
            return true;
        std::size_t j = i;
        bool negative = false;
        if (text[j] == '+' || text[j] == '-') {
            negative = text[j] == '-';
            ++j;
        }
        const std::size_t digits = j;
        uint32_t v = 0;
        while (j < n && text[j] >= '0' && text[j] <= '9') {
            v = v * 10u + uint32_t(text[j] - '0'); // wraps; only the low 16 bits count
            ++j;
        }
        if (j == digits || taken == kMaxPoints)
            return false;
        if (negative)
            v = 0u - v;
        each(int16_t(uint16_t(v & 0xFFFF)));
        ++taken;
        i = j;
        if (i < n && text[i] == ',')
            ++i;
    }
}

} // namespace plotwell::workspace::detail
