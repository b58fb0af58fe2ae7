// The two comparisons of a verified test part: the device's classification against the
// approved one, and the features computed here (PC), by the device (Cam) and in the approved
// part (Approved). Each returns the texts of the differences, joined by " | ".
#pragma once

#include <functional>
#include <string>

class OType_FeatureArray;
class OType_Part;

namespace TestCaseComparison {

// The relative difference below which two feature values count as equal, whatever their
// absolute difference.
inline constexpr double kMinRelativeDifference = 0.0015;

// The tool name of a feature's tool id ("Global feature" for features without a tool).
using ToolNames = std::function<std::string(int toolId)>;

// |a - b| / ((a + b) / 2); 0 for equal values, infinity when the mean is 0 and they differ.
double RelativeDifference(double a, double b);
// Both the relative difference reaches kMinRelativeDifference and the absolute difference
// reaches maxDeviation.
bool bDiffers(double a, double b, double maxDeviation);
// "%05.2lf" below 100000 in magnitude, "%05.6le" above.
std::string FormatValue(double value);

// The classification differences of the device's part against the approved part: orientation,
// type, tolerance, orientation deviation (result value 1) and deviation (result value 0), then
// every feature whose deviation here (percent) differs by more than 1 from the device's
// (a fraction) × 100. Empty when they agree.
std::string ClassificationDifferences(const OType_Part& approved, const OType_Part& device,
                                      const OType_FeatureArray& pcFeatures,
                                      const ToolNames& toolNames);

struct OFeatureDifferences {
    std::string text;
    bool pcCam = false;        // PC against Cam, values or world coordinates
    bool approvedCam = false;  // Approved against Cam
    bool approvedPc = false;   // Approved against PC
    bool bAny() const { return !text.empty(); }
    // "EX: " followed by "P<>C ", "A<>C " and "A<>P " as they apply.
    std::string Mode() const;
};

OFeatureDifferences FeatureDifferences(const OType_FeatureArray& pc, const OType_FeatureArray& cam,
                                       const OType_FeatureArray& approved, double maxDeviation,
                                       const ToolNames& toolNames);

// The text without its final " | ".
std::string WithoutLastSeparator(std::string text);

}  // namespace TestCaseComparison
