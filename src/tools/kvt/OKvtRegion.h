// The rotatable region of a family-2 tool and the image inside it.
//
// Coordinates are image pixels: x to the right, y downwards, pixel (x, y) centred at (x, y).
// A region is a rectangle of `width` × `height` pixels around its centre, turned by `angle`
// degrees counter-clockwise as seen on the screen. Inside the region, local coordinates
// (u, v) run from its top-left corner along its width (u) and its height (v); an upright
// region covering the pixels left … right, top … bottom has its centre at
// ((left + right) / 2, (top + bottom) / 2) and is right − left + 1 pixels wide.
#pragma once

#include <array>

#include <opencv2/core.hpp>

#include "model/draw/OGeometry.h"

struct OPointD {
    double x = 0;
    double y = 0;
    bool operator==(const OPointD&) const = default;
};

struct OKvtRegion {
    static constexpr double kMaxSide = 16384;  // the largest image side

    double centreX = 0;
    double centreY = 0;
    double width = 1;
    double height = 1;
    double angle = 0;  // degrees, counter-clockwise on the screen

    bool operator==(const OKvtRegion&) const = default;

    // The upright region covering the pixels of `r` (both corners inclusive).
    static OKvtRegion FromRect(const ORect& r);
    // Finite values, sides of 1 … kMaxSide pixels, centre within ±kMaxSide·4.
    bool bIsSane() const;
    // The angle brought into (−180, 180].
    double NormalisedAngle() const;

    // Unit vectors of the local u and v axes in image coordinates.
    OPointD AxisU() const;
    OPointD AxisV() const;
    // Image point of local (u, v).
    OPointD ToImage(double u, double v) const;
    // Local point of the image point (x, y).
    OPointD ToLocal(double x, double y) const;
    // Corners in the order top-left, top-right, bottom-right, bottom-left (local view).
    std::array<OPointD, 4> Corners() const;
    // The smallest pixel rectangle holding the region (corners inclusive).
    ORect BoundingRect() const;
    // Whether every pixel the region samples lies inside an image of the given size.
    bool bLiesInside(int imageWidth, int imageHeight) const;
    // The region moved (and shrunk when needed) so that it lies inside the image;
    // the angle is kept. The image must be at least one pixel in each direction.
    OKvtRegion FittedInto(int imageWidth, int imageHeight) const;
};

// The pixels of a region, turned upright: `pixels` has round(width) columns and
// round(height) rows, 1 channel (grey) or 3 (R, G, B) like the image it comes from.
// An upright region on whole pixels is a view into the image (no copy); a turned one is
// sampled with bilinear interpolation.
class OKvtRegionSample {
  public:
    // Samples `region` of `image` (CV_8UC1 or CV_8UC3). The sample stays empty when the
    // region does not lie wholly inside the image.
    OKvtRegionSample(const cv::Mat& image, const OKvtRegion& region);

    bool bIsEmpty() const { return m_pixels.empty(); }
    const cv::Mat& Pixels() const { return m_pixels; }
    // The brightness of every pixel (grey images as they are; colour pixels as the rounded
    // luminance (299 R + 587 G + 114 B + 500) / 1000, the same as OType_Image::GetPixel_Grey).
    const cv::Mat& Grey() const;
    int iGetWidth() const { return m_pixels.cols; }
    int iGetHeight() const { return m_pixels.rows; }
    const OKvtRegion& Region() const { return m_region; }
    // Image point of the centre of sample pixel (column, row), and of a local point.
    OPointD PixelToImage(double column, double row) const;

  private:
    OKvtRegion m_region;
    cv::Mat m_pixels;
    mutable cv::Mat m_grey;
};

namespace KvtGeometry {
inline constexpr double kDegreesPerRadian = 57.29577951308232;
// An axis direction in degrees brought into (−90, 90].
double AxisAngle(double degrees);
// The main axis of a shape from its central second moments (mu20, mu02, mu11) in image
// coordinates (y downwards), in degrees counter-clockwise on the screen, in (−90, 90].
double MainAxisAngle(double mu20, double mu02, double mu11);
}  // namespace KvtGeometry

namespace KvtImage {
// Luminance of a colour image (R, G, B), rounded as OType_Image::GetPixel_Grey does.
cv::Mat GreyOf(const cv::Mat& rgb);
}  // namespace KvtImage
