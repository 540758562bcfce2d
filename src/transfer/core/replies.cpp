#include "transfer/core/replies.h"

#include "workspace/core/numtext.h"

namespace plotwell::transfer {

std::string blockHeader(std::size_t count) {
    const std::string digits = std::to_string(count);
    return "#" + std::to_string(digits.size()) + digits;
}

BlockHeaderParse parseBlockHeader(std::string_view bytes, std::size_t maxCount, std::size_t unit) {
    BlockHeaderParse p;
    if (bytes.empty())
        return p;
    if (bytes[0] != '#') {
        p.status = BlockHeaderStatus::NoHash;
        return p;
    }
    if (bytes.size() < 2)
        return p;
    const char d = bytes[1];
    if (d < '1' || d > '9') {
        p.status = BlockHeaderStatus::BadDigits;
        return p;
    }
    const std::size_t digits = std::size_t(d - '0');
    if (bytes.size() < 2 + digits) {
        // Report bad digits as soon as they are seen, so a reader can stop early.
        for (std::size_t i = 2; i < bytes.size(); ++i)
            if (bytes[i] < '0' || bytes[i] > '9')
                p.status = BlockHeaderStatus::BadDigits;
        return p;
    }
    // Nine digits cannot overflow 64 bits.
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = bytes[2 + i];
        if (c < '0' || c > '9') {
            p.status = BlockHeaderStatus::BadDigits;
            return p;
        }
        count = count * 10 + std::uint64_t(c - '0');
    }
    p.headerSize = 2 + digits;
    if (count > maxCount) {
        p.status = BlockHeaderStatus::TooLarge;
        return p;
    }
    p.count = std::size_t(count);
    p.status = (unit > 1 && p.count % unit != 0) ? BlockHeaderStatus::NotWhole : BlockHeaderStatus::Ok;
    return p;
}

std::optional<int32_t> replyInteger(std::string_view reply) {
    std::size_t i = 0;
    while (i < reply.size() && (reply[i] == ' ' || reply[i] == '\t'))
        ++i;
    return workspace::parseIntPrefix(reply.substr(i));
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
        const auto v = workspace::parseIntPrefix(item);
        if (!v || *v < lo || *v > hi)
            return false;
        values.push_back(*v);
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
    }
}

} // namespace plotwell::transfer
