#include "tools/kvt/OType_ConfigTool_KVT_CTOOL.h"

#include <algorithm>
#include <cmath>

#include "tools/OType_ConfigTool_Contour.h"

OType_ConfigTool_KVT_CTOOL::OType_ConfigTool_KVT_CTOOL()
    : OKvtMaterialTool(KvtToolKind::kCTool, KvtFeatureType::kContourArea,
                       OKvtThreshold{0, 100, false, false}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_CTOOL::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_CTOOL>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_CTOOL::FeatureDefs() const {
    using namespace KvtFeatureType;
    return {{kContourArea, "Contour area", "px²", OKvtQuantity::Area},
            {kContourWidth, "Contour width", "px", OKvtQuantity::Length},
            {kContourHeight, "Contour height", "px", OKvtQuantity::Length},
            {kContourAngle, "Contour angle", "°", OKvtQuantity::Angle}};
}

void OType_ConfigTool_KVT_CTOOL::MeasureRegion(const OKvtMeasureInput& in,
                                               OKvtMeasureOutput& out) const {
    const cv::Mat mask = m_material.Mask(in.sample->Grey());
    // The first material row of every column, -1 where the column has none.
    std::vector<int> top(static_cast<size_t>(mask.cols), -1);
    int open = mask.cols;
    for (int y = 0; y < mask.rows && open > 0; ++y) {
        const uint8_t* row = mask.ptr<uint8_t>(y);
        for (int x = 0; x < mask.cols; ++x) {
            if (row[x] && top[static_cast<size_t>(x)] < 0) {
                top[static_cast<size_t>(x)] = y;
                --open;
            }
        }
    }
    double area = 0;
    int width = 0, highest = mask.rows, lowest = -1;
    ContourMeasure::OLineFit fit;
    const OKvtRegion& shape = GetShape();
    OPointD previous{};
    for (int x = 0; x < mask.cols; ++x) {
        const int t = top[static_cast<size_t>(x)];
        if (t < 0) continue;
        area += mask.rows - t;
        ++width;
        highest = std::min(highest, t);
        lowest = std::max(lowest, t);
        // Rows grow downwards; the fit takes heights so that a rising outline has a
        // positive angle.
        fit.Add(x, -t);
        const OPointD at = in.sample->PixelToImage(x, t);
        if (width > 1) out.drawing.Line(previous, at);
        previous = at;
    }
    out.Set(0, area);
    out.Set(1, width);
    if (width == 0) return;
    out.Set(2, lowest - highest);
    double angle = 0;
    if (fit.bAngle(angle)) out.Set(3, angle + shape.angle);
}
