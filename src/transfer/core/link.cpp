#include "transfer/core/link.h"

namespace plotwell::transfer {

IoResult readExact(Link& link, void* data, std::size_t n) {
    auto* p = static_cast<unsigned char*>(data);
    std::size_t have = 0;
    while (have < n) {
        IoResult r = link.read(p + have, n - have);
        have += r.count;
        if (!r.ok()) {
            r.count = have;
            return r;
        }
        if (r.count == 0)
            return {IoStatus::Timeout, have};
    }
    return {IoStatus::Ok, have};
}

BlockRead readBlockHeader(Link& link, std::size_t maxCount, std::size_t unit) {
    BlockRead b;
    char head[2 + 9];
    b.io = readExact(link, head, 2);
    if (!b.io.ok())
        return b;
    b.header = common::parseBlockHeader(std::string_view(head, 2), maxCount, unit);
    if (b.header.status != common::BlockHeaderStatus::Incomplete)
        return b;
    const std::size_t digits = std::size_t(head[1] - '0');
    b.io = readExact(link, head + 2, digits);
    if (!b.io.ok())
        return b;
    b.header = common::parseBlockHeader(std::string_view(head, 2 + digits), maxCount, unit);
    return b;
}

} // namespace plotwell::transfer
