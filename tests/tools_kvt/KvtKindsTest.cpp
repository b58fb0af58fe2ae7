// Each family-2 image tool against a plain computation on a synthetic image: known areas,
// blob counts, brightness, colours, edge positions, circles, distances, and the tools that
// compute from other features or from the part's device words.
#include <gtest/gtest.h>

#include <cmath>

#include "KvtTestSupport.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "tools/kvt/OKvtEdges.h"
#include "tools/kvt/OType_ConfigTool_KVT_BLOBTOOL.h"
#include "tools/kvt/OType_ConfigTool_KVT_COMBINATION.h"
#include "tools/kvt/OType_ConfigTool_KVT_COORDTRANS.h"

using namespace KvtTest;

namespace {

constexpr int kW = 320, kH = 240;
constexpr int kBright = 210, kDark = 40;

struct OFixture {
    ZRINFO info = CameraInfo();
    std::unique_ptr<OType_ZRPartSet> set = PartSet(info);

    OType_ConfigTool_KVT& Tool(int kind, int subKind, const ORect& region) {
        OType_ConfigTool_KVT& t = AddTool(*set, kind, subKind);
        EXPECT_TRUE(t.bSetShape(OKvtRegion::FromRect(region)));
        return t;
    }
    void Set(OType_ConfigTool& tool, const OPropertyValues& values) {
        std::string error;
        ASSERT_TRUE(tool.bApplyProperties(values, {set.get(), &info}, error)) << error;
    }
    OType_FeatureArray Run(OType_Image image) {
        OType_Part part = PartWithImage(std::move(image));
        return Extract(*set, part);
    }
};

bool bInBox(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// Dark rectangles on a bright background.
OType_Image Boxes(const std::vector<ORect>& boxes) {
    return GreyImage(kW, kH, [&](int x, int y) {
        for (const ORect& b : boxes)
            if (bInBox(x, y, b.left, b.top, b.right, b.bottom)) return kDark;
        return kBright;
    });
}

double Value(const OType_FeatureArray& f, int i) {
    EXPECT_TRUE(f.At(i).valid) << "feature " << i;
    return f.At(i).value;
}

}  // namespace

// --- ROI ---

TEST(KvtRoi, CountsTheMaterialOfItsBrightnessBand) {
    OFixture fx;
    OType_ConfigTool_KVT& roi = fx.Tool(KvtToolKind::kROI, -1, {10, 10, 109, 59});
    const OType_Image image = Boxes({{50, 20, 69, 29}, {100, 50, 139, 99}});
    // Box 1 lies wholly inside (20 x 10); of box 2 the columns 100..109, rows 50..59.
    OType_FeatureArray f = fx.Run(image);
    EXPECT_DOUBLE_EQ(Value(f, 0), 200 + 100);
    EXPECT_DOUBLE_EQ(Value(f, 1), 100.0 * 300 / 5000);
    fx.Set(roi, {{"material.outside", int64_t{1}}});
    EXPECT_DOUBLE_EQ(Value(fx.Run(image), 0), 5000 - 300);
}

TEST(KvtRoi, ATurnedRegionCountsTheTurnedArea) {
    OFixture fx;
    OType_ConfigTool_KVT& roi = fx.Tool(KvtToolKind::kROI, -1, {0, 0, 9, 9});
    roi.bSetShape({159.5, 120, 60, 20, 90});
    // Dark everywhere left of x = 160: the turned region (20 wide across x) is half dark.
    const OType_FeatureArray f =
        fx.Run(GreyImage(kW, kH, [](int x, int) { return x < 160 ? kDark : kBright; }));
    EXPECT_DOUBLE_EQ(Value(f, 0), 600);
}

TEST(KvtRoi, WorksOnTheContourImage) {
    OFixture fx;
    OType_ConfigTool_KVT& roi = fx.Tool(KvtToolKind::kROI, -1, {0, 0, 3, 511});
    roi.SetImageType(0);
    OType_Part part;
    // Four columns of 10, 0, 5 and 30 material rows.
    part.SetConturData({0, -10, 1, -1, 100, -105, 200, -230});
    EXPECT_DOUBLE_EQ(Extract(*fx.set, part).At(0).value, 45);
}

// --- blob finders ---

TEST(KvtBlob, CountsAndMeasuresTheBlobsInTheSizeRange) {
    OFixture fx;
    OType_ConfigTool_KVT& blob = fx.Tool(KvtToolKind::kBlob, -1, {0, 0, kW - 1, kH - 1});
    const OType_Image image =
        Boxes({{10, 10, 19, 19}, {40, 10, 69, 29}, {100, 100, 101, 101}, {200, 50, 249, 149}});
    fx.Set(blob, {{"blob.minarea", int64_t{5}}});
    OType_FeatureArray f = fx.Run(image);
    EXPECT_DOUBLE_EQ(Value(f, 0), 3) << "the 2 x 2 box is too small";
    EXPECT_DOUBLE_EQ(Value(f, 1), 100 + 600 + 5000);
    EXPECT_DOUBLE_EQ(Value(f, 2), 5000);
    EXPECT_DOUBLE_EQ(Value(f, 3), 5700.0 / 3);
    fx.Set(blob, {{"blob.maxarea", int64_t{1000}}});
    EXPECT_DOUBLE_EQ(Value(fx.Run(image), 0), 2);
}

TEST(KvtBlob, NoBlobLeavesTheAreasInvalidAndBorderBlobsCanBeLeftOut) {
    OFixture fx;
    OType_ConfigTool_KVT& blob = fx.Tool(KvtToolKind::kBlob, -1, {20, 20, 119, 119});
    OType_FeatureArray f = fx.Run(Boxes({}));
    EXPECT_DOUBLE_EQ(Value(f, 0), 0);
    EXPECT_FALSE(f.At(1).valid);
    EXPECT_FALSE(f.At(3).valid);
    const OType_Image image = Boxes({{10, 50, 29, 59}, {60, 60, 69, 69}});
    EXPECT_DOUBLE_EQ(Value(fx.Run(image), 0), 2);
    fx.Set(blob, {{"blob.excludeborder", true}});
    EXPECT_DOUBLE_EQ(Value(fx.Run(image), 0), 1);
}

TEST(KvtBlobPlus, MeasuresTheLargestBlob) {
    OFixture fx;
    fx.Tool(KvtToolKind::kBlobPlus, -1, {0, 0, kW - 1, kH - 1});
    // A 60 x 20 bar turned by 30 degrees (counter-clockwise on the screen) around (150, 100).
    const double a = 30 / 57.29577951308232;
    const OType_Image image = GreyImage(kW, kH, [&](int x, int y) {
        const double dx = x - 150, dy = y - 100;
        const double u = dx * std::cos(a) - dy * std::sin(a);  // along the bar
        const double v = dx * std::sin(a) + dy * std::cos(a);
        if (std::abs(u) <= 30 && std::abs(v) <= 10) return kDark;
        if (bInBox(x, y, 10, 10, 14, 14)) return kDark;  // a small second blob
        return kBright;
    });
    const OType_FeatureArray f = fx.Run(image);
    EXPECT_DOUBLE_EQ(Value(f, 0), 2);
    EXPECT_NEAR(Value(f, 1), 60 * 20, 60 * 20 * 0.05);
    EXPECT_NEAR(Value(f, 2), 150, 0.5);
    EXPECT_NEAR(Value(f, 3), 100, 0.5);
    EXPECT_NEAR(Value(f, 4), 61, 2.5);
    EXPECT_NEAR(Value(f, 5), 21, 2.5);
    EXPECT_NEAR(Value(f, 6), 30, 1);
    EXPECT_LT(Value(f, 7), 0.8) << "a bar is not round";
    EXPECT_NEAR(Value(f, 8), 2 * (61 + 21), 12);
}

TEST(KvtBlobPlus, ADiskIsRound) {
    OFixture fx;
    fx.Tool(KvtToolKind::kBlobPlus, -1, {0, 0, kW - 1, kH - 1});
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, [](int x, int y) {
        return (x - 100) * (x - 100) + (y - 90) * (y - 90) <= 40 * 40 ? kDark : kBright;
    }));
    EXPECT_GT(Value(f, 7), 0.85);
    EXPECT_NEAR(Value(f, 4), 81, 2);
    EXPECT_NEAR(Value(f, 1), CV_PI * 40 * 40, 60);
}

