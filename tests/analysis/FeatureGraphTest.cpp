// The feature graph without a window: the parts plotted for each choice, the scale with its
// widening and histogram, the drawing with markers for hit-testing, labels and the table.
#include <gtest/gtest.h>

#include <numeric>

#include "analysis/FeatureGraph.h"
#include "classification/OClass_ConfV12.h"
#include "classification/TestClassifierHost.h"
#include "model/draw/ORecordingPainter.h"

using namespace FeatureGraph;
using namespace TestParts;
using Kind = ORecordingPainter::Kind;

namespace {

class FeatureGraphTest : public ::testing::Test {
  protected:
    FeatureGraphTest() {
        host.SetDevice(2, 818);
        host.fixedFeatures = 0;
        AddTypes(host.partSet, 2, 5);
        for (int i = 0; i < 6; ++i)
            AddTeach(host.partSet, 1 + i / 4, 1 + i % 2, {10.0 + i, 100.0});
        host.partSet.TeachParts().GetAt(1)->SetSelected(true);
        host.partSet.TeachParts().GetAt(2)->SetOrientation(-1);
        host.partSet.TeachParts().GetAt(5)->Features().At(0).valid = false;
        classifier.TeachFromParts(host.partSet);
    }
    OChoice Choice() {
        OChoice c;
        c.typesShown = true;
        c.orientationsShown = true;
        return c;
    }
    std::vector<int> Numbers(const OChoice& c) {
        std::vector<int> numbers;
        for (const OGraphPoint& p : CollectPoints(host.partSet, c))
            numbers.push_back(p.partNumber);
        return numbers;
    }
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
};

TEST_F(FeatureGraphTest, TheChoicesPickTheParts) {
    OChoice c = Choice();
    EXPECT_EQ(Numbers(c), (std::vector<int>{1, 2, 3, 4, 5})) << "part 6's feature is invalid";
    c.typeEntry = kSelection;
    EXPECT_EQ(Numbers(c), (std::vector<int>{2}));
    c.typeEntry = kIgnored;
    EXPECT_EQ(Numbers(c), (std::vector<int>{3}));
    c.typeEntry = 2 + 2;  // type 2
    EXPECT_EQ(Numbers(c), (std::vector<int>{5}));
    c.typeEntry = kAll;
    c.orientationEntry = 1 + 2;  // orientation 2
    EXPECT_EQ(Numbers(c), (std::vector<int>{2, 4}));
    c.orientationsShown = false;  // the combo is hidden: every orientation passes
    EXPECT_EQ(Numbers(c).size(), 5u);
}

TEST_F(FeatureGraphTest, DisplayModesAndTheirEntries) {
    EXPECT_EQ(DisplayEntries(false).size(), 4u);
    EXPECT_EQ(DisplayEntries(true).size(), 6u);
    for (bool offered : {false, true}) {
        for (int e = 0; e < static_cast<int>(DisplayEntries(offered).size()); ++e)
            EXPECT_EQ(iEntryOfMode(iModeOfEntry(e, offered), offered), e);
    }
    EXPECT_EQ(iModeOfEntry(2, false), 4) << "without transformed values entry 2 is Deviations";
    // Without a transformation the extraction gives every feature its value as transformed one.
    for (int i = 0; i < host.partSet.TeachParts().iGetSize(); ++i)
        for (OType_Feature& f : host.partSet.TeachParts().GetAt(i)->Features())
            f.alternativeValue = f.value;
    EXPECT_FALSE(bHasTransformedValues(host.partSet));
    host.partSet.TeachParts().GetAt(0)->Features().At(0).alternativeValue = 3.5;
    EXPECT_TRUE(bHasTransformedValues(host.partSet));
    OChoice c = Choice();
    c.mode = 2;
    EXPECT_DOUBLE_EQ(CollectPoints(host.partSet, c).front().value, 3.5);
    EXPECT_TRUE(CollectBounds(host.partSet, c).empty()) << "bounds are not in transformed units";
    c.mode = 0;
    EXPECT_FALSE(CollectBounds(host.partSet, c).empty());
}

TEST(FeatureGraphScale, ExtendsByFivePercentAndRoundsToTheStep) {
    std::vector<OGraphPoint> points = {{0, 1, 1, 1, 12.0}, {1, 2, 1, 1, 87.0}};
    const OScale scale = ComputeScale(points, {}, false);
    // centre 49.5, half-range 37.5 * 1.05 = 39.375: 10.125 .. 88.875, step 10.
    EXPECT_DOUBLE_EQ(scale.bottom, 10.0);
    EXPECT_DOUBLE_EQ(scale.top, 90.0);
    EXPECT_EQ(scale.bins, 0);
    const OScale bounded = ComputeScale(points, {{1, 0.0, 1e25}}, false);
    EXPECT_DOUBLE_EQ(bounded.bottom, -10.0) << "a bound inside 1e20 counts";
    EXPECT_DOUBLE_EQ(bounded.top, 90.0) << "a bound beyond 1e20 does not";
}

TEST(FeatureGraphScale, AllValuesEqualAreWidened) {
    const OScale scale = ComputeScale({{0, 1, 1, 1, 5.0}, {1, 2, 1, 1, 5.0}}, {}, false);
    EXPECT_DOUBLE_EQ(scale.bottom, 4.0);
    EXPECT_DOUBLE_EQ(scale.top, 7.0);
    ORecordingPainter painter;
    Paint(painter, {0, 0, 400, 300}, {{0, 1, 1, 1, 5.0}}, {}, scale, 0);
    EXPECT_GE(painter.Of(Kind::Text).size(), 2u) << "labels still appear";
}

TEST(FeatureGraphScale, HistogramCountsEveryPointInItsBin) {
    std::vector<OGraphPoint> points;
    for (int i = 0; i < 200; ++i)
        points.push_back({i, i + 1, 1, 1 + i % 2, static_cast<double>(i % 100)});
    const OScale scale = ComputeScale(points, {}, true);
    ASSERT_GT(scale.bins, 0);
    EXPECT_EQ(scale.bins, 100) << "a third of the range -100 .. 200, at most half the points";
    EXPECT_EQ(std::accumulate(scale.counts.begin(), scale.counts.end(), 0), 200);
    EXPECT_GE(scale.top, scale.bottom + (scale.bins + 1) * scale.binWidth);
    std::vector<OGraphPoint> few;
    for (int i = 0; i < 40; ++i)
        few.push_back({i, i + 1, 1, 1, i * 60.0 / 39.0});
    const OScale raised = ComputeScale(few, {}, true);
    EXPECT_EQ(raised.bins, 30) << "20 bins are raised to 30";
    EXPECT_DOUBLE_EQ(raised.binWidth, 3.0);
    const OScale narrow = ComputeScale({{0, 1, 1, 1, 1.0}, {1, 2, 1, 1, 3.0}}, {}, true);
    EXPECT_GE(narrow.bins, 1) << "a range below 30 gives its integer range";
    EXPECT_LT(narrow.bins, 30);
}

TEST(FeatureGraphPaint, OnePointSitsAtTheLeftEdgeAndIsHit) {
    const std::vector<OGraphPoint> points = {{0, 7, 1, 2, 50.0}};
    const OScale scale = ComputeScale(points, {}, false);
    ORecordingPainter painter;
    const OPlot plot = Paint(painter, {0, 0, 500, 300}, points, {}, scale, 0);
    ASSERT_EQ(plot.markers.size(), 1u);
    const ORect& m = plot.markers[0];
    EXPECT_EQ((m.left + m.right) / 2, plot.plotArea.left);
    EXPECT_EQ(iHitMarker(plot, (m.left + m.right) / 2, (m.top + m.bottom) / 2), 0);
    EXPECT_EQ(iHitMarker(plot, m.right + 20, m.top), -1);
    const auto ellipses = painter.Of(Kind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_NE(painter.FindText("7"), nullptr) << "the part number under the first point";
}

TEST(FeatureGraphPaint, DeviationLabelsArePercentAndBoundsUseClassColours) {
    const std::vector<OGraphPoint> points = {{0, 1, 1, 1, -20.0}, {1, 2, 1, 2, 40.0}};
    ORecordingPainter painter;
    Paint(painter, {0, 0, 500, 300}, points, {}, ComputeScale(points, {}, false), 4);
    bool percent = false;
    for (const std::string& t : painter.Texts())
        percent = percent || (!t.empty() && t.back() == '%');
    EXPECT_TRUE(percent);
    EXPECT_EQ(TickLabel(250000.0, false), "2.500e+05");
    EXPECT_EQ(TickLabel(12.0, true), "   12%");

    ORecordingPainter bounded;
    const std::vector<OBound> bounds = {{2, 0.0, 30.0}};
    Paint(bounded, {0, 0, 500, 300}, points, bounds, ComputeScale(points, bounds, false), 0);
    int coloured = 0;
    for (const auto& op : bounded.Of(Kind::Line))
        if (op.colour == ORgb::FromColorRef(0xFF00FF)) ++coloured;
    EXPECT_EQ(coloured, 2) << "lower and upper bound of orientation 2";
}

TEST_F(FeatureGraphTest, DescriptionAndTable) {
    host.partSet.iShowTeachPartNo(2);
    const std::string text = Description(host.partSet, 0);
    EXPECT_NE(text.find("Part 3"), std::string::npos) << text;
    EXPECT_NE(text.find("12.00"), std::string::npos) << text;
    EXPECT_NE(text.find("Ignore part"), std::string::npos) << text;
    const auto rows = OrientationTable(CollectPoints(host.partSet, Choice()));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].orientation, 1);
    EXPECT_EQ(rows[0].minimum, "10.00");
    EXPECT_EQ(rows[0].maximum, "14.00");
    EXPECT_EQ(rows[0].mean, "12.00");
}

}  // namespace
