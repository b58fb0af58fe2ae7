#include "tools/kvt/OType_ConfigTool_KVT_COLOR.h"

#include <cmath>

#include <opencv2/core.hpp>

#include "model/stream/OByteStream.h"

namespace {
const std::string kPage = "Colour";
constexpr int kMaxDistance = 442;  // the diagonal of the colour cube
}  // namespace

OType_ConfigTool_KVT_COLOR::OType_ConfigTool_KVT_COLOR()
    : OType_ConfigTool_KVT(KvtToolKind::kColor, KvtSubKind::kColourDetection) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_COLOR::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_COLOR>();
}

std::string OType_ConfigTool_KVT_COLOR::GetKindName() const {
    return bIsBrightness() ? "Brightness" : "Colour";
}

std::vector<int> OType_ConfigTool_KVT_COLOR::SubKinds() const {
    return {KvtSubKind::kColourDetection, KvtSubKind::kBrightness};
}

std::string OType_ConfigTool_KVT_COLOR::SubKindName(int subKind) const {
    return subKind == KvtSubKind::kBrightness ? "Brightness detection" : "Colour detection";
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_COLOR::FeatureDefs() const {
    using namespace KvtFeatureType;
    if (bIsBrightness()) {
        return {{kBrightnessMean, "Mean brightness", "grey levels"},
                {kBrightnessDeviation, "Brightness deviation", "grey levels"},
                {kBrightnessMinimum, "Darkest", "grey levels"},
                {kBrightnessMaximum, "Brightest", "grey levels"}};
    }
    return {{kColourShare, "Colour share", "%"},
            {kMeanRed, "Mean red", ""},
            {kMeanGreen, "Mean green", ""},
            {kMeanBlue, "Mean blue", ""}};
}

void OType_ConfigTool_KVT_COLOR::MeasureRegion(const OKvtMeasureInput& in,
                                               OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    if (bIsBrightness()) {
        cv::Scalar mean, deviation;
        cv::meanStdDev(sample.Grey(), mean, deviation);
        double lowest = 0, highest = 0;
        cv::minMaxLoc(sample.Grey(), &lowest, &highest);
        out.Set(0, mean[0]);
        out.Set(1, deviation[0]);
        out.Set(2, lowest);
        out.Set(3, highest);
        return;
    }
    const cv::Mat& pixels = sample.Pixels();
    const bool colour = pixels.channels() == 3;
    const int limit = m_settings.tolerance * m_settings.tolerance;
    int64_t matching = 0;
    double sum[3] = {0, 0, 0};
    for (int y = 0; y < pixels.rows; ++y) {
        const uint8_t* p = pixels.ptr<uint8_t>(y);
        for (int x = 0; x < pixels.cols; ++x) {
            const int r = p[0], g = colour ? p[1] : p[0], b = colour ? p[2] : p[0];
            p += colour ? 3 : 1;
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
            const int dr = r - m_settings.red, dg = g - m_settings.green, db = b - m_settings.blue;
            if (dr * dr + dg * dg + db * db <= limit) ++matching;
        }
    }
    const double n = static_cast<double>(pixels.total());
    out.Set(0, 100.0 * static_cast<double>(matching) / n);
    for (size_t i = 0; i < 3; ++i)
        out.Set(i + 1, sum[i] / n);
}

OPropertyList OType_ConfigTool_KVT_COLOR::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    if (bIsBrightness()) return list;
    list.push_back(Integer("colour.red", "Red", kPage, m_settings.red, 0, 255));
    list.push_back(Integer("colour.green", "Green", kPage, m_settings.green, 0, 255));
    list.push_back(Integer("colour.blue", "Blue", kPage, m_settings.blue, 0, 255));
    list.push_back(
        Integer("colour.tolerance", "Tolerance", kPage, m_settings.tolerance, 0, kMaxDistance));
    return list;
}

void OType_ConfigTool_KVT_COLOR::ApplyProperties(const OPropertyValues& values,
                                                 const OPropertyContext& context) {
    using PropertyList::iGet;
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_settings.red = static_cast<int>(iGet(values, "colour.red", m_settings.red));
    m_settings.green = static_cast<int>(iGet(values, "colour.green", m_settings.green));
    m_settings.blue = static_cast<int>(iGet(values, "colour.blue", m_settings.blue));
    m_settings.tolerance = static_cast<int>(iGet(values, "colour.tolerance", m_settings.tolerance));
}

void OType_ConfigTool_KVT_COLOR::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_settings.red);
    s.bWriteI32(m_settings.green);
    s.bWriteI32(m_settings.blue);
    s.bWriteI32(m_settings.tolerance);
}

bool OType_ConfigTool_KVT_COLOR::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!r.I32(s.red, 0, 255) || !r.I32(s.green, 0, 255) || !r.I32(s.blue, 0, 255) ||
        !r.I32(s.tolerance, 0, kMaxDistance))
        return false;
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_COLOR::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_COLOR*>(&other)) o->m_settings = m_settings;
}