// --- colour and brightness ---

TEST(KvtBrightness, GivesTheRegionsStatistics) {
    OFixture fx;
    fx.Tool(KvtToolKind::kColor, KvtSubKind::kBrightness, {30, 40, 79, 69});
    const auto grey = [](int x, int y) { return (x * 13 + y * 7) % 200 + 20; };
    double sum = 0, squares = 0, lowest = 255, highest = 0;
    for (int y = 40; y <= 69; ++y)
        for (int x = 30; x <= 79; ++x) {
            const double g = grey(x, y);
            sum += g;
            squares += g * g;
            lowest = std::min(lowest, g);
            highest = std::max(highest, g);
        }
    const double n = 50 * 30, mean = sum / n;
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, grey));
    ASSERT_EQ(f.iGetNumOfFeatures(), 4);
    EXPECT_NEAR(Value(f, 0), mean, 1e-9);
    EXPECT_NEAR(Value(f, 1), std::sqrt(squares / n - mean * mean), 1e-6);
    EXPECT_DOUBLE_EQ(Value(f, 2), lowest);
    EXPECT_DOUBLE_EQ(Value(f, 3), highest);
}

TEST(KvtColour, CountsThePixelsNearTheReferenceColour) {
    OFixture fx;
    OType_ConfigTool_KVT& colour = fx.Tool(KvtToolKind::kColor, -1, {0, 0, 99, 49});
    fx.Set(colour, {{"colour.red", int64_t{200}},
                    {"colour.green", int64_t{30}},
                    {"colour.blue", int64_t{30}},
                    {"colour.tolerance", int64_t{40}}});
    OType_Image image(kW, kH, 3);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            // Left quarter of the region red-ish (within 40), the rest blue.
            const bool red = x < 25;
            image.SetPixel(x, y, 0, red ? 190 : 20);
            image.SetPixel(x, y, 1, red ? 50 : 40);
            image.SetPixel(x, y, 2, red ? 35 : 220);
        }
    const OType_FeatureArray f = fx.Run(image);
    EXPECT_DOUBLE_EQ(Value(f, 0), 25);
    EXPECT_DOUBLE_EQ(Value(f, 1), 0.25 * 190 + 0.75 * 20);
    EXPECT_DOUBLE_EQ(Value(f, 3), 0.25 * 35 + 0.75 * 220);
}

