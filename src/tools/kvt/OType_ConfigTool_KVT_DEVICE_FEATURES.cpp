#include "tools/kvt/OType_ConfigTool_KVT_DEVICE_FEATURES.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

OType_ConfigTool_KVT_DEVICE_FEATURES::OType_ConfigTool_KVT_DEVICE_FEATURES()
    : OKvtMaterialTool(KvtToolKind::kDeviceFeatures, KvtFeatureType::kPartArea,
                       OKvtThreshold{0, 100, false, true}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_DEVICE_FEATURES::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_DEVICE_FEATURES>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_DEVICE_FEATURES::FeatureDefs() const {
    using namespace KvtFeatureType;
    return {{kPartArea, "Part area", "px²", OKvtQuantity::Area},
            {kPartCentreX, "Centre of gravity X", "px", OKvtQuantity::ImageX},
            {kPartCentreY, "Centre of gravity Y", "px", OKvtQuantity::ImageY},
            {kPartWidth, "Length", "px", OKvtQuantity::Length},
            {kPartHeight, "Height", "px", OKvtQuantity::Length},
            {kPartAngle, "Main axis angle", "°", OKvtQuantity::Angle},
            {kPartBrightness, "Mean brightness", "grey levels", OKvtQuantity::Plain}};
}

OKvtRegion OType_ConfigTool_KVT_DEVICE_FEATURES::DefaultRegion(int width, int height) const {
    return OKvtRegion::FromRect({0, 0, width - 1, height - 1});
}

void OType_ConfigTool_KVT_DEVICE_FEATURES::MeasureRegion(const OKvtMeasureInput& in,
                                                         OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const cv::Mat& grey = sample.Grey();
    out.Set(6, cv::mean(grey)[0]);
    const cv::Mat mask = m_material.Mask(grey);
    const cv::Moments m = cv::moments(mask, true);
    out.Set(0, m.m00);
    if (m.m00 <= 0) return;
    const double cx = m.m10 / m.m00, cy = m.m01 / m.m00;
    const OPointD centre = sample.PixelToImage(cx, cy);
    out.Set(1, centre.x);
    out.Set(2, centre.y);
    const cv::Rect box = cv::boundingRect(mask);
    out.Set(3, box.width);
    out.Set(4, box.height);
    out.Set(5, KvtGeometry::AxisAngle(KvtGeometry::MainAxisAngle(m.mu20, m.mu02, m.mu11) +
                                      GetShape().angle));
    out.drawing.Cross(centre, 8);
    std::vector<OPointD> outline;
    for (const auto& [u, v] :
         {std::pair{box.x, box.y}, std::pair{box.x + box.width, box.y},
          std::pair{box.x + box.width, box.y + box.height}, std::pair{box.x, box.y + box.height}})
        outline.push_back(GetShape().ToImage(u, v));
    out.drawing.Polygon(std::move(outline), OKvtMarkRole::Found);
}
