#include "tools/kvt/OKvtEdges.h"

#include <algorithm>
#include <cmath>

#include "model/stream/OByteStream.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

void OKvtEdgeSettings::Describe(OPropertyList& list, const std::string& page) const {
    using namespace PropertyList;
    list.push_back(
        Integer("edge.contrast", "Minimum contrast", page, minimumContrast, 1, 255, "grey levels"));
    list.push_back(Choice("edge.polarity", "Edge", page, static_cast<int>(polarity),
                          {{0, "any"}, {1, "dark to bright"}, {2, "bright to dark"}}));
    list.push_back(Integer("edge.smoothing", "Smoothing", page, smoothing, 0, 20, "px"));
}

void OKvtEdgeSettings::Apply(const OPropertyValues& values) {
    minimumContrast =
        static_cast<int>(PropertyList::iGet(values, "edge.contrast", minimumContrast));
    polarity = static_cast<OKvtEdgePolarity>(
        PropertyList::iGet(values, "edge.polarity", static_cast<int>(polarity)));
    smoothing = static_cast<int>(PropertyList::iGet(values, "edge.smoothing", smoothing));
}

void OKvtEdgeSettings::Encode(OByteStream& s) const {
    s.bWriteI32(minimumContrast);
    s.bWriteI32(static_cast<int>(polarity));
    s.bWriteI32(smoothing);
}

bool OKvtEdgeSettings::bDecode(OBlockFieldReader& r) {
    OKvtEdgeSettings e = *this;
    int polarityValue = static_cast<int>(e.polarity);
    if (!r.I32(e.minimumContrast, 1, 255) || !r.I32(polarityValue, 0, 2) ||
        !r.I32(e.smoothing, 0, 20))
        return false;
    e.polarity = static_cast<OKvtEdgePolarity>(polarityValue);
    *this = e;
    return true;
}

namespace KvtEdges {

std::vector<double> ColumnProfile(const cv::Mat& grey, int rowBegin, int rowEnd) {
    rowBegin = std::clamp(rowBegin, 0, grey.rows);
    rowEnd = std::clamp(rowEnd, rowBegin, grey.rows);
    std::vector<double> profile(static_cast<size_t>(grey.cols), 0.0);
    if (rowEnd == rowBegin) return profile;
    std::vector<uint32_t> sums(static_cast<size_t>(grey.cols), 0);
    for (int y = rowBegin; y < rowEnd; ++y) {
        const uint8_t* row = grey.ptr<uint8_t>(y);
        for (int x = 0; x < grey.cols; ++x)
            sums[static_cast<size_t>(x)] += row[x];
    }
    const double n = rowEnd - rowBegin;
    for (size_t x = 0; x < sums.size(); ++x)
        profile[x] = sums[x] / n;
    return profile;
}

std::vector<OKvtEdge> FindEdges(const std::vector<double>& profile,
                                const OKvtEdgeSettings& settings) {
    const int n = static_cast<int>(profile.size());
    std::vector<OKvtEdge> edges;
    if (n < 2) return edges;
    // Box filter, shrinking at the ends.
    std::vector<double> smooth(profile.size());
    const int k = std::max(0, settings.smoothing);
    for (int i = 0; i < n; ++i) {
        const int a = std::max(0, i - k), b = std::min(n - 1, i + k);
        double sum = 0;
        for (int j = a; j <= b; ++j)
            sum += profile[static_cast<size_t>(j)];
        smooth[static_cast<size_t>(i)] = sum / (b - a + 1);
    }
    // gradient[i] lies between pixels i - 1 and i, at position i (i = 1 .. n - 1).
    std::vector<double> gradient(profile.size(), 0.0);
    for (int i = 1; i < n; ++i)
        gradient[static_cast<size_t>(i)] =
            smooth[static_cast<size_t>(i)] - smooth[static_cast<size_t>(i - 1)];
    auto fits = [&](double change) {
        if (std::abs(change) < settings.minimumContrast) return false;
        switch (settings.polarity) {
            case OKvtEdgePolarity::Rising:
                return change > 0;
            case OKvtEdgePolarity::Falling:
                return change < 0;
            default:
                return true;
        }
    };
    // An edge is a run of gradients of one sign, each at least kSlope; its strength is the
    // whole brightness change across it, its position the gradient-weighted centre.
    constexpr double kSlope = 1.0;
    for (int i = 1; i < n;) {
        const double g = gradient[static_cast<size_t>(i)];
        if (std::abs(g) < kSlope) {
            ++i;
            continue;
        }
        double change = 0, weight = 0, moment = 0;
        int j = i;
        for (; j < n; ++j) {
            const double h = gradient[static_cast<size_t>(j)];
            if (std::abs(h) < kSlope || h * g < 0) break;
            change += h;
            weight += std::abs(h);
            moment += std::abs(h) * j;
        }
        if (fits(change)) edges.push_back({moment / weight, change});
        i = j;
    }
    return edges;
}

}  // namespace KvtEdges
