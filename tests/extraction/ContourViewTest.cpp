// Headless rules of the part contour view: mapping, zoom and magnifier, grid, tape measure,
// tool picking and tracking, status texts.
#include <gtest/gtest.h>

#include <cmath>

#include "ExtractionTestHost.h"
#include "extraction/OContourViewMapping.h"
#include "extraction/OContourViewText.h"
#include "extraction/OContourViewZoom.h"
#include "extraction/OToolTracking.h"

namespace {

constexpr int kWidth = 630;  // drawing area 600 x 400
constexpr int kHeight = 420;

// Every character 6 x 10 pixels.
class OFixedMeasurer : public OTextMeasurer {
  public:
    OPoint TextSize(std::string_view text) const override {
        return {static_cast<int32_t>(6 * text.size()), 10};
    }
};

}  // namespace

TEST(ContourViewMapping, UnitScaleAtZoomOneAndFullRange) {
    OContourViewState s;
    const OViewFrame f = PrepareContourView(s, kWidth, kHeight);
    EXPECT_EQ(s.fitMode, 2);
    EXPECT_EQ(s.windowRight, 600);
    EXPECT_EQ(s.windowTop, 400);
    EXPECT_EQ(f.scrollX, 0);
    EXPECT_EQ(f.scrollY, 4000);
    EXPECT_EQ(f.mapping.iDeviceSizeX(), 10000);
    EXPECT_EQ(f.mapping.iDeviceSizeY(), 10000);
    EXPECT_EQ(WindowToContour(s, f.mapping, {30, 0}), (OPoint{0, 399}));
    EXPECT_EQ(WindowToContour(s, f.mapping, {330, 200}), (OPoint{300, 199}));
    EXPECT_EQ(f.mapping.LogicalToDevice({0, 0}), (OPoint{30, 400}));
    EXPECT_EQ(f.mapping.LogicalToDevice({600, 400}), (OPoint{630, 0}));
}

TEST(ContourViewMapping, ZoomStretchesXAnisotropically) {
    OContourViewState s;
    s.zoom = 2.0;
    const OViewFrame f = PrepareContourView(s, kWidth, kHeight);
    EXPECT_EQ(s.fitMode, 1);
    EXPECT_EQ(s.windowRight, 300);
    EXPECT_EQ(f.mapping.iDeviceSizeX(), 20000);
    EXPECT_EQ(f.mapping.iDeviceSizeY(), 10000);
    EXPECT_EQ(WindowToContour(s, f.mapping, {330, 100}).x, 150);
}

TEST(ContourViewMapping, IsotropicFitUsesTheSmallerScale) {
    OContourViewState s;
    s.zoom = 0.9;
    const OViewFrame f = PrepareContourView(s, kWidth, kHeight);
    EXPECT_EQ(s.fitMode, 2);
    EXPECT_EQ(s.windowRight, 666);
    EXPECT_EQ(f.mapping.viewportExtX, 600);
    EXPECT_EQ(f.mapping.viewportExtY, -360);
}

TEST(ContourViewMapping, DegenerateClientAreaFallsBackToOnePixelPerUnit) {
    OContourViewState s;
    const OViewFrame f = PrepareContourView(s, 30, 200);
    EXPECT_TRUE(f.mapping.identity);
    EXPECT_EQ(WindowToContour(s, f.mapping, {40, 10}), (OPoint{10, s.windowTop - 11}));
}

TEST(ContourViewMapping, FreeFitWidensTheRange) {
    OContourViewState s;
    s.windowRight = 600;
    s.windowTop = 400;
    s.fitMode = 0;
    const OViewMapping m = ContourViewMapping(s, kWidth, kHeight);
    EXPECT_EQ(m.windowExtX, 600 + 600 * 40 / 631);
    EXPECT_EQ(m.windowExtY, 400 + 400 * 30 / 421);
}

