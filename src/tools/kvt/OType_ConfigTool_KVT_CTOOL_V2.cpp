#include "tools/kvt/OType_ConfigTool_KVT_CTOOL_V2.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "model/stream/OByteStream.h"

namespace {

const std::string kPage = "Search";
constexpr int kMaxRadius = 8192;

}  // namespace

OType_ConfigTool_KVT_CTOOL_V2::OType_ConfigTool_KVT_CTOOL_V2()
    : OType_ConfigTool_KVT(KvtToolKind::kEdge, KvtSubKind::kEdgeFinder) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_CTOOL_V2::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_CTOOL_V2>();
}

std::string OType_ConfigTool_KVT_CTOOL_V2::GetKindName() const {
    return bIsCircleFinder() ? "Circle finder" : "Edge finder";
}

std::vector<int> OType_ConfigTool_KVT_CTOOL_V2::SubKinds() const {
    return {KvtSubKind::kEdgeFinder, KvtSubKind::kCircleFinder};
}

std::string OType_ConfigTool_KVT_CTOOL_V2::SubKindName(int subKind) const {
    return subKind == KvtSubKind::kCircleFinder ? "Circle finder" : "Edge finder";
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_CTOOL_V2::FeatureDefs() const {
    using namespace KvtFeatureType;
    if (bIsCircleFinder()) {
        return {{kCircleRadius, "Radius", "px", OKvtQuantity::Length},
                {kCircleCentreX, "Centre X", "px", OKvtQuantity::ImageX},
                {kCircleCentreY, "Centre Y", "px", OKvtQuantity::ImageY},
                {kCircleRoundness, "Roundness", "%", OKvtQuantity::Plain}};
    }
    return {{kEdgePosition, "Edge position", "px", OKvtQuantity::Length},
            {kEdgeStrength, "Edge contrast", "grey levels", OKvtQuantity::Plain},
            {kEdgeAngle, "Edge angle", "°", OKvtQuantity::Angle},
            {kEdgeX, "Edge X", "px", OKvtQuantity::ImageX},
            {kEdgeY, "Edge Y", "px", OKvtQuantity::ImageY}};
}

void OType_ConfigTool_KVT_CTOOL_V2::MeasureRegion(const OKvtMeasureInput& in,
                                                  OKvtMeasureOutput& out) const {
    if (bIsCircleFinder())
        FindCircle(*in.sample, out);
    else
        FindEdge(*in.sample, out);
}

void OType_ConfigTool_KVT_CTOOL_V2::FindEdge(const OKvtRegionSample& sample,
                                             OKvtMeasureOutput& out) const {
    const cv::Mat& grey = sample.Grey();
    const auto first = [&](int rowBegin, int rowEnd, OKvtEdge& edge) {
        const std::vector<OKvtEdge> edges =
            KvtEdges::FindEdges(KvtEdges::ColumnProfile(grey, rowBegin, rowEnd), m_settings.edge);
        if (edges.empty()) return false;
        edge = edges.front();
        return true;
    };
    OKvtEdge edge;
    if (!first(0, grey.rows, edge)) return;
    const double middle = grey.rows / 2.0;
    out.Set(0, edge.position);
    out.Set(1, std::abs(edge.strength));
    // The edge point on the middle line; positions lie on pixel borders (local u).
    const OPointD at = GetShape().ToImage(edge.position, middle);
    out.Set(3, at.x);
    out.Set(4, at.y);
    // The edge line through the strips' edges (local coordinates), when two or more strips
    // find one.
    const int strips = std::clamp(m_settings.strips, 1, std::max(1, grey.rows));
    std::vector<cv::Point2f> points;
    for (int s = 0; s < strips; ++s) {
        const int a = grey.rows * s / strips, b = grey.rows * (s + 1) / strips;
        OKvtEdge e;
        if (b > a && first(a, b, e))
            points.emplace_back(static_cast<float>(e.position), static_cast<float>((a + b) / 2.0));
    }
    double angle = 90;  // an edge across the region, at right angles to the scan direction
    if (points.size() >= 2) {
        cv::Vec4f line;
        cv::fitLine(points, line, cv::DIST_L2, 0, 0.01, 0.01);
        // Direction (dx, dy) in local coordinates with v downwards; counter-clockwise angle.
        angle = std::atan2(-line[1], line[0]) * KvtGeometry::kDegreesPerRadian;
    }
    out.Set(2, KvtGeometry::AxisAngle(angle + GetShape().angle));
    const OPointD top = GetShape().ToImage(edge.position, 0);
    const OPointD bottom = GetShape().ToImage(edge.position, GetShape().height);
    out.drawing.Line(top, bottom);
    out.drawing.Cross(at, 5);
}

void OType_ConfigTool_KVT_CTOOL_V2::FindCircle(const OKvtRegionSample& sample,
                                               OKvtMeasureOutput& out) const {
    const cv::Mat& grey = sample.Grey();
    const int limit = std::min(grey.rows, grey.cols) / 2;
    const int minimum = std::min(m_settings.minimumRadius, limit);
    const int maximum = std::min(m_settings.maximumRadius, limit);
    if (maximum < 2 || minimum > maximum) return;
    cv::Mat blurred;
    cv::GaussianBlur(grey, blurred, cv::Size(5, 5), 1.2);
    std::vector<cv::Vec4f> circles;  // x, y, radius, votes
    const double canny = std::max(2 * m_settings.edge.minimumContrast, 10);
    cv::HoughCircles(blurred, circles, cv::HOUGH_GRADIENT, 1, std::max(1, minimum), canny, 20,
                     minimum, maximum);
    if (circles.empty()) return;
    const cv::Vec4f c = circles.front();
    const OPointD centre = sample.PixelToImage(c[0], c[1]);
    // Roundness: rim points with a strong brightness change across the rim.
    const int samples = std::max(16, static_cast<int>(2 * CV_PI * c[2]));
    int strong = 0;
    for (int i = 0; i < samples; ++i) {
        const double t = 2 * CV_PI * i / samples;
        const double dx = std::cos(t), dy = std::sin(t);
        const cv::Point inner(cvRound(c[0] + (c[2] - 2) * dx), cvRound(c[1] + (c[2] - 2) * dy));
        const cv::Point outer(cvRound(c[0] + (c[2] + 2) * dx), cvRound(c[1] + (c[2] + 2) * dy));
        const cv::Rect bounds(0, 0, grey.cols, grey.rows);
        if (!bounds.contains(inner) || !bounds.contains(outer)) continue;
        const int change = std::abs(grey.at<uint8_t>(outer) - grey.at<uint8_t>(inner));
        if (change >= m_settings.edge.minimumContrast) ++strong;
    }
    out.Set(0, c[2]);
    out.Set(1, centre.x);
    out.Set(2, centre.y);
    out.Set(3, 100.0 * strong / samples);
    out.drawing.Circle(centre, c[2]);
    out.drawing.Cross(centre, 4);
}

OPropertyList OType_ConfigTool_KVT_CTOOL_V2::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    m_settings.edge.Describe(list, kPage);
    if (bIsCircleFinder()) {
        list.push_back(Integer("circle.minradius", "Smallest radius", kPage,
                               m_settings.minimumRadius, 1, kMaxRadius, "px"));
        list.push_back(Integer("circle.maxradius", "Largest radius", kPage,
                               m_settings.maximumRadius, 1, kMaxRadius, "px"));
    } else {
        list.push_back(
            Integer("edge.strips", "Strips for the angle", kPage, m_settings.strips, 1, 64));
    }
    return list;
}

