// The ray tool's measurement: rays leave a centre in a fan of directions, and each finds the
// first brightness edge on its way out, to sub-pixel precision. The distances from the centre
// to these edges tell the size and roundness of a part, a hole or a collar around the centre.
//
// Coordinates are picture pixels (x right, y down); ray angles are degrees counter-clockwise on
// the screen from the +x direction. A ray runs from the centre to the picture's border.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace KvtRays {

// Which brightness change counts as an edge, seen from the centre outwards.
enum class Polarity { Any = 0, DarkToBright = 1, BrightToDark = 2 };

struct OSettings {
    int rays = 36;          // 1 ... 360
    double startAngle = 0;  // direction of the first ray
    double extent = 360;    // the fan; rays are spread evenly over it
    Polarity polarity = Polarity::Any;
    int minContrast = 25;    // grey levels the brightness must change by
    int smoothing = 1;       // profile averaged over 2 * smoothing + 1 samples
    double innerRadius = 0;  // edges closer to the centre are ignored
};

struct ORay {
    double angle = 0;
    bool found = false;
    double radius = 0;    // distance from the centre to the edge
    cv::Point2d edge;     // the edge point
    cv::Point2d end;      // where the ray leaves the picture
    double contrast = 0;  // the brightness change at the edge (signed, outwards)
};

struct OResult {
    std::vector<ORay> rays;
    int hits = 0;
    double meanRadius = 0, minRadius = 0, maxRadius = 0;
    double minAngle = 0;  // direction of the smallest radius
};

// The ray directions of the settings: evenly spread, the last one left out when the fan is
// a full circle (it would repeat the first).
std::vector<double> Directions(const OSettings& s);

// Casts the rays in `grey` (CV_8UC1) from `centre`.
OResult Cast(const cv::Mat& grey, cv::Point2d centre, const OSettings& s);

}  // namespace KvtRays
