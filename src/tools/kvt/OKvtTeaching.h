// What the teaching tools (pattern matching, image compare) take from a sample part: the
// grey pixels of their region on the camera image they read.
#pragma once

#include <opencv2/core.hpp>

#include "model/part/OType_Image.h"

class OType_ConfigTool_KVT;
class OType_Part;
class ZRINFO;

namespace KvtTeaching {

// The region's grey pixels on the part's camera image (the tool's image, at least the first
// camera image); empty when the part has no such image or the region leaves it.
cv::Mat RegionGrey(const OType_Part& part, const OType_ConfigTool_KVT& tool, const ZRINFO& info);
// A grey picture as a one-layer image.
OType_Image ImageOf(const cv::Mat& grey);
// The grey values of an image: a view of a grey image's own pixels (which must outlive it),
// the luminance of a colour one.
cv::Mat GreyOf(const OType_Image& image);

}  // namespace KvtTeaching
