// The ray measurement and the image comparison against drawn shapes of known size and
// pictures with known differences.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <opencv2/imgproc.hpp>

#include "FineCanvas.h"
#include "tools/kvt/OKvtImageCompare.h"
#include "tools/kvt/OKvtRays.h"

namespace {

cv::Mat Ellipse(cv::Size picture, cv::Point2d centre, double rx, double ry, uint8_t ink,
                uint8_t ground) {
    OFineCanvas canvas(picture, ground);
    canvas.Ellipse(centre, rx, ry, ink);
    return canvas.Picture();
}

cv::Mat Texture(cv::Size size, unsigned seed) {
    cv::Mat m(size, CV_8U);
    std::mt19937 rng(seed);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            m.at<uint8_t>(y, x) = uint8_t(90 + (x * 7 + y * 3) % 23 + rng() % 5);
    return m;
}

}  // namespace

TEST(Rays, RadiusOfADiskFromEveryDirection) {
    const cv::Point2d centre(100.3, 80.7);
    const cv::Mat disk = Ellipse({200, 160}, centre, 40, 40, 30, 220);
    KvtRays::OSettings s;
    s.rays = 36;
    const auto r = KvtRays::Cast(disk, centre, s);
    ASSERT_EQ(r.rays.size(), 36u);
    EXPECT_EQ(r.hits, 36);
    EXPECT_NEAR(r.meanRadius, 40, 0.3);
    EXPECT_NEAR(r.minRadius, 40, 0.6);
    EXPECT_NEAR(r.maxRadius, 40, 0.6);
    for (const auto& ray : r.rays) {
        EXPECT_NEAR(std::hypot(ray.edge.x - centre.x, ray.edge.y - centre.y), ray.radius, 1e-9);
        EXPECT_GT(ray.contrast, 150);  // dark inside, bright outside
    }
    // Seen from the centre the edge goes from dark to bright.
    s.polarity = KvtRays::Polarity::BrightToDark;
    EXPECT_EQ(KvtRays::Cast(disk, centre, s).hits, 0);
    s.polarity = KvtRays::Polarity::DarkToBright;
    EXPECT_EQ(KvtRays::Cast(disk, centre, s).hits, 36);
    // An edge weaker than the contrast asked for is no edge.
    s.minContrast = 200;
    EXPECT_EQ(KvtRays::Cast(disk, centre, s).hits, 0);
}

TEST(Rays, EllipseGivesItsAxesAndTheDirectionOfTheSmallest) {
    const cv::Point2d centre(120, 90);
    const cv::Mat m = Ellipse({240, 180}, centre, 50, 30, 200, 40);
    KvtRays::OSettings s;
    s.rays = 72;
    const auto r = KvtRays::Cast(m, centre, s);
    EXPECT_EQ(r.hits, 72);
    EXPECT_NEAR(r.maxRadius, 50, 0.6);
    EXPECT_NEAR(r.minRadius, 30, 0.6);
    const double a = std::fmod(r.minAngle + 360, 180);
    EXPECT_NEAR(a, 90, 5.1);  // within a ray step: 85 and 95 degrees are only 0.07 px longer
}

TEST(Rays, InnerRadiusSkipsAHoleAndTheFanSpreadsTheRays) {
    const cv::Point2d centre(80, 80);
    OFineCanvas canvas({160, 160}, 220);
    canvas.Circle(centre, 50, 40);
    canvas.Circle(centre, 12, 220);
    const cv::Mat m = canvas.Picture();
    KvtRays::OSettings s;
    s.rays = 8;
    const auto near = KvtRays::Cast(m, centre, s);
    EXPECT_EQ(near.hits, 8);
    EXPECT_NEAR(near.meanRadius, 12, 0.3);
    s.innerRadius = 20;
    EXPECT_NEAR(KvtRays::Cast(m, centre, s).meanRadius, 50, 0.8);

    KvtRays::OSettings fan;
    fan.rays = 4;
    fan.startAngle = 0;
    fan.extent = 90;
    EXPECT_EQ(KvtRays::Directions(fan), (std::vector<double>{0, 30, 60, 90}));
    fan.extent = 360;
    EXPECT_EQ(KvtRays::Directions(fan), (std::vector<double>{0, 90, 180, 270}));
    fan.rays = 1;
    fan.startAngle = 45;
    EXPECT_EQ(KvtRays::Directions(fan), (std::vector<double>{45}));
    // Ray 90 goes up the screen: its end is on the top border.
    fan.rays = 1;
    fan.startAngle = 90;
    const auto up = KvtRays::Cast(m, centre, fan);
    EXPECT_NEAR(up.rays[0].end.y, 0, 1e-9);
    EXPECT_NEAR(up.rays[0].end.x, 80, 1e-9);
}

