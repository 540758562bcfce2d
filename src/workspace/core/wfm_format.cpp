// The program's own formats: .wfm and the bit-pattern .ptn.

#include "workspace/core/codec_detail.h"
#include "workspace/core/wave_files.h"

namespace plotwell::workspace {

namespace detail {

std::span<const uint16_t> selectedCodes(const SampleStream& samples, int32_t start, int32_t end) {
    const int n = samples.count();
    if (n < 1 || start < 0 || end < start || end >= n)
        return {};
    return samples.codes().subspan(std::size_t(start), std::size_t(end - start) + 1);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace detail

namespace {

bool validReference(uint16_t r) {
    return r == 1 || (r >= 2 && r <= 32768);
}

bool readWords(std::string_view bytes, uint16_t flip, SampleStream& out) {
    out.clear();
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return false;
    const uint16_t r = detail::le16(bytes.data());
    if (!validReference(r))
        return false;
    const std::size_t n = bytes.size() / 2 - 1;
    if (int64_t(n) > kMaxPoints)
        return false;
    out = SampleStream(r, n);
    auto codes = out.codes();
    for (std::size_t i = 0; i < n; ++i)
        codes[i] = detail::le16(bytes.data() + 2 * (i + 1)) ^ flip;
    return true;
}

bool writeWords(const SampleStream& samples, int32_t start, int32_t end, uint16_t flip, std::string& out) {
    out.clear();
    const auto sel = detail::selectedCodes(samples, start, end);
    if (sel.empty())
        return false;
    out.resize(2 * (sel.size() + 1));
    char* p = out.data();
    auto put = [&p](uint16_t w) {
        *p++ = char(w & 0xFF);
        *p++ = char(w >> 8);
    };
    put(uint16_t(samples.midCode())); // a normalised window (R = 1) writes 32768
    for (uint16_t c : sel)
        put(c ^ flip);
    return true;
}

constexpr uint16_t kPatternFlip = 0x8000;

} // namespace

bool ReadInternal(std::string_view bytes, SampleStream& out) {
    return readWords(bytes, 0, out);
}

bool ReadBitPattern(std::string_view bytes, SampleStream& out) {
    return readWords(bytes, kPatternFlip, out);
}

bool WriteInternal(const SampleStream& samples, int32_t start, int32_t end, std::string& out) {
    return writeWords(samples, start, end, 0, out);
}

bool WriteBitPattern(const SampleStream& samples, int32_t start, int32_t end, std::string& out) {
    return writeWords(samples, start, end, kPatternFlip, out);
}

} // namespace plotwell::workspace
