// Mappings, the recording painter and the building blocks of printed pages.
#include <gtest/gtest.h>

#include "model/draw/OMapping.h"
#include "model/draw/OPageLayout.h"
#include "model/draw/ORecordingPainter.h"

namespace {

using Kind = ORecordingPainter::Kind;
using namespace PageLayout;

TEST(Mapping, FitMapsCornersAndFlipsYWhenAsked) {
    // Contour pixels 0..200 x 0..100 (y up) onto a band 1000..1400 x 500..700 of a page.
    const OMapping up = OMapping::Fit({0, 0, 200, 100}, {1000, 500, 1400, 700}, true);
    EXPECT_EQ(up.ToBase({0, 0}), (OPoint{1000, 700})) << "the lowest row at the bottom";
    EXPECT_EQ(up.ToBase({200, 100}), (OPoint{1400, 500}));
    EXPECT_EQ(up.ToBase({100, 50}), (OPoint{1200, 600}));
    EXPECT_EQ(up.ToLogical({1200, 600}), (OPoint{100, 50}));
    EXPECT_DOUBLE_EQ(up.dScaleX(), 2.0);
    EXPECT_DOUBLE_EQ(up.dScaleY(), -2.0);
    const OMapping down = OMapping::Fit({10, 10, 20, 20}, {0, 0, 100, 100}, false);
    EXPECT_EQ(down.ToBase({10, 10}), (OPoint{0, 0}));
    EXPECT_EQ(down.ToBase({20, 20}), (OPoint{100, 100}));
    EXPECT_TRUE(OMapping::Identity().bIsIdentity());
    EXPECT_FALSE(down.bIsIdentity());
}

TEST(Mapping, AnEmptyRangeStillMapsWithoutDividingByZero) {
    const OMapping m = OMapping::Fit({5, 5, 5, 5}, {0, 0, 100, 50}, true);
    EXPECT_EQ(m.ToBase({5, 5}), (OPoint{0, 50}));
    EXPECT_EQ(m.ToBase({6, 6}), (OPoint{100, 0}));
    OMapping zero;
    zero.viewportExt = {0, 0};
    EXPECT_EQ(zero.ToLogical({3, 3}), (OPoint{0, 0}));
}

TEST(PageLayout, BandsCoverTheAreaWithoutGapsOrOverlap) {
    const ORect area{0, 0, 1900, 2771};
    const auto bands = Bands(area, {15, 50, 35});
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].top, 0);
    EXPECT_EQ(bands[0].bottom, 415);
    EXPECT_EQ(bands[1].top, 415);
    EXPECT_EQ(bands[1].bottom, 1801);
    EXPECT_EQ(bands[2].top, 1801);
    EXPECT_EQ(bands[2].bottom, 2771) << "the last band ends at the area's bottom";
    for (const ORect& b : bands) {
        EXPECT_EQ(b.left, 0);
        EXPECT_EQ(b.right, 1900);
    }
    const auto offset = Bands({0, 100, 10, 200}, {50, 50});
    EXPECT_EQ(offset[0].top, 100);
    EXPECT_EQ(offset[1].bottom, 200);
}

