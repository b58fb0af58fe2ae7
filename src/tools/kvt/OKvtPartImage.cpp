#include "tools/kvt/OKvtPartImage.h"

#include <algorithm>

#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "tools/OContourColumns.h"

namespace KvtImage {

cv::Mat View(const OType_Image& image) {
    if (image.bIsEmpty()) return {};
    const int type = image.iGetLayers() == 3 ? CV_8UC3 : CV_8UC1;
    const size_t expected =
        static_cast<size_t>(image.iGetWidth()) * image.iGetHeight() * image.iGetLayers();
    if (image.iGetByteSize() != expected) return {};
    // OpenCV takes a non-const pointer; the view is only ever read.
    auto* data = const_cast<uint8_t*>(image.Pixels().data());
    return cv::Mat(image.iGetHeight(), image.iGetWidth(), type, data);
}

int ContourRows(const ZRINFO& deviceInfo) {
    const int rows = deviceInfo.s16(ZRINFO::kPixels);
    return rows > 0 ? rows : 512;
}

cv::Mat ContourPicture(const OType_Part& part, int rows) {
    OContourColumns columns;
    columns.Build(part.Contour());
    const int width = std::min(columns.iGetColumns(), 16384);
    rows = std::clamp(rows, 1, 16384);
    if (width <= 0) return {};
    cv::Mat picture(rows, width, CV_8UC1, cv::Scalar(kContourBackground));
    for (int c = 0; c < width; ++c) {
        const std::span<const int16_t> column = columns.ColumnValues(c);
        for (size_t i = 0; i + 1 < column.size(); i += 2) {
            const OContourRun run = ContourRunAt(column, i);
            const int bottom = std::clamp(run.top, 0, rows);
            const int top = std::clamp(run.bottom, 0, rows);
            // Contour rows [run.top, run.bottom) are picture rows rows-run.bottom ..
            // rows-1-run.top.
            for (int r = bottom; r < top; ++r)
                picture.at<uint8_t>(rows - 1 - r, c) = kContourMaterial;
        }
    }
    return picture;
}

}  // namespace KvtImage

OKvtPartImage::OKvtPartImage(const OType_Part& part, int imageType, const ZRINFO& deviceInfo) {
    if (imageType <= 0) {
        m_view = KvtImage::ContourPicture(part, KvtImage::ContourRows(deviceInfo));
        return;
    }
    m_image = part.GetImageShared(imageType - 1);
    if (m_image) m_view = KvtImage::View(*m_image);
}
