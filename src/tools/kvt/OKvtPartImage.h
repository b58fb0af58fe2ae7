// The image a family-2 tool works on: one of the part's camera images, seen by OpenCV
// without copying, or the part's contour image drawn as a picture (material dark on a
// bright background, like a part in front of a backlight).
#pragma once

#include <memory>

#include <opencv2/core.hpp>

class OType_Image;
class OType_Part;
class ZRINFO;

namespace KvtImage {

// A view of the image's pixels: CV_8UC1 for grey images, CV_8UC3 (R, G, B) for colour
// ones; empty for an empty image. The view reads the image's own buffer, which must
// outlive it; it must not be written to.
cv::Mat View(const OType_Image& image);

// Grey values of the contour image: material and background.
inline constexpr uint8_t kContourMaterial = 0;
inline constexpr uint8_t kContourBackground = 255;

// The contour of `part` as a grey picture of (columns × rows) pixels, rows from the top:
// contour row r (rows count upwards) is picture row rows − 1 − r. `rows` is the image
// height of the device (byte 688 of the device information, 512 when not positive).
// Empty when the part has no columns.
cv::Mat ContourPicture(const OType_Part& part, int rows);
int ContourRows(const ZRINFO& deviceInfo);

}  // namespace KvtImage

// What a tool reads: the chosen image of a part. Holds the camera image alive while the
// view is used, or the drawn contour picture.
class OKvtPartImage {
  public:
    // imageType 0: the contour picture; n >= 1: camera image n - 1.
    OKvtPartImage(const OType_Part& part, int imageType, const ZRINFO& deviceInfo);

    bool bIsEmpty() const { return m_view.empty(); }
    const cv::Mat& Mat() const { return m_view; }

  private:
    std::shared_ptr<const OType_Image> m_image;
    cv::Mat m_view;
};
