// Normalised text: one value of -1..+1 per line.

#include "common/numtext.h"
#include "common/saturate.h"
#include "workspace/core/codec_detail.h"
#include "workspace/core/wave_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace plotwell::workspace {

bool ReadNormalised(std::string_view bytes, SampleStream& out) {
    out.clear();
    std::vector<uint16_t> codes;
    codes.reserve(std::min<std::size_t>(bytes.size() / 8, kMaxPoints));
    std::size_t i = 0;
    for (;;) {
        while (i < bytes.size() && detail::isBlank(bytes[i]))
            ++i;
        std::size_t used = 0;
        const auto v = common::parseDoublePrefix(bytes.substr(i), &used);
        if (!v)
            break; // the end, or text that is not a number, ends the file
        if (int64_t(codes.size()) == kMaxPoints) {
            out.assign(1, codes);
            return false;
        }
        i += used;
        uint16_t c;
        if (*v >= 1.0)
            c = 65535;
        else if (*v >= -1.0)
            c = uint16_t(common::saturateTrunc(*v * 32768.0 + 32768.0, 0, 65535, 32768));
        else
            c = 0;
        codes.push_back(c);
    }
    out.assign(1, codes);
    return true;
}

bool WriteNormalised(const SampleStream& samples, int32_t start, int32_t end, std::string& out,
                     uint16_t& writtenReference) {
    out.clear();
    const auto sel = detail::selectedCodes(samples, start, end);
    if (sel.empty())
        return false;
    writtenReference = 1;
    const double r = detail::writerReference(samples);
    out.resize(sel.size() * 16);
    char* p = out.data();
    char* const limit = out.data() + out.size();
    for (uint16_t s : sel) {
        const double v = (double(s) - r) / r;
        // "%+7.5f": to_chars rounds exactly as printf does in the C locale.
        if (!std::signbit(v))
            *p++ = '+';
        auto res = std::to_chars(p, limit, v, std::chars_format::fixed, 5);
        p = res.ptr;
        *p++ = '\r';
        *p++ = '\n';
    }
    out.resize(std::size_t(p - out.data()));
    return true;
}

} // namespace plotwell::workspace
