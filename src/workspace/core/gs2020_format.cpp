// GS2020 .sig and .arb (read only; the GS2020 .asc is the WaveCAD .asc).

#include "workspace/core/codec_detail.h"
#include "workspace/core/wave_files.h"

#include <algorithm>
#include <vector>

namespace plotwell::workspace {

bool ReadGs2020Sig(std::string_view bytes, SampleStream& out) {
    out.clear();
    const std::size_t n = bytes.size() / 2;
    if (int64_t(n) > kMaxPoints)
        return false;
    out = SampleStream(128, n);
    auto codes = out.codes();
    for (std::size_t i = 0; i < n; ++i)
        codes[i] = uint8_t(bytes[2 * i]);
    return bytes.size() % 2 == 0;
}

bool ReadGs2020Arb(std::string_view bytes, SampleStream& out) {
    out.clear();
    std::vector<uint16_t> codes;
    codes.reserve(std::min<std::size_t>(bytes.size() / 2, kMaxPoints));
    const bool ok =
        detail::scanShortList(bytes, [&](int16_t v) { codes.push_back(uint16_t((int32_t(v) + 128) & 255)); });
    out.assign(128, codes);
    return ok;
}

} // namespace plotwell::workspace