// --- edges ---

TEST(KvtEdges, AStepLiesOnThePixelBorderWhateverTheSmoothing) {
    std::vector<double> profile(40, 30.0);
    for (size_t i = 17; i < profile.size(); ++i)
        profile[i] = 150;
    for (int smoothing : {0, 1, 3}) {
        OKvtEdgeSettings s;
        s.smoothing = smoothing;
        const std::vector<OKvtEdge> edges = KvtEdges::FindEdges(profile, s);
        ASSERT_EQ(edges.size(), 1u) << smoothing;
        EXPECT_NEAR(edges[0].position, 17, 1e-9) << smoothing;
        EXPECT_NEAR(edges[0].strength, 120, 1e-9) << smoothing;
    }
    OKvtEdgeSettings falling;
    falling.polarity = OKvtEdgePolarity::Falling;
    EXPECT_TRUE(KvtEdges::FindEdges(profile, falling).empty());
    OKvtEdgeSettings strong;
    strong.minimumContrast = 121;
    EXPECT_TRUE(KvtEdges::FindEdges(profile, strong).empty());
    EXPECT_TRUE(KvtEdges::FindEdges({}, OKvtEdgeSettings()).empty());
}

TEST(KvtEdgeFinder, FindsAVerticalEdge) {
    OFixture fx;
    fx.Tool(KvtToolKind::kEdge, KvtSubKind::kEdgeFinder, {50, 60, 149, 99});
    const OType_FeatureArray f =
        fx.Run(GreyImage(kW, kH, [](int x, int) { return x < 100 ? kDark : kBright; }));
    ASSERT_EQ(f.iGetNumOfFeatures(), 5);
    EXPECT_NEAR(Value(f, 0), 50, 1e-9)
        << "the border of pixels 99 and 100, 50 from the region's start";
    EXPECT_NEAR(Value(f, 1), kBright - kDark, 1e-9);
    EXPECT_NEAR(std::abs(Value(f, 2)), 90, 1e-4);
    EXPECT_NEAR(Value(f, 3), 99.5, 1e-9);
    EXPECT_NEAR(Value(f, 4), 79.5, 1e-9);
}

