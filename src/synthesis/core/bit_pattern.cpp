#include "synthesis/core/bit_pattern.h"

#include <algorithm>
#include <vector>

namespace plotwell::synthesis {

bool EditBitPattern(workspace::SampleStream& samples, uint16_t reference, BitEdit edit, int index) {
    const int n = samples.count();
    if (index < 0 || index >= n)
        return false;
    // Only an insert is held to the longest pattern: a window may hold more bits than that,
    // and deleting must still shorten it.
    const int after = edit == BitEdit::Delete ? n - 1 : n + 1;
    if (edit == BitEdit::Delete ? after < kBitPatternMinBits : after > kMaxPatternBits)
        return false;
    const auto old = samples.codes();
    std::vector<uint16_t> bits;
    bits.reserve(std::size_t(after));
    for (uint16_t c : old)
        bits.push_back(c ? 0xFFFF : 0);
    switch (edit) {
    case BitEdit::Delete:
        bits.erase(bits.begin() + index);
        break;
    case BitEdit::InsertBefore:
        bits.insert(bits.begin() + index, 0);
        break;
    case BitEdit::InsertAfter:
        bits.insert(bits.begin() + index + 1, 0);
        break;
    }
    samples.assign(reference, bits);
    return true;
}

BitView BitPatternView(int top, int bits) {
    if (bits < kBitPatternVisibleBits)
        return {0, std::max(0, bits - 1)};
    const int last = std::min(std::max(top, 0) + kBitPatternVisibleBits - 1, bits - 1);
    return {last - (kBitPatternVisibleBits - 1), last};
}

} // namespace plotwell::synthesis
