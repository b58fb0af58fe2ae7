// Several printouts as one print job: page numbers run on from one part to the next, parts
// without pages are skipped, and every part's job is ended.
#include <gtest/gtest.h>

#include "model/draw/OPrintableSequence.h"
#include "model/draw/ORecordingPainter.h"

namespace {

// Prints `pages` pages, each a text "name index".
class OPagesPrintable : public OPrintable {
  public:
    OPagesPrintable(std::string name, int pages) : m_name(std::move(name)), m_pages(pages) {}
    std::string PrintTitle() const override { return m_name; }
    int iPreparePages(const OPage& page) override {
        prepared = page;
        return m_pages;
    }
    void PaintPage(OPainter& painter, int index, const OPage&) override {
        painter.DrawText({0, 0}, m_name + " " + std::to_string(index));
    }
    void EndPrinting() override { ++ended; }

    OPage prepared;
    int ended = 0;

  private:
    std::string m_name;
    int m_pages;
};

std::string PageText(OPrintable& printable, int index) {
    ORecordingPainter painter;
    printable.PaintPage(painter, index, kA4PortraitArea);
    return painter.ops.empty() ? std::string() : painter.ops.front().text;
}

TEST(PrintableSequence, PagesRunOnFromOnePartToTheNext) {
    OPagesPrintable contour("contour", 2), teach("teach", 0), graph("graph", 3), broken("x", -1);
    OPrintableSequence job("Project", {&contour, &teach, &broken, &graph});
    EXPECT_EQ(job.PrintTitle(), "Project");
    ASSERT_EQ(job.iPreparePages(kA4PortraitArea), 5);
    EXPECT_EQ(job.PageCounts(), (std::vector<int>{2, 0, 0, 3}));
    EXPECT_EQ(graph.prepared, kA4PortraitArea) << "every part is laid out for the same paper";
    EXPECT_EQ(PageText(job, 0), "contour 0");
    EXPECT_EQ(PageText(job, 1), "contour 1");
    EXPECT_EQ(PageText(job, 2), "graph 0");
    EXPECT_EQ(PageText(job, 4), "graph 2");
    EXPECT_EQ(PageText(job, 5), "") << "beyond the last page nothing is painted";
    EXPECT_EQ(PageText(job, -1), "");
    job.EndPrinting();
    EXPECT_EQ(contour.ended, 1);
    EXPECT_EQ(teach.ended, 1);
    EXPECT_EQ(graph.ended, 1);
}

TEST(PrintableSequence, NoPartsNoPages) {
    OPrintableSequence job("Project", {});
    EXPECT_EQ(job.iPreparePages(kA4PortraitArea), 0);
    EXPECT_EQ(PageText(job, 0), "");
}

}  // namespace