TEST(KvtEdgeFinder, FindsASlantedEdgeWithATurnedRegion) {
    OFixture fx;
    OType_ConfigTool_KVT& edge = fx.Tool(KvtToolKind::kEdge, KvtSubKind::kEdgeFinder, {0, 0, 9, 9});
    edge.bSetShape({160, 120, 120, 60, 20});
    // The edge line through (160, 120) at 110 degrees (counter-clockwise on the screen):
    // at right angles to the region's scan direction; bright on the far side.
    const double a = 20 / 57.29577951308232;
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, [&](int x, int y) {
        const double along = (x - 160) * std::cos(a) - (y - 120) * std::sin(a);
        return along < 0 ? kDark : kBright;
    }));
    EXPECT_NEAR(Value(f, 0), 60, 0.6);
    EXPECT_NEAR(Value(f, 2), -70, 2) << "110 degrees as an axis";
    EXPECT_NEAR(Value(f, 3), 160, 0.7);
    EXPECT_NEAR(Value(f, 4), 120, 0.7);
}

TEST(KvtEdgeFinder, WithoutAnEdgeEveryFeatureIsInvalid) {
    OFixture fx;
    fx.Tool(KvtToolKind::kEdge, KvtSubKind::kEdgeFinder, {50, 60, 149, 99});
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, [](int, int) { return 100; }));
    for (const OType_Feature& feature : f)
        EXPECT_FALSE(feature.valid);
}

TEST(KvtCircleFinder, FindsADisk) {
    OFixture fx;
    fx.Tool(KvtToolKind::kEdge, KvtSubKind::kCircleFinder, {100, 50, 259, 199});
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, [](int x, int y) {
        return (x - 181) * (x - 181) + (y - 122) * (y - 122) <= 30 * 30 ? kDark : kBright;
    }));
    EXPECT_NEAR(Value(f, 0), 30, 1.5);
    EXPECT_NEAR(Value(f, 1), 181, 1.0);
    EXPECT_NEAR(Value(f, 2), 122, 1.0);
    EXPECT_GT(Value(f, 3), 90);
    const OType_FeatureArray none = fx.Run(GreyImage(kW, kH, [](int, int) { return 100; }));
    EXPECT_FALSE(none.At(0).valid);
}

// --- measurements and the contour tool ---

TEST(KvtMeasure, SingleMeasurementGivesTheDistanceOfTheOuterEdges) {
    OFixture fx;
    fx.Tool(KvtToolKind::kMeasure, KvtSubKind::kSingleMeasurement, {20, 100, 219, 119});
    const OType_FeatureArray f = fx.Run(Boxes({{60, 0, 131, kH - 1}}));
    EXPECT_NEAR(Value(f, 0), 72, 1e-9);
    EXPECT_NEAR(Value(f, 1), 40, 1e-9);
    EXPECT_NEAR(Value(f, 2), 112, 1e-9);
    EXPECT_FALSE(fx.Run(Boxes({})).At(0).valid);
}