TEST(ContourViewMapping, PendingMagnifierCentreShiftsTheRange) {
    OContourViewState s;
    s.magnifierOn = 1;
    s.magnifierPercent = 50;
    s.magnifierCentre = {530, 100};
    s.magnifierCentrePending = true;
    const OViewFrame f = PrepareContourView(s, kWidth, kHeight);
    EXPECT_EQ(s.windowLeft, 100);
    EXPECT_EQ(s.windowRight, 400);
    EXPECT_EQ(s.windowBottom, 49);
    EXPECT_EQ(s.windowTop, 249);
    EXPECT_TRUE(f.movePointer);
    EXPECT_EQ(f.pointer, (OPoint{330, 198}));
    EXPECT_FALSE(s.magnifierCentrePending);
    EXPECT_EQ(f.scrollY, 4000 - 49);

    // The range is clamped at 0; a wheel-set mode returns to 0.
    s.magnifierOn = 2;
    s.magnifierCentre = {31, 399};
    s.magnifierCentrePending = true;
    PrepareContourView(s, kWidth, kHeight);
    EXPECT_EQ(s.windowLeft, 0);
    EXPECT_EQ(s.windowBottom, 0);
    EXPECT_EQ(s.magnifierOn, 0);
}

TEST(ContourViewMapping, DrawingArea) {
    EXPECT_FALSE(bInDrawingArea({30, 10}, kWidth, kHeight));
    EXPECT_TRUE(bInDrawingArea({31, 10}, kWidth, kHeight));
    EXPECT_FALSE(bInDrawingArea({100, 400}, kWidth, kHeight));
    EXPECT_TRUE(bInDrawingArea({100, 399}, kWidth, kHeight));
    EXPECT_FALSE(bInDrawingArea({630, 10}, kWidth, kHeight));
}

TEST(ContourViewZoom, SliderSnapsToOneAndClamps) {
    OContourViewState s;
    int slider = 0;
    const int at085 = ContourViewZoom::SliderPosition(0.85);
    EXPECT_EQ(at085, 84);
    s.zoom = 2.0;
    EXPECT_TRUE(ContourViewZoom::bOnSlider(s, at085, slider));
    EXPECT_EQ(s.zoom, 1.0);
    EXPECT_EQ(slider, 100);
    EXPECT_TRUE(ContourViewZoom::bOnSlider(s, -400, slider));
    EXPECT_EQ(s.zoom, 0.1);
    EXPECT_EQ(slider, ContourViewZoom::kSliderMin);
    EXPECT_TRUE(ContourViewZoom::bOnSlider(s, 600, slider));
    EXPECT_EQ(s.zoom, 10.0);
    EXPECT_EQ(slider, ContourViewZoom::kSliderMax);
    s.zoom = 3.0;
    EXPECT_TRUE(ContourViewZoom::bOnSlider(s, 200, slider));
    EXPECT_DOUBLE_EQ(s.zoom, std::exp(1.0));
    EXPECT_EQ(slider, 200);
    // Closer than 0.01: nothing.
    s.zoom = std::exp(1.0) + 0.005;
    EXPECT_FALSE(ContourViewZoom::bOnSlider(s, 200, slider));
    EXPECT_EQ(s.zoom, std::exp(1.0) + 0.005);
}

TEST(ContourViewZoom, WheelStopsAtTheLimits) {
    OContourViewState s;
    s.magnifierPercent = 1000;
    EXPECT_FALSE(ContourViewZoom::bOnWheel(s, true, {100, 100}, kWidth, kHeight));
    EXPECT_EQ(s.magnifierOn, 0);
    EXPECT_TRUE(ContourViewZoom::bOnWheel(s, false, {100, 100}, kWidth, kHeight));
    EXPECT_EQ(s.magnifierPercent, 990);
    EXPECT_EQ(s.magnifierOn, 2);
    EXPECT_TRUE(s.magnifierCentrePending);
    s.magnifierPercent = 10;
    EXPECT_FALSE(ContourViewZoom::bOnWheel(s, false, {100, 100}, kWidth, kHeight));
    EXPECT_FALSE(ContourViewZoom::bOnWheel(s, true, {10, 100}, kWidth, kHeight));  // scale band
    s.magnifierOn = 1;
    EXPECT_TRUE(ContourViewZoom::bOnWheel(s, true, {100, 100}, kWidth, kHeight));
    EXPECT_EQ(s.magnifierOn, 1);
    EXPECT_EQ(s.magnifierPercent, 20);
}

