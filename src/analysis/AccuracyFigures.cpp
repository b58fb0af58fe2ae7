#include "analysis/AccuracyFigures.h"

#include <algorithm>
#include <cmath>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace Accuracy {

namespace {

// sqrt(2 pi) as the density has always been written here.
constexpr double kSqrtTwoPi = 2.50662875;
constexpr int kIntegrationSteps = 10000;

bool bIsSample(const OType_Part& part) {
    return part.iGetType() == 1 && part.iGetOrientation() == 1;
}

double UncertainProbability(double specified, double tolerance, double maxError) {
    return NormalProbability(specified + tolerance - maxError, specified + tolerance + maxError,
                             specified, tolerance / 2.0);
}

}  // namespace

double NormalProbability(double low, double high, double mean, double sigma) {
    if (!(high > low) || !(sigma > 0.0)) return 0.0;
    const double step = std::max((high - low) / kIntegrationSteps, 1e-7);
    const double scale = 1.0 / (sigma * kSqrtTwoPi);
    const double twoVariance = 2.0 * sigma * sigma;
    const auto density = [&](double x) {
        return scale * std::exp(-(x - mean) * (x - mean) / twoVariance);
    };
    double sum = 0.0;
    double x = low;
    double previous = density(x);
    while (x < high) {
        const double next = std::min(x + step, high);
        const double current = density(next);
        sum += (previous + current) * 0.5 * (next - x);
        previous = current;
        x = next;
    }
    return sum;
}

int CountSampleParts(const OType_ZRPartSet& partSet) {
    const OType_PartArray& teach = partSet.TeachParts();
    int n = 0;
    for (int i = 0; i < teach.iGetSize(); ++i)
        n += bIsSample(*teach.GetAt_NoSort(i)) ? 1 : 0;
    return n;
}

OSamples CollectSamples(const OType_ZRPartSet& partSet, int feature) {
    OSamples s;
    const OType_PartArray& teach = partSet.TeachParts();
    const auto valueOf = [feature](const OType_Part& part) -> const OType_Feature* {
        const OType_Feature* f = part.Features().opGetAt(feature);
        return f && f->valid && !f->bIsText() ? f : nullptr;
    };
    for (int i = 0; i < teach.iGetSize(); ++i) {
        const OType_Part& part = *teach.GetAt_NoSort(i);
        if (!bIsSample(part)) {
            s.anyOther = true;
            continue;
        }
        ++s.parts;
        const OType_Feature* f = part.Features().opGetAt(feature);
        if (f && f->bIsText()) {
            s.anyText = true;
            continue;
        }
        const OType_Feature* value = valueOf(part);
        if (!value) {
            s.anyInvalid = true;
            continue;
        }
        const double v = value->value;
        s.minimum = s.count == 0 ? v : std::min(s.minimum, v);
        s.maximum = s.count == 0 ? v : std::max(s.maximum, v);
        s.sum += v;
        ++s.count;
    }
    const double mean = s.dMean();
    for (int i = 0; i < teach.iGetSize(); ++i) {
        const OType_Part& part = *teach.GetAt_NoSort(i);
        if (!bIsSample(part)) continue;
        if (const OType_Feature* value = valueOf(part))
            s.sumOfSquares += (value->value - mean) * (value->value - mean);
    }
    return s;
}

bool bComputeFeatureFigures(const OSamples& samples, double measured, OFeatureFigures& figures) {
    figures = OFeatureFigures();
    if (!samples.bUsable() || measured == 0.0) return false;
    figures.mean = samples.dMean();
    figures.pixelSigma = std::sqrt(samples.sumOfSquares / (samples.count - 1));
    figures.resolution = measured / figures.mean;
    figures.maxError = 0.5 * std::fabs(samples.maximum - samples.minimum) * figures.resolution;
    figures.sigma = figures.pixelSigma * figures.resolution;
    return true;
}

double InitialTolerance(double maxError) {
    return std::ceil(10.0 * maxError) / 10.0 * 2.0;
}

int UncertainShare(double specified, double tolerance, double maxError) {
    if (tolerance / 2.0 == 0.0) return 0;
    const double p = UncertainProbability(specified, tolerance, maxError);
    return std::min(100, static_cast<int>(2.0 * p * 100.0 + 0.5));
}

double ToleranceForUncertainShare(double specified, double maxError, int percent) {
    // The share falls as the tolerance grows (the uncertain band moves out into the tail of
    // the process spread), so the first step that meets it is found by doubling and halving
    // instead of walking up to ten thousand steps one by one. A specified value of 0 would
    // give no step at all; the maximum error then sets the step.
    double step = std::fabs(specified) / 10000.0;
    if (step == 0.0) step = std::fabs(maxError) / 10000.0;
    if (step == 0.0) step = 1e-4;
    const double limit = percent / 100.0;
    const auto meets = [&](int64_t k) {
        const double t = maxError + static_cast<double>(k) * step;
        return 2.0 * UncertainProbability(specified, t, maxError) <= limit;
    };
    int64_t high = 1;
    while (!meets(high) && high < (int64_t{1} << 50))
        high *= 2;
    int64_t low = high / 2;  // does not meet it (or is 0)
    while (high - low > 1) {
        const int64_t mid = low + (high - low) / 2;
        (meets(mid) ? high : low) = mid;
    }
    return maxError + static_cast<double>(high) * step;
}

OCapability Capability(double tolerance, double sigma, double specified, double measuredMean) {
    OCapability c;
    if (sigma == 0.0) return c;
    const double range = 2.0 * tolerance;
    c.ok = true;
    c.cgm = 0.2 * range / (6.0 * sigma);
    c.cgmk = (0.1 * range - std::fabs(specified - measuredMean)) / (3.0 * sigma);
    return c;
}

std::string Format4(double v) {
    return FormatPrintf("%5.4lf", v);
}

}  // namespace Accuracy
