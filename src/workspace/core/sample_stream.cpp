#include "workspace/core/sample_stream.h"

namespace plotwell::workspace {

SampleStream::SampleStream(uint16_t reference, std::size_t points, uint16_t fill) : words_(points + 1, fill) {
    words_[0] = reference;
}

void SampleStream::setReference(uint16_t r) {
    if (words_.empty())
        words_.push_back(r);
    else
        words_[0] = r;
}

void SampleStream::resize(std::size_t points, uint16_t fill) {
    const uint16_t r = reference();
    words_.resize(points + 1, fill);
    words_[0] = r;
}

void SampleStream::assign(uint16_t reference, std::span<const uint16_t> codes) {
    words_.resize(codes.size() + 1);
    words_[0] = reference;
    std::copy(codes.begin(), codes.end(), words_.begin() + 1);
}

std::string SampleStream::toBytes() const {
    std::string out(words_.size() * 2, '\0');
    for (std::size_t i = 0; i < words_.size(); ++i) {
        out[2 * i] = char(words_[i] & 0xFF);
        out[2 * i + 1] = char(words_[i] >> 8);
    }
    return out;
}

SampleStream SampleStream::fromBytes(std::string_view bytes) {
    SampleStream s;
    const std::size_t n = bytes.size() / 2;
    s.words_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        s.words_[i] = uint16_t(uint8_t(bytes[2 * i]) | (uint16_t(uint8_t(bytes[2 * i + 1])) << 8));
    return s;
}

} // namespace plotwell::workspace
