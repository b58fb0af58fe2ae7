#include "tools/kvt/OType_ConfigTool_KVT_MEASURE.h"

#include <algorithm>

#include "model/stream/OByteStream.h"

namespace {

const std::string kPage = "Measurement";
constexpr int kMaxLines = 64;

struct OSpan {
    double first = 0;
    double last = 0;
};

// The first and the last edge of the rows [a, b); false with fewer than two edges.
bool bSpan(const cv::Mat& grey, int a, int b, const OKvtEdgeSettings& settings, OSpan& span) {
    const std::vector<OKvtEdge> edges =
        KvtEdges::FindEdges(KvtEdges::ColumnProfile(grey, a, b), settings);
    if (edges.size() < 2) return false;
    span = {edges.front().position, edges.back().position};
    return true;
}

}  // namespace

OType_ConfigTool_KVT_MEASURE::OType_ConfigTool_KVT_MEASURE()
    : OType_ConfigTool_KVT(KvtToolKind::kMeasure, KvtSubKind::kSingleMeasurement) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_MEASURE::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_MEASURE>();
}

std::vector<int> OType_ConfigTool_KVT_MEASURE::SubKinds() const {
    return {KvtSubKind::kSingleMeasurement, KvtSubKind::kMultipleMeasurement};
}

std::string OType_ConfigTool_KVT_MEASURE::SubKindName(int subKind) const {
    return subKind == KvtSubKind::kMultipleMeasurement ? "Multiple measurement"
                                                       : "Single measurement";
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_MEASURE::FeatureDefs() const {
    using namespace KvtFeatureType;
    if (bIsMultiple()) {
        return {{kMeanDistance, "Mean distance", "px", OKvtQuantity::Length},
                {kMinDistance, "Smallest distance", "px", OKvtQuantity::Length},
                {kMaxDistance, "Largest distance", "px", OKvtQuantity::Length},
                {kMeasuredLines, "Measured lines", "", OKvtQuantity::Plain}};
    }
    return {{kDistance, "Distance", "px", OKvtQuantity::Length},
            {kFirstEdge, "First edge", "px", OKvtQuantity::Length},
            {kSecondEdge, "Last edge", "px", OKvtQuantity::Length}};
}

void OType_ConfigTool_KVT_MEASURE::MeasureRegion(const OKvtMeasureInput& in,
                                                 OKvtMeasureOutput& out) const {
    const cv::Mat& grey = in.sample->Grey();
    const OKvtRegion& shape = GetShape();
    auto draw = [&](const OSpan& s, double v) {
        out.drawing.Line(shape.ToImage(s.first, v), shape.ToImage(s.last, v));
        out.drawing.Cross(shape.ToImage(s.first, v), 3);
        out.drawing.Cross(shape.ToImage(s.last, v), 3);
    };
    if (!bIsMultiple()) {
        OSpan s;
        if (!bSpan(grey, 0, grey.rows, m_settings.edge, s)) return;
        out.Set(0, s.last - s.first);
        out.Set(1, s.first);
        out.Set(2, s.last);
        draw(s, grey.rows / 2.0);
        return;
    }
    const int lines = std::clamp(m_settings.lines, 1, std::max(1, grey.rows));
    double sum = 0, lowest = 0, highest = 0;
    int measured = 0;
    for (int l = 0; l < lines; ++l) {
        const int a = grey.rows * l / lines, b = grey.rows * (l + 1) / lines;
        OSpan s;
        if (b <= a || !bSpan(grey, a, b, m_settings.edge, s)) continue;
        const double d = s.last - s.first;
        lowest = measured ? std::min(lowest, d) : d;
        highest = measured ? std::max(highest, d) : d;
        sum += d;
        ++measured;
        draw(s, (a + b) / 2.0);
    }
    out.Set(3, measured);
    if (measured == 0) return;
    out.Set(0, sum / measured);
    out.Set(1, lowest);
    out.Set(2, highest);
}

OPropertyList OType_ConfigTool_KVT_MEASURE::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    m_settings.edge.Describe(list, kPage);
    if (bIsMultiple())
        list.push_back(
            PropertyList::Integer("measure.lines", "Lines", kPage, m_settings.lines, 1, kMaxLines));
    return list;
}

void OType_ConfigTool_KVT_MEASURE::ApplyProperties(const OPropertyValues& values,
                                                   const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_settings.edge.Apply(values);
    m_settings.lines =
        static_cast<int>(PropertyList::iGet(values, "measure.lines", m_settings.lines));
}

void OType_ConfigTool_KVT_MEASURE::EncodeKind(OByteStream& s) const {
    m_settings.edge.Encode(s);
    s.bWriteI32(m_settings.lines);
}

bool OType_ConfigTool_KVT_MEASURE::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!s.edge.bDecode(r) || !r.I32(s.lines, 1, kMaxLines)) return false;
    m_settings = s;
    return true;
}

void OType_ConfigTool_KVT_MEASURE::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_MEASURE*>(&other)) o->m_settings = m_settings;
}