TEST(KvtMeasure, MultipleMeasurementMeasuresEveryLine) {
    OFixture fx;
    OType_ConfigTool_KVT& m =
        fx.Tool(KvtToolKind::kMeasure, KvtSubKind::kMultipleMeasurement, {0, 0, 199, 39});
    fx.Set(m, {{"measure.lines", int64_t{4}}});
    // A dark wedge: in row y it covers the columns 50 .. 50 + 20 + y (y = 0 .. 39).
    const OType_FeatureArray f = fx.Run(
        GreyImage(kW, kH, [](int x, int y) { return x >= 50 && x < 70 + y ? kDark : kBright; }));
    // Line l covers rows 10 l .. 10 l + 9; its mean profile falls off between 70 + 10 l and
    // 79 + 10 l, so the trailing edge lies at its middle, 74.5 + 10 l.
    EXPECT_DOUBLE_EQ(Value(f, 3), 4);
    EXPECT_NEAR(Value(f, 1), 24.5, 1e-6);
    EXPECT_NEAR(Value(f, 2), 54.5, 1e-6);
    EXPECT_NEAR(Value(f, 0), 39.5, 1e-6);
}

TEST(KvtCTool, FollowsTheUpperOutline) {
    OFixture fx;
    fx.Tool(KvtToolKind::kCTool, -1, {0, 100, 99, 199});
    // Material from row 150 down in columns 0..49, from row 130 in 50..79, none further right.
    const OType_FeatureArray f = fx.Run(GreyImage(kW, kH, [](int x, int y) {
        if (x < 50) return y >= 150 ? kDark : kBright;
        if (x < 80) return y >= 130 ? kDark : kBright;
        return kBright;
    }));
    EXPECT_DOUBLE_EQ(Value(f, 0), 50 * 50 + 30 * 70);
    EXPECT_DOUBLE_EQ(Value(f, 1), 80);
    EXPECT_DOUBLE_EQ(Value(f, 2), 20);
    EXPECT_GT(Value(f, 3), 0) << "the outline rises to the right";
}

// --- tools that compute from other features ---

TEST(KvtCombination, CombinesTheFeaturesOfEarlierTools) {
    OFixture fx;
    OType_ConfigTool_KVT& left = fx.Tool(KvtToolKind::kROI, -1, {0, 0, 9, 9});
    OType_ConfigTool_KVT& right = fx.Tool(KvtToolKind::kROI, -1, {100, 0, 109, 9});
    auto& math = static_cast<OType_ConfigTool_KVT_COMBINATION&>(
        AddTool(*fx.set, KvtToolKind::kCombination, KvtSubKind::kMathLogic));
    fx.Set(math, {{"math.a", OKvtFeatureRef{left.iGetToolId(), 0}.ChoiceValue()},
                  {"math.b", OKvtFeatureRef{right.iGetToolId(), 0}.ChoiceValue()},
                  {"math.operation", int64_t{KvtMathOperation::kDivide}}});
    const OType_Image image = Boxes({{0, 0, 9, 4}, {100, 0, 101, 9}});  // 50 and 20
    EXPECT_DOUBLE_EQ(fx.Run(image).At(4).value, 2.5);
    EXPECT_FALSE(fx.Run(Boxes({{0, 0, 9, 4}})).At(4).valid) << "division by zero";
    fx.Set(math, {{"math.b", int64_t{-1}},
                  {"math.constant", 7.0},
                  {"math.operation", int64_t{KvtMathOperation::kSubtract}}});
    EXPECT_DOUBLE_EQ(fx.Run(image).At(4).value, 43);
    fx.Set(math, {{"math.operation", int64_t{KvtMathOperation::kWithinRange}},
                  {"math.low", 40.0},
                  {"math.high", 60.0}});
    EXPECT_DOUBLE_EQ(fx.Run(image).At(4).value, 1);
    // The references, as the part set's dependency checks see them.
    EXPECT_EQ(math.GetDirectReferencedFeatures(*fx.set), (std::vector<int>{0}));
    // Removing the referenced tool drops the reference; the result is then invalid.
    fx.set->Tools().RemoveAt(0);
    OType_Part none;
    math.UpdateCFToolDefinition(*fx.set, fx.info, none, none.Features());
    EXPECT_TRUE(math.References().empty());
    EXPECT_FALSE(fx.Run(image).At(2).valid);
}

