#include "tools/OType_ConfigTool_VSTRIP.h"

#include "model/draw/OPainter.h"

OType_ConfigTool_VSTRIP::OType_ConfigTool_VSTRIP()
    : OType_ConfigTool_Contour(ContourFeatureType::kStripArea, {10, 0, 29, 511}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_VSTRIP::CreateNew() const {
    return std::make_unique<OType_ConfigTool_VSTRIP>();
}

std::vector<int> OType_ConfigTool_VSTRIP::GetSubKinds() const {
    return {ContourFeatureType::kStripArea};
}

OToolMeasurement OType_ConfigTool_VSTRIP::Measure(const OContourColumns& columns,
                                                  const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    OToolMeasurement m;
    m.valid = true;
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return m;
    int64_t area = 0;
    for (int c = first; c <= last; ++c) {
        const auto e = ContourMeasure::ExtentInRows(columns, c, placed.top, placed.bottom + 1);
        if (e.material) area += e.highest - e.lowest;
    }
    m.value = static_cast<double>(area);
    return m;
}

void OType_ConfigTool_VSTRIP::DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                                              const ORect& placed) const {
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return;
    painter.SetPen({0, 128, 255}, 1, OPenStyle::Dot);
    for (int c = first; c <= last; ++c) {
        const auto e = ContourMeasure::ExtentInRows(columns, c, placed.top, placed.bottom + 1);
        if (e.material) painter.DrawLine({c, e.lowest}, {c, e.highest});
    }
}
