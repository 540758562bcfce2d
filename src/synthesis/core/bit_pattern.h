#pragma once
// Editing a bit pattern: a waveform whose every sample is 0xFFFF (a one) or 0 (a zero).

#include "workspace/core/file_types.h"
#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>

namespace plotwell::synthesis {

using workspace::kBitPatternMinBits;
using workspace::kMaxPatternBits;
// Bits the editor shows at once, and the window with them.
inline constexpr int kBitPatternVisibleBits = 32;

enum class BitEdit { Delete, InsertBefore, InsertAfter };

// Deletes bit `index`, or inserts a 0 bit before or after it, then rebuilds the stream with
// reference word `reference` and every non-zero sample as 0xFFFF. False, changing nothing,
// when `index` is no bit, a delete would leave no bit, or an insert would go past
// kMaxPatternBits bits.
bool EditBitPattern(workspace::SampleStream& samples, uint16_t reference, BitEdit edit, int index);

// The points the window shows when the editor's top row is bit `top`: 32 bits from it,
// moved back so that they end at the last bit; all of them when there are fewer.
struct BitView {
    int first = 0, last = 0;
};
BitView BitPatternView(int top, int bits);

} // namespace plotwell::synthesis