TEST(PageLayout, HeadLineWritesBothTextsAndLeavesTheRestBelowItsRule) {
    ORecordingPainter p;
    const ORect rest = HeadLine(p, {100, 100, 1900, 2000}, "Part contour", "Page 1 of 2");
    const auto texts = p.Of(Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Part contour");
    EXPECT_EQ(texts[0].from, (OPoint{100, 100}));
    EXPECT_EQ(texts[1].align, OTextAlign::Right);
    EXPECT_EQ(texts[1].from.x, 1900);
    const auto rule = p.Of(Kind::Line);
    ASSERT_EQ(rule.size(), 1u);
    EXPECT_GT(rule[0].from.y, 100 + kHeadTextHeight) << "under the text";
    EXPECT_GT(rest.top, rule[0].from.y);
    EXPECT_EQ(rest.bottom, 2000);
    EXPECT_EQ(PageNumberText(3, 7), "Page 3 of 7");
}

TEST(PageLayout, TableRowsGoOnAsManyPagesAsTheyNeed) {
    OPrintTable table({{"No.", 1, OTextAlign::Right}, {"Feature", 3}, {"Value", 2}});
    const int row = table.iRowHeight();
    EXPECT_EQ(table.PageStarts(10 * row, 10 * row), (std::vector<int>{0}))
        << "no rows: one page with the heading";
    for (int i = 0; i < 25; ++i)
        table.AddRow({std::to_string(i + 1), "Area", "12.00"});
    // 10 rows high: the heading and 9 rows; the first page offers only 5 rows.
    EXPECT_EQ(table.iRowsFitting(10 * row), 9);
    EXPECT_EQ(table.PageStarts(5 * row + row / 2, 10 * row), (std::vector<int>{0, 4, 13, 22}));
    EXPECT_EQ(table.PageStarts(0, 10 * row), (std::vector<int>{0, 0, 9, 18}))
        << "no room on the first page: the rows start on the second";
    EXPECT_EQ(table.iRowsFitting(row / 2), 0);
}

TEST(PageLayout, TablePaintsHeadingAndRowsInTheirColumns) {
    OPrintTable table({{"No.", 1, OTextAlign::Right}, {"Feature", 3}});
    table.AddRow({"1", "Area"});
    table.AddRow({"2", "Height", "ignored extra cell"});
    table.AddRow({"3"});
    ORecordingPainter p;
    const ORect area{0, 0, 400, 2000};
    const int bottom = table.Paint(p, area, 1, 5);
    EXPECT_EQ(bottom, 3 * table.iRowHeight()) << "heading and rows 2 and 3";
    EXPECT_EQ(table.ColumnEdges(p, area), (std::vector<int>{0, 100, 400}));
    const auto texts = p.Of(Kind::Text);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].text, "No.");
    EXPECT_EQ(texts[1].text, "Feature");
    EXPECT_EQ(texts[2].text, "2");
    EXPECT_EQ(texts[2].align, OTextAlign::Right);
    EXPECT_EQ(texts[2].from.x, 100 - kCellPadding) << "right-aligned against its column";
    EXPECT_EQ(texts[3].text, "Height");
    EXPECT_EQ(texts[3].from.x, 100 + kCellPadding);
    EXPECT_TRUE(texts[3].clipped) << "a long cell stays in its column";
    EXPECT_EQ(texts[3].clip.left, 100);
    EXPECT_EQ(texts[3].clip.right, 400);
    EXPECT_EQ(texts[5].text, "") << "a missing cell is empty";
    EXPECT_EQ(p.Of(Kind::Fill).size(), 1u) << "the heading's background";
}

TEST(PageLayout, TextTooWideForItsCellIsCutAtACharacterAndEndsInAnEllipsis) {
    ORecordingPainter p;
    p.SetFont(10);  // the recording painter measures 6 units per byte at this height
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(ElidedText(p, "Area", 24), "Area") << "a text that fits stays whole";
    EXPECT_EQ(ElidedText(p, "Tolerance", 50), "Toler" + ellipsis);
    EXPECT_LE(p.TextSize(ElidedText(p, "Tolerance", 50)).x, 50);
    EXPECT_EQ(ElidedText(p, "Blob 1: Area", 42), "Blob" + ellipsis)
        << "no space left before the ellipsis";
    // "ü" is two bytes: the cut never splits it.
    EXPECT_EQ(ElidedText(p, "Prüfung", 42), "Prü" + ellipsis);
    EXPECT_EQ(ElidedText(p, "Prüfung", 36), "Pr" + ellipsis);
    EXPECT_EQ(ElidedText(p, "Prüfung", 18), ellipsis);
    EXPECT_EQ(ElidedText(p, "Prüfung", 10), "") << "not even the ellipsis fits";
}

TEST(PageLayout, TableCellsTooWideForTheirColumnAreElided) {
    OPrintTable table({{"No.", 1}, {"Feature", 1}});
    table.AddRow({"1", "Pattern matching 1: Score"});
    ORecordingPainter p;
    table.Paint(p, {0, 0, 400, 2000}, 0, 1);
    const auto texts = p.Of(Kind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].text, "Feature");
    const std::string cell = texts[3].text;
    EXPECT_LT(cell.size(), std::string("Pattern matching 1: Score").size());
    EXPECT_EQ(cell.rfind("Patt", 0), 0u) << cell;
    EXPECT_EQ(cell.substr(cell.size() - 3), "\xE2\x80\xA6") << cell;
    EXPECT_LE(texts[3].from.x + p.TextSize(cell).x, 400 - kCellPadding) << "inside its column";
}

