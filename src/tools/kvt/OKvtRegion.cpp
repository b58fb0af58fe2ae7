#include "tools/kvt/OKvtRegion.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

namespace {

// Sampled pixel centres must lie on the image's pixel centres 0 … size − 1 (up to rounding).
constexpr double kEdgeSlack = 1e-6;

int SampleSide(double side) {
    return std::max(1, static_cast<int>(std::lround(side)));
}

bool bNear(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

}  // namespace

OKvtRegion OKvtRegion::FromRect(const ORect& r) {
    const double left = std::min(r.left, r.right), right = std::max(r.left, r.right);
    const double top = std::min(r.top, r.bottom), bottom = std::max(r.top, r.bottom);
    return {(left + right) / 2, (top + bottom) / 2, right - left + 1, bottom - top + 1, 0};
}

bool OKvtRegion::bIsSane() const {
    const double centreLimit = kMaxSide * 4;
    return std::isfinite(centreX) && std::isfinite(centreY) && std::isfinite(width) &&
           std::isfinite(height) && std::isfinite(angle) && std::abs(centreX) <= centreLimit &&
           std::abs(centreY) <= centreLimit && width >= 1 && height >= 1 && width <= kMaxSide &&
           height <= kMaxSide && std::abs(angle) <= 3600;
}

double OKvtRegion::NormalisedAngle() const {
    double a = std::fmod(angle, 360.0);
    if (a <= -180) a += 360;
    if (a > 180) a -= 360;
    return a;
}

OPointD OKvtRegion::AxisU() const {
    const double a = angle / KvtGeometry::kDegreesPerRadian;
    // Counter-clockwise on the screen: y grows downwards, so the u axis rises.
    return {std::cos(a), -std::sin(a)};
}

OPointD OKvtRegion::AxisV() const {
    const double a = angle / KvtGeometry::kDegreesPerRadian;
    return {std::sin(a), std::cos(a)};
}

OPointD OKvtRegion::ToImage(double u, double v) const {
    const OPointD eu = AxisU(), ev = AxisV();
    const double du = u - width / 2, dv = v - height / 2;
    return {centreX + du * eu.x + dv * ev.x, centreY + du * eu.y + dv * ev.y};
}

OPointD OKvtRegion::ToLocal(double x, double y) const {
    const OPointD eu = AxisU(), ev = AxisV();
    const double dx = x - centreX, dy = y - centreY;
    return {dx * eu.x + dy * eu.y + width / 2, dx * ev.x + dy * ev.y + height / 2};
}

std::array<OPointD, 4> OKvtRegion::Corners() const {
    // The corners of the outer pixel edges.
    return {ToImage(0, 0), ToImage(width, 0), ToImage(width, height), ToImage(0, height)};
}

ORect OKvtRegion::BoundingRect() const {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const OPointD& p : Corners()) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    // Corners lie on pixel edges (half a pixel beyond the outer centres).
    return {
        static_cast<int32_t>(std::floor(minX + 0.5)), static_cast<int32_t>(std::floor(minY + 0.5)),
        static_cast<int32_t>(std::ceil(maxX - 0.5)), static_cast<int32_t>(std::ceil(maxY - 0.5))};
}

bool OKvtRegion::bLiesInside(int imageWidth, int imageHeight) const {
    if (!bIsSane() || imageWidth < 1 || imageHeight < 1) return false;
    // The sampled pixel centres are the extreme points that matter: half a pixel inside
    // the region's edges.
    const int w = SampleSide(width), h = SampleSide(height);
    const OKvtRegion sampled{centreX, centreY, static_cast<double>(w), static_cast<double>(h),
                             angle};
    for (const OPointD& p : {sampled.ToImage(0.5, 0.5), sampled.ToImage(w - 0.5, 0.5),
                             sampled.ToImage(w - 0.5, h - 0.5), sampled.ToImage(0.5, h - 0.5)}) {
        if (p.x < -kEdgeSlack || p.y < -kEdgeSlack || p.x > imageWidth - 1 + kEdgeSlack ||
            p.y > imageHeight - 1 + kEdgeSlack)
            return false;
    }
    return true;
}

