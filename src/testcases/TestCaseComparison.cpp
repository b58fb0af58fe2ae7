#include "testcases/TestCaseComparison.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "model/part/OType_Part.h"

namespace TestCaseComparison {

namespace {

constexpr const char* kSeparator = " | ";

std::string Printf(const char* format, auto... values) {
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, values...);
    if (n < static_cast<int>(sizeof buffer)) return buffer;
    std::string text(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string FeatureLabel(int index, const OType_Feature& feature, const ToolNames& toolNames,
                         double figure) {
    const std::string tool = feature.toolId < 0 || !toolNames ? std::string("Global feature")
                                                              : toolNames(feature.toolId);
    return Printf("%2d. %s - %s: %f", index + 1, tool.c_str(), feature.name.c_str(), figure);
}

}  // namespace

double RelativeDifference(double a, double b) {
    if (a == b) return 0.0;
    const double mean = (a + b) / 2.0;
    if (mean == 0.0) return std::numeric_limits<double>::infinity();
    return std::fabs((a - b) / mean);
}

bool bDiffers(double a, double b, double maxDeviation) {
    return RelativeDifference(a, b) >= kMinRelativeDifference && std::fabs(a - b) >= maxDeviation;
}

std::string FormatValue(double value) {
    return std::fabs(value) < 100000.0 ? Printf("%05.2lf", value) : Printf("%05.6le", value);
}

std::string ClassificationDifferences(const OType_Part& approved, const OType_Part& device,
                                      const OType_FeatureArray& pcFeatures,
                                      const ToolNames& toolNames) {
    std::string text;
    if (approved.iGetOrientation() != device.iGetOrientation()) text += "Orientation | ";
    if (approved.iGetType() != device.iGetType()) text += "Type | ";
    if (approved.iGetTolerance() != device.iGetTolerance()) text += "Tolerance | ";
    if (std::fabs(approved.dGetResultValue(1) - device.dGetResultValue(1)) >= 1.0)
        text += "Orientation deviation | ";
    if (std::fabs(approved.dGetResultValue(0) - device.dGetResultValue(0)) >= 1.0)
        text += "Deviation | ";
    const OType_FeatureArray& cam = device.Features();
    const int n = std::min(pcFeatures.iGetNumOfFeatures(), cam.iGetNumOfFeatures());
    for (int i = 0; i < n; ++i) {
        const OType_Feature& pc = pcFeatures.At(i);
        const double camDeviation = cam.At(i).deviation * 100.0;
        if (std::fabs(pc.deviation - camDeviation) <= 1.0) continue;
        text += FeatureLabel(i, pc, toolNames, pc.deviation - camDeviation) +
                Printf(" (PC <> Cam: %.3f <> %.3f) | ", pc.deviation, camDeviation);
    }
    return text;
}

std::string OFeatureDifferences::Mode() const {
    std::string mode = "EX: ";
    if (pcCam) mode += "P<>C ";
    if (approvedCam) mode += "A<>C ";
    if (approvedPc) mode += "A<>P ";
    return mode;
}

OFeatureDifferences FeatureDifferences(const OType_FeatureArray& pc, const OType_FeatureArray& cam,
                                       const OType_FeatureArray& approved, double maxDeviation,
                                       const ToolNames& toolNames) {
    OFeatureDifferences result;
    const auto check = [&](int i, const OType_Feature& named, double a, double b, const char* an,
                           const char* bn, bool& flag) {
        if (!bDiffers(a, b, maxDeviation)) return;
        flag = true;
        result.text += FeatureLabel(i, named, toolNames, RelativeDifference(a, b)) +
                       Printf(" (%s <> %s: %s <> %s) | ", an, bn, FormatValue(a).c_str(),
                              FormatValue(b).c_str());
    };
    const int n =
        std::max({pc.iGetNumOfFeatures(), cam.iGetNumOfFeatures(), approved.iGetNumOfFeatures()});
    for (int i = 0; i < n; ++i) {
        const OType_Feature* p = pc.bIsValidIndex(i) ? &pc.At(i) : nullptr;
        const OType_Feature* c = cam.bIsValidIndex(i) ? &cam.At(i) : nullptr;
        const OType_Feature* a = approved.bIsValidIndex(i) ? &approved.At(i) : nullptr;
        const OType_Feature& named = p ? *p : c ? *c : *a;
        // Text features (codes, read lines) have no numeric value to compare.
        if ((p && p->bIsText()) || (c && c->bIsText()) || (a && a->bIsText())) continue;
        if (p && c) {
            check(i, named, p->value, c->value, "PC", "Cam", result.pcCam);
            check(i, named, p->alternativeValue, c->alternativeValue, "PC_World", "Cam_World",
                  result.pcCam);
        }
        if (a && c) check(i, named, a->value, c->value, "Approved", "Cam", result.approvedCam);
        if (a && p) check(i, named, a->value, p->value, "Approved", "PC", result.approvedPc);
        // A feature one side lacks altogether is a difference of its own.
        if (!p || !c || !a) {
            result.pcCam |= (p == nullptr) != (c == nullptr);
            result.approvedCam |= (a == nullptr) != (c == nullptr);
            result.approvedPc |= (a == nullptr) != (p == nullptr);
            const auto state = [](const OType_Feature* f) { return f ? "present" : "missing"; };
            result.text +=
                FeatureLabel(i, named, toolNames, named.value) +
                Printf(" (PC <> Cam <> Approved: %s <> %s <> %s) | ", state(p), state(c), state(a));
        }
    }
    return result;
}

std::string WithoutLastSeparator(std::string text) {
    const std::string separator = kSeparator;
    if (text.size() >= separator.size() &&
        text.compare(text.size() - separator.size(), separator.size(), separator) == 0)
        text.resize(text.size() - separator.size());
    return text;
}

}  // namespace TestCaseComparison
