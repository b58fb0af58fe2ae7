// Shapes drawn with exact pixel coverage, so that tests know where an edge lies to a tenth
// of a pixel: drawn 8 times larger without anti-aliasing, then averaged down. (OpenCV's own
// anti-aliased shapes come out about 0.6 pixel larger than asked.)
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include <opencv2/imgproc.hpp>

class OFineCanvas {
  public:
    static constexpr int kFactor = 8;
    static constexpr int kShift = 4;  // sub-pixel bits of the large picture's coordinates

    OFineCanvas(cv::Size size, uint8_t ground)
        : m_big(size.height * kFactor, size.width * kFactor, CV_8U, cv::Scalar(ground)) {}

    // A point of the final picture (pixel centres on whole numbers) on the large picture.
    static cv::Point At(cv::Point2d p) {
        return {int(std::lround(((p.x + 0.5) * kFactor - 0.5) * (1 << kShift))),
                int(std::lround(((p.y + 0.5) * kFactor - 0.5) * (1 << kShift)))};
    }
    static int Length(double l) { return int(std::lround(l * kFactor * (1 << kShift))); }

    void Polygon(const std::vector<cv::Point2d>& points, uint8_t ink) {
        std::vector<cv::Point> big;
        for (const auto& p : points)
            big.push_back(At(p));
        cv::fillPoly(m_big, std::vector<std::vector<cv::Point>>{big}, cv::Scalar(ink), cv::LINE_8,
                     kShift);
    }
    void Ellipse(cv::Point2d centre, double rx, double ry, uint8_t ink) {
        cv::ellipse(m_big, At(centre), cv::Size(Length(rx), Length(ry)), 0, 0, 360, cv::Scalar(ink),
                    cv::FILLED, cv::LINE_8, kShift);
    }
    void Circle(cv::Point2d centre, double r, uint8_t ink) { Ellipse(centre, r, r, ink); }
    void Box(cv::Point2d topLeft, cv::Point2d bottomRight, uint8_t ink) {
        Polygon({topLeft, {bottomRight.x, topLeft.y}, bottomRight, {topLeft.x, bottomRight.y}},
                ink);
    }

    cv::Mat Picture() const {
        cv::Mat small;
        cv::resize(m_big, small, cv::Size(m_big.cols / kFactor, m_big.rows / kFactor), 0, 0,
                   cv::INTER_AREA);
        return small;
    }

  private:
    cv::Mat m_big;
};

// Sprinkles a picture with a little noise (a fixed seed, so tests repeat).
inline void AddNoise(cv::Mat& picture, unsigned seed, int amplitude = 12) {
    std::mt19937 rng(seed);
    for (int i = 0; i < int(picture.total() / 40); ++i) {
        uint8_t& v = picture.at<uint8_t>(int(rng() % unsigned(picture.rows)),
                                         int(rng() % unsigned(picture.cols)));
        v = uint8_t(
            std::clamp(int(v) + int(rng() % unsigned(2 * amplitude + 1)) - amplitude, 0, 255));
    }
}