OKvtRegion OKvtRegion::FittedInto(int imageWidth, int imageHeight) const {
    OKvtRegion r = *this;
    if (!std::isfinite(r.angle)) r.angle = 0;
    r.width =
        std::isfinite(r.width) ? std::clamp(r.width, 1.0, static_cast<double>(imageWidth)) : 1;
    r.height =
        std::isfinite(r.height) ? std::clamp(r.height, 1.0, static_cast<double>(imageHeight)) : 1;
    if (!std::isfinite(r.centreX)) r.centreX = (imageWidth - 1) / 2.0;
    if (!std::isfinite(r.centreY)) r.centreY = (imageHeight - 1) / 2.0;
    // Shrink a turned region until its bounding box fits, then move it inside.
    for (int i = 0; i < 64; ++i) {
        const std::array<OPointD, 4> c = r.Corners();
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (const OPointD& p : c) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        const double spanX = maxX - minX, spanY = maxY - minY;
        const double scale = std::min({1.0, imageWidth / spanX, imageHeight / spanY});
        if (scale < 1) {
            r.width = std::max(1.0, std::floor(r.width * scale));
            r.height = std::max(1.0, std::floor(r.height * scale));
            continue;
        }
        // Pixel edges of the image are -0.5 and size - 0.5.
        if (minX < -0.5) r.centreX += -0.5 - minX;
        if (maxX > imageWidth - 0.5) r.centreX -= maxX - (imageWidth - 0.5);
        if (minY < -0.5) r.centreY += -0.5 - minY;
        if (maxY > imageHeight - 0.5) r.centreY -= maxY - (imageHeight - 0.5);
        if (r.bLiesInside(imageWidth, imageHeight)) return r;
        // Rounding of a turned region can leave it a hair outside: take off a pixel.
        r.width = std::max(1.0, r.width - 1);
        r.height = std::max(1.0, r.height - 1);
    }
    return {(imageWidth - 1) / 2.0, (imageHeight - 1) / 2.0, 1, 1, 0};
}

OKvtRegionSample::OKvtRegionSample(const cv::Mat& image, const OKvtRegion& region)
    : m_region(region) {
    if (image.empty() || (image.type() != CV_8UC1 && image.type() != CV_8UC3)) return;
    if (!region.bLiesInside(image.cols, image.rows)) return;
    const int w = SampleSide(region.width), h = SampleSide(region.height);
    m_region.width = w;
    m_region.height = h;
    // Image point of the centre of sample pixel (0, 0), and the steps per column and row.
    const OPointD origin = m_region.ToImage(0.5, 0.5);
    const OPointD eu = m_region.AxisU(), ev = m_region.AxisV();
    const bool upright = bNear(eu.x, 1) && bNear(ev.y, 1);
    if (upright && bNear(origin.x, std::round(origin.x)) && bNear(origin.y, std::round(origin.y))) {
        const cv::Rect rect(static_cast<int>(std::lround(origin.x)),
                            static_cast<int>(std::lround(origin.y)), w, h);
        m_pixels = image(rect);
        return;
    }
    const cv::Matx23d toImage(eu.x, ev.x, origin.x, eu.y, ev.y, origin.y);
    cv::warpAffine(image, m_pixels, toImage, cv::Size(w, h),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_REPLICATE);
}

const cv::Mat& OKvtRegionSample::Grey() const {
    if (m_pixels.channels() == 1) return m_pixels;
    if (m_grey.empty() && !m_pixels.empty()) m_grey = KvtImage::GreyOf(m_pixels);
    return m_grey;
}

OPointD OKvtRegionSample::PixelToImage(double column, double row) const {
    return m_region.ToImage(column + 0.5, row + 0.5);
}

namespace KvtGeometry {

double AxisAngle(double degrees) {
    degrees = std::fmod(degrees, 180.0);
    if (degrees <= -90) degrees += 180;
    if (degrees > 90) degrees -= 180;
    return degrees;
}

double MainAxisAngle(double mu20, double mu02, double mu11) {
    // atan2 measures from x towards y, which is clockwise on the screen.
    return AxisAngle(-0.5 * std::atan2(2 * mu11, mu20 - mu02) * kDegreesPerRadian);
}

}  // namespace KvtGeometry

namespace KvtImage {

cv::Mat GreyOf(const cv::Mat& rgb) {
    cv::Mat grey(rgb.rows, rgb.cols, CV_8UC1);
    for (int y = 0; y < rgb.rows; ++y) {
        const uint8_t* in = rgb.ptr<uint8_t>(y);
        uint8_t* out = grey.ptr<uint8_t>(y);
        for (int x = 0; x < rgb.cols; ++x, in += 3)
            out[x] = static_cast<uint8_t>((299 * in[0] + 587 * in[1] + 114 * in[2] + 500) / 1000);
    }
    return grey;
}

}  // namespace KvtImage
