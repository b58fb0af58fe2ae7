#include "tools/OType_ConfigTool_CTOOL.h"

#include <algorithm>

#include "model/draw/OPainter.h"

OType_ConfigTool_CTOOL::OType_ConfigTool_CTOOL()
    : OType_ConfigTool_Contour(ContourFeatureType::kContourArea, {10, 0, 49, 511}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_CTOOL::CreateNew() const {
    return std::make_unique<OType_ConfigTool_CTOOL>();
}

std::vector<int> OType_ConfigTool_CTOOL::GetSubKinds() const {
    return {ContourFeatureType::kContourArea, ContourFeatureType::kContourWidth,
            ContourFeatureType::kContourHeight};
}

OToolMeasurement OType_ConfigTool_CTOOL::Measure(const OContourColumns& columns,
                                                 const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    const int32_t rowBegin = placed.top;
    const int32_t rowEnd = placed.bottom + 1;
    OToolMeasurement m;
    m.valid = true;
    int first = 0, last = -1;
    ContourMeasure::bColumnRange(columns, placed, first, last);
    int64_t area = 0, crossed = 0;
    int32_t lowestOutline = 0, highestOutline = 0;
    for (int c = first; c <= last; ++c) {
        const auto e = ContourMeasure::ExtentInRows(columns, c, rowBegin, rowEnd);
        if (!e.material) continue;
        area += e.highest - rowBegin;
        lowestOutline = crossed == 0 ? e.highest : std::min(lowestOutline, e.highest);
        highestOutline = crossed == 0 ? e.highest : std::max(highestOutline, e.highest);
        ++crossed;
    }
    switch (iGetFeatureType()) {
        case ContourFeatureType::kContourWidth:
            m.value = static_cast<double>(crossed);
            break;
        case ContourFeatureType::kContourHeight:
            m.value = static_cast<double>(highestOutline - lowestOutline);
            break;
        default:
            m.value = static_cast<double>(area);
            break;
    }
    return m;
}

void OType_ConfigTool_CTOOL::DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                                             const ORect& placed) const {
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return;
    painter.SetPen({255, 128, 0});
    bool previous = false;
    OPoint from;
    for (int c = first; c <= last; ++c) {
        const auto e = ContourMeasure::ExtentInRows(columns, c, placed.top, placed.bottom + 1);
        if (!e.material) {
            previous = false;
            continue;
        }
        const OPoint to{c, e.highest};
        if (previous) painter.DrawLine(from, to);
        from = to;
        previous = true;
    }
}
