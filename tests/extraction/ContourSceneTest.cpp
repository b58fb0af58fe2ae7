// The whole part contour view through a recording painter (what the window, the printout
// and the benchmark paint), and the part features' texts and dependency markers.
#include <gtest/gtest.h>

#include <algorithm>

#include "ExtractionTestHost.h"
#include "analysis/PartFeaturesDisplay.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewPaint.h"
#include "extraction/OContourViewScene.h"
#include "model/draw/ORecordingPainter.h"
#include "tools/OType_ConfigTool_Combination.h"

namespace {

using Kind = ORecordingPainter::Kind;
constexpr int kWidth = 630;
constexpr int kHeight = 420;

struct Scene : ::testing::Test {
    OExtractionTestHost host;
    OType_ZRPartSet& ps = host.PartSet();
    OContourViewController view{host.Engine(), host};
    ORecordingPainter painter;

    void SetUp() override { view.SetClientSize(kWidth, kHeight); }
    void Paint(bool printing = false, OContourSceneArea area = {{0, 0}, kWidth, kHeight, 1}) {
        PrepareContourView(host.Engine().ViewState(), area.width, area.height);
        ContourViewScene::Paint(painter, view, area, printing);
    }
    std::vector<ORecordingPainter::OOp> Fills(ORgb colour) const {
        std::vector<ORecordingPainter::OOp> fills;
        for (const auto& op : painter.Of(Kind::Fill)) {
            if (op.colour == colour) fills.push_back(op);
        }
        return fills;
    }
};

}  // namespace

TEST_F(Scene, WithoutAPartOnlyTheGridAndScalesArePainted) {
    Paint();
    EXPECT_TRUE(Fills(ContourViewPaint::kTeachFill).empty());
    // Labels along both bands, the origin among them.
    EXPECT_NE(painter.FindText("0"), nullptr);
    EXPECT_NE(painter.FindText("100"), nullptr);
    // The two bands in button-face colour.
    EXPECT_EQ(Fills(ContourViewScene::kButtonFace).size(), 2u);
}

TEST_F(Scene, FillsEveryRunOfTheShownPartInItsListsColour) {
    AddTeachPart(ps, Runs({{{10, 20}, {30, 40}}, {{5, 15}}, {}}));
    ps.iShowTeachPartNo(0);
    Paint();
    const auto fills = Fills(ContourViewPaint::kTeachFill);
    // Two runs in column 0, one in column 1; the empty column paints nothing.
    ASSERT_EQ(fills.size(), 3u);
    EXPECT_EQ(fills[0].rect, (ORect{0, 10, 0, 19}));
    EXPECT_EQ(fills[1].rect, (ORect{0, 30, 0, 39}));
    EXPECT_EQ(fills[2].rect, (ORect{1, 5, 1, 14}));
    // They are painted in contour pixels, clipped to the drawing area.
    EXPECT_TRUE(fills[0].clipped);
    EXPECT_EQ(fills[0].clip, (ORect{30, 0, kWidth, kHeight - 20}));
    EXPECT_LT(fills[0].mapping.viewportExt.y, 0);  // rows count upwards

    AddTestPart(ps, Block(4, 0, 10));
    ps.iShowSetTeachTest(0);
    painter = ORecordingPainter();
    Paint();
    EXPECT_TRUE(Fills(ContourViewPaint::kTeachFill).empty());
    EXPECT_EQ(Fills(ContourViewPaint::kTestFill).size(), 4u);
}

TEST_F(Scene, TheSelectedToolsLabelAndTheQualityDiscOfATestPart) {
    AddTestPart(ps, Block(60, 0, 40)).SetResultValue(0, 130.0);
    ps.iShowSetTeachTest(0);
    OType_ConfigTool& roi = AddTool(ps, 1, 30, {5, 5, 20, 20});
    roi.SetName("Edge");
    host.properties.useQuality = 1;
    host.Engine().ExtractTestParts(ps, 0);
    ps.iShowFeatureNo(ps.Tools().GetFeatureIndex_First(0, ps.iGetFixedFeatures()));
    Paint();
    const auto* label = painter.FindText("Edge ");
    ASSERT_NE(label, nullptr);
    EXPECT_NE(label->text.find(" - "), std::string::npos) << label->text;
    const auto discs = painter.Of(Kind::Ellipse);
    ASSERT_FALSE(discs.empty());
    EXPECT_EQ(discs.back().colour, ContourViewPaint::kBadPart);  // above 100
    EXPECT_EQ(discs.back().rect, (ORect{5, kHeight - 20, 20, kHeight - 5}));
}

