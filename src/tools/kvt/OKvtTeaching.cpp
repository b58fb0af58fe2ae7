#include "tools/kvt/OKvtTeaching.h"

#include <algorithm>
#include <cstring>

#include "tools/kvt/OKvtPartImage.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace KvtTeaching {

cv::Mat RegionGrey(const OType_Part& part, const OType_ConfigTool_KVT& tool, const ZRINFO& info) {
    const OKvtPartImage image(part, std::max(1, tool.iGetImageType()), info);
    if (image.bIsEmpty()) return {};
    const OKvtRegionSample sample(image.Mat(), tool.GetShape());
    if (sample.bIsEmpty()) return {};
    return sample.Grey().clone();
}

OType_Image ImageOf(const cv::Mat& grey) {
    if (grey.empty() || grey.type() != CV_8UC1) return {};
    OType_Image image(grey.cols, grey.rows, 1);
    for (int y = 0; y < grey.rows; ++y)
        std::memcpy(image.Pixels().data() + size_t(y) * size_t(grey.cols), grey.ptr(y),
                    size_t(grey.cols));
    return image;
}

cv::Mat GreyOf(const OType_Image& image) {
    const cv::Mat view = KvtImage::View(image);
    if (view.empty() || view.channels() == 1) return view;
    return KvtImage::GreyOf(view);
}

}  // namespace KvtTeaching
