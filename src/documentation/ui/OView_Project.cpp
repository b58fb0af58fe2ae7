#include "documentation/ui/OView_Project.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OViewScreenshot.h"
#include "device/TargetSystem.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "documentation/ODocumentationEditor.h"
#include "documentation/ui/OProjectDataSheet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kPageGap = 12;  // pixels between pages on screen

}  // namespace

OView_Project::OView_Project(ODoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName("OView_Project");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QToolBar(this);
    bar->setObjectName("projectToolbar");
    QAction* edit = bar->addAction(tr("Edit..."), this, &OView_Project::EditDocumentation);
    edit->setObjectName("edit");
    bar->addAction(tr("Print..."), this, [this] { bOnViewCommand(Cmd::kFilePrint); });
    bar->addAction(tr("Print Preview"), this, [this] { bOnViewCommand(Cmd::kFilePrintPreview); });
    bar->addAction(tr("PDF..."), this, [this] {
        FileDialogRequest request;
        request.filter = "PDF files (*.pdf)";
        request.defaultExtension = "pdf";
        request.bOverwritePrompt = true;
        const FileDialogResult chosen = m_doc.UI().FileSave(request);
        std::string error;
        if (chosen.bAccepted && !chosen.paths.empty() &&
            !bWritePdf(QString::fromStdString(chosen.paths.front()), error))
            m_doc.UI().Message(error, MsgIcon::Error);
    });
    bar->addAction(tr("Bitmap..."), this, [this] { bOnViewCommand(Cmd::kScreenshotToFile); });
    layout->addWidget(bar);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName("pages");
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_page = new QLabel(m_scroll);
    m_page->setObjectName("report");
    m_scroll->setWidget(m_page);
    layout->addWidget(m_scroll, 1);
}

std::unique_ptr<OProjectReport> OView_Project::MakeReport() const {
    const OQuillon& session = *m_doc.opGetSession();
    const OTargetSystem& t = session.GetTargetSystem();
    OProjectReport::Lines target = {
        {ResStr(1556), TargetSystem::HardwareName(t.hardware)},
        {ResStr(1557), TargetSystem::SoftwareName(t.software)},
        {ResStr(1549), std::to_string(t.partTypes)},
        {ResStr(1559), std::to_string(t.partsInSet)},
        {ResStr(1550), std::to_string(t.orientations)},
        {ResStr(1560), std::to_string(session.iGetToolCapacity())},
        {ResStr(1548), std::to_string(session.PartSets().iGetNum())},
    };
    return std::make_unique<OProjectReport>(
        session.ProjectData(), target,
        ODocumentationEditor::DateText(std::chrono::system_clock::now()));
}

QImage OView_Project::RenderPages(double dotsPerMillimetre) const {
    std::unique_ptr<OProjectReport> report = MakeReport();
    const OPage page = kA4PortraitArea;
    const int pages = std::max(1, report->iPreparePages(page));
    const double scale = dotsPerMillimetre / 10.0;     // dots per tenth of a millimetre
    const int margin = static_cast<int>(100 * scale);  // the paper's 10 mm margin
    const int width = static_cast<int>(page.width * scale) + 2 * margin;
    const int height = static_cast<int>(page.height * scale) + 2 * margin;
    QImage image(width, pages * (height + kPageGap) - kPageGap, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Dark));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < pages; ++i) {
        const int top = i * (height + kPageGap);
        painter.fillRect(0, top, width, height, Qt::white);
        QTransform base;
        base.translate(margin, top + margin);
        base.scale(scale, scale);
        OPainter_Qt canvas(painter, base);
        report->PaintPage(canvas, i, page);
    }
    report->EndPrinting();
    return image;
}

void OView_Project::OnUpdate() {
    if (m_doc.iGetBusy() || !m_doc.opGetSession()) return;
    // The page fills the view's width, within readable bounds.
    const int available = std::max(320, m_scroll->viewport()->width() - 24);
    const double perMm = std::clamp(available / 210.0, 2.0, 5.0);
    m_page->setPixmap(QPixmap::fromImage(RenderPages(perMm)));
    m_page->adjustSize();
}

void OView_Project::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnUpdate();
}

void OView_Project::mouseDoubleClickEvent(QMouseEvent*) {
    EditDocumentation();
}

void OView_Project::EditDocumentation() {
    OProjectDataSheet sheet(m_doc, this);
    sheet.exec();
    OnUpdate();
}

std::optional<OCommandState> OView_Project::ViewCommandState(int id) {
    switch (id) {
        case Cmd::kFilePrint:
        case Cmd::kFilePrintPreview:
        case Cmd::kScreenshotToClipboard:
        case Cmd::kScreenshotToFile:
            return OCommandState{true, false, std::nullopt};
        default:
            return std::nullopt;
    }
}

bool OView_Project::bOnViewCommand(int id) {
    return OPrintService::bRunCommand(id, *this, this) ||
           ViewScreenshot::bRunCommand(id, *m_page, m_doc.UI(), m_doc.GetLastFolder());
}

OPrintable* OView_Project::opGetPrintable() {
    if (!m_doc.opGetSession()) return nullptr;
    if (ODocumentationEditor::bMissesImportantInfo(m_doc.opGetSession()->ProjectData()))
        m_doc.UI().Message(ODocumentationEditor::kMissingInfoWarning, MsgIcon::Warning);
    m_printable = MakeReport();
    return m_printable.get();
}

bool OView_Project::bWritePdf(const QString& path, std::string& error) {
    OPrintable* printable = opGetPrintable();
    return printable && OPrintService::bWritePdf(*printable, path, error);
}