TEST_F(Scene, TheTapeMeasureIsOnTheScreenOnly) {
    AddTeachPart(ps, Block(60, 0, 40));
    ps.iShowTeachPartNo(0);
    OContourViewState& s = host.Engine().ViewState();
    s.measuring = 1;
    s.measureStart = {100, 300};
    s.measureEnd = {200, 300};
    Paint();
    EXPECT_NE(painter.FindText("X:"), nullptr);
    EXPECT_NE(painter.FindText("Alpha:"), nullptr);
    painter = ORecordingPainter();
    Paint(true);
    EXPECT_EQ(painter.FindText("Alpha:"), nullptr);
}

TEST_F(Scene, TheViewingAreaBarsShowTheirLimitsAndKeepTheirHitRectangles) {
    AddTeachPart(ps, Block(60, 0, 40));
    ps.iShowTeachPartNo(0);
    ps.SetFilterMode(1);
    ps.SetFilterLimits(10, 30);
    Paint();
    EXPECT_NE(painter.FindText("Lower limit: 10"), nullptr);
    EXPECT_NE(painter.FindText("Upper limit: 30"), nullptr);
    const OContourViewState& s = host.Engine().ViewState();
    EXPECT_EQ(s.viewingAreaBarsShown, 1);
    EXPECT_LE(s.lowerBarRect.top, 10);
    EXPECT_GE(s.lowerBarRect.bottom, 10);
    ps.SetFilterMode(0);
    Paint();
    EXPECT_EQ(s.viewingAreaBarsShown, 0);
}

TEST_F(Scene, OnPaperTheSameRangeLandsInTheBand) {
    AddTeachPart(ps, Block(60, 0, 40));
    ps.iShowTeachPartNo(0);
    Paint();
    const OContourViewState before = host.Engine().ViewState();
    painter = ORecordingPainter();
    // A band 300 tenths of a millimetre down the page, three tenths per view pixel.
    const OContourSceneArea paper{{100, 300}, kWidth, kHeight, 3};
    ContourViewScene::Paint(painter, view, paper, true);
    EXPECT_EQ(host.Engine().ViewState(), before);  // printing changes nothing
    const auto fills = Fills(ContourViewPaint::kTeachFill);
    ASSERT_FALSE(fills.empty());
    const OPoint origin = fills.front().mapping.ToBase({0, 0});
    EXPECT_EQ(origin.x, 100 + 30 * 3);
    EXPECT_EQ(origin.y, 300 + (kHeight - 20) * 3);
}

TEST_F(Scene, EveryBasicFeatureHasAGraphic) {
    OBasicContourFeatures measured;
    measured.columns = 40;
    measured.centreX = 20;
    measured.centreY = 15;
    for (int i = 0; i < BasicFeature::kCount; ++i) {
        ORecordingPainter p;
        EXPECT_TRUE(ContourViewScene::bPaintBasicFeature(p, i, measured, 9.0)) << i;
        EXPECT_FALSE(p.Of(Kind::Line).empty() && p.Of(Kind::Rect).empty() &&
                     p.Of(Kind::Ellipse).empty())
            << i;
    }
    ORecordingPainter none;
    EXPECT_FALSE(ContourViewScene::bPaintBasicFeature(none, 12, measured, 0));
}

// --- the part features' texts ---

namespace {

struct Features : Scene {
    OPartFeaturesContext context;
    int idA = 0, idM1 = 0, idM2 = 0;

    void SetUp() override {
        Scene::SetUp();
        AddTeachPart(ps, Block(60, 0, 40));
        ps.iShowTeachPartNo(0);
        OType_ConfigTool& a = AddTool(ps, 3, 22, {5, 0, 20, 30});
        a.SetName("A");
        idA = a.iGetToolId();
        auto& m1 = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, 8, 50, {}));
        m1.SetName("M1");
        m1.SetOperand(0, OCombinationOperand::Tool(idA));
        m1.SetOperand(1, OCombinationOperand::Basic(2));
        idM1 = m1.iGetToolId();
        auto& m2 = static_cast<OType_ConfigTool_Combination&>(AddTool(ps, 8, 50, {}));
        m2.SetName("M2");
        m2.SetOperand(0, OCombinationOperand::Tool(idM1));
        m2.SetOperand(1, OCombinationOperand::Constant(1));
        idM2 = m2.iGetToolId();
        host.Engine().ExtractTeachParts(ps, 0);
    }
    const OType_Part& Part() { return *ps.TeachParts().GetAt(0); }
    std::vector<std::string> Markers(int current) {
        std::vector<std::string> markers;
        for (const OFeatureRow& row :
             PartFeaturesDisplay::FeatureRows(ps, Part(), current, context))
            markers.push_back(row.columns[PartFeaturesDisplay::kDependency]);
        return markers;
    }
};

}  // namespace

