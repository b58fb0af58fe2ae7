// The pattern matcher against pictures drawn with known positions, angles and scales.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include <opencv2/imgproc.hpp>

#include "FineCanvas.h"
#include "tools/patternmatching/OPatternMatcher.h"

namespace {

constexpr double kDegree = CV_PI / 180.0;

// A shape without symmetry: a plate with a notch, a hole and a tab, drawn around (cx, cy),
// turned by `angle` degrees (counter-clockwise on the screen) and scaled.
void DrawShape(OFineCanvas& canvas, double cx, double cy, double angle, double scale, uint8_t ink) {
    const std::vector<cv::Point2d> outline = {{-30, -20}, {25, -20}, {25, -5},  {35, -5},
                                              {35, 5},    {25, 5},   {25, 20},  {-10, 20},
                                              {-10, 8},   {-22, 8},  {-22, 20}, {-30, 20}};
    const double c = std::cos(angle * kDegree), s = std::sin(angle * kDegree);
    auto place = [&](cv::Point2d p) {
        return cv::Point2d(cx + scale * (p.x * c + p.y * s), cy + scale * (-p.x * s + p.y * c));
    };
    std::vector<cv::Point2d> polygon;
    for (const auto& p : outline)
        polygon.push_back(place(p));
    canvas.Polygon(polygon, ink);
    canvas.Circle(place({8, 0}), 6 * scale, uint8_t(255 - ink / 2));
}

// Light ground with a little noise, shapes drawn by `draw`.
template <class Draw>
cv::Mat Scene(int w, int h, unsigned seed, Draw draw, uint8_t ground = 200) {
    OFineCanvas canvas({w, h}, ground);
    draw(canvas);
    cv::Mat picture = canvas.Picture();
    AddNoise(picture, seed);
    return picture;
}

cv::Mat Ground(int w, int h, unsigned seed) {
    return Scene(w, h, seed, [](OFineCanvas&) {});
}

OPatternMatching_V2_Template Taught(const cv::Mat& grey) {
    OPatternMatching_V2_Template t;
    t.image = OType_Image(grey.cols, grey.rows, 1);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x)
            t.image.SetPixel(x, y, 0, grey.at<uint8_t>(y, x));
    return t;
}

// The shape upright in a template of 91 x 61 pixels, centred on pixel (45, 30).
OPatternMatching_V2_Template ShapeTemplate() {
    return Taught(Scene(91, 61, 1, [](OFineCanvas& c) { DrawShape(c, 45, 30, 0, 1, 40); }));
}

OPatternMatching_V2_SearchParameter Settings(double from, double extent) {
    OPatternMatching_V2_SearchParameter s;
    s.startAngle = from;
    s.angleExtent = extent;
    return s;
}

OPatternMatching_V2_Template WithRange(OPatternMatching_V2_Template t, double from, double extent) {
    t.startAngle = from;
    t.angleExtent = extent;
    return t;
}

}  // namespace

TEST(PatternMatcher, FindsAnUprightPatternAtItsPlace) {
    const cv::Mat search =
        Scene(400, 300, 2, [](OFineCanvas& c) { DrawShape(c, 170.25, 120.5, 0, 1, 40); });
    const auto matches = PatternMatcher::Find(search, ShapeTemplate(), Settings(-20, 40));
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_NEAR(matches[0].x, 170.25, 0.35);
    EXPECT_NEAR(matches[0].y, 120.5, 0.35);
    EXPECT_NEAR(matches[0].angle, 0, 0.5);
    EXPECT_GT(matches[0].score, 0.9);
    EXPECT_FALSE(matches[0].inverted);
}

TEST(PatternMatcher, FindsTurnedPatternsWithinTheAngleRange) {
    for (double angle : {-17.0, -6.5, 3.0, 12.4, 19.0}) {
        const cv::Mat search =
            Scene(360, 280, 3, [&](OFineCanvas& c) { DrawShape(c, 200, 140, angle, 1, 40); });
        const auto matches =
            PatternMatcher::Find(search, WithRange(ShapeTemplate(), -20, 40), Settings(-20, 40));
        ASSERT_EQ(matches.size(), 1u) << angle;
        EXPECT_NEAR(matches[0].angle, angle, 0.6) << angle;
        EXPECT_NEAR(matches[0].x, 200, 0.6) << angle;
        EXPECT_NEAR(matches[0].y, 140, 0.6) << angle;
        EXPECT_GT(matches[0].score, 0.85) << angle;
    }
    // Turned far outside the range, the pattern is not found.
    const cv::Mat search =
        Scene(360, 280, 4, [](OFineCanvas& c) { DrawShape(c, 200, 140, 75, 1, 40); });
    EXPECT_TRUE(PatternMatcher::Find(search, WithRange(ShapeTemplate(), -20, 40), Settings(-20, 40))
                    .empty());
    // A range of its own finds it.
    const auto wide =
        PatternMatcher::Find(search, WithRange(ShapeTemplate(), 60, 30), Settings(60, 30));
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_NEAR(wide[0].angle, 75, 0.6);
}

TEST(PatternMatcher, ScaledPatternsNeedAScaleTolerance) {
    const cv::Mat search =
        Scene(400, 300, 5, [](OFineCanvas& c) { DrawShape(c, 210, 150, 0, 1.12, 40); });
    auto t = WithRange(ShapeTemplate(), -5, 10);
    auto settings = Settings(-5, 10);
    settings.option1 = 20;  // 20 % around the taught scale
    t.params[OPatternMatching_V2_Template::kScaleStepPercent] = 4;
    const auto matches = PatternMatcher::Find(search, t, settings);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_NEAR(matches[0].scale, 1.12, 0.03);
    EXPECT_NEAR(matches[0].x, 210, 0.8);
    settings.option1 = 0;
    settings.minScore = 0.9;
    const auto fixed = PatternMatcher::Find(search, t, settings);
    EXPECT_TRUE(fixed.empty() || fixed[0].score < matches[0].score);
}

