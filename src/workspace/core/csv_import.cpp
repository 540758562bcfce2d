#include "workspace/core/csv_import.h"

#include "common/numtext.h"
#include "common/saturate.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace plotwell::workspace {

namespace {

bool beginsNumber(char c) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

// A line ends at a line feed, a carriage return, or the pair CR LF (one line end, as
// Windows writes it), or at the text's end. `end` is where its content ends, `next` where
// the following line begins.
struct Line {
    std::size_t begin, end, next;
};

// Walks the lines from the front. The next line feed and the next carriage return are
// remembered, so each kind is searched for only past the last one found: a file without
// one kind is searched for it once, not once per line.
class LineWalker {
public:
    explicit LineWalker(std::string_view text) : text_(text), lf_(find(0, '\n')), cr_(find(0, '\r')) {}

    // The line beginning at `pos`; `pos` never goes back.
    Line at(std::size_t pos) {
        if (pos > lf_)
            lf_ = find(pos, '\n');
        if (pos > cr_)
            cr_ = find(pos, '\r');
        const std::size_t end = std::min(lf_, cr_);
        std::size_t next = end;
        if (next < text_.size() && text_[next++] == '\r' && next < text_.size() && text_[next] == '\n')
            ++next;
        return {pos, end, next};
    }

private:
    std::size_t find(std::size_t from, char c) const {
        const void* hit =
            from < text_.size() ? std::memchr(text_.data() + from, c, text_.size() - from) : nullptr;
        return hit ? std::size_t(static_cast<const char*>(hit) - text_.data()) : text_.size();
    }

    std::string_view text_;
    // The first line feed and carriage return at or after the last line's start, or the
    // text's end.
    std::size_t lf_, cr_;
};

// The standard conversion reads "inf", "infinity" and "nan" (any case, after a sign) as
// numbers that are not finite.
bool namesInfinityOrNan(std::string_view field) {
    if (!field.empty() && (field[0] == '+' || field[0] == '-'))
        field.remove_prefix(1);
    const auto startsWith = [field](std::string_view word) {
        return field.size() >= word.size() && std::equal(word.begin(), word.end(), field.begin(),
                                                         [](char w, char c) { return w == (c | 0x20); });
    };
    return startsWith("inf") || startsWith("nan");
}

// The value of a number field as the standard conversion gives it: a field that holds no
// number in the conversion's reading ("-", ".") is 0. Nothing when the value is not finite
// (an overflow such as "1e309", or an infinity or NaN text): one such row would leave no
// scale for all the others, so it is an illegal row.
std::optional<double> finiteFieldValue(std::string_view field) {
    if (const std::optional<double> v = common::parseDoubleOrHexPrefix(field))
        return std::isfinite(*v) ? v : std::nullopt;
    return namesInfinityOrNan(field) ? std::nullopt : std::optional<double>(0.0);
}

// True when only empty lines (or none) follow `pos`: such lines are the file's end, not rows.
bool onlyEmptyLinesFrom(std::string_view text, std::size_t pos) {
    return text.find_first_not_of("\r\n", pos) == std::string_view::npos;
}

} // namespace

CsvLayout CsvFindLayout(std::string_view text) {
    CsvLayout layout;
    // One header line is skipped when none of its fields begins like a number. Only a line
    // feed ends that line here: without one the data start at the beginning of the file.
    for (std::size_t i = 0; i < text.size() && !beginsNumber(text[i]); ++i) {
        while (i < text.size() && text[i] != ',' && text[i] != '\n')
            ++i;
        if (i < text.size() && text[i] == '\n') {
            layout.dataStart = i + 1;
            break;
        }
    }
    // The columns are counted up to the first line end of either kind.
    for (std::size_t i = layout.dataStart; i < text.size() && text[i] != '\n' && text[i] != '\r'; ++i)
        layout.columns += text[i] == ',' ? 1 : 0;
    return layout;
}

