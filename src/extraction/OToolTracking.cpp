#include "extraction/OToolTracking.h"

#include <algorithm>

#include "model/partset/OType_ZRPartSet.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace ToolTracking {

ORect PlacedRegion(const OType_ConfigTool& tool, const OContourColumns& columns) {
    if (const auto* contour = dynamic_cast<const OType_ConfigTool_Contour*>(&tool))
        return contour->GetPlacedRegion(columns);
    const ORect& r = tool.GetRegion();
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

bool bHasRegion(const OType_ConfigTool& tool) {
    const auto* contour = dynamic_cast<const OType_ConfigTool_Contour*>(&tool);
    return !contour || contour->bUsesRegion();
}

bool bContains(const ORect& r, OPoint p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

int PickTool(const OType_ZRPartSet& partSet, const OContourColumns& shown, OPoint p,
             int selectedTool) {
    const OType_ConfigToolArray& tools = partSet.Tools();
    if (const OType_ConfigTool* selected = tools.opGetAt(selectedTool)) {
        if (bHasRegion(*selected) && bContains(PlacedRegion(*selected, shown), p))
            return selectedTool;
    }
    int best = -1;
    long long bestArea = kPickAreaStart;
    for (int k = 0; k < tools.iGetNum(); ++k) {
        const OType_ConfigTool& tool = *tools.opGetAt(k);
        if (!bHasRegion(tool)) continue;
        const ORect r = PlacedRegion(tool, shown);
        if (!bContains(r, p)) continue;
        const long long area = (static_cast<long long>(r.right) - r.left + 1) *
                               (static_cast<long long>(r.bottom) - r.top + 1);
        if (area < bestArea) {
            bestArea = area;
            best = k;
        }
    }
    return best;
}

ORect TrackerRect(const ORect& placed, const OContourViewState& s, const OViewMapping& m) {
    const OPoint topLeft = ContourToWindow(s, m, {placed.left, placed.bottom});
    const OPoint bottomRight = ContourToWindow(s, m, {placed.right + 1, placed.top - 1});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int32_t WrapCoordinate(int32_t v, bool inclusiveEdge) {
    return v < -32767 ? v + (inclusiveEdge ? 65534 : 65535) : v;
}

std::optional<ORect> TrackedRegion(const ORect& placed, const ORect& before, const ORect& after,
                                   const OContourViewState& s, const OViewMapping& m) {
    if (before == after) return std::nullopt;
    ORect r;
    if (after.Width() == before.Width() && after.Height() == before.Height()) {
        const OPoint from = WindowToContour(s, m, {before.left, before.top});
        const OPoint to = WindowToContour(s, m, {after.left, after.top});
        const int32_t dx = to.x - from.x;
        const int32_t dy = to.y - from.y;
        r = {placed.left + dx, placed.top + dy, placed.right + dx, placed.bottom + dy};
    } else {
        const OPoint a = WindowToContour(s, m, {after.left, after.top});
        const OPoint b = WindowToContour(s, m, {after.right - 1, after.bottom - 1});
        r = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    }
    r.left = WrapCoordinate(r.left, false);
    r.top = WrapCoordinate(r.top, false);
    r.right = WrapCoordinate(r.right, true);
    r.bottom = WrapCoordinate(r.bottom, true);
    return r;
}

}  // namespace ToolTracking
