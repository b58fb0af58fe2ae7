#include "model/util/Rounding.h"

#include <cmath>

namespace {

constexpr double kPassThroughMagnitude = 1e15;
constexpr double kLargestScaled = 0x1p52;
constexpr double kHalfTolerance = 0x1p-48;

double RoundHalfAwayFromZero(double x, double scale) {
    if (!(std::fabs(x) <= kPassThroughMagnitude)) return x;  // also NaN and infinities
    const double scaled = std::fabs(x) * scale;
    if (scaled >= kLargestScaled) return x;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5 - scaled * kHalfTolerance) whole += 1.0;
    if (whole == 0.0) return 0.0;
    return std::copysign(whole / scale, x);
}

}  // namespace

double dZRRound(double x) {
    return RoundHalfAwayFromZero(x, 10000.0);
}

double dCBRound(double x) {
    return RoundHalfAwayFromZero(x, 100.0);
}
