// The image-compare tool's measurement: a part's region against a taught reference picture
// of the same size. Where they differ by more than a threshold, the pixels are defects;
// neighbouring defect pixels (8-connected) form one defect, and defects smaller than a
// minimum area are not counted. A position tolerance lets the part lie a few pixels off:
// the region is then read that much larger and the reference is laid where it fits best
// (smallest sum of squared differences) before comparing.
#pragma once

#include <vector>

#include <opencv2/core.hpp>

namespace KvtCompare {

struct OSettings {
    int threshold = 40;      // grey levels a pixel must differ by to be a defect pixel
    int minDefectArea = 10;  // pixels a defect needs to be counted
    int tolerance = 0;       // pixels the part may lie off in each direction
};

struct OResult {
    bool compared = false;
    double meanDifference = 0;          // mean absolute difference, grey levels
    double differingShare = 0;          // defect pixels in percent of the compared pixels
    int defects = 0;                    // defects of at least the minimum area
    int largestDefect = 0;              // area of the largest counted defect in pixels
    cv::Point shift;                    // where the reference fitted best, against the centre
    std::vector<cv::Rect> defectBoxes;  // of the counted defects, in `sample` pixels
    cv::Rect comparedArea;              // the part of `sample` compared with the reference
};

// Compares `sample` (CV_8UC1, the reference's size plus 2 * tolerance in each direction)
// with `reference` (CV_8UC1). Not compared (compared false) when the sizes do not fit.
OResult Compare(const cv::Mat& sample, const cv::Mat& reference, const OSettings& s);

}  // namespace KvtCompare