bool OType_ConfigTool_KVT_CTOOL_V2::bCheckProperties(const OPropertyValues& merged,
                                                     const OPropertyContext& context,
                                                     std::string& error) const {
    if (!OType_ConfigTool_KVT::bCheckProperties(merged, context, error)) return false;
    if (PropertyList::iGet(merged, "circle.minradius", m_settings.minimumRadius) >
        PropertyList::iGet(merged, "circle.maxradius", m_settings.maximumRadius)) {
        error = "The smallest radius must not be larger than the largest.";
        return false;
    }
    return true;
}

void OType_ConfigTool_KVT_CTOOL_V2::ApplyProperties(const OPropertyValues& values,
                                                    const OPropertyContext& context) {
    using PropertyList::iGet;
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_settings.edge.Apply(values);
    m_settings.strips = static_cast<int>(iGet(values, "edge.strips", m_settings.strips));
    m_settings.minimumRadius =
        static_cast<int>(iGet(values, "circle.minradius", m_settings.minimumRadius));
    m_settings.maximumRadius =
        static_cast<int>(iGet(values, "circle.maxradius", m_settings.maximumRadius));
}

void OType_ConfigTool_KVT_CTOOL_V2::EncodeKind(OByteStream& s) const {
    m_settings.edge.Encode(s);
    s.bWriteI32(m_settings.strips);
    s.bWriteI32(m_settings.minimumRadius);
    s.bWriteI32(m_settings.maximumRadius);
}

bool OType_ConfigTool_KVT_CTOOL_V2::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!s.edge.bDecode(r) || !r.I32(s.strips, 1, 64) || !r.I32(s.minimumRadius, 1, kMaxRadius) ||
        !r.I32(s.maximumRadius, 1, kMaxRadius) || s.minimumRadius > s.maximumRadius)
        return false;
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_CTOOL_V2::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_CTOOL_V2*>(&other)) o->m_settings = m_settings;
}
