// Tektronix TDS waveform files (.isf): a header of "KEY value" fields, then the curve as an
// IEEE 488.2 definite-length block.

#include "common/block_header.h"
#include "common/saturate.h"
#include "workspace/core/codec_detail.h"
#include "workspace/core/resample.h"
#include "workspace/core/wave_files.h"

#include <optional>
#include <vector>

namespace plotwell::workspace {

namespace {

constexpr std::string_view kIsfHeader = ":WFMPRE:BYT_NR 2;BIT_NR 16;ENCDG BIN;BN_FMT RI;BYT_OR MSB;";
constexpr std::string_view kIsfCurve = ":CURVE #42000";
constexpr int kIsfPoints = 1000;

// What the header says about the curve's points. Scopes write the fields in long form
// (":WFMPRE:BYT_NR 2") or abbreviated (":WFMP:BYT_N 2").
struct IsfHeader {
    int bytesPerPoint = 2;
    bool lsbFirst = false;
    bool unsignedPoints = false; // BN_FMT RP
    bool floatingPoint = false;  // BN_FMT FP
    std::optional<int64_t> points;
};

bool isKey(std::string_view key, std::string_view longForm, std::string_view shortForm) {
    return key == longForm || key == shortForm;
}

std::string_view trim(std::string_view t) {
    while (!t.empty() && detail::isBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && detail::isBlank(t.back()))
        t.remove_suffix(1);
    return t;
}

std::optional<int64_t> wholeNumber(std::string_view t) {
    t = trim(t);
    if (t.empty() || t.size() > 12)
        return std::nullopt;
    int64_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

void applyField(std::string_view field, IsfHeader& h) {
    field = trim(field);
    const auto blank = field.find(' ');
    if (blank == std::string_view::npos)
        return;
    const std::string_view key = field.substr(0, blank);
    const std::string_view value = trim(field.substr(blank + 1));
    if (isKey(key, "BYT_NR", "BYT_N")) {
        if (auto n = wholeNumber(value))
            h.bytesPerPoint = int(std::min<int64_t>(*n, 1000));
        else
            h.bytesPerPoint = 0; // unreadable: refused below
    } else if (isKey(key, "BYT_OR", "BYT_O")) {
        h.lsbFirst = value == "LSB";
    } else if (isKey(key, "BN_FMT", "BN_F")) {
        h.unsignedPoints = value == "RP";
        h.floatingPoint = value == "FP";
    } else if (isKey(key, "NR_PT", "NR_P")) {
        if (auto n = wholeNumber(value))
            h.points = *n;
    }
}

// Splits the header at ';' and ':' outside quoted strings. Returns the offset of the
// block's '#', the first one outside quotes, or npos.
std::size_t parseHeader(std::string_view bytes, IsfHeader& h) {
    std::size_t fieldStart = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ';' || c == ':' || c == '#')) {
            applyField(bytes.substr(fieldStart, i - fieldStart), h);
            fieldStart = i + 1;
            if (c == '#')
                return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

bool ReadTektronixIsf(std::string_view bytes, SampleStream& out) {
    out.clear();
    IsfHeader h;
    const std::size_t hash = parseHeader(bytes, h);
    if (hash == std::string_view::npos)
        return false;
    if (h.floatingPoint || (h.bytesPerPoint != 1 && h.bytesPerPoint != 2))
        return false;
    if (h.points && *h.points > kMaxPoints)
        return false;
    // A digit count of 0 is followed by no count digits: an empty curve. Any other header is
    // a definite-length one, refused when it announces more points than a file may hold.
    int64_t count = 0;
    std::size_t pos = hash + 2;
    if (hash + 1 >= bytes.size() || bytes[hash + 1] != '0') {
        const auto bytesPerPoint = std::size_t(h.bytesPerPoint);
        const auto header =
            common::parseBlockHeader(bytes.substr(hash), std::size_t(kMaxPoints + 1) * bytesPerPoint - 1);
        if (!header.ok())
            return false;
        count = int64_t(header.count);
        pos = hash + header.headerSize;
    }
    const std::string_view block = bytes.substr(pos);
    const auto available = int64_t(block.size());
    // Points whole in the count; a trailing odd byte of a two-byte curve is left alone.
    const int64_t points = count / h.bytesPerPoint;
    const int64_t present = std::min(points, available / h.bytesPerPoint);
    out = SampleStream(128, std::size_t(present));
    auto codes = out.codes();
    const int take = h.bytesPerPoint == 2 && h.lsbFirst ? 1 : 0;
    const uint8_t offset = h.unsignedPoints ? 0 : 128;
    for (int64_t i = 0; i < present; ++i) {
        const auto b = uint8_t(block[std::size_t(i * h.bytesPerPoint + take)]);
        codes[std::size_t(i)] = uint8_t(b + offset);
    }
    return present == points;
}

bool WriteTektronixIsf(const SampleStream& samples, int32_t start, int32_t end, std::string& out,
                       uint16_t& writtenReference) {
    out.clear();
    const auto sel = detail::selectedCodes(samples, start, end);
    if (sel.empty())
        return false;
    std::vector<uint16_t> points;
    if (!ResampleSelection(samples.codes(), start, int64_t(sel.size()), kIsfPoints, points))
        return false;
    writtenReference = 128;
    const double r = detail::writerReference(samples);
    const double scale = 128.0 / r;
    out.reserve(kIsfHeader.size() + kIsfCurve.size() + 2 * std::size_t(kIsfPoints) + 1);
    out.append(kIsfHeader);
    out.append(kIsfCurve);
    for (uint16_t s : points) {
        // A code above the range (the 10-bit readers admit 2R) stays at the top, not wrapped.
        const auto w = int8_t(common::saturateTrunc((double(s) - r) * scale, INT8_MIN, INT8_MAX, 0));
        out.push_back(char(uint8_t(w)));
        out.push_back('\0');
    }
    out.push_back('\n');
    return true;
}

} // namespace plotwell::workspace
