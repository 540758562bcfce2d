#pragma once
// The generator behind the language's rnd: a 32-bit linear congruential generator whose
// sequence is the same in every run of the program. One instance lives as long as the
// program; consecutive generations continue its sequence.

#include <cstdint>

namespace plotwell::synthesis {

class ExpressionRandom {
public:
    // Seeded with 1; seeding draws and discards one value.
    ExpressionRandom() { reseed(1); }

    void reseed(uint32_t seed) {
        state_ = seed;
        next();
    }
    // 0 .. 32767.
    int32_t next() {
        state_ = state_ * 22695477u + 1u;
        return int32_t((state_ >> 16) & 0x7FFFu);
    }
    // The value of one rnd: -1 .. +1.
    double value() { return double(next()) * (1.0 / 32767.0) * 2.0 - 1.0; }

    uint32_t state() const { return state_; }
    void setState(uint32_t s) { state_ = s; }

private:
    uint32_t state_ = 1;
};

} // namespace plotwell::synthesis