CsvColumn CsvConvertColumn(std::string_view data, int column, const std::function<void(int)>& stage,
                           const std::function<void()>& step) {
    CsvColumn out;
    if (stage)
        stage(1);
    // Pass 1: the largest magnitude, and the values kept for the second pass.
    std::vector<double> values;
    double m = 0;
    int sinceStep = 0;
    LineWalker lines(data);
    for (std::size_t pos = 0; pos < data.size();) {
        const Line line = lines.at(pos);
        pos = line.next;
        if (line.begin == line.end && onlyEmptyLinesFrom(data, line.begin))
            break;
        // Skip `column` commas within this line; a short row is an illegal row.
        std::size_t f = line.begin;
        int commas = 0;
        while (commas < column) {
            const void* c = std::memchr(data.data() + f, ',', line.end - f);
            if (!c)
                break;
            f = std::size_t(static_cast<const char*>(c) - data.data()) + 1;
            ++commas;
        }
        // The number ends at the field's end; the conversion stops there by itself.
        const std::optional<double> value = commas < column || f >= line.end || !beginsNumber(data[f])
                                                ? std::nullopt
                                                : finiteFieldValue(data.substr(f, line.end - f));
        if (!value) {
            out.illegalRows = true;
            continue;
        }
        const double v = *value;
        if (values.size() == std::size_t(kMaxPoints)) {
            out.tooLong = true;
            out.pointCount = kMaxPoints + 1;
            return out;
        }
        values.push_back(v);
        if (std::fabs(v) > m)
            m = std::fabs(v);
        if (++sinceStep == kCsvProgressPoints) {
            sinceStep = 0;
            if (step)
                step();
        }
    }
    out.pointCount = int(values.size());

    // Pass 2: the codes.
    if (stage)
        stage(2);
    // Each code is trunc(v x 32767 / M + 32767), in that order: scaling first by 32767 / M
    // can differ by one code. M = 0 leaves the values unscaled. Near the double limit
    // v x 32767 would overflow, so v and M are first brought down by a power of two, which
    // changes no digit of the quotient.
    if (out.pointCount == 0)
        m = 32767;
    const double pre = m > std::numeric_limits<double>::max() / 32767.0 ? 0x1p-64 : 1.0;
    const double top = m == 0 ? 1.0 : 32767.0;
    const double below = m == 0 ? 1.0 : m * pre;
    out.preview = SampleStream(32768, values.size());
    auto codes = out.preview.codes();
    sinceStep = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        codes[i] = uint16_t(common::saturateTrunc(values[i] * pre * top / below + 32767.0, 0, 65535, 32767));
        if (++sinceStep == kCsvProgressPoints) {
            sinceStep = 0;
            if (step)
                step();
        }
    }
    return out;
}

void CsvToBitPattern(SampleStream& samples) {
    for (uint16_t& c : samples.codes())
        c = c > 32768 ? 65535 : 0;
}

std::vector<CsvPoint> CsvThumbnail(std::span<const uint16_t> codes, int w, int h) {
    std::vector<CsvPoint> out;
    const int64_t n = int64_t(codes.size());
    if (n == 0 || w < 2 || h < 4)
        return out;
    const int64_t width = 10 * ((int64_t(w) - 2) / 10);
    const auto yOf = [h](uint16_t c) {
        const int32_t y = int32_t((1.0 - double(c) / 65536.0) * double(h - 4) + 2.0);
        return std::max(y, 2);
    };
    const auto xOf = [width, n](int64_t i) { return int32_t(width * i / n + 1); };
    out.reserve(std::size_t(std::min<int64_t>(n, 4 * width + 8)));
    int32_t lastX = xOf(0);
    out.push_back({lastX, yOf(codes[0])});
    uint16_t lo = codes[0], hi = codes[0];
    for (int64_t i = 1; i < n; ++i) {
        const uint16_t c = codes[std::size_t(i)];
        const int32_t x = xOf(i);
        if (x != lastX) {
            // Across at the pen's height first when whole columns were jumped.
            if (x - lastX > 1)
                out.push_back({x, out.back().y});
            out.push_back({x, yOf(hi)});
            out.push_back({x, yOf(lo)});
            out.push_back({x, yOf(c)});
            lastX = x;
            lo = hi = c;
        } else {
            lo = std::min(lo, c);
            hi = std::max(hi, c);
        }
    }
    return out;
}

} // namespace plotwell::workspace
