// Clipboard text read for a paste: any bytes give at most 1,048,576 numbers, every one
// finite, and a waveform exactly as long as the numbers found. The waveform's own copy
// text reads back as the same number of numbers.

#include "fuzz_check.h"
#include "workspace/core/clipboard_numbers.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace plotwell::workspace;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int64_t numbers = 0;
    scanNumbers(text, [&](double v) {
        FUZZ_CHECK(std::isfinite(v));
        ++numbers;
    });
    const ClipboardWaveform w = clipboardWaveform(text);
    FUZZ_CHECK(w.count == numbers);
    if (w.status != ClipboardWaveform::Status::Ok) {
        FUZZ_CHECK(w.samples.empty());
        return 0;
    }
    FUZZ_CHECK(numbers >= 2 && numbers <= kMaxPoints);
    FUZZ_CHECK(w.samples.count() == numbers && w.samples.reference() == 1);
    std::string copy;
    appendCopyText(w.samples.codes(), 1, copy);
    int64_t again = 0;
    scanNumbers(copy, [&](double) { ++again; });
    FUZZ_CHECK(again == numbers);
    return 0;
}
