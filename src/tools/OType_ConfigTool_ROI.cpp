#include "tools/OType_ConfigTool_ROI.h"

OType_ConfigTool_ROI::OType_ConfigTool_ROI()
    : OType_ConfigTool_Contour(ContourFeatureType::kRoiArea, {10, 10, 59, 59}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_ROI::CreateNew() const {
    return std::make_unique<OType_ConfigTool_ROI>();
}

std::vector<int> OType_ConfigTool_ROI::GetSubKinds() const {
    return {ContourFeatureType::kRoiArea};
}

OToolMeasurement OType_ConfigTool_ROI::Measure(const OContourColumns& columns,
                                               const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    OToolMeasurement m;
    m.valid = true;
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return m;
    int64_t area = 0;
    for (int c = first; c <= last; ++c)
        area += ContourMeasure::MaterialInRows(columns, c, placed.top, placed.bottom + 1);
    m.value = static_cast<double>(area);
    return m;
}

void OType_ConfigTool_ROI::DrawMeasurement(OPainter&, const OContourColumns&, const ORect&) const {}
