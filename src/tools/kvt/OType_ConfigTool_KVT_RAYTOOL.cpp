#include "model/stream/OByteStream.h"
#include "tools/kvt/OType_ConfigTool_KVT_RAYTOOL.h"

#include <cmath>

namespace {

constexpr const char* kPage = "Rays";
enum : size_t { kEdges, kMean, kSmallest, kLargest, kSpread, kSmallestAngle };

double Normalised(double angle) {
    angle = std::remainder(angle, 360.0);
    return angle <= -180 ? angle + 360 : angle;
}

}  // namespace

OType_ConfigTool_KVT_RAYTOOL::OType_ConfigTool_KVT_RAYTOOL()
    : OType_ConfigTool_KVT(KvtToolKind::kRay, -1) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_RAYTOOL::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_RAYTOOL>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_RAYTOOL::FeatureDefs() const {
    namespace T = KvtFeatureType;
    return {{T::kRayEdges, "Edges found", "", OKvtQuantity::Plain},
            {T::kRayMeanRadius, "Mean radius", "px", OKvtQuantity::Length},
            {T::kRaySmallestRadius, "Smallest radius", "px", OKvtQuantity::Length},
            {T::kRayLargestRadius, "Largest radius", "px", OKvtQuantity::Length},
            {T::kRaySpread, "Radius spread", "px", OKvtQuantity::Length},
            {T::kRaySmallestAngle, "Direction of the smallest radius", "°", OKvtQuantity::Angle}};
}

OPropertyList OType_ConfigTool_KVT_RAYTOOL::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    list.push_back(Integer("rays.count", "Rays", kPage, m_settings.rays, 1, 360));
    list.push_back(Real("rays.start", "Direction of the first ray", kPage, m_settings.startAngle,
                        -360, 360, 1, "°"));
    OProperty fan = Real("rays.extent", "Fan", kPage, m_settings.extent, 0, 360, 1, "°");
    fan.help = "360 spreads the rays round the whole circle.";
    list.push_back(fan);
    list.push_back(
        Choice("rays.polarity", "Edge", kPage, int(m_settings.polarity),
               {{0, "Any"}, {1, "Dark to bright (outwards)"}, {2, "Bright to dark (outwards)"}}));
    list.push_back(Integer("rays.contrast", "Least contrast", kPage, m_settings.minContrast, 1, 255,
                           "grey levels"));
    list.push_back(
        Integer("rays.smoothing", "Smoothing", kPage, m_settings.smoothing, 0, 10, "px"));
    list.push_back(
        Real("rays.inner", "Inner radius", kPage, m_settings.innerRadius, 0, 8192, 1, "px"));
    return list;
}

void OType_ConfigTool_KVT_RAYTOOL::ApplyProperties(const OPropertyValues& v,
                                                   const OPropertyContext& context) {
    using PropertyList::dGet;
    using PropertyList::iGet;
    OType_ConfigTool_KVT::ApplyProperties(v, context);
    m_settings.rays = int(iGet(v, "rays.count", m_settings.rays));
    m_settings.startAngle = dGet(v, "rays.start", m_settings.startAngle);
    m_settings.extent = dGet(v, "rays.extent", m_settings.extent);
    m_settings.polarity =
        static_cast<KvtRays::Polarity>(iGet(v, "rays.polarity", int(m_settings.polarity)));
    m_settings.minContrast = int(iGet(v, "rays.contrast", m_settings.minContrast));
    m_settings.smoothing = int(iGet(v, "rays.smoothing", m_settings.smoothing));
    m_settings.innerRadius = dGet(v, "rays.inner", m_settings.innerRadius);
}

void OType_ConfigTool_KVT_RAYTOOL::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_settings.rays);
    s.bWriteDouble(m_settings.startAngle);
    s.bWriteDouble(m_settings.extent);
    s.bWriteI32(int(m_settings.polarity));
    s.bWriteI32(m_settings.minContrast);
    s.bWriteI32(m_settings.smoothing);
    s.bWriteDouble(m_settings.innerRadius);
}

bool OType_ConfigTool_KVT_RAYTOOL::bDecodeKind(OBlockFieldReader& r) {
    int polarity = int(m_settings.polarity);
    if (!r.I32(m_settings.rays, 1, 360) || !r.Double(m_settings.startAngle, -360, 360) ||
        !r.Double(m_settings.extent, 0, 360) || !r.I32(polarity, 0, 2) ||
        !r.I32(m_settings.minContrast, 1, 255) || !r.I32(m_settings.smoothing, 0, 10) ||
        !r.Double(m_settings.innerRadius, 0, 8192))
        return false;
    m_settings.polarity = static_cast<KvtRays::Polarity>(polarity);
    return true;
}

void OType_ConfigTool_KVT_RAYTOOL::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_RAYTOOL*>(&other)) o->m_settings = m_settings;
}

void OType_ConfigTool_KVT_RAYTOOL::MeasureRegion(const OKvtMeasureInput& in,
                                                 OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const cv::Point2d centre((sample.iGetWidth() - 1) / 2.0, (sample.iGetHeight() - 1) / 2.0);
    const KvtRays::OResult r = KvtRays::Cast(sample.Grey(), centre, m_settings);
    out.Set(kEdges, r.hits);
    const OPointD from = sample.PixelToImage(centre.x, centre.y);
    for (const KvtRays::ORay& ray : r.rays) {
        const cv::Point2d end = ray.found ? ray.edge : ray.end;
        const OPointD to = sample.PixelToImage(end.x, end.y);
        out.drawing.Line(from, to, ray.found ? OKvtMarkRole::Found : OKvtMarkRole::Rejected);
        if (ray.found) out.drawing.Cross(to, 3);
    }
    if (r.hits == 0) return;
    out.Set(kMean, r.meanRadius);
    out.Set(kSmallest, r.minRadius);
    out.Set(kLargest, r.maxRadius);
    out.Set(kSpread, r.maxRadius - r.minRadius);
    // A direction in the region is turned with it on the screen.
    out.Set(kSmallestAngle, Normalised(r.minAngle + sample.Region().angle));
}
