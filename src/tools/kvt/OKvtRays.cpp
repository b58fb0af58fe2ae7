#include "tools/kvt/OKvtRays.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace KvtRays {
namespace {

constexpr double kDegree = CV_PI / 180.0;

double Bilinear(const cv::Mat& grey, double x, double y) {
    const int x0 = std::clamp(int(std::floor(x)), 0, grey.cols - 1);
    const int y0 = std::clamp(int(std::floor(y)), 0, grey.rows - 1);
    const int x1 = std::min(x0 + 1, grey.cols - 1), y1 = std::min(y0 + 1, grey.rows - 1);
    const double fx = std::clamp(x - x0, 0.0, 1.0), fy = std::clamp(y - y0, 0.0, 1.0);
    const double top = grey.at<uint8_t>(y0, x0) * (1 - fx) + grey.at<uint8_t>(y0, x1) * fx;
    const double bottom = grey.at<uint8_t>(y1, x0) * (1 - fx) + grey.at<uint8_t>(y1, x1) * fx;
    return top * (1 - fy) + bottom * fy;
}

// How far the ray runs before it leaves the picture (pixel centres 0 ... size - 1).
double Reach(cv::Point2d from, cv::Point2d dir, cv::Size size) {
    if (from.x < 0 || from.y < 0 || from.x > size.width - 1 || from.y > size.height - 1) return 0;
    double t = std::numeric_limits<double>::infinity();
    if (dir.x > 1e-12) t = std::min(t, (size.width - 1 - from.x) / dir.x);
    if (dir.x < -1e-12) t = std::min(t, -from.x / dir.x);
    if (dir.y > 1e-12) t = std::min(t, (size.height - 1 - from.y) / dir.y);
    if (dir.y < -1e-12) t = std::min(t, -from.y / dir.y);
    return std::isfinite(t) ? t : 0;
}

double Vertex(double before, double at, double after) {
    const double curve = before - 2 * at + after;
    if (curve >= 0) return 0;
    return std::clamp(0.5 * (before - after) / curve, -0.5, 0.5);
}

ORay CastOne(const cv::Mat& grey, cv::Point2d centre, double angle, const OSettings& s) {
    ORay ray;
    ray.angle = angle;
    const cv::Point2d dir(std::cos(angle * kDegree), -std::sin(angle * kDegree));
    const double reach = Reach(centre, dir, grey.size());
    ray.end = centre + dir * reach;
    const int n = int(std::floor(reach)) + 1;
    if (n < 3) return ray;
    std::vector<double> profile(static_cast<size_t>(n)), smooth(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        profile[size_t(k)] = Bilinear(grey, centre.x + dir.x * k, centre.y + dir.y * k);
    const int w = std::clamp(s.smoothing, 0, 10);
    for (int k = 0; k < n; ++k) {
        double sum = 0;
        int count = 0;
        for (int j = std::max(0, k - w); j <= std::min(n - 1, k + w); ++j, ++count)
            sum += profile[size_t(j)];
        smooth[size_t(k)] = sum / count;
    }
    // The brightness change across an edge: over the smoothing span on both sides.
    const int span = w + 1;
    auto change = [&](int k) {
        return smooth[size_t(std::min(n - 1, k + span))] - smooth[size_t(std::max(0, k - span))];
    };
    auto signedChange = [&](int k, double sign) { return sign * change(k); };
    const int first = std::max(1, int(std::ceil(s.innerRadius)));
    for (int k = first; k < n - 1; ++k) {
        const double c = change(k);
        double sign = 0;
        if (s.polarity == Polarity::DarkToBright)
            sign = 1;
        else if (s.polarity == Polarity::BrightToDark)
            sign = -1;
        else
            sign = c >= 0 ? 1 : -1;
        if (signedChange(k, sign) < s.minContrast) continue;
        // Climb to the strongest change of this edge.
        int peak = k;
        while (peak + 1 < n - 1 && signedChange(peak + 1, sign) >= signedChange(peak, sign))
            ++peak;
        const double offset = Vertex(signedChange(peak - 1, sign), signedChange(peak, sign),
                                     signedChange(peak + 1, sign));
        ray.found = true;
        ray.radius = std::min(reach, peak + offset);
        ray.edge = centre + dir * ray.radius;
        ray.contrast = change(peak);
        return ray;
    }
    return ray;
}

}  // namespace

std::vector<double> Directions(const OSettings& s) {
    const int n = std::clamp(s.rays, 1, 360);
    const double extent = std::clamp(s.extent, 0.0, 360.0);
    std::vector<double> angles;
    if (n == 1) return {s.startAngle};
    const bool circle = extent >= 360.0 - 1e-9;
    const double step = circle ? 360.0 / n : extent / (n - 1);
    for (int i = 0; i < n; ++i)
        angles.push_back(s.startAngle + i * step);
    return angles;
}

OResult Cast(const cv::Mat& grey, cv::Point2d centre, const OSettings& s) {
    OResult result;
    if (grey.empty() || grey.type() != CV_8UC1) return result;
    double sum = 0;
    result.minRadius = std::numeric_limits<double>::infinity();
    for (double angle : Directions(s)) {
        const ORay ray = CastOne(grey, centre, angle, s);
        result.rays.push_back(ray);
        if (!ray.found) continue;
        ++result.hits;
        sum += ray.radius;
        if (ray.radius < result.minRadius) {
            result.minRadius = ray.radius;
            result.minAngle = angle;
        }
        result.maxRadius = std::max(result.maxRadius, ray.radius);
    }
    if (result.hits == 0) {
        result.minRadius = 0;
        return result;
    }
    result.meanRadius = sum / result.hits;
    return result;
}

}  // namespace KvtRays
