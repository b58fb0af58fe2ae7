// Names, pages and helpers of the properties the family-1 contour tools describe as data
// (OType_ConfigTool::DescribeProperties). The names are stable: kalvorctl and the desktop
// tests address the properties by them.
#pragma once

#include <string>

#include "model/tools/OPropertyList.h"

namespace ContourToolProperties {

inline constexpr const char* kPageGeneral = "General";
inline constexpr const char* kPageRegion = "Region";
inline constexpr const char* kPageFunction = "Function";

inline constexpr const char* kName = "name";
inline constexpr const char* kSubKind = "subkind";
inline constexpr const char* kPlacement = "placement";
inline constexpr const char* kRegionLeft = "region.left";
inline constexpr const char* kRegionTop = "region.top";
inline constexpr const char* kRegionRight = "region.right";
inline constexpr const char* kRegionBottom = "region.bottom";

// The highest column a region may name (contour columns are counted in 16 bits).
inline constexpr int kMaxRegionColumn = 32767;
// The image height assumed without device information.
inline constexpr int kDefaultImageRows = 512;

// The name of a feature type: the part set's feature-name table, else the built-in one.
std::string FeatureTypeName(const OPropertyContext& context, int featureType);
// Rows of the device's contour image (byte 688 of its information, 512 without one).
int iImageRows(const OPropertyContext& context);
// One line saying how the region's numbers are counted in a placement mode.
std::string PlacementHelp(int mode);

}  // namespace ContourToolProperties
