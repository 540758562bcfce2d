// Short instrument replies: a leading integer, comma-separated fields, the identity line.
#include "fuzz_check.h"
#include "transfer/core/identity.h"
#include "transfer/core/replies.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace plotwell::transfer;
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    (void)replyInteger(reply);
    for (int i = 0; i < 4; ++i)
        (void)replyIntegerField(reply, i);
    FUZZ_CHECK(replyFirstField(reply).size() <= 256);
    FUZZ_CHECK(replyFirstField(reply, 3).size() <= 3);
    // The identity check against a few expected texts, and against itself: the reply's
    // first half as the expected text, so 'x' wildcards come from the input too.
    for (std::string_view e : {"HEWLETT-PACKARD,33120A", "TEKTRONIX,AWG2021,x", "x", ""}) {
        std::string expected(e);
        const std::string cut = cutIdentity(reply, expected);
        FUZZ_CHECK(cut.size() <= reply.size());
        (void)CompareIdentity(cut, expected);
    }
    std::string expected(reply.substr(0, size / 2));
    const std::string cut = cutIdentity(reply.substr(size / 2), expected);
    (void)CompareIdentity(cut, expected);
    (void)identityMismatchText(std::string(reply), expected);
    return 0;
}