TEST(PatternMatcher, SeveralMatchesBestFirstWithoutOverlaps) {
    const cv::Mat search = Scene(500, 320, 6, [](OFineCanvas& c) {
        DrawShape(c, 100, 90, 0, 1, 40);
        DrawShape(c, 300, 100, 5, 1, 70);  // weaker contrast
        DrawShape(c, 200, 240, -8, 1, 40);
    });
    auto t = WithRange(ShapeTemplate(), -20, 40);
    auto settings = Settings(-20, 40);
    settings.numMatches = 0;  // all
    const auto all = PatternMatcher::Find(search, t, settings);
    ASSERT_EQ(all.size(), 3u);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(all[i - 1].score, all[i].score);
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_GT(std::hypot(all[i].x - all[j].x, all[i].y - all[j].y), 60);
    settings.numMatches = 2;
    EXPECT_EQ(PatternMatcher::Find(search, t, settings).size(), 2u);
}

TEST(PatternMatcher, InvertedContrastOnlyWhenAllowed) {
    // A light shape on a dark ground.
    const cv::Mat search = Scene(
        340, 260, 12, [](OFineCanvas& c) { DrawShape(c, 170, 130, 4, 1, 215); }, 40);
    auto t = WithRange(ShapeTemplate(), -10, 20);
    auto settings = Settings(-10, 20);
    EXPECT_TRUE(PatternMatcher::Find(search, t, settings).empty());
    settings.option2 = 1;
    const auto matches = PatternMatcher::Find(search, t, settings);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_TRUE(matches[0].inverted);
    EXPECT_NEAR(matches[0].angle, 4, 0.6);
}

TEST(PatternMatcher, ReferencePointTurnsWithThePattern) {
    const cv::Mat search =
        Scene(360, 280, 7, [](OFineCanvas& c) { DrawShape(c, 180, 140, 10, 1, 40); });
    auto t = WithRange(ShapeTemplate(), 0, 20);
    // The tab's tip (template pixel (80, 30)) is 35 pixels right of the centre (45, 30).
    t.params[OPatternMatching_V2_Template::kReferenceX] = 80;
    t.params[OPatternMatching_V2_Template::kReferenceY] = 30;
    const auto matches = PatternMatcher::Find(search, t, Settings(0, 20));
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_NEAR(matches[0].x, 180 + 35 * std::cos(10 * kDegree), 0.8);
    EXPECT_NEAR(matches[0].y, 140 - 35 * std::sin(10 * kDegree), 0.8);
}

TEST(PatternMatcher, NothingToFindAndDegenerateInput) {
    const auto t = ShapeTemplate();
    EXPECT_TRUE(PatternMatcher::Find(Ground(300, 200, 8), t, Settings(-20, 40)).empty());
    EXPECT_TRUE(PatternMatcher::Find(Ground(60, 40, 9), t, Settings(-20, 40)).empty());
    EXPECT_TRUE(PatternMatcher::Find(cv::Mat(), t, Settings(-20, 40)).empty());
    EXPECT_TRUE(
        PatternMatcher::Find(Ground(300, 200, 8), OPatternMatching_V2_Template(), Settings(-20, 40))
            .empty());
    OPatternMatching_V2_Template flat = Taught(cv::Mat(30, 30, CV_8U, cv::Scalar(90)));
    EXPECT_FALSE(PatternMatcher::bHasContrast(PatternMatcher::TemplateGrey(flat), 30));
    EXPECT_TRUE(PatternMatcher::Find(Ground(300, 200, 8), flat, Settings(-20, 40)).empty());
    EXPECT_TRUE(PatternMatcher::bHasContrast(PatternMatcher::TemplateGrey(t), 30));
}

TEST(PatternMatcher, FindAnyTellsWhichTemplateMatched) {
    auto bar = [](OFineCanvas& c, cv::Point2d at) {
        c.Circle(at, 20, 40);
        c.Box(at + cv::Point2d(-4, -20), at + cv::Point2d(4, 20), 230);
    };
    const cv::Mat circle = Scene(61, 61, 10, [&](OFineCanvas& c) { bar(c, {30, 30}); });
    OPatternMatching_V2_TemplateArray templates;
    templates.Add(WithRange(ShapeTemplate(), -10, 20).CreateCopy());
    templates.Add(WithRange(Taught(circle), -10, 20).CreateCopy());
    const cv::Mat search = Scene(300, 240, 11, [&](OFineCanvas& c) { bar(c, {150, 120}); });
    const auto matches = PatternMatcher::FindAny(search, templates, Settings(-10, 20));
    ASSERT_FALSE(matches.empty());
    EXPECT_EQ(matches[0].templateIndex, 1);
    EXPECT_NEAR(matches[0].x, 150, 0.6);
}

TEST(PatternMatcher, OverlapOfTurnedBoxes) {
    const cv::Size2d size(40, 20);
    const OPatternMatch a{100, 100, 0, 1, 1};
    EXPECT_NEAR(PatternMatcher::Overlap(a, a, size), 1.0, 1e-6);
    EXPECT_NEAR(PatternMatcher::Overlap(a, {120, 100, 0, 1, 1}, size), 0.5, 1e-3);
    EXPECT_EQ(PatternMatcher::Overlap(a, {200, 100, 0, 1, 1}, size), 0.0);
    // A box turned by 90 degrees over an upright one: 20 x 20 of 800.
    EXPECT_NEAR(PatternMatcher::Overlap(a, {100, 100, 90, 1, 1}, size), 0.5, 1e-3);
}
