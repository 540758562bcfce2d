#include "transfer/core/link.h"

namespace plotwell::transfer {

namespace {
LinkDeadlines current;
}

const LinkDeadlines& linkDeadlines() { return current; }
void setLinkDeadlines(const LinkDeadlines& d) { current = d; }

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

} // namespace plotwell::transfer