TEST(ContourViewZoom, RubberBand) {
    OContourViewState s;
    s.magnifierOn = 1;
    // Five pixels or less: a click, -10 %.
    ContourViewZoom::RubberBandEnded(s, {100, 100}, {105, 95}, kWidth, kHeight);
    EXPECT_EQ(s.magnifierPercent, 90);
    EXPECT_EQ(s.magnifierCentre, (OPoint{100, 100}));
    // A band of 150 x 100 pixels: Q = 600 / 150 = 4, R = 400 / 100 = 4: 90 / 4 -> 30.
    ContourViewZoom::RubberBandEnded(s, {100, 100}, {250, 200}, kWidth, kHeight);
    EXPECT_EQ(s.magnifierPercent, 30);
    EXPECT_EQ(s.magnifierCentre, (OPoint{175, 150}));
    // A flat band: R counts 1, so min(Q, R) = 1 and the range stays.
    ContourViewZoom::RubberBandEnded(s, {100, 100}, {400, 100}, kWidth, kHeight);
    EXPECT_EQ(s.magnifierPercent, 30);
    EXPECT_EQ(s.magnifierCentre, (OPoint{250, 100}));
    // A band of 300 x 200: Q = 2, R = 2: 30 / 2 = 15 -> 20.
    ContourViewZoom::RubberBandEnded(s, {100, 100}, {400, 300}, kWidth, kHeight);
    EXPECT_EQ(s.magnifierPercent, 20);
    // Never below 10.
    ContourViewZoom::RubberBandEnded(s, {100, 100}, {120, 110}, kWidth, kHeight);
    EXPECT_EQ(s.magnifierPercent, 10);
}

TEST(ContourViewZoom, MagnifierToggleEndsTheTapeMeasure) {
    OContourViewState s;
    s.measuring = 1;
    ContourViewZoom::ToggleMagnifier(s);
    EXPECT_EQ(s.magnifierOn, 1);
    EXPECT_EQ(s.measuring, 0);
    ContourViewZoom::ToggleMagnifier(s);
    EXPECT_EQ(s.magnifierOn, 0);
    s.magnifierOn = 2;
    ContourViewZoom::ToggleMagnifier(s);
    EXPECT_EQ(s.magnifierOn, 1);
}

TEST(ContourViewText, GridStepThresholds) {
    using ContourViewText::GridStep;
    // x: q = 2 * w / 25
    EXPECT_EQ(GridStep(0, 0), 1);
    EXPECT_EQ(GridStep(25, 0), 2);    // q 2
    EXPECT_EQ(GridStep(62, 0), 4);    // q 4
    EXPECT_EQ(GridStep(75, 0), 10);   // q 6
    EXPECT_EQ(GridStep(187, 0), 10);  // q 14
    EXPECT_EQ(GridStep(200, 0), 20);  // q 16
    EXPECT_EQ(GridStep(487, 0), 20);  // q 38
    EXPECT_EQ(GridStep(500, 0), 40);  // q 40
    // y: 4 up to q 9
    EXPECT_EQ(GridStep(0, 124), 4);   // q 9
    EXPECT_EQ(GridStep(0, 125), 10);  // q 10
    // The larger of the two.
    EXPECT_EQ(GridStep(25, 125), 10);
    EXPECT_EQ(ContourViewText::GridStep(OFixedMeasurer()), 2);  // "00000": 30 x 10: q 2 and 0
}

