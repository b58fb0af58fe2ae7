// Kinds of the family-1 contour tools, the feature types (sub-kinds) their features carry,
// and the placement modes of their regions. docs/tools.md explains what each one measures.
#pragma once

#include <array>
#include <cstdint>

#include "model/device/ZRINFO.h"

namespace ContourToolKind {
inline constexpr int kROI = 1;
inline constexpr int kVStrip = 2;
inline constexpr int kCTool = 3;
inline constexpr int kMeasure = 4;
inline constexpr int kHole = 5;
inline constexpr int kExtSensor = 7;
inline constexpr int kCombination = 8;
// Family-1 kinds are below 100; family-2 image tools start at 100.
inline bool bIsContourKind(int kind) {
    return kind >= 1 && kind <= 99;
}
}  // namespace ContourToolKind

namespace ContourFeatureType {
inline constexpr int kContourArea = 22;
inline constexpr int kContourWidth = 23;
inline constexpr int kContourHeight = 25;
inline constexpr int kRoiArea = 30;
inline constexpr int kStripArea = 33;
inline constexpr int kDistance = 34;
inline constexpr int kVerticalDistance = 36;
inline constexpr int kAngle = 38;
inline constexpr int kCount = 40;
inline constexpr int kMultipleDistance = 41;
inline constexpr int kMultipleAngle = 45;
inline constexpr int kHoleArea = 46;
inline constexpr int kHoleCount = 47;
inline constexpr int kExternalSensor = 49;
inline constexpr int kMathLogic = 50;
}  // namespace ContourFeatureType

// The twelve basic contour features in front of the tool features of a family-1 part: their
// feature types by index, and the indices (OBasicContourFeatures measures them).
namespace BasicFeature {
inline constexpr int kCount = 12;
inline constexpr std::array<int, kCount> kTypes = {3, 4, 0, 12, 9, 18, 5, 6, 1, 2, 7, 8};
inline constexpr int kColumns = 0;
inline constexpr int kHeight = 1;
inline constexpr int kArea = 2;
inline constexpr int kEdges = 3;
inline constexpr int kLeftArea = 4;
inline constexpr int kLowerArea = 5;
inline constexpr int kCentreRow = 6;
inline constexpr int kCentreColumn = 7;
inline constexpr int kMinRadius = 8;
inline constexpr int kMaxRadius = 9;
inline constexpr int kMomentX = 10;
inline constexpr int kMomentY = 11;
}  // namespace BasicFeature

// How a tool's region follows a part (see OType_ConfigTool_Contour).
namespace PlacementMode {
inline constexpr int kFromStart = 1;     // columns counted from the part's first column
inline constexpr int kFromEnd = 2;       // columns counted backwards from the part's last column
inline constexpr int kFromBaseLine = 3;  // columns from the start, rows from the part's lowest row
}  // namespace PlacementMode

// Image height of a contour device: the big-endian value at byte 688 of the device
// information, 512 when it is not positive.
inline int ContourImageHeight(const ZRINFO& deviceInfo) {
    const int h = deviceInfo.s16(ZRINFO::kPixels);
    return h > 0 ? h : 512;
}