TEST(Rays, CentreOutsideOrNoPictureFindsNothing) {
    const cv::Mat m = Ellipse({100, 100}, {50, 50}, 20, 20, 0, 255);
    EXPECT_EQ(KvtRays::Cast(m, {-5, 50}, {}).hits, 0);
    EXPECT_EQ(KvtRays::Cast(m, {50, 150}, {}).hits, 0);
    EXPECT_TRUE(KvtRays::Cast(cv::Mat(), {0, 0}, {}).rays.empty());
    const auto flat = KvtRays::Cast(cv::Mat(50, 50, CV_8U, cv::Scalar(9)), {25, 25}, {});
    EXPECT_EQ(flat.hits, 0);
    EXPECT_EQ(flat.meanRadius, 0);
}

TEST(ImageCompare, AKnownPatchIsOneDefectOfItsSize) {
    const cv::Mat reference = Texture({80, 60}, 1);
    cv::Mat part = reference.clone();
    part(cv::Rect(30, 20, 10, 10)).setTo(cv::Scalar(230));
    KvtCompare::OSettings s;
    s.threshold = 40;
    s.minDefectArea = 10;
    const auto r = KvtCompare::Compare(part, reference, s);
    ASSERT_TRUE(r.compared);
    EXPECT_EQ(r.defects, 1);
    EXPECT_EQ(r.largestDefect, 100);
    EXPECT_NEAR(r.differingShare, 100.0 * 100 / (80 * 60), 1e-9);
    // The mean difference is the patch's difference spread over the whole picture.
    cv::Mat difference;
    cv::absdiff(part, reference, difference);
    EXPECT_NEAR(r.meanDifference, cv::sum(difference)[0] / (80 * 60), 1e-9);
    ASSERT_EQ(r.defectBoxes.size(), 1u);
    EXPECT_EQ(r.defectBoxes[0], cv::Rect(30, 20, 10, 10));
    // Too small to count, but still differing pixels.
    s.minDefectArea = 101;
    const auto small = KvtCompare::Compare(part, reference, s);
    EXPECT_EQ(small.defects, 0);
    EXPECT_GT(small.differingShare, 0);
    // The same picture: nothing.
    const auto same = KvtCompare::Compare(reference, reference, s);
    EXPECT_EQ(same.meanDifference, 0);
    EXPECT_EQ(same.defects, 0);
}

TEST(ImageCompare, TwoDefectsAndAThresholdTheyDoNotReach) {
    const cv::Mat reference(50, 50, CV_8U, cv::Scalar(100));
    cv::Mat part = reference.clone();
    part(cv::Rect(5, 5, 4, 5)).setTo(cv::Scalar(160));
    part(cv::Rect(30, 30, 6, 6)).setTo(cv::Scalar(20));
    KvtCompare::OSettings s;
    s.minDefectArea = 1;
    const auto r = KvtCompare::Compare(part, reference, s);
    EXPECT_EQ(r.defects, 2);
    EXPECT_EQ(r.largestDefect, 36);
    s.threshold = 70;  // only the darker one differs by more
    EXPECT_EQ(KvtCompare::Compare(part, reference, s).defects, 1);
}

TEST(ImageCompare, ToleranceFindsAShiftedPart) {
    const cv::Mat reference = Texture({60, 40}, 2);
    // The part lies 2 pixels right of and 1 pixel above where the reference was taught.
    cv::Mat sample(40 + 2 * 3, 60 + 2 * 3, CV_8U, cv::Scalar(100));
    reference.copyTo(sample(cv::Rect(3 + 2, 3 - 1, 60, 40)));
    KvtCompare::OSettings s;
    s.tolerance = 3;
    const auto r = KvtCompare::Compare(sample, reference, s);
    ASSERT_TRUE(r.compared);
    EXPECT_EQ(r.shift, cv::Point(2, -1));
    EXPECT_EQ(r.meanDifference, 0);
    EXPECT_EQ(r.defects, 0);
    // A flat picture stays in the middle.
    const cv::Mat flat(20, 20, CV_8U, cv::Scalar(50));
    EXPECT_EQ(KvtCompare::Compare(cv::Mat(26, 26, CV_8U, cv::Scalar(50)), flat, s).shift,
              cv::Point(0, 0));
    // Sizes that do not fit the tolerance are not compared.
    EXPECT_FALSE(KvtCompare::Compare(reference, reference, s).compared);
    EXPECT_FALSE(KvtCompare::Compare(cv::Mat(), reference, {}).compared);
}
