#pragma once
// The one conversion of a computed value to a code or an index. NaN gives the fallback
// (the mid code); +-inf and values beyond the range clip to its ends and set `clipped`.

#include <cmath>
#include <cstdint>

namespace plotwell::common {

// Truncates toward zero into lo..hi.
inline int64_t saturateTrunc(double v, int64_t lo, int64_t hi, int64_t nanValue, bool* clipped = nullptr) {
    if (std::isnan(v))
        return nanValue;
    int64_t t;
    if (v >= double(hi) + 1.0)
        t = hi + 1; // also +inf; any value past the end clips
    else if (v <= double(lo) - 1.0)
        t = lo - 1;
    else
        t = int64_t(v); // in range of int64 now, so the cast is defined
    if (t > hi) {
        if (clipped)
            *clipped = true;
        return hi;
    }
    if (t < lo) {
        if (clipped)
            *clipped = true;
        return lo;
    }
    return t;
}

// Rounds half away from zero, then clips into lo..hi as above.
inline int64_t saturateRound(double v, int64_t lo, int64_t hi, int64_t nanValue, bool* clipped = nullptr) {
    if (std::isnan(v))
        return nanValue;
    return saturateTrunc(std::round(v), lo, hi, nanValue, clipped);
}

// A double to int32 for indices and pixel positions, truncating toward zero.
inline int32_t toInt32(double v) {
    return int32_t(saturateTrunc(v, INT32_MIN, INT32_MAX, 0));
}

} // namespace plotwell::common
