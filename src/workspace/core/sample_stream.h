#pragma once
// The samples of one waveform: a 16-bit reference word R, then one 16-bit code per point,
// code = value + R, little-endian when serialised. R = 1 marks normalised 16-bit data whose
// mid code is 32768. An empty stream has no reference word and no points.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace plotwell::workspace {

class SampleStream {
public:
    SampleStream() = default;
    // A stream with reference word `reference` and `points` codes set to `fill`.
    SampleStream(uint16_t reference, std::size_t points, uint16_t fill = 0);

    // Length of the serialised stream in bytes (0 when empty).
    std::size_t byteLength() const { return words_.size() * 2; }
    bool empty() const { return words_.empty(); }
    // N = (length - 2) / 2; below 1 when the window holds no data (-1 for an empty stream).
    // Computed in 64 bits and held at INT_MAX, so no length can wrap to a negative count.
    int count() const {
        return empty() ? -1 : int(std::min<std::size_t>(words_.size() - 1, std::size_t(INT32_MAX)));
    }
    int lastIndex() const { return count() - 1; }
    bool hasPoints() const { return count() >= 1; }

    uint16_t reference() const { return empty() ? 0 : words_[0]; }
    void setReference(uint16_t r);
    // R' = the mid code: 32768 for normalised data (R = 1), else R.
    int32_t midCode() const { return midCodeOf(reference()); }
    static int32_t midCodeOf(uint16_t r) { return r == 1 ? 32768 : int32_t(r); }
    // The highest code: 2R'-1.
    int32_t maxCode() const { return 2 * midCode() - 1; }

    uint16_t code(std::size_t i) const { return words_[i + 1]; }
    void setCode(std::size_t i, uint16_t c) { words_[i + 1] = c; }
    // The value shown for point i: code - R'.
    int32_t value(std::size_t i) const { return int32_t(code(i)) - midCode(); }
    double normalised(std::size_t i) const { return double(value(i)) / double(midCode()); }

    std::span<uint16_t> codes() { return empty() ? std::span<uint16_t>() : std::span(words_).subspan(1); }
    std::span<const uint16_t> codes() const {
        return empty() ? std::span<const uint16_t>() : std::span<const uint16_t>(words_).subspan(1);
    }

    // Makes the stream hold R and `points` codes; new codes are `fill`, kept ones stay.
    void resize(std::size_t points, uint16_t fill = 0);
    void assign(uint16_t reference, std::span<const uint16_t> codes);
    void append(uint16_t c) { words_.push_back(c); }
    // Back to an empty stream (no reference word).
    void clear() { words_.clear(); }

    // Exact byte form: R, then the codes, little-endian.
    std::string toBytes() const;
    // Takes bytes as they are; an odd trailing byte is dropped. No check of R.
    static SampleStream fromBytes(std::string_view bytes);

    bool operator==(const SampleStream&) const = default;

private:
    std::vector<uint16_t> words_; // words_[0] is R when not empty
};

} // namespace plotwell::workspace
