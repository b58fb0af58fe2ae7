// The statistics of the accuracy wizard: one feature of the sample parts of type 1 and
// orientation 1 against a value measured by hand. From them come the resolution (units per
// pixel), the repeatability (maximum error = half the range, average error = standard
// deviation, both in measured units), the share of uncertain decisions at the tolerance
// limits or the tolerance for a given share, and the gauge capability indices Cgm and Cgmk.
#pragma once

#include <limits>
#include <string>

class OType_ZRPartSet;

namespace Accuracy {
// Fewer usable values than this are refused.
inline constexpr int kMinimumValues = 50;
// The stored value of a capability index that cannot be computed (standard deviation 0).
inline constexpr double kNoCapability = -std::numeric_limits<double>::max();

// The refusal of the feature page.
inline constexpr const char* kTooFewValuesText =
    "The evaluation can not be done since there are less than 50 values.\nRequired are:\n"
    " - min. 50 parts of 'Type=1' / 'Orientation=1\n - min. 50 values of the parts must be "
    "valid\n - min. 1 value must not be 0.0\n - the values must not be text";
inline constexpr const char* kNotEnoughPartsText =
    "Attention: Not enough sample parts.\nAt least 50 parts in orientation 1 are required for "
    "the calculation. Abort the wizard and add more sample parts.";
inline constexpr const char* kNoDeviationText = "Error, std.dev.=0";
inline constexpr const char* kNotComputed = "--";

// The probability that a normal variable with this mean and standard deviation lies in
// [low, high], by the trapezoidal rule with steps of (high - low) / 10000, at least 1e-7.
double NormalProbability(double low, double high, double mean, double sigma);

// The values of one feature of the sample parts of type 1 and orientation 1.
struct OSamples {
    int parts = 0;  // sample parts of type 1 and orientation 1
    int count = 0;  // valid numeric values
    double sum = 0.0;
    double sumOfSquares = 0.0;  // of the deviations from the mean, once the mean is known
    double minimum = 0.0;
    double maximum = 0.0;
    bool anyText = false;
    bool anyInvalid = false;
    bool anyOther = false;  // a sample part of another type or orientation
    double dMean() const { return count > 0 ? sum / count : 0.0; }
    // Whether the figures can be computed: enough values and a sum that is not 0.
    bool bUsable() const { return count >= kMinimumValues && sum != 0.0; }
};
// The feature (index into the parts' feature arrays) over the part set's sample parts.
OSamples CollectSamples(const OType_ZRPartSet& partSet, int feature);
// Sample parts of type 1 and orientation 1.
int CountSampleParts(const OType_ZRPartSet& partSet);

// The figures of the feature page from the samples and the measured value m.
struct OFeatureFigures {
    double mean = 0.0;        // of the samples, in pixels
    double resolution = 0.0;  // r = m / mean
    double maxError = 0.0;    // e = 0.5 |max - min| r
    double sigma = 0.0;       // standard deviation of the samples times r
    double pixelSigma = 0.0;  // standard deviation of the samples
};
// False when m is 0 (nothing can be computed) or the samples are not usable.
bool bComputeFeatureFigures(const OSamples& samples, double measured, OFeatureFigures& figures);

// The tolerance a wizard starts with: twice the maximum error, rounded up to a tenth.
double InitialTolerance(double maxError);

// Mode "Tolerance range": the share of uncertain parts in percent (0 .. 100) for the
// specified value x, tolerance t (already at least e) and maximum error e; the process is
// assumed to spread with sigma t / 2.
int UncertainShare(double specified, double tolerance, double maxError);
// Mode "Amount of uncertain parts": the smallest tolerance on the steps e + k * |x| / 10000
// (k = 1, 2, ...) at which at most `percent` % of the parts are uncertain. `percent` must
// lie in 1 .. 99.
double ToleranceForUncertainShare(double specified, double maxError, int percent);

// Gauge capability of a type-1 study with tolerance range T = 2t.
struct OCapability {
    bool ok = false;  // false when sigma is 0
    double cgm = kNoCapability;
    double cgmk = kNoCapability;
};
OCapability Capability(double tolerance, double sigma, double specified, double measuredMean);

// "%5.4lf" of a value as the pages show it.
std::string Format4(double v);
}  // namespace Accuracy
