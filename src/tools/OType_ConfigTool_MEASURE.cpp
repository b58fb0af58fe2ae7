#include "tools/OType_ConfigTool_MEASURE.h"

#include "model/draw/OPainter.h"

namespace {

using namespace ContourMeasure;

int32_t MiddleRow(const ORect& placed) {
    return placed.top + (placed.bottom - placed.top) / 2;
}

int32_t MiddleColumn(const ORect& placed) {
    return placed.left + (placed.right - placed.left) / 2;
}

// Distance from the first to the last material column along the middle row (34), or the
// number of separate pieces along it (40).
OToolMeasurement ScanMiddleRow(const OContourColumns& columns, const ORect& placed, bool count) {
    OToolMeasurement m;
    int first = 0, last = -1;
    bColumnRange(columns, placed, first, last);
    const int32_t row = MiddleRow(placed);
    int firstHit = -1, lastHit = -1, pieces = 0;
    bool inPiece = false;
    for (int c = first; c <= last; ++c) {
        const bool hit = bHasMaterialAt(columns.ColumnValues(c), row);
        if (hit) {
            if (firstHit < 0) firstHit = c;
            lastHit = c;
            if (!inPiece) ++pieces;
        }
        inPiece = hit;
    }
    if (count) {
        m.value = pieces;
        m.valid = true;
    } else if (firstHit >= 0) {
        m.value = lastHit - firstHit + 1;
        m.valid = true;
    }
    return m;
}

OToolMeasurement VerticalDistance(const OContourColumns& columns, const ORect& placed) {
    OToolMeasurement m;
    const int32_t c = MiddleColumn(placed);
    if (c < 0 || c >= columns.iGetColumns()) return m;
    const OColumnExtent e = ExtentInRows(columns, c, placed.top, placed.bottom + 1);
    if (!e.material) return m;
    m.value = e.highest - e.lowest;
    m.valid = true;
    return m;
}

struct OOutlines {
    OLineFit upper, lower;
    double thickness = 0.0;
    int columns = 0;
};

OOutlines CollectOutlines(const OContourColumns& columns, const ORect& placed) {
    OOutlines o;
    int first = 0, last = -1;
    bColumnRange(columns, placed, first, last);
    for (int c = first; c <= last; ++c) {
        const OColumnExtent e = ExtentInRows(columns, c, placed.top, placed.bottom + 1);
        if (!e.material) continue;
        o.upper.Add(c, e.highest);
        o.lower.Add(c, e.lowest);
        o.thickness += e.highest - e.lowest;
        ++o.columns;
    }
    return o;
}

}  // namespace

OType_ConfigTool_MEASURE::OType_ConfigTool_MEASURE()
    : OType_ConfigTool_Contour(ContourFeatureType::kDistance, {0, 0, 99, 511}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_MEASURE::CreateNew() const {
    return std::make_unique<OType_ConfigTool_MEASURE>();
}

std::vector<int> OType_ConfigTool_MEASURE::GetSubKinds() const {
    using namespace ContourFeatureType;
    return {kDistance, kVerticalDistance, kAngle, kCount, kMultipleDistance, kMultipleAngle};
}

OToolMeasurement OType_ConfigTool_MEASURE::Measure(const OContourColumns& columns,
                                                   const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    switch (iGetFeatureType()) {
        case ContourFeatureType::kVerticalDistance:
            return VerticalDistance(columns, placed);
        case ContourFeatureType::kCount:
            return ScanMiddleRow(columns, placed, true);
        case ContourFeatureType::kAngle:
        case ContourFeatureType::kMultipleAngle: {
            OToolMeasurement m;
            const OOutlines o = CollectOutlines(columns, placed);
            double upper = 0, lower = 0;
            if (!o.upper.bAngle(upper)) return m;
            if (iGetFeatureType() == ContourFeatureType::kAngle) {
                m.value = upper;
            } else {
                if (!o.lower.bAngle(lower)) return m;
                m.value = upper - lower;
            }
            m.valid = true;
            return m;
        }
        case ContourFeatureType::kMultipleDistance: {
            OToolMeasurement m;
            const OOutlines o = CollectOutlines(columns, placed);
            if (o.columns == 0) return m;
            m.value = o.thickness / o.columns;
            m.valid = true;
            return m;
        }
        default:
            return ScanMiddleRow(columns, placed, false);
    }
}

void OType_ConfigTool_MEASURE::DrawMeasurement(OPainter& painter, const OContourColumns&,
                                               const ORect& placed) const {
    painter.SetPen({255, 0, 255}, 1, OPenStyle::Dash);
    switch (iGetFeatureType()) {
        case ContourFeatureType::kVerticalDistance:
            painter.DrawLine({MiddleColumn(placed), placed.top},
                             {MiddleColumn(placed), placed.bottom});
            break;
        case ContourFeatureType::kDistance:
        case ContourFeatureType::kCount:
            painter.DrawLine({placed.left, MiddleRow(placed)}, {placed.right, MiddleRow(placed)});
            break;
        default:
            break;
    }
}
