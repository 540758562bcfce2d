#include "synthesis/core/bit_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plotwell::synthesis;
using plotwell::workspace::SampleStream;

namespace {

SampleStream pattern(const std::string& bits) {
    SampleStream s(7, 0);
    for (char b : bits)
        s.append(b == '1' ? 0xFFFF : 0);
    return s;
}

std::string bitsOf(const SampleStream& s) {
    std::string out;
    for (uint16_t c : s.codes())
        out += c == 0xFFFF ? '1' : c == 0 ? '0' : '?';
    return out;
}

} // namespace

TEST(BitPattern, Edits) {
    struct Case {
        std::string before;
        BitEdit edit;
        int index;
        bool done;
        std::string after;
    };
    for (const Case& c : std::vector<Case>{
             {"01", BitEdit::InsertBefore, 0, true, "001"},
             {"01", BitEdit::InsertAfter, 0, true, "001"},
             {"11", BitEdit::InsertAfter, 0, true, "101"},
             {"11", BitEdit::InsertAfter, 1, true, "110"},
             {"011", BitEdit::Delete, 1, true, "01"},
             {"011", BitEdit::Delete, 2, true, "01"},
             {"10", BitEdit::Delete, 0, true, "0"},
             {"1", BitEdit::Delete, 0, false, "1"},
             {"01", BitEdit::Delete, 2, false, "01"},
             {"01", BitEdit::InsertBefore, -1, false, "01"},
         }) {
        SCOPED_TRACE(c.before + " " + std::to_string(c.index));
        SampleStream s = pattern(c.before);
        EXPECT_EQ(EditBitPattern(s, 9, c.edit, c.index), c.done);
        EXPECT_EQ(bitsOf(s), c.after);
        EXPECT_EQ(s.reference(), c.done ? 9 : 7);
    }
}

TEST(BitPattern, LimitsAndNonZeroSamples) {
    SampleStream full(1, kMaxPatternBits, 0);
    EXPECT_FALSE(EditBitPattern(full, 1, BitEdit::InsertAfter, 0));
    EXPECT_EQ(full.count(), kMaxPatternBits);
    EXPECT_TRUE(EditBitPattern(full, 1, BitEdit::Delete, 0));
    EXPECT_TRUE(EditBitPattern(full, 1, BitEdit::InsertBefore, 0));
    // A window may hold more bits than an insert may reach; a delete still shortens it.
    SampleStream over(1, kMaxPatternBits + 2, 0);
    EXPECT_FALSE(EditBitPattern(over, 1, BitEdit::InsertBefore, 0));
    EXPECT_TRUE(EditBitPattern(over, 1, BitEdit::Delete, 0));
    EXPECT_EQ(over.count(), kMaxPatternBits + 1);
    // Whatever the window held, a rebuilt pattern holds only ones and zeros.
    SampleStream odd(1, 0);
    for (uint16_t c : {5, 0, 32768})
        odd.append(c);
    EXPECT_TRUE(EditBitPattern(odd, 1, BitEdit::InsertAfter, 2));
    EXPECT_EQ(bitsOf(odd), "1010");
}

TEST(BitPattern, View) {
    struct Case {
        int top, bits, first, last;
    };
    for (const Case& c : std::vector<Case>{{0, 10, 0, 9},
                                           {0, 1, 0, 0},
                                           {0, 32, 0, 31},
                                           {5, 100, 5, 36},
                                           {90, 100, 68, 99},
                                           {-1, 40, 0, 31}}) {
        const BitView v = BitPatternView(c.top, c.bits);
        EXPECT_EQ(v.first, c.first) << c.top << " " << c.bits;
        EXPECT_EQ(v.last, c.last) << c.top << " " << c.bits;
    }
}
