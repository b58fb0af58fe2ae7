#include "tools/kvt/OType_ConfigTool_KVT_ROI.h"

#include <opencv2/core.hpp>

OType_ConfigTool_KVT_ROI::OType_ConfigTool_KVT_ROI()
    : OKvtMaterialTool(KvtToolKind::kROI, KvtSubKind::kRoiArea,
                       OKvtThreshold{0, 127, false, false}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_ROI::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_ROI>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_ROI::FeatureDefs() const {
    return {{KvtFeatureType::kRoiArea, "Area", "px²", OKvtQuantity::Area},
            {KvtFeatureType::kRoiShare, "Area share", "%", OKvtQuantity::Plain}};
}

void OType_ConfigTool_KVT_ROI::MeasureRegion(const OKvtMeasureInput& in,
                                             OKvtMeasureOutput& out) const {
    const cv::Mat mask = m_material.Mask(in.sample->Grey());
    const double area = cv::countNonZero(mask);
    out.Set(0, area);
    out.Set(1, 100.0 * area / static_cast<double>(mask.total()));
}
