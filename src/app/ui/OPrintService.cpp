#include "app/ui/OPrintService.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <cmath>

#include "app/ui/OPainter_Qt.h"
#include "document/CommandIds.h"
#include "document/ui/OViewWidget.h"

namespace {

// Ends the printable's job whatever happens on the way.
class OJobScope {
  public:
    explicit OJobScope(OPrintable& printable) : m_printable(printable) {}
    ~OJobScope() { m_printable.EndPrinting(); }
    OJobScope(const OJobScope&) = delete;
    OJobScope& operator=(const OJobScope&) = delete;

  private:
    OPrintable& m_printable;
};

}  // namespace

QPrinter& OPrintService::SharedPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

OPage OPrintService::PageOf(const QPrinter& printer) {
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    return {static_cast<int>(std::lround(area.width() * 10)),
            static_cast<int>(std::lround(area.height() * 10))};
}

int OPrintService::PrintTo(OPrintable& printable, QPrinter& printer) {
    OJobScope job(printable);
    const OPage page = PageOf(printer);
    const int pages = printable.iPreparePages(page);
    if (pages <= 0) return 0;
    printer.setDocName(QString::fromStdString(printable.PrintTitle()));
    QPainter painter;
    if (!painter.begin(&printer)) return 0;
    // The painter starts at the printable area's top left corner.
    const QTransform base =
        OPainter_Qt::TenthsOfMillimetre(printer.logicalDpiX(), printer.logicalDpiY());
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage()) break;
        OPainter_Qt canvas(painter, base);
        printable.PaintPage(canvas, i, page);
    }
    painter.end();
    return pages;
}

bool OPrintService::bPrint(OPrintable& printable, QWidget* parent) {
    QPrinter& printer = SharedPrinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintDialog");
    dialog.setWindowTitle("Print");
    if (dialog.exec() != QDialog::Accepted) {
        printable.EndPrinting();
        return false;
    }
    return PrintTo(printable, printer) > 0;
}

bool OPrintService::bRunCommand(int commandId, OViewWidget& view, QWidget* parent) {
    if (commandId != Cmd::kFilePrint && commandId != Cmd::kFilePrintPreview) return false;
    OPrintable* printable = view.opGetPrintable();
    if (!printable) return true;
    if (commandId == Cmd::kFilePrint) {
        bPrint(*printable, parent);
    } else {
        Preview(*printable, parent);
    }
    return true;
}

void OPrintService::Preview(OPrintable& printable, QWidget* parent) {
    QPrinter& printer = SharedPrinter();
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName("PrintPreviewDialog");
    preview.setWindowTitle(QString::fromStdString(printable.PrintTitle()) + " - Print Preview");
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&printable](QPrinter* target) { PrintTo(printable, *target); });
    preview.resize(900, 700);
    preview.exec();
}

bool OPrintService::bWritePdf(OPrintable& printable, const QString& path, std::string& error) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        error = "The folder " + info.absolutePath().toStdString() + " does not exist.";
        printable.EndPrinting();
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(SharedPrinter().pageLayout());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCreator("Kalvor");
    if (PrintTo(printable, printer) <= 0) {
        error = "Nothing to print, or " + path.toStdString() + " cannot be written.";
        return false;
    }
    if (!QFileInfo::exists(path)) {
        error = path.toStdString() + " could not be written.";
        return false;
    }
    return true;
}