TEST(KvtCombination, OperationsFollowTheirDefinitions) {
    double r = 0;
    using C = OType_ConfigTool_KVT_COMBINATION;
    EXPECT_TRUE(C::bCompute(KvtMathOperation::kAbsoluteDifference, 3, 8, 0, 0, r));
    EXPECT_DOUBLE_EQ(r, 5);
    EXPECT_TRUE(C::bCompute(KvtMathOperation::kAnd, 3, 0, 0, 0, r));
    EXPECT_DOUBLE_EQ(r, 0);
    EXPECT_TRUE(C::bCompute(KvtMathOperation::kOr, 3, 0, 0, 0, r));
    EXPECT_DOUBLE_EQ(r, 1);
    EXPECT_TRUE(C::bCompute(KvtMathOperation::kNot, 0, 0, 0, 0, r));
    EXPECT_DOUBLE_EQ(r, 1);
    EXPECT_TRUE(C::bCompute(KvtMathOperation::kMean, 3, 8, 0, 0, r));
    EXPECT_DOUBLE_EQ(r, 5.5);
    EXPECT_FALSE(C::bCompute(KvtMathOperation::kMultiply, 1e300, 1e300, 0, 0, r)) << "overflow";
    EXPECT_FALSE(C::bCompute(99, 1, 1, 0, 0, r));
}

TEST(KvtGeometry, MeasuresBetweenTwoBlobCentres) {
    OFixture fx;
    OType_ConfigTool_KVT& a = fx.Tool(KvtToolKind::kBlobPlus, -1, {0, 0, 99, 99});
    OType_ConfigTool_KVT& b = fx.Tool(KvtToolKind::kBlobPlus, -1, {150, 0, 249, 99});
    OType_ConfigTool_KVT& g = AddTool(*fx.set, KvtToolKind::kCombination, KvtSubKind::kGeometry);
    fx.Set(g, {{"geometry.x1", OKvtFeatureRef{a.iGetToolId(), 2}.ChoiceValue()},
               {"geometry.y1", OKvtFeatureRef{a.iGetToolId(), 3}.ChoiceValue()},
               {"geometry.x2", OKvtFeatureRef{b.iGetToolId(), 2}.ChoiceValue()},
               {"geometry.y2", OKvtFeatureRef{b.iGetToolId(), 3}.ChoiceValue()}});
    // Centres (24.5, 54.5) and (204.5, 24.5).
    const OType_FeatureArray f = fx.Run(Boxes({{20, 50, 29, 59}, {200, 20, 209, 29}}));
    const int first = 18;
    EXPECT_NEAR(Value(f, first), std::hypot(180, 30), 1e-6);
    EXPECT_NEAR(Value(f, first + 1), std::atan2(30, 180) * 57.29577951308232, 1e-6);
    EXPECT_NEAR(Value(f, first + 2), 114.5, 1e-6);
    EXPECT_NEAR(Value(f, first + 3), 39.5, 1e-6);
}

