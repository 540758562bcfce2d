#include "transfer/core/replies.h"

#include "common/numtext.h"

namespace plotwell::transfer {

std::optional<int32_t> replyInteger(std::string_view reply) {
    return common::parseLeadingInt(reply);
}

std::optional<int32_t> replyIntegerField(std::string_view reply, int index) {
    for (int f = 0; f < index; ++f) {
        const auto comma = reply.find(',');
        if (comma == std::string_view::npos)
            return std::nullopt;
        reply.remove_prefix(comma + 1);
    }
    return replyInteger(reply);
}

std::string replyFirstField(std::string_view reply, std::size_t limit) {
    const auto end = reply.find(',');
    std::string_view f = reply.substr(0, end);
    return std::string(f.substr(0, limit));
}

bool parseCsvValues(std::string_view text, std::vector<int32_t>& values, std::size_t maxValues, int32_t lo,
                    int32_t hi, std::size_t maxDigits) {
    values.clear();
    if (const auto lf = text.find('\n'); lf != std::string_view::npos)
        text = text.substr(0, lf);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (text.empty())
        return true;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        const std::string_view item =
            text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
        if (item.empty() || item.size() > maxDigits || values.size() >= maxValues)
            return false;
        for (std::size_t i = 0; i < item.size(); ++i) {
            const char c = item[i];
            if (!((c >= '0' && c <= '9') || (i == 0 && (c == '-' || c == '+') && item.size() > 1)))
                return false;
        }
        const auto v = common::parseIntPrefix(item);
        if (!v || *v < lo || *v > hi)
            return false;
        values.push_back(*v);
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
    }
}

} // namespace plotwell::transfer
