// The tool manager's printout painted on the recording painter: the head line, the table's
// rows page by page, and the range column.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "managers/OToolManagerPrintout.h"
#include "model/draw/ORecordingPainter.h"

namespace {

OPropertyList ManyProperties(int count) {
    OPropertyList list;
    for (int i = 0; i < count; ++i)
        list.push_back(PropertyList::Integer("p" + std::to_string(i), "Value " + std::to_string(i),
                                             i < count / 2 ? "First" : "Second", i, 0, 100, "px"));
    return list;
}

bool Has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace

TEST(ToolManagerPrintout, RowsContinueOnTheNextPageUnderTheHeadLine) {
    OToolManagerPrintout printout("Tool properties - CTool 1", {{"Tool", "CTool 1"}},
                                  ManyProperties(120), "2026-12-09 20:45");
    // One information row, two page headings, 120 properties.
    EXPECT_EQ(printout.Table().iGetRowCount(), 1 + 2 + 120);
    const int pages = printout.iPreparePages(kA4PortraitArea);
    ASSERT_GE(pages, 2);
    std::vector<std::string> all;
    for (int page = 0; page < pages; ++page) {
        ORecordingPainter painter;
        printout.PaintPage(painter, page, kA4PortraitArea);
        const std::vector<std::string> texts = painter.Texts();
        EXPECT_TRUE(Has(texts, "Tool properties - CTool 1")) << page;
        EXPECT_TRUE(Has(texts, "2026-12-09 20:45")) << page;
        EXPECT_TRUE(Has(texts, PageLayout::PageNumberText(page + 1, pages))) << page;
        EXPECT_TRUE(Has(texts, "Property")) << "the heading row on every page";
        for (const ORecordingPainter::OOp& op : painter.Of(ORecordingPainter::Kind::Text))
            EXPECT_LE(op.from.y, kA4PortraitArea.height) << op.text;
        all.insert(all.end(), texts.begin(), texts.end());
    }
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(std::count(all.begin(), all.end(), "Value " + std::to_string(i)), 1) << i;
    EXPECT_TRUE(Has(all, "[First]"));
    EXPECT_TRUE(Has(all, "[Second]"));
    EXPECT_TRUE(Has(all, "7 px"));

    ORecordingPainter outside;
    printout.PaintPage(outside, pages, kA4PortraitArea);
    EXPECT_TRUE(outside.ops.empty()) << "a page beyond the last paints nothing";
}

TEST(ToolManagerPrintout, RangesAndDates) {
    EXPECT_EQ(
        OToolManagerPrintout::RangeText(PropertyList::Integer("a", "A", "P", 1, 0, 511, "px")),
        "0 \u2026 511 px");
    EXPECT_EQ(OToolManagerPrintout::RangeText(PropertyList::Real("b", "B", "P", 1, 0.5, 2, 2)),
              "0.50 \u2026 2.00");
    EXPECT_EQ(OToolManagerPrintout::RangeText(PropertyList::Text("c", "C", "P", "x", 31)),
              "\u2264 31 characters");
    EXPECT_EQ(OToolManagerPrintout::RangeText(PropertyList::Flag("d", "D", "P", true)), "");
    const std::string date =
        OToolManagerPrintout::DateTimeText(std::chrono::system_clock::from_time_t(0));
    EXPECT_EQ(date.size(), 16u) << date;
}
