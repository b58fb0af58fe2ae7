// Edges along a grey profile: the profile of a region (the mean brightness of each column of
// the upright region, i.e. along its width), its smoothed gradient, and edges found in it with
// sub-pixel position. Shared by the measurements and the edge finder.
#pragma once

#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "model/tools/OPropertyList.h"

class OByteStream;
class OBlockFieldReader;

// Which brightness change counts as an edge, seen along the scan direction.
enum class OKvtEdgePolarity { Any = 0, Rising = 1, Falling = 2 };

struct OKvtEdge {
    double position = 0;  // along the profile, in pixels from its start (pixel centres at i + 0.5)
    double strength = 0;  // the brightness change across the edge (+ rising, − falling)
};

struct OKvtEdgeSettings {
    int minimumContrast = 40;  // smallest brightness change across an edge, grey levels
    OKvtEdgePolarity polarity = OKvtEdgePolarity::Any;
    int smoothing = 1;  // half-width of the box filter applied to the profile (0: none)

    bool operator==(const OKvtEdgeSettings&) const = default;

    void Describe(OPropertyList& list, const std::string& page) const;
    void Apply(const OPropertyValues& values);
    void Encode(OByteStream& stream) const;
    bool bDecode(OBlockFieldReader& reader);
};

namespace KvtEdges {

// Mean brightness of every column of `grey` (rows [rowBegin, rowEnd)).
std::vector<double> ColumnProfile(const cv::Mat& grey, int rowBegin, int rowEnd);

// All edges of the profile, in profile order. The profile is smoothed; the gradient at i is
// the change from pixel i − 1 to pixel i and lies on their border, position i. An edge is a
// run of gradients of one sign of at least one grey level per pixel; its strength is the
// brightness change across the run (signed), its position the gradient-weighted centre of the
// run. Edges weaker than the minimum contrast or of the wrong polarity are left out.
std::vector<OKvtEdge> FindEdges(const std::vector<double>& profile,
                                const OKvtEdgeSettings& settings);

}  // namespace KvtEdges
