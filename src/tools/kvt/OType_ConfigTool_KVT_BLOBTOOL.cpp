#include "tools/kvt/OType_ConfigTool_KVT_BLOBTOOL.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "model/stream/OByteStream.h"

namespace {

const std::string kPage = "Blobs";
constexpr int kAreaLimit = 1 << 28;

struct OBlob {
    int label = 0;
    int area = 0;
    cv::Rect box;
    cv::Point2d centroid;
};

}  // namespace

OType_ConfigTool_KVT_BLOBTOOL::OType_ConfigTool_KVT_BLOBTOOL(int kind)
    : OType_ConfigTool_KVT(
          kind == KvtToolKind::kBlobPlus ? KvtToolKind::kBlobPlus : KvtToolKind::kBlob,
          kind == KvtToolKind::kBlobPlus ? KvtFeatureType::kBlobPlusCount
                                         : KvtFeatureType::kBlobCount) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_BLOBTOOL::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_BLOBTOOL>(iGetConfigToolType());
}

std::string OType_ConfigTool_KVT_BLOBTOOL::GetKindName() const {
    return bIsPlus() ? "Blob finder+" : "Blob finder";
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_BLOBTOOL::FeatureDefs() const {
    using namespace KvtFeatureType;
    if (!bIsPlus()) {
        return {{kBlobCount, "Number of blobs", "", OKvtQuantity::Plain},
                {kBlobTotalArea, "Total area", "px²", OKvtQuantity::Area},
                {kBlobLargestArea, "Largest area", "px²", OKvtQuantity::Area},
                {kBlobMeanArea, "Mean area", "px²", OKvtQuantity::Area}};
    }
    return {{kBlobPlusCount, "Number of blobs", "", OKvtQuantity::Plain},
            {kBlobPlusArea, "Area", "px²", OKvtQuantity::Area},
            {kBlobPlusCentreX, "Centre X", "px", OKvtQuantity::ImageX},
            {kBlobPlusCentreY, "Centre Y", "px", OKvtQuantity::ImageY},
            {kBlobPlusWidth, "Length", "px", OKvtQuantity::Length},
            {kBlobPlusHeight, "Width", "px", OKvtQuantity::Length},
            {kBlobPlusAngle, "Angle", "°", OKvtQuantity::Angle},
            {kBlobPlusCircularity, "Circularity", "", OKvtQuantity::Plain},
            {kBlobPlusPerimeter, "Perimeter", "px", OKvtQuantity::Length}};
}

void OType_ConfigTool_KVT_BLOBTOOL::MeasureRegion(const OKvtMeasureInput& in,
                                                  OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const cv::Mat mask = m_settings.material.Mask(sample.Grey());
    cv::Mat labels, stats, centroids;
    const int n = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<OBlob> blobs;
    for (int label = 1; label < n; ++label) {
        const int area = stats.at<int>(label, cv::CC_STAT_AREA);
        const cv::Rect box(
            stats.at<int>(label, cv::CC_STAT_LEFT), stats.at<int>(label, cv::CC_STAT_TOP),
            stats.at<int>(label, cv::CC_STAT_WIDTH), stats.at<int>(label, cv::CC_STAT_HEIGHT));
        const cv::Point2d centroid(centroids.at<double>(label, 0), centroids.at<double>(label, 1));
        const OPointD at = sample.PixelToImage(centroid.x, centroid.y);
        const bool touches = box.x == 0 || box.y == 0 || box.x + box.width == mask.cols ||
                             box.y + box.height == mask.rows;
        if (area < m_settings.minimumArea || area > m_settings.maximumArea ||
            (m_settings.excludeBorder && touches)) {
            out.drawing.Cross(at, 3, OKvtMarkRole::Rejected);
            continue;
        }
        blobs.push_back({label, area, box, centroid});
        out.drawing.Cross(at, 4);
    }
    out.Set(0, static_cast<double>(blobs.size()));
    if (blobs.empty()) return;
    // The largest blob; of equal ones the first in scan order.
    const OBlob& largest = *std::max_element(
        blobs.begin(), blobs.end(), [](const OBlob& a, const OBlob& b) { return a.area < b.area; });
    if (!bIsPlus()) {
        double total = 0;
        for (const OBlob& b : blobs)
            total += b.area;
        out.Set(1, total);
        out.Set(2, largest.area);
        out.Set(3, total / static_cast<double>(blobs.size()));
        return;
    }
    out.Set(1, largest.area);
    const OPointD centre = sample.PixelToImage(largest.centroid.x, largest.centroid.y);
    out.Set(2, centre.x);
    out.Set(3, centre.y);
    // The blob alone, with a pixel of room so that its outline is closed.
    const cv::Rect grown(largest.box.x - 1, largest.box.y - 1, largest.box.width + 2,
                         largest.box.height + 2);
    cv::Mat piece = cv::Mat::zeros(grown.size(), CV_8UC1);
    const cv::Rect inner(1, 1, largest.box.width, largest.box.height);
    cv::Mat(labels(largest.box) == largest.label).copyTo(piece(inner));
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(piece, contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    if (contours.empty()) return;
    const auto& outline =
        *std::max_element(contours.begin(), contours.end(),
                          [](const auto& a, const auto& b) { return a.size() < b.size(); });
    const double perimeter = cv::arcLength(outline, true);
    const cv::RotatedRect box = cv::minAreaRect(outline);
    const cv::Moments moments = cv::moments(piece, true);
    out.Set(4, std::max(box.size.width, box.size.height));
    out.Set(5, std::min(box.size.width, box.size.height));
    out.Set(6, KvtGeometry::AxisAngle(
                   KvtGeometry::MainAxisAngle(moments.mu20, moments.mu02, moments.mu11) +
                   GetShape().angle));
    if (perimeter > 0) out.Set(7, 4 * CV_PI * largest.area / (perimeter * perimeter));
    out.Set(8, perimeter);
    cv::Point2f corners[4];
    box.points(corners);
    std::vector<OPointD> polygon;
    for (const cv::Point2f& c : corners)
        polygon.push_back(sample.PixelToImage(c.x + grown.x, c.y + grown.y));
    out.drawing.Polygon(std::move(polygon), OKvtMarkRole::Found);
}

OPropertyList OType_ConfigTool_KVT_BLOBTOOL::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    m_settings.material.Describe(list, "material", kPage);
    list.push_back(Integer("blob.minarea", "Smallest blob", kPage, m_settings.minimumArea, 1,
                           kAreaLimit, "px²"));
    list.push_back(Integer("blob.maxarea", "Largest blob", kPage, m_settings.maximumArea, 1,
                           kAreaLimit, "px²"));
    list.push_back(Flag("blob.excludeborder", "Leave out blobs on the region's edge", kPage,
                        m_settings.excludeBorder));
    return list;
}

bool OType_ConfigTool_KVT_BLOBTOOL::bCheckProperties(const OPropertyValues& merged,
                                                     const OPropertyContext& context,
                                                     std::string& error) const {
    if (!OType_ConfigTool_KVT::bCheckProperties(merged, context, error) ||
        !m_settings.material.bCheck(merged, "material", error))
        return false;
    if (PropertyList::iGet(merged, "blob.minarea", 0) >
        PropertyList::iGet(merged, "blob.maxarea", 0)) {
        error = "The smallest blob must not be larger than the largest.";
        return false;
    }
    return true;
}

void OType_ConfigTool_KVT_BLOBTOOL::ApplyProperties(const OPropertyValues& values,
                                                    const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_settings.material.Apply(values, "material");
    m_settings.minimumArea =
        static_cast<int>(PropertyList::iGet(values, "blob.minarea", m_settings.minimumArea));
    m_settings.maximumArea =
        static_cast<int>(PropertyList::iGet(values, "blob.maxarea", m_settings.maximumArea));
    m_settings.excludeBorder =
        PropertyList::bGet(values, "blob.excludeborder", m_settings.excludeBorder);
}

void OType_ConfigTool_KVT_BLOBTOOL::EncodeKind(OByteStream& s) const {
    m_settings.material.Encode(s);
    s.bWriteI32(m_settings.minimumArea);
    s.bWriteI32(m_settings.maximumArea);
    s.bWriteBool(m_settings.excludeBorder);
}

bool OType_ConfigTool_KVT_BLOBTOOL::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!s.material.bDecode(r) || !r.I32(s.minimumArea, 1, kAreaLimit) ||
        !r.I32(s.maximumArea, 1, kAreaLimit) || !r.Bool(s.excludeBorder) ||
        s.minimumArea > s.maximumArea)
        return false;
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_BLOBTOOL::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_BLOBTOOL*>(&other)) o->m_settings = m_settings;
}
