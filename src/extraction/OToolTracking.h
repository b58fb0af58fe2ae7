// Picking and moving tools in the part contour view.
#pragma once

#include <optional>

#include "extraction/OContourViewMapping.h"

class OType_ConfigTool;
class OContourColumns;
class OType_ZRPartSet;

namespace ToolTracking {

inline constexpr long long kPickAreaStart = 64000000;

// The tool's region as placed on the part whose columns are given (the stored region for
// tools that do not follow parts).
ORect PlacedRegion(const OType_ConfigTool& tool, const OContourColumns& columns);
bool bHasRegion(const OType_ConfigTool& tool);
bool bContains(const ORect& region, OPoint contour);

// The tool under a contour point: the selected tool when its region contains the point,
// otherwise the smallest region containing it; -1 when none.
int PickTool(const OType_ZRPartSet& partSet, const OContourColumns& shown, OPoint contour,
             int selectedTool);

// The tracker rectangle in window pixels of a placed region (right and bottom exclusive).
ORect TrackerRect(const ORect& placed, const OContourViewState& state, const OViewMapping& mapping);

// The region after the user tracked the tracker from `before` to `after` (window pixels):
// a pure move keeps the width and height exactly, a resize takes the tracked rectangle with
// right and bottom one pixel inside; coordinates below -32767 wrap (+65535, +65534 for the
// inclusive right and bottom). nullopt when nothing changed.
std::optional<ORect> TrackedRegion(const ORect& placed, const ORect& before, const ORect& after,
                                   const OContourViewState& state, const OViewMapping& mapping);

int32_t WrapCoordinate(int32_t v, bool inclusiveEdge);

}  // namespace ToolTracking
