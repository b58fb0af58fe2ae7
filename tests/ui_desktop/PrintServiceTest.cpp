// The print service: pages of a printable into a PDF file, the print preview, and what a
// printable is told.
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include "app/ui/OPrintService.h"
#include "model/draw/OPageLayout.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

class OPages : public OPrintable {
  public:
    explicit OPages(int pages) : m_pages(pages) {}
    std::string PrintTitle() const override { return "Test printout"; }
    int iPreparePages(const OPage& page) override {
        ++prepared;
        this->page = page;
        return m_pages;
    }
    void PaintPage(OPainter& painter, int index, const OPage& page) override {
        painted.push_back(index);
        PageLayout::HeadLine(painter, page.Area(), "Test printout",
                             PageLayout::PageNumberText(index + 1, m_pages));
        painter.FillRect({0, 500, page.width, 600}, {0, 0, 0});
    }
    void EndPrinting() override { ++ended; }

    int prepared = 0;
    int ended = 0;
    OPage page;
    std::vector<int> painted;

  private:
    int m_pages;
};

QByteArray ReadAll(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Page objects of a PDF written by Qt.
int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page "));
}

TEST(PrintService, WritesEveryPageIntoAPdfFile) {
    shelltest::Application();
    TempDir dir;
    OPages pages(3);
    std::string error;
    const auto path = dir / "printout.pdf";
    ASSERT_TRUE(OPrintService::bWritePdf(pages, QString::fromStdString(path.string()), error))
        << error;
    EXPECT_EQ(pages.prepared, 1);
    EXPECT_EQ(pages.ended, 1);
    EXPECT_EQ(pages.painted, (std::vector<int>{0, 1, 2}));
    // A4 less the printer's margins, in tenths of a millimetre.
    EXPECT_GT(pages.page.width, 1700);
    EXPECT_LE(pages.page.width, 2100);
    EXPECT_GT(pages.page.height, 2500);
    EXPECT_LE(pages.page.height, 2970);
    const QByteArray pdf = ReadAll(path);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(PdfPages(pdf), 3);
}

TEST(PrintService, NothingToPrintOrNoFolderIsAnErrorAndLeavesNoFile) {
    shelltest::Application();
    TempDir dir;
    OPages none(0);
    std::string error;
    const auto path = dir / "empty.pdf";
    EXPECT_FALSE(OPrintService::bWritePdf(none, QString::fromStdString(path.string()), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(none.ended, 1) << "the printable is told the job ended";
    EXPECT_TRUE(none.painted.empty());
    OPages one(1);
    error.clear();
    EXPECT_FALSE(OPrintService::bWritePdf(
        one, QString::fromStdString((dir / "missing" / "x.pdf").string()), error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_EQ(one.ended, 1);
}

TEST(PrintService, LandscapePaperGivesAWidePage) {
    shelltest::Application();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const OPage page = OPrintService::PageOf(printer);
    EXPECT_TRUE(page.bIsLandscape());
    printer.setPageOrientation(QPageLayout::Portrait);
    EXPECT_FALSE(OPrintService::PageOf(printer).bIsLandscape());
}

TEST(PrintService, PreviewPaintsThePagesAndEndsTheJob) {
    shelltest::Application();
    OPages pages(2);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        seen = preview != nullptr;
        QApplication::processEvents();
        if (preview) preview->reject();
    });
    OPrintService::Preview(pages, nullptr);
    EXPECT_TRUE(seen);
    ASSERT_GE(pages.prepared, 1);
    EXPECT_EQ(pages.ended, pages.prepared) << "every preview run ends its job";
    EXPECT_GE(pages.painted.size(), 2u);
}

}  // namespace