TEST_F(Features, DependencyMarkersFollowTheCurrentFeature) {
    const int a = 12, m1 = 13, m2 = 14;
    ASSERT_EQ(Part().Features().iGetNumOfFeatures(), 15);
    auto marks = Markers(m1);
    EXPECT_EQ(marks[m1], " X ");
    EXPECT_EQ(marks[a], " > ");   // read by M1 directly
    EXPECT_EQ(marks[2], " > ");   // the basic operand
    EXPECT_EQ(marks[m2], " < ");  // reads M1
    EXPECT_EQ(marks[0], "");
    marks = Markers(m2);
    EXPECT_EQ(marks[m1], " > ");
    EXPECT_EQ(marks[a], ">> ");  // through M1
    EXPECT_EQ(marks[2], ">> ");
    marks = Markers(a);
    EXPECT_EQ(marks[m1], " < ");
    EXPECT_EQ(marks[m2], "<< ");
    // No current feature: no markers at all.
    marks = Markers(-1);
    EXPECT_TRUE(std::all_of(marks.begin(), marks.end(), [](const auto& m) { return m.empty(); }));
}

TEST_F(Features, ACycleOfReferencesEnds) {
    auto& m1 = static_cast<OType_ConfigTool_Combination&>(*ps.Tools().opFindById(idM1));
    m1.SetOperand(1, OCombinationOperand::Tool(idM2));  // M1 <-> M2
    const OFeatureDependencies deps = PartFeaturesDisplay::Dependencies(ps, Part(), 13);
    EXPECT_EQ(deps.all, (std::vector<int>{12, 14}));
    EXPECT_EQ(deps.allDependents, (std::vector<int>{14}));
}

TEST_F(Features, RowsNameTheToolOnceAndTheReferenceAndAddress) {
    ps.DefaultReferences().SetAt(1, 12);  // "W"
    context.dataWordMode = 1;
    context.usesQuality = true;
    ps.SetFeatureEnable(13, 0);
    const auto rows = PartFeaturesDisplay::FeatureRows(ps, Part(), 12, context);
    using namespace PartFeaturesDisplay;
    EXPECT_EQ(rows[0].columns[kNumber], "1.");
    EXPECT_EQ(rows[0].columns[kTool], "");
    EXPECT_EQ(rows[12].columns[kTool], "A");
    EXPECT_EQ(rows[12].columns[kReference], "W");
    EXPECT_EQ(rows[12].columns[kAddress], "11200 / 60");
    EXPECT_EQ(rows[13].columns[kQuality], "No");
    EXPECT_EQ(rows[13].state, OFeatureRowState::Disabled);
    context.dataWordMode = 2;
    EXPECT_EQ(FeatureRows(ps, Part(), 12, context)[1].columns[kAddress], "500 / 5");
    context.dataWordMode = 0;
    EXPECT_EQ(FeatureRows(ps, Part(), 12, context)[1].columns[kAddress], "");
}

TEST_F(Features, InfoRowsShowOnlyWhatApplies) {
    OType_Part part;
    part.SetTeachPart(true);
    part.SetOrientation(-2);
    part.SetResultValue(2, 171.4);
    const auto find = [](const std::vector<OPartInfoRow>& rows, const std::string& caption) {
        const auto it = std::find_if(rows.begin(), rows.end(),
                                     [&](const OPartInfoRow& r) { return r.caption == caption; });
        return it == rows.end() ? std::string("<none>") : it->value;
    };
    auto rows = PartFeaturesDisplay::InfoRows(part, context);
    EXPECT_EQ(find(rows, "Orientation"), "Ignore part");
    EXPECT_EQ(find(rows, "At teach process"), "Ignore part");
    EXPECT_EQ(find(rows, "Learning value"), "C:171");
    EXPECT_EQ(find(rows, "Part type"), "<none>");  // types not used
    EXPECT_EQ(find(rows, "Deviation"), "<none>");  // no quality decision
    context.usesTypes = true;
    context.partTypes = 2;
    context.usesQuality = true;
    part.SetTeachPart(false);
    part.SetResultValue(0, 112.6);
    rows = PartFeaturesDisplay::InfoRows(part, context);
    EXPECT_EQ(find(rows, "Part type"), "1");
    EXPECT_EQ(find(rows, "Deviation"), "113%");
    EXPECT_EQ(find(rows, "At teach process"), "<none>");  // a test part
    // Data words only when the device shows them.
    EXPECT_TRUE(
        std::all_of(rows.begin(), rows.end(), [](const auto& r) { return r.dataWord.empty(); }));
}
