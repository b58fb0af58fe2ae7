#include "tools/OType_ConfigTool_ExtSensor.h"

#include "model/draw/OPainter.h"

OType_ConfigTool_ExtSensor::OType_ConfigTool_ExtSensor()
    : OType_ConfigTool_Contour(ContourFeatureType::kExternalSensor, {0, 0, 19, 511}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_ExtSensor::CreateNew() const {
    return std::make_unique<OType_ConfigTool_ExtSensor>();
}

std::vector<int> OType_ConfigTool_ExtSensor::GetSubKinds() const {
    return {ContourFeatureType::kExternalSensor};
}

OToolMeasurement OType_ConfigTool_ExtSensor::Measure(const OContourColumns& columns,
                                                     const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    const int32_t rowEnd = placed.bottom + 1;
    OToolMeasurement m;
    int first = 0, last = -1;
    ContourMeasure::bColumnRange(columns, placed, first, last);
    double sum = 0;
    int seen = 0;
    for (int c = first; c <= last; ++c) {
        const auto e = ContourMeasure::ExtentInRows(columns, c, placed.top, rowEnd);
        if (!e.material) continue;
        sum += rowEnd - e.highest;
        ++seen;
    }
    if (seen > 0) {
        m.value = sum / seen;
        m.valid = true;
    }
    return m;
}

void OType_ConfigTool_ExtSensor::DrawMeasurement(OPainter& painter, const OContourColumns&,
                                                 const ORect& placed) const {
    painter.SetPen({0, 160, 0}, 1, OPenStyle::Dash);
    const int32_t middle = placed.left + (placed.right - placed.left) / 2;
    painter.DrawLine({middle, placed.bottom}, {middle, placed.top});
}
