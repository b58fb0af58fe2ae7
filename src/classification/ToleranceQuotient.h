// Guarded conversions of the band and margin arithmetic to whole numbers.
#pragma once

#include <cmath>

namespace ClassTables {

// Whole tolerance units of `unit` that fit into `distance` (truncated). A unit of 0 (a class
// mean of 0 or a factor of 0) has no width to give, and a negative or undefined quotient
// gives no unit; the result is capped far above any tolerance percentage.
inline int iWholeUnits(double distance, double unit) {
    if (!(unit > 0.0)) return 0;
    const double q = distance / unit;
    if (!(q > 0.0)) return 0;
    if (q >= 255.0) return 255;
    return static_cast<int>(q);
}

// The margin to a decision threshold as stored in a part: the integer part, at most 999 (also
// for a part exactly at the threshold), never negative.
inline double dMarginValue(double x) {
    if (std::isnan(x) || x >= 999.0) return 999.0;
    if (x <= 0.0) return 0.0;
    return std::floor(x);
}

}  // namespace ClassTables