TEST(KvtCoordTrans, MapsAPointThroughTheCalibration) {
    OFixture fx;
    const auto camera =
        OCoordTrans_Tsai_CameraParameters::FromSensor(640, 640, 0.0048, 0.0048, 320, 240, 1);
    OCoordTrans_Tsai_Transformer transformer = CalibrateOnPlate(camera, 1e-3);
    OType_ConfigTool_KVT& blob = fx.Tool(KvtToolKind::kBlobPlus, -1, {0, 0, kW - 1, kH - 1});
    auto& world =
        static_cast<OType_ConfigTool_KVT_COORDTRANS&>(AddTool(*fx.set, KvtToolKind::kCoordTrans));
    world.GetSettings().x = {blob.iGetToolId(), 2};
    world.GetSettings().y = {blob.iGetToolId(), 3};
    const OType_Image image = Boxes({{100, 100, 109, 109}});
    EXPECT_FALSE(fx.Run(image).At(9).valid) << "no calibration";
    fx.set->SetCoordTransformer(&transformer);
    const OType_FeatureArray f = fx.Run(image);
    double xw = 0, yw = 0;
    ASSERT_EQ(transformer.Image2World(104.5, 104.5, 0, xw, yw), 1);
    EXPECT_NEAR(Value(f, 9), xw, 1e-9);
    EXPECT_NEAR(Value(f, 10), yw, 1e-9);
    // With the part set's transformation switched on, positions also carry world values.
    blob.SetCoordTransSwitch(true);
    const OType_FeatureArray g = fx.Run(image);
    EXPECT_NEAR(g.At(2).alternativeValue, xw, 1e-9);
    EXPECT_NEAR(g.At(3).alternativeValue, yw, 1e-9);
    EXPECT_DOUBLE_EQ(g.At(0).alternativeValue, 1) << "a count stays a count";
}

TEST(KvtDeviceWords, FlagwordAndInputsComeFromThePart) {
    OFixture fx;
    OType_ConfigTool_KVT& flag = AddTool(*fx.set, KvtToolKind::kFlagword);
    OType_ConfigTool_KVT& input = AddTool(*fx.set, KvtToolKind::kIOAccess);
    fx.Set(flag, {{"flag.mask", int64_t{0x0F00}}, {"flag.shift", int64_t{8}}});
    fx.Set(input, {{"io.input", int64_t{3}}});
    OType_Part part;
    part.SetFlagWord(0xABCD);
    part.SetInputs(0b0100);
    OType_FeatureArray f = Extract(*fx.set, part);
    EXPECT_DOUBLE_EQ(Value(f, 0), 0xB);
    EXPECT_DOUBLE_EQ(Value(f, 1), 1);
    part.SetInputs(0b1011);
    EXPECT_DOUBLE_EQ(Extract(*fx.set, part).At(1).value, 0);
    // The words travel with the part.
    OType_Part back;
    ASSERT_EQ(back.iDecode(part.Encode()), 1);
    EXPECT_EQ(back.iGetFlagWord(), 0xABCDu);
    EXPECT_EQ(back.iGetInputs(), 0b1011u);
}

TEST(KvtDeviceFeatures, MeasureAllMaterialOfTheImage) {
    OFixture fx;
    OType_ConfigTool_KVT& part = AddTool(*fx.set, KvtToolKind::kDeviceFeatures);
    EXPECT_EQ(part.GetShape(), OKvtRegion::FromRect({0, 0, 639, 479})) << "the whole device image";
    part.bSetShape(OKvtRegion::FromRect({0, 0, kW - 1, kH - 1}));
    const OType_FeatureArray f = fx.Run(Boxes({{40, 60, 139, 89}, {200, 60, 219, 89}}));
    EXPECT_DOUBLE_EQ(Value(f, 0), 3000 + 600);
    EXPECT_NEAR(Value(f, 1), (3000 * 89.5 + 600 * 209.5) / 3600, 1e-9);
    EXPECT_NEAR(Value(f, 2), 74.5, 1e-9);
    EXPECT_DOUBLE_EQ(Value(f, 3), 180);
    EXPECT_DOUBLE_EQ(Value(f, 4), 30);
    EXPECT_NEAR(Value(f, 5), 0, 1e-6);
    EXPECT_NEAR(Value(f, 6), (3600.0 * kDark + (kW * kH - 3600.0) * kBright) / (kW * kH), 1e-9);
}
