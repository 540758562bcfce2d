#include "workspace/core/datalogger.h"

#include "common/line_reader.h"
#include "common/numtext.h"

#include <algorithm>
#include <optional>

namespace plotwell::workspace {

namespace {

enum class FieldKind { Text, Empty, LineEnded };
struct Field {
    FieldKind kind;
    std::string_view text;
};

// Field c of a line: after c tabs. The line ending before it (or right after the c-th tab)
// is LineEnded; two tabs in a row are an Empty field.
Field fieldOf(std::string_view line, int c) {
    std::size_t pos = 0;
    for (int k = 0; k < c; ++k) {
        const auto tab = line.find('\t', pos);
        if (tab == std::string_view::npos)
            return {FieldKind::LineEnded, {}};
        pos = tab + 1;
    }
    if (pos == line.size())
        return {c > 0 ? FieldKind::LineEnded : FieldKind::Empty, {}};
    const auto tab = line.find('\t', pos);
    const std::string_view text = line.substr(pos, (tab == std::string_view::npos ? line.size() : tab) - pos);
    return {text.empty() ? FieldKind::Empty : FieldKind::Text, text};
}

// "%hd": saturated to 16 bits.
std::optional<int16_t> shortOf(std::string_view text) {
    const auto v = common::parseLeadingInt(text);
    if (!v)
        return std::nullopt;
    return int16_t(std::clamp<int32_t>(*v, INT16_MIN, INT16_MAX));
}

// A .dac header: the channel's sample count as an unsigned 16-bit number ("%hd" read as
// unsigned, so -1 is 65535); larger numbers stay at the top.
std::size_t dacCount(std::string_view text) {
    const auto v = common::parseLeadingInt(text);
    return v ? uint16_t(std::clamp<int32_t>(*v, INT16_MIN, UINT16_MAX)) : 0;
}

struct Format {
    int channels;
    uint16_t reference;
    bool dac;
};

uint16_t codeOf(const Format& f, int16_t header, std::string_view text) {
    int32_t v;
    if (f.dac) {
        if (!text.empty() && text.front() == '-')
            return 0;
        v = shortOf(text).value_or(0);
        return uint16_t(std::clamp<int32_t>(v, 0, 3999));
    }
    v = shortOf(text).value_or(0);
    if (header == 0)
        v += 2048;
    return uint16_t(std::clamp<int32_t>(v, 0, 4095));
}

bool readChannels(std::string_view bytes, const Format& f, std::vector<LoggerChannel>& channels) {
    channels.clear();
    common::LineReader lines(bytes);
    for (int c = 0; c < f.channels; ++c) {
        lines.rewind();
        const auto header = lines.next();
        if (!header)
            return false;
        const Field hf = fieldOf(*header, c);
        if (hf.kind == FieldKind::LineEnded)
            return true;
        if (hf.kind == FieldKind::Empty)
            continue;
        const auto hv = shortOf(hf.text);
        if (!hv)
            continue; // a header that is not a number marks no channel
        // A .dac count is unsigned: 40000 means 40000 samples, not the signed 16-bit top.
        const std::size_t count = f.dac ? dacCount(hf.text) : 0;
        if (f.dac && count == 0)
            continue;
        const auto first = lines.next();
        if (!first)
            return false;
        Field field = fieldOf(*first, c);
        if (field.kind == FieldKind::LineEnded)
            return true;
        if (field.kind == FieldKind::Empty)
            continue;

        LoggerChannel ch;
        ch.number = c + 1;
        ch.reference = f.reference;
        ch.unsignedDisplay = f.dac || *hv != 0 ? 1 : 0;
        const std::size_t limit = f.dac ? count : 65536;
        bool lastChannel = false;
        while (ch.codes.size() < limit) {
            ch.codes.push_back(codeOf(f, *hv, field.text));
            const auto line = lines.next();
            if (!line)
                break;
            field = fieldOf(*line, c);
            if (field.kind == FieldKind::LineEnded) {
                lastChannel = true; // a line with fewer fields ends the whole reading
                break;
            }
            if (field.kind == FieldKind::Empty)
                break;
        }
        if (ch.codes.size() >= 2)
            channels.push_back(std::move(ch));
        if (lastChannel)
            return true;
    }
    return true;
}

} // namespace

bool ReadZeloDta(std::string_view bytes, std::vector<LoggerChannel>& channels) {
    return readChannels(bytes, {8, 2048, false}, channels);
}

bool ReadZeloDac(std::string_view bytes, std::vector<LoggerChannel>& channels) {
    return readChannels(bytes, {4, 2000, true}, channels);
}

} // namespace plotwell::workspace