TEST(PageLayout, ColumnsTooNarrowForTheirTextsTakeWhatOthersDoNotNeed) {
    ORecordingPainter p;  // 21 units per byte at the table's text height
    // Every text fits its weighted share: the weights hold.
    OPrintTable fits({{"No.", 1}, {"Name", 1}});
    fits.AddRow({"1.", "Area"});
    EXPECT_EQ(fits.ColumnEdges(p, {0, 0, 400, 100}), (std::vector<int>{0, 200, 400}));

    // "Deviation" needs 9 × 21 + 2 × 12 = 213 of its 100; "Id" needs 66 of its 300. Both get
    // what they need and share the rest (121) by weight.
    OPrintTable heading({{"Deviation", 1}, {"Id", 3}});
    heading.AddRow({"0%", "7"});
    EXPECT_EQ(heading.ColumnEdges(p, {0, 0, 400, 100}), (std::vector<int>{0, 243, 400}));

    // A feature name that cannot fit: the number column keeps its 87 and the name has the rest.
    OPrintTable names({{"No.", 1, OTextAlign::Right}, {"Feature", 2}});
    names.AddRow({"1.", "Centre of gravity Y"});
    EXPECT_EQ(names.ColumnEdges(p, {0, 0, 300, 100}), (std::vector<int>{0, 87, 300}));
    // Title rows do not widen the first column.
    OPrintTable titled({{"Field", 1}, {"Entry", 1}});
    titled.AddRow({"End customer (if differs from above):", ""});
    titled.AddRow({"Name:", "Miller"});
    EXPECT_EQ(titled.ColumnEdges(p, {0, 0, 400, 100}), (std::vector<int>{0, 200, 400}));
}

TEST(PageLayout, ARowWithTextInItsFirstCellOnlyIsATitleAcrossTheRow) {
    OPrintTable table({{"Field", 1}, {"Entry", 1}});
    table.AddRow({"End customer (if differs from above):", ""});
    table.AddRow({"Name:", "Miller"});
    ORecordingPainter p;
    const ORect area{0, 0, 2000, 2000};
    table.Paint(p, area, 0, 2);
    const auto texts = p.Of(Kind::Text);
    ASSERT_EQ(texts.size(), 5u) << "heading 2, title 1, row 2";
    EXPECT_EQ(texts[2].text, "End customer (if differs from above):") << "not cut at its column";
    EXPECT_EQ(texts[2].clip.right, 2000);
    EXPECT_EQ(texts[3].clip.right, 1000) << "an ordinary row keeps its columns";
    // The column rule stops at the title row: it is drawn beside the heading and the last row.
    const int rule = table.ColumnEdges(p, area)[1];
    int besideTitle = 0;
    for (const auto& line : p.Of(Kind::Line))
        if (line.from.x == rule && line.to.x == rule && line.from.y == table.iRowHeight())
            ++besideTitle;
    EXPECT_EQ(besideTitle, 0);
}

TEST(RecordingPainter, KeepsMappingClipPenAndFontWithEachCall) {
    ORecordingPainter p;
    p.SetMapping(OMapping::Fit({0, 0, 10, 10}, {0, 0, 100, 100}, true));
    p.SetClip({1, 2, 3, 4});
    p.SetPen({1, 2, 3}, 2, OPenStyle::Dot);
    p.SetFont(20, true);
    p.DrawLine({0, 0}, {5, 5});
    p.NoClip();
    p.SetMapping(OMapping::Identity());
    p.DrawText({1, 1}, "abc", OTextAlign::Center);
    ASSERT_EQ(p.ops.size(), 2u);
    EXPECT_TRUE(p.ops[0].clipped);
    EXPECT_EQ(p.ops[0].clip, (ORect{1, 2, 3, 4}));
    EXPECT_EQ(p.ops[0].colour, (ORgb{1, 2, 3}));
    EXPECT_FALSE(p.ops[0].mapping.bIsIdentity());
    EXPECT_FALSE(p.ops[1].clipped);
    EXPECT_TRUE(p.ops[1].mapping.bIsIdentity());
    EXPECT_EQ(p.ops[1].fontHeight, 20);
    EXPECT_EQ(p.TextSize("abcde"), (OPoint{60, 20}));
    EXPECT_EQ(p.FindText("ab")->text, "abc");
    EXPECT_EQ(p.FindText("x"), nullptr);
}

}  // namespace
