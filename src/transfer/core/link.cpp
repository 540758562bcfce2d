#include "transfer/core/link.h"

namespace plotwell::transfer {

IoResult Link::readReplyBytes(void* data, std::size_t n) {
    return readExact(*this, data, n);
}

BlockRead readBlockHeader(Link& link, std::size_t maxCount, std::size_t unit) {
    BlockRead b;
    char head[2 + 9];
    b.io = link.readReplyBytes(head, 2);
    if (!b.io.ok())
        return b;
    b.header = common::parseBlockHeader(std::string_view(head, 2), maxCount, unit);
    if (b.header.status != common::BlockHeaderStatus::Incomplete)
        return b;
    const std::size_t digits = std::size_t(head[1] - '0');
    b.io = link.readReplyBytes(head + 2, digits);
    if (!b.io.ok())
        return b;
    b.header = common::parseBlockHeader(std::string_view(head, 2 + digits), maxCount, unit);
    return b;
}

} // namespace plotwell::transfer
