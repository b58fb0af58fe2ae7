#include "tools/kvt/OKvtImageCompare.h"

#include <algorithm>
#include <climits>

#include <opencv2/imgproc.hpp>

namespace KvtCompare {

OResult Compare(const cv::Mat& sample, const cv::Mat& reference, const OSettings& s) {
    OResult result;
    const int tolerance = std::max(0, s.tolerance);
    if (sample.empty() || reference.empty() || sample.type() != CV_8UC1 ||
        reference.type() != CV_8UC1 || sample.cols != reference.cols + 2 * tolerance ||
        sample.rows != reference.rows + 2 * tolerance)
        return result;
    cv::Point at(tolerance, tolerance);
    if (tolerance > 0) {
        cv::Mat fit;
        cv::matchTemplate(sample, reference, fit, cv::TM_SQDIFF);
        // Among equal fits the one nearest the centre wins, so a flat picture stays put.
        double best = 0;
        cv::minMaxLoc(fit, &best, nullptr, nullptr, nullptr);
        int bestDistance = INT_MAX;
        for (int y = 0; y < fit.rows; ++y)
            for (int x = 0; x < fit.cols; ++x) {
                const int distance = std::abs(x - tolerance) + std::abs(y - tolerance);
                if (fit.at<float>(y, x) <= best * (1 + 1e-6) + 1e-3 && distance < bestDistance) {
                    bestDistance = distance;
                    at = {x, y};
                }
            }
    }
    result.compared = true;
    result.shift = at - cv::Point(tolerance, tolerance);
    result.comparedArea = cv::Rect(at, reference.size());
    cv::Mat difference;
    cv::absdiff(sample(result.comparedArea), reference, difference);
    result.meanDifference = cv::mean(difference)[0];
    cv::Mat defects = difference > s.threshold;
    const int defectPixels = cv::countNonZero(defects);
    result.differingShare = 100.0 * defectPixels / double(reference.total());
    cv::Mat labels, stats, centres;
    const int count = cv::connectedComponentsWithStats(defects, labels, stats, centres, 8, CV_32S);
    for (int i = 1; i < count; ++i) {
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area < std::max(1, s.minDefectArea)) continue;
        ++result.defects;
        result.largestDefect = std::max(result.largestDefect, area);
        result.defectBoxes.emplace_back(
            stats.at<int>(i, cv::CC_STAT_LEFT) + at.x, stats.at<int>(i, cv::CC_STAT_TOP) + at.y,
            stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
    }
    return result;
}

}  // namespace KvtCompare
