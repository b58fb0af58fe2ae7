// What the part contour view paints.
#include <gtest/gtest.h>

#include "ExtractionTestHost.h"
#include "extraction/OContourViewPaint.h"
#include "model/draw/ORecordingPainter.h"

namespace {

using ORecorder = ORecordingPainter;
using Kind = ORecordingPainter::Kind;

std::vector<ORect> Rects(const ORecordingPainter& p, Kind kind) {
    std::vector<ORect> rects;
    for (const auto& op : p.Of(kind))
        rects.push_back(op.rect);
    return rects;
}

using namespace ContourViewPaint;

}  // namespace

TEST(ContourPaint, RunsInsideTheVisibleColumns) {
    OType_Part part;
    part.SetConturData(Runs({{{0, 5}}, {{2, 3}, {6, 9}}, {}, {{1, 4}}}));
    OContourViewState view;
    view.windowLeft = 1;
    view.windowRight = 2;
    ORecorder r;
    PaintContour(r, part, kTestFill, view);
    EXPECT_EQ(Rects(r, Kind::Fill), (std::vector<ORect>{{1, 2, 1, 2}, {1, 6, 1, 8}}));
    EXPECT_EQ(r.Of(Kind::Fill).back().colour, kTestFill);
    OType_Part empty;
    ORecorder e;
    PaintContour(e, empty, kTeachFill, view);
    ASSERT_EQ(e.Texts().size(), 1u);
    EXPECT_EQ(e.Texts()[0], "No contour data");
    EXPECT_EQ(e.Of(Kind::Text)[0].from, (OPoint{21, 200}));
}

TEST(ContourPaint, ShownPartAndColours) {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    EXPECT_EQ(ShownPart(ps).part, nullptr);
    AddTeachPart(ps, Block(2, 0, 2));
    AddTestPart(ps, Block(2, 0, 2));
    EXPECT_EQ(ShownPart(ps).part, ps.TeachParts().GetAt(0));
    EXPECT_EQ(ShownPart(ps).fill, (ORgb{16, 96, 16}));
    ps.iShowTeachPartNo(-1, 1);
    EXPECT_EQ(ShownPart(ps).part, nullptr);
    ps.iShowSetTeachTest(0);
    EXPECT_EQ(ShownPart(ps).part, ps.TestParts().GetAt(0));
    EXPECT_EQ(ShownPart(ps).fill, (ORgb{96, 96, 96}));
}

TEST(ContourPaint, ToolsDrawThemselvesUnlessTheirLockIsBusy) {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OType_ConfigTool& a = AddTool(ps, 1, 30, {0, 0, 4, 4});
    AddTool(ps, 1, 30, {5, 0, 9, 4});
    OType_Part& part = AddTeachPart(ps, Block(10, 0, 5));
    host.Recompute(ps, 1, 0, 1, 1, 0);
    ORecorder r;
    EXPECT_EQ(PaintTools(r, host.Engine(), ps, host.info, part, 1), 2);
    EXPECT_EQ(r.Of(Kind::Rect).size(), 2u);
    EXPECT_EQ(host.Engine().GetExtractionErrorFlags(), 0u);
    ASSERT_TRUE(a.bTryLock(std::chrono::milliseconds(0)));
    ORecorder busy;
    EXPECT_EQ(PaintTools(busy, host.Engine(), ps, host.info, part, 1), 1);
    a.Unlock();
    EXPECT_EQ(host.Engine().GetExtractionErrorFlags(), ExtractionError::kToolBusy);
    EXPECT_EQ(SelectedFeatureLabel(ps, part, 13), "ROI 2 ROI area - 25.00");
    EXPECT_EQ(SelectedFeatureLabel(ps, part, 2), " Area - 50.00");
    EXPECT_EQ(SelectedFeatureLabel(ps, part, 40), "");
}

TEST(ContourPaint, QualityDiscAndPrintBands) {
    OType_Part part;
    ORect disc;
    ORgb colour;
    EXPECT_FALSE(bQualityDisc(part, true, true, 420, disc, colour));
    EXPECT_FALSE(bQualityDisc(part, false, false, 420, disc, colour));
    part.SetResultValue(0, 100.0);
    ASSERT_TRUE(bQualityDisc(part, false, true, 420, disc, colour));
    EXPECT_EQ(disc, (ORect{5, 400, 20, 415}));
    EXPECT_EQ(colour, kGoodPart);
    part.SetResultValue(0, 100.5);
    bQualityDisc(part, false, true, 420, disc, colour);
    EXPECT_EQ(colour, kBadPart);
    const OPrintBands b = PrintBands({0, 0, 2000, 2800});
    EXPECT_EQ(b.head, (ORect{0, 0, 2000, 420}));
    EXPECT_EQ(b.picture, (ORect{0, 420, 2000, 1820}));
    EXPECT_EQ(b.text, (ORect{0, 1820, 2000, 2800}));
}
