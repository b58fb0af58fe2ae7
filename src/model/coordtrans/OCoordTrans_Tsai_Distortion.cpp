#include "model/coordtrans/OCoordTrans_Tsai_Distortion.h"

#include <algorithm>
#include <cmath>

namespace {

// g(rd) = rd * (1 + kappa1 * rd^2), increasing on [lo, hi] with g(lo) <= ru <= g(hi).
// Newton steps, falling back to bisection whenever a step leaves the bracket.
double SolveRadius(double kappa1, double ru, double lo, double hi, double start) {
    double rd = start;
    for (int i = 0; i < 200; ++i) {
        const double g = rd * (1.0 + kappa1 * rd * rd) - ru;
        if (g == 0.0) return rd;
        if (g < 0.0) {
            lo = rd;
        } else {
            hi = rd;
        }
        const double slope = 1.0 + 3.0 * kappa1 * rd * rd;
        double next = slope > 0.0 ? rd - g / slope : lo - 1.0;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (next == rd || hi - lo <= 4.0 * 2.220446049250313e-16 * hi) return next;
        rd = next;
    }
    return rd;
}

}  // namespace

bool OCoordTrans_Tsai_Distortion::bIsInvertible(double kappa1, double rdSquared) {
    return 1.0 + 3.0 * kappa1 * rdSquared > 0.0;
}

bool OCoordTrans_Tsai_Distortion::bUndistort(double kappa1, double xd, double yd, double& xu,
                                             double& yu) {
    const double r2 = xd * xd + yd * yd;
    if (!std::isfinite(kappa1) || !std::isfinite(r2) || !bIsInvertible(kappa1, r2)) return false;
    const double factor = 1.0 + kappa1 * r2;
    const double x = xd * factor;
    const double y = yd * factor;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    xu = x;
    yu = y;
    return true;
}

bool OCoordTrans_Tsai_Distortion::bDistort(double kappa1, double xu, double yu, double& xd,
                                           double& yd) {
    if (!std::isfinite(kappa1) || !std::isfinite(xu) || !std::isfinite(yu)) return false;
    const double ru = std::hypot(xu, yu);
    if (!std::isfinite(ru)) return false;
    if (ru == 0.0 || kappa1 == 0.0) {
        xd = xu;
        yd = yu;
        return true;
    }
    double rd = 0.0;
    if (kappa1 > 0.0) {
        // One real root in (0, ru]; for strong distortion cbrt(ru / kappa1) is close to it.
        const double start = kappa1 * ru * ru < 1.0 ? ru : std::min(ru, std::cbrt(ru / kappa1));
        rd = SolveRadius(kappa1, ru, 0.0, ru, start);
    } else {
        // g rises to its maximum (2/3) * rdMax at rdMax; larger radii cannot be reached.
        const double rdMax = 1.0 / std::sqrt(-3.0 * kappa1);
        if (!(ru < (2.0 / 3.0) * rdMax)) return false;
        rd = SolveRadius(kappa1, ru, ru, rdMax, ru);
        if (!bIsInvertible(kappa1, rd * rd)) return false;
    }
    const double scale = rd / ru;
    xd = xu * scale;
    yd = yu * scale;
    return std::isfinite(xd) && std::isfinite(yd);
}