TEST(ContourViewText, GridLinesAndLabels) {
    EXPECT_EQ(ContourViewText::GridLines(10, 160, 2), (std::vector<int>{50, 100, 150}));
    EXPECT_EQ(ContourViewText::GridLines(-30, 30, 1), (std::vector<int>{-25, 0, 25}));
    EXPECT_EQ(ContourViewText::ScaleLabel(-25), "-25");
}

TEST(ContourViewText, TapeMeasureLines) {
    using ContourViewText::TapeMeasureLines;
    auto l = TapeMeasureLines({10, 20}, {13, 24}, 1.0, 1.0);
    EXPECT_EQ(l[0], "X:10 Y:20 - X:13 Y:24");
    EXPECT_EQ(l[1], "Dx:  3 , Dy:  4");
    EXPECT_EQ(l[2], "D:5.00");
    EXPECT_EQ(l[3], "Alpha:53.13");
    l = TapeMeasureLines({10, 20}, {13, 24}, 2.0, 0.5);
    EXPECT_EQ(l[1], "Dx:  6 (2.000), Dy:  2 (0.500)");
    EXPECT_EQ(l[2], "D:6.32 (x:2.000, y:0.500)");
    EXPECT_EQ(l[3], "Alpha:53.13");  // from the unscaled differences
    EXPECT_EQ(TapeMeasureLines({5, 5}, {5, 5}, 1, 1)[3], "Alpha:-90");
    EXPECT_EQ(TapeMeasureLines({5, 5}, {5, 9}, 1, 1)[3], "Alpha:90");
    EXPECT_EQ(TapeMeasureLines({5, 5}, {0, 5}, 1, 1)[3], "Alpha:-180.00");
    EXPECT_EQ(TapeMeasureLines({5, 5}, {0, 10}, 1, 1)[3], "Alpha:135.00");
    EXPECT_EQ(TapeMeasureLines({5, 5}, {0, 0}, 1, 1)[3], "Alpha:-135.00");
}

TEST(ContourViewText, TapeMeasureBoxSitsBesideTheEndPoint) {
    const auto lines = ContourViewText::TapeMeasureLines({0, 0}, {10, 10}, 1, 1);
    const OFixedMeasurer m;
    const ORect right = ContourViewText::TapeMeasureBox(lines, {100, 50}, 10, m);
    EXPECT_EQ(right.left, 100);
    EXPECT_EQ(right.right - right.left, 6 * static_cast<int>(lines[0].size()) + 12);
    EXPECT_EQ(right.bottom - right.top, 40);
    const ORect left = ContourViewText::TapeMeasureBox(lines, {100, 50}, -10, m);
    EXPECT_EQ(left.right, 100);
}

TEST(ContourViewText, StatusPanes) {
    using ContourViewText::PartPanes;
    OType_Part part;
    part.SetRecordNo(3);
    part.SetOrientation(2);
    part.SetType(1);
    part.SetComment("first\r\nsecond\nthird");
    auto p = PartPanes(&part, true, 8, true, true);
    EXPECT_EQ(p.text[1], "Sample part 3");
    EXPECT_EQ(p.text[2], "Orient. 2, Type 1");
    EXPECT_EQ(p.text[3], "Comment: first second third");
    EXPECT_EQ(PartPanes(&part, false, 1, true, true).text[2], "Type 1");
    EXPECT_EQ(PartPanes(&part, false, 8, false, false).text[2], "");
    EXPECT_EQ(PartPanes(&part, false, 8, false, true).text[1], "Test part 3");
    part.SetType(0);
    EXPECT_EQ(PartPanes(&part, true, 8, true, true).text[2], "Orient. 2, Ignore part");
    EXPECT_EQ(PartPanes(&part, true, 1, true, true).text[2], "Ignore part");
    p = PartPanes(nullptr, false, 8, true, true);
    EXPECT_EQ(p.text[1], "Test part --");
    EXPECT_EQ(p.text[2], " -- ");
    EXPECT_EQ(p.text[3], "Comment: --");
    EXPECT_EQ(ContourViewText::PointerPane({12, -3}), "X:12 Y:-3");
    const auto widths = ContourViewText::PaneWidths(OFixedMeasurer());
    EXPECT_EQ(widths[0], 6 * 15);  // "X:10000 Y:10000"
    EXPECT_EQ(widths[3], 50);
}

