// Drawing of the teach-data view through the recording painter: the learning curve's
// markers, lines and labels in the class colours, and the printout's header, tables and
// their flow over pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestClassifierHost.h"
#include "classification/OClass_ConfV12.h"
#include "classification/TeachDataPaint.h"
#include "model/draw/ORecordingPainter.h"

using namespace TestParts;
using Kind = ORecordingPainter::Kind;

namespace {

TEST(TeachDataPaint, ClassColoursAreColorRefValues) {
    EXPECT_EQ(TeachDataPaint::ClassRgb(0), (ORgb{0, 0, 0}));
    EXPECT_EQ(TeachDataPaint::ClassRgb(1), (ORgb{0, 255, 0}));
    EXPECT_EQ(TeachDataPaint::ClassRgb(4), (ORgb{0, 0, 255})) << "0xFF0000 is blue in a COLORREF";
    EXPECT_EQ(TeachDataPaint::ClassRgb(6), (ORgb{0, 127, 255}));
    EXPECT_EQ(TeachDataPaint::ClassRgb(7), (ORgb{255, 127, 0}));
    EXPECT_EQ(TeachDataPaint::ClassRgb(9), TeachDataPaint::ClassRgb(0));
}

class TeachDataPaintTest : public ::testing::Test {
  protected:
    TeachDataPaintTest() {
        host.SetDevice(1, 818);
        host.fixedFeatures = 0;
        AddTypes(host.partSet, 1, 5);
    }
    void Teach(int partsPerOrientation, int features) {
        for (int i = 0; i < partsPerOrientation; ++i) {
            for (int o : {1, 2}) {
                OType_Part part = Make(1, o, {});
                for (int f = 0; f < features; ++f)
                    part.Features().Add(Number(o * 100.0 + f + i * 0.5, f));
                host.partSet.TeachParts()
                    .Add(std::move(part))
                    ->SetRecordNo(host.partSet.TeachParts().iGetSize());
            }
        }
        classifier.TeachFromParts(host.partSet);
    }
    OTestClassifierHost host;
    OClass_ConfV12 classifier{host};
};

TEST_F(TeachDataPaintTest, LearningCurveMarkersLinesAndLabels) {
    Teach(6, 2);
    const TeachDataView::OLearningCurve curve =
        TeachDataView::BuildLearningCurve(host.partSet, 0, false, 400, 150);
    ASSERT_EQ(curve.points.size(), 12u);
    ORecordingPainter painter;
    TeachDataPaint::PaintLearningCurve(painter, curve, 11);
    const auto fills = painter.Of(Kind::Fill);
    ASSERT_EQ(fills.size(), 12u) << "one marker per part";
    EXPECT_EQ(fills[0].colour, TeachDataPaint::ClassRgb(1));
    EXPECT_EQ(fills[1].colour, TeachDataPaint::ClassRgb(2));
    EXPECT_EQ(fills[0].rect.Width(), 3) << "4 x 4 pixels, right and bottom inclusive";
    EXPECT_NE(painter.FindText("C="), nullptr);
    EXPECT_NE(painter.FindText("1"), nullptr) << "the first part's number under the first tick";
    // Lines join consecutive points of one orientation only: 5 per orientation.
    size_t coloured = 0;
    for (const auto& op : painter.Of(Kind::Line))
        if (op.colour == TeachDataPaint::ClassRgb(1) || op.colour == TeachDataPaint::ClassRgb(2))
            ++coloured;
    EXPECT_EQ(coloured, 10u);
}

TEST_F(TeachDataPaintTest, AnEmptyCurvePaintsOnlyItsAxes) {
    ORecordingPainter painter;
    TeachDataPaint::PaintLearningCurve(painter, TeachDataView::OLearningCurve{}, 11);
    EXPECT_TRUE(painter.Of(Kind::Fill).empty());
    EXPECT_TRUE(painter.Texts().empty());
    EXPECT_EQ(painter.Of(Kind::Line).size(), 2u);
}

TEST_F(TeachDataPaintTest, PrintoutHasHeaderCurveAndOneTablePerOrientation) {
    Teach(4, 3);
    host.partSet.opGetSubType(0)->SetName("Bolt");
    OTeachDataPrintable printable(host.partSet, 1, "Teach-Data");
    ASSERT_EQ(printable.iPreparePages(kA4PortraitArea), 1);
    ORecordingPainter painter;
    printable.PaintPage(painter, 0, kA4PortraitArea);
    EXPECT_NE(painter.FindText("Bolt: 5%"), nullptr);
    EXPECT_NE(painter.FindText("C="), nullptr) << "the learning curve in the header band";
    const auto texts = painter.Texts();
    EXPECT_EQ(
        std::count_if(texts.begin(), texts.end(),
                      [](const std::string& t) { return t.find(": 1, ") != std::string::npos; }),
        2)
        << "one heading per orientation";
    EXPECT_NE(painter.FindText("Tol. F.:"), nullptr);
    EXPECT_NE(painter.FindText("3. F3"), nullptr) << "the feature names lead the rows";
    // The tables start below the header band (15 % of the page).
    const auto* heading = painter.FindText("Type");
    if (heading) {
        EXPECT_GE(heading->from.y, kA4PortraitArea.height * 15 / 100);
    }
}

TEST_F(TeachDataPaintTest, LongTablesRunOverSeveralPagesAndEveryRowIsPrintedOnce) {
    host.toolCapacity = 32;
    Teach(3, 32);
    OTeachDataPrintable printable(host.partSet, 1, "Teach-Data");
    const OPage small{1900, 1200};
    const int pages = printable.iPreparePages(small);
    ASSERT_GT(pages, 2);
    std::vector<int> rows(2, 0);
    for (const auto& page : printable.Pages()) {
        for (const auto& slice : page) {
            rows[static_cast<size_t>(slice.table)] += slice.rowCount;
            EXPECT_LT(slice.top, small.height);
        }
    }
    EXPECT_EQ(rows[0], 32);
    EXPECT_EQ(rows[1], 32);
    for (int p = 0; p < pages; ++p) {
        ORecordingPainter painter;
        printable.PaintPage(painter, p, small);
        for (const auto& op : painter.Of(Kind::Text))
            EXPECT_LE(op.from.y, small.height) << "page " << p << ": " << op.text;
    }
}

TEST_F(TeachDataPaintTest, NothingToPrintWithoutAShownType) {
    host.partSet.SetNumSubTypes(0);
    OTeachDataPrintable printable(host.partSet, 1, "Teach-Data");
    EXPECT_EQ(printable.iPreparePages(kA4PortraitArea), 0);
}

}  // namespace
