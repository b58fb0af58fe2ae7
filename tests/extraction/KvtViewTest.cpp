// The family-2 part contour view without a window: the pointer texts with hue and colour,
// the tape measure with and without world coordinates, the mapping of image pixels onto the
// window and the shape tracker's moves, resizes and turns with their limits.
#include <gtest/gtest.h>

#include <cmath>

#include "extraction/OKvtView.h"
#include "extraction/OKvtViewScene.h"

namespace {

using KvtShapeTracker::Dragged;
using KvtShapeTracker::Grip;
using KvtShapeTracker::GripAt;

TEST(KvtViewText, HueOnItsScaleOf192Steps) {
    EXPECT_EQ(KvtViewText::iHue(255, 0, 0), 32) << "pure red: the low byte is the maximum";
    EXPECT_EQ(KvtViewText::iHue(0, 255, 0), 96);
    EXPECT_EQ(KvtViewText::iHue(0, 0, 255), 160);
    EXPECT_EQ(KvtViewText::iHue(7, 7, 7), 0) << "grey has no hue";
    // Between the primaries, with integer division: yellow lies half way red to green.
    EXPECT_EQ(KvtViewText::iHue(255, 255, 0), 32 + 32);
    EXPECT_EQ(KvtViewText::iHue(255, 0, 255), 32 - 32);
    EXPECT_EQ(KvtViewText::iHue(0, 255, 255), 96 + 32);
    EXPECT_EQ(KvtViewText::iHue(200, 100, 150), 32 + 32 * (100 - 150) / 100);
}

TEST(KvtViewText, PointerPaneGrowsWithWhatThePictureHas) {
    KvtViewText::OPointerInfo info;
    info.pixel = {12, 34};
    EXPECT_EQ(KvtViewText::PointerPane(info), "X:12 Y:34") << "no picture";
    info.layers = 1;
    info.inside = true;
    info.grey = 200;
    EXPECT_EQ(KvtViewText::PointerPane(info), "X:12 Y:34  Brightness:200");
    info.layers = 3;
    info.low = 255;
    info.grey = 76;
    EXPECT_EQ(KvtViewText::PointerPane(info), "X:12 Y:34  Brightness:76  Hue:32  RGB:255,0,0");
    info.inside = false;
    EXPECT_EQ(KvtViewText::PointerPane(info), "X:12 Y:34") << "outside the picture";
    info.inside = true;
    info.layers = 1;
    info.world = true;
    info.xw = -1.5;
    info.yw = 20.126;
    EXPECT_EQ(KvtViewText::PointerPane(info), "Xw:-1.50 Yw:20.13  Brightness:76");
}

TEST(KvtViewText, TapeMeasureHasFourPixelLinesAndFourWorldLinesWithTheTransformation) {
    const auto plain = KvtViewText::TapeMeasureLines({10, 20}, {13, 24}, 1.0, 1.0, {}, {});
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0], "[Pixel] X:10 Y:20 - X:13 Y:24");
    EXPECT_EQ(plain[1], "[Pixel] Dx:  3 , Dy:  4");
    EXPECT_EQ(plain[2], "[Pixel] D:5.00");
    EXPECT_EQ(plain[3], "[Pixel] Alpha:53.13");

    const auto world = KvtViewText::TapeMeasureLines({10, 20}, {10, 30}, 1.0, 1.0,
                                                     OPointD{1.0, 2.0}, OPointD{1.0, -3.0});
    ASSERT_EQ(world.size(), 8u);
    EXPECT_EQ(world[3], "[Pixel] Alpha:90");
    EXPECT_EQ(world[4], "[W] X:1.00 Y:2.00 - X:1.00 Y:-3.00");
    EXPECT_EQ(world[5], "[W] Dx:0.00 , Dy:-5.00");
    EXPECT_EQ(world[6], "[W] D:5.00");
    EXPECT_EQ(world[7], "[W] Alpha:-90") << "a vertical world line";

    const auto left =
        KvtViewText::TapeMeasureLines({0, 0}, {-1, -1}, 1.0, 1.0, OPointD{0, 0}, OPointD{-2, 2});
    EXPECT_EQ(left[3], "[Pixel] Alpha:-135.00");
    EXPECT_EQ(left[7], "[W] Alpha:135.00");
    // Only one world end (the other outside the calibration) gives no world lines.
    EXPECT_EQ(KvtViewText::TapeMeasureLines({0, 0}, {1, 1}, 1, 1, OPointD{0, 0}, {}).size(), 4u);
}

