// The raw sample stream of a waveform file: any bytes give a stream, and writing it back
// gives the same bytes (less an odd trailing byte).

#include "fuzz_check.h"
#include "workspace/core/sample_stream.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using plotwell::workspace::SampleStream;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SampleStream s = SampleStream::fromBytes(bytes);
    FUZZ_CHECK(s.toBytes() == bytes.substr(0, size & ~std::size_t(1)));
    if (s.hasPoints()) {
        FUZZ_CHECK(s.count() == int(size / 2) - 1);
        (void)s.value(std::size_t(s.lastIndex()));
        (void)s.normalised(0);
    }
    return 0;
}
