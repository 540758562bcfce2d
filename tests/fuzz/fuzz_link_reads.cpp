// What an instrument sends through a link, read as the transfers read it: a reply line
// byte by byte, a definite-length block header, the block's data, a comma-separated
// upload line, and upload values one at a time. The bytes come in chunks of a size the
// input chooses, as a slow or babbling instrument would send them.

#include "fuzz_check.h"
#include "transfer/core/link.h"
#include "transfer/core/replies.h"
#include "transfer/core/transfer_worker.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace plotwell::transfer;

namespace {
class ByteLink : public Link {
public:
    ByteLink(std::string_view bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    LinkKind kind() const override { return LinkKind::Tcp; }
    bool isOpen() const override { return true; }
    IoResult write(const void*, std::size_t n) override { return {IoStatus::Ok, n}; }
    IoResult read(void* data, std::size_t max) override {
        const std::size_t n = std::min({max, chunk_, bytes_.size() - pos_});
        if (n == 0)
            return {IoStatus::Timeout, 0};
        std::memcpy(data, bytes_.data() + pos_, n);
        pos_ += n;
        return {IoStatus::Ok, n};
    }
    IoResult readReply(std::string& reply, std::size_t) override {
        return readLineBytewise(
            reply,
            [this](char& c) {
                if (pos_ >= bytes_.size())
                    return 0;
                c = bytes_[pos_++];
                return 1;
            },
            true);
    }
    void close() override {}

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t chunk_;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::size_t chunk = 1 + data[0] % 16;
    const std::size_t unit = std::size_t(1) << ((data[0] >> 4) % 3);
    ByteLink link(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), chunk);

    std::string reply;
    const IoResult line = link.readReply(reply, kMaxReply);
    FUZZ_CHECK(reply.size() <= kMaxReply && line.count == reply.size());

    const BlockRead block = readBlockHeader(link, 2 * 1048576, unit);
    if (block.ok()) {
        FUZZ_CHECK(block.header.count <= 2 * 1048576 && block.header.count % unit == 0);
        std::vector<char> buffer(std::min<std::size_t>(block.header.count, 4096));
        const IoResult got = readExact(link, buffer.data(), buffer.size());
        FUZZ_CHECK(got.count <= buffer.size());
    }
    if (link.readReply(reply, kMaxReply).ok()) {
        std::vector<int32_t> values;
        if (parseCsvValues(reply, values, 1048576, -32768, 32767))
            FUZZ_CHECK(values.size() <= kMaxReply);
    }
    for (int k = 0; k < 100; ++k) {
        uint16_t word = 0;
        if (readValueWord(link, 2048, kMaxReply, word))
            break;
        FUZZ_CHECK(word <= 4095);
    }
    return 0;
}