TEST(KvtViewMapping, ThePictureFitsTheDrawingAreaAndPixelsRoundTrip) {
    OKvtViewState state;
    state.rangeLeft = -0.5;
    state.rangeTop = -0.5;
    state.rangeWidth = 1280;
    state.rangeHeight = 1024;
    // 670 × 532 client: 640 × 512 drawing area, half scale.
    const OKvtViewMapping m = OKvtViewMapping::Of(state, 670, 532);
    EXPECT_DOUBLE_EQ(m.scale, 0.5);
    const OPointD corner = m.ToWindow({-0.5, -0.5});
    EXPECT_DOUBLE_EQ(corner.x, KvtView::kScaleBandLeft);
    EXPECT_DOUBLE_EQ(corner.y, 0);
    const OPointD far = m.ToWindow({1279.5, 1023.5});
    EXPECT_DOUBLE_EQ(far.x, 670);
    EXPECT_DOUBLE_EQ(far.y, 512);
    for (OPoint pixel : {OPoint{0, 0}, OPoint{640, 512}, OPoint{1279, 1023}}) {
        const OPointD w = m.ToWindow({double(pixel.x), double(pixel.y)});
        const OPoint back = m.PixelAt({int32_t(std::floor(w.x)), int32_t(std::floor(w.y))});
        EXPECT_NEAR(back.x, pixel.x, 1);
        EXPECT_NEAR(back.y, pixel.y, 1);
    }
    // Magnified four times: one image pixel covers four window pixels.
    state.rangeWidth = 160;
    state.rangeHeight = 128;
    const OKvtViewMapping zoomed = OKvtViewMapping::Of(state, 670, 532);
    EXPECT_EQ(zoomed.PixelAt({30, 0}), (OPoint{0, 0}));
    EXPECT_EQ(zoomed.PixelAt({31, 1}), (OPoint{0, 0}));
    EXPECT_EQ(zoomed.PixelAt({34, 4}), (OPoint{1, 1}));
    EXPECT_TRUE(bInKvtDrawingArea({30, 0}, 670, 532));
    EXPECT_FALSE(bInKvtDrawingArea({29, 0}, 670, 532));
    EXPECT_FALSE(bInKvtDrawingArea({100, 512}, 670, 532)) << "the bottom band";
}

TEST(KvtViewScene, ImageMappingAgreesWithTheViewMappingAndLabelStepsAreRound) {
    OKvtViewState state;
    state.rangeWidth = 1280;
    state.rangeHeight = 1024;
    const OKvtViewMapping m = OKvtViewMapping::Of(state, 670, 532);
    OContourSceneArea area;
    area.width = 670;
    area.height = 532;
    const OMapping mapping = KvtViewScene::ImageMapping(m, area);
    for (OPoint p : {OPoint{0, 0}, OPoint{100, 900}, OPoint{1279, 1023}}) {
        const OPoint base = mapping.ToBase(p);
        const OPointD exact = m.ToWindow({double(p.x), double(p.y)});
        EXPECT_NEAR(base.x, exact.x, 1.0);
        EXPECT_NEAR(base.y, exact.y, 1.0);
    }
    EXPECT_EQ(KvtViewScene::LabelStep(0.5, 30), 100) << "38 window pixels need 76 image pixels";
    EXPECT_EQ(KvtViewScene::LabelStep(4.0, 30), 10);
    EXPECT_EQ(KvtViewScene::LabelStep(0.09, 30), 500);
}

// A region in a 640 × 480 picture shown at scale 1 from pixel 0.
struct TrackerFixture : ::testing::Test {
    OKvtRegion region{200, 150, 100, 60, 0};
    OKvtViewMapping mapping;
    TrackerFixture() {
        mapping.scale = 1;
        mapping.offsetX = 0;
        mapping.rangeLeft = 0;
        mapping.rangeTop = 0;
    }
};