namespace {
struct Picking : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OContourColumns columns;
    void SetUp() override {
        AddTool(ps, 1, 30, {0, 0, 99, 99});
        AddTool(ps, 1, 30, {10, 10, 19, 19});
        AddTool(ps, 8, 50, {});  // no region
    }
};
}  // namespace

TEST_F(Picking, SmallestRegionUnlessTheSelectedToolContainsThePoint) {
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {15, 15}, -1), 1);
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {15, 15}, 0), 0);
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {50, 50}, 1), 0);
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {150, 50}, -1), -1);
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {15, 15}, 2), 1);
}

TEST_F(Picking, FromTheEndPlacementFollowsThePart) {
    OType_ConfigTool& tool = AddTool(ps, 1, 30, {0, 0, 4, 9}, 2);
    const std::vector<int16_t> runs = Block(200, 0, 10);
    columns.Build(runs);
    EXPECT_EQ(ToolTracking::PlacedRegion(tool, columns), (ORect{195, 0, 199, 9}));
    EXPECT_EQ(ToolTracking::PickTool(ps, columns, {197, 5}, -1), 3);
}

TEST(ToolTrackingRule, MoveKeepsTheSizeExactly) {
    OContourViewState s;
    s.magnifierPercent = 50;  // two pixels per contour pixel
    PrepareContourView(s, kWidth, kHeight);
    const OViewMapping m = ContourViewMapping(s, kWidth, kHeight);
    const ORect region{10, 20, 29, 39};
    const ORect tracker = ToolTracking::TrackerRect(region, s, m);
    EXPECT_EQ(tracker, (ORect{50, 320, 90, 360}));
    // Moved by an odd number of pixels: the size in contour pixels stays.
    const ORect moved{tracker.left + 7, tracker.top - 3, tracker.right + 7, tracker.bottom - 3};
    const auto r = ToolTracking::TrackedRegion(region, tracker, moved, s, m);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->right - r->left, region.right - region.left);
    EXPECT_EQ(r->bottom - r->top, region.bottom - region.top);
    // 7 and 3 pixels are 3.5 and 1.5 contour pixels, truncated at each corner.
    EXPECT_EQ(r->left, 13);
    EXPECT_EQ(r->top, 22);
    EXPECT_FALSE(ToolTracking::TrackedRegion(region, tracker, tracker, s, m));
}

TEST(ToolTrackingRule, ResizeTakesTheTrackedRectangleOnePixelInside) {
    OContourViewState s;
    PrepareContourView(s, kWidth, kHeight);
    const OViewMapping m = ContourViewMapping(s, kWidth, kHeight);
    const ORect region{10, 20, 29, 39};
    const ORect tracker = ToolTracking::TrackerRect(region, s, m);
    EXPECT_EQ(tracker, (ORect{40, 360, 60, 380}));
    const auto r = ToolTracking::TrackedRegion(region, tracker, {40, 350, 70, 380}, s, m);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, (ORect{10, 20, 39, 49}));
}

TEST(ToolTrackingRule, CoordinatesBelowTheSixteenBitRangeWrap) {
    EXPECT_EQ(ToolTracking::WrapCoordinate(-32767, false), -32767);
    EXPECT_EQ(ToolTracking::WrapCoordinate(-32768, false), 32767);
    EXPECT_EQ(ToolTracking::WrapCoordinate(-32768, true), 32766);
    EXPECT_EQ(ToolTracking::WrapCoordinate(-40000, false), 25535);
}