TEST_F(TrackerFixture, GripsFollowTheTurnedRegion) {
    EXPECT_EQ(GripAt(region, mapping, {200, 150}), Grip::Move);
    EXPECT_EQ(GripAt(region, mapping, {150, 150}), Grip::Left);
    EXPECT_EQ(GripAt(region, mapping, {249, 179}), Grip::BottomRight);
    EXPECT_EQ(GripAt(region, mapping, {400, 400}), Grip::None);
    const OPointD knob = KvtShapeTracker::TurnKnob(region, mapping);
    EXPECT_NEAR(knob.x, 200, 1e-9);
    EXPECT_NEAR(knob.y, 120 - 0.5 - KvtShapeTracker::kKnobPixels + 0.5, 1.0);
    EXPECT_EQ(GripAt(region, mapping, knob), Grip::Turn);
    // Turned by 90°: the former top edge now faces left.
    region.angle = 90;
    EXPECT_EQ(GripAt(region, mapping, {200 - 29.5, 150}), Grip::Top);
    EXPECT_EQ(GripAt(region, mapping, {200, 150 - 49.5}), Grip::Right);
}

TEST_F(TrackerFixture, MovingResizingAndTurning) {
    const auto moved = Dragged(region, Grip::Move, {200, 150}, {230, 140}, 640, 480);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->centreX, 230);
    EXPECT_EQ(moved->centreY, 140);
    EXPECT_EQ(moved->width, 100);

    // The right edge follows the pointer, the left edge stays.
    const auto wider = Dragged(region, Grip::Right, {250, 150}, {270, 170}, 640, 480);
    ASSERT_TRUE(wider);
    EXPECT_EQ(wider->width, 120);
    EXPECT_EQ(wider->height, 60);
    EXPECT_EQ(wider->centreX - wider->width / 2, region.centreX - region.width / 2);

    // Turning about the centre: the pointer swept 30° counter-clockwise.
    const double r = 80;
    const double a = 30 / KvtGeometry::kDegreesPerRadian;
    const auto turned = Dragged(region, Grip::Turn, {200, 150 - r},
                                {200 - r * std::sin(a), 150 - r * std::cos(a)}, 640, 480);
    ASSERT_TRUE(turned);
    EXPECT_NEAR(turned->angle, 30, 1e-9);
    EXPECT_EQ(turned->centreX, 200);
    EXPECT_EQ(turned->width, 100);

    // A turned region resizes along its own axes.
    OKvtRegion tilted = region;
    tilted.angle = 90;
    const auto taller = Dragged(tilted, Grip::Right, {200, 100}, {200, 90}, 640, 480);
    ASSERT_TRUE(taller);
    EXPECT_NEAR(taller->width, 110, 1e-9) << "u points up when turned by 90°";
    EXPECT_NEAR(taller->centreY, 145, 1e-9);
}

TEST_F(TrackerFixture, BadDragsAreClampedOrRefused) {
    // Dragging an edge across the opposite one leaves one pixel, never a negative size.
    const auto thin = Dragged(region, Grip::Left, {150, 150}, {400, 150}, 640, 480);
    ASSERT_TRUE(thin);
    EXPECT_EQ(thin->width, 1);
    EXPECT_EQ(thin->centreX - thin->width / 2, region.centreX + region.width / 2 - 1)
        << "the right edge stays";
    // Leaving the picture is refused.
    EXPECT_FALSE(Dragged(region, Grip::Move, {200, 150}, {-100, 150}, 640, 480));
    EXPECT_FALSE(Dragged(region, Grip::Bottom, {200, 179}, {200, 600}, 640, 480));
    // Without a picture there is no border to keep to.
    EXPECT_TRUE(Dragged(region, Grip::Move, {200, 150}, {-100, 150}, 0, 0));
    // Turns beyond ±360° are refused; up to there they are kept.
    OKvtRegion turned = region;
    turned.angle = 350;
    const auto past = Dragged(turned, Grip::Turn, {200, 70}, {170, 70}, 0, 0);
    EXPECT_FALSE(past) << "350° plus a further turn";
    turned.angle = -350;
    EXPECT_FALSE(Dragged(turned, Grip::Turn, {200, 70}, {230, 70}, 0, 0));
    EXPECT_FALSE(Dragged(region, Grip::None, {0, 0}, {1, 1}, 640, 480));
}

}  // namespace
