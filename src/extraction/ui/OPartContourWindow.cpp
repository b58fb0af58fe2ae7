#include "extraction/ui/OPartContourWindow.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OViewScreenshot.h"
#include "document/ODoc.h"
#include "extraction/OContourViewScene.h"
#include "extraction/OContourViewText.h"
#include "extraction/ui/ContourWindowToolbar.h"
#include "extraction/ui/OContourPrintable.h"

namespace {

constexpr int kToolbarUpdateMs = 250;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text sizes with the status bar's font.
class OQtTextMeasurer : public OTextMeasurer {
  public:
    explicit OQtTextMeasurer(const QFont& font) : m_metrics(font) {}
    OPoint TextSize(std::string_view text) const override {
        return {m_metrics.horizontalAdvance(Q(text)), m_metrics.height()};
    }

  private:
    QFontMetrics m_metrics;
};

}  // namespace

OPartContourWindow::OPartContourWindow(ODoc& doc, QWidget* parent, int toolbarId,
                                       const std::vector<int>& toolbarCommands,
                                       std::string_view widestPointerText)
    : QWidget(parent), m_doc(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar(toolbarId, toolbarCommands);
    layout->addWidget(m_toolbar);
    m_canvas = new OViewCanvas(*this, this);
    layout->addWidget(m_canvas, 1);
    BuildStatusBar(widestPointerText);
    layout->addWidget(m_statusBar);
    // Command states change without a document update (selection, clipboard): poll them.
    connect(&m_toolbarTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) UpdateToolbar();
    });
    m_toolbarTimer.start(kToolbarUpdateMs);
    setFocusProxy(m_canvas);
}

OPartContourWindow::~OPartContourWindow() {
    m_toolbarTimer.stop();
}

QLabel* OPartContourWindow::StatusPane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size())
               ? m_panes[static_cast<size_t>(index)]
               : nullptr;
}

QAction* OPartContourWindow::ToolbarAction(int id) const {
    const auto it = m_toolbarActions.find(id);
    return it == m_toolbarActions.end() ? nullptr : it->second;
}

void OPartContourWindow::BuildToolbar(int toolbarId, const std::vector<int>& commands) {
    OContourToolbar made = BuildContourToolbar(
        *this, toolbarId, commands, [this](int id) { RunCommand(id); },
        [this](int value) { OnSlider(value); });
    m_toolbar = made.toolbar;
    m_slider = made.slider;
    m_toolbarActions = std::move(made.actions);
}

void OPartContourWindow::BuildStatusBar(std::string_view widestPointerText) {
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName("statusBar");
    m_statusBar->setSizeGripEnabled(false);
    const OQtTextMeasurer measurer(m_statusBar->font());
    auto widths = ContourViewText::PaneWidths(measurer);
    if (!widestPointerText.empty()) widths[0] = measurer.TextSize(widestPointerText).x;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        auto* pane = new QLabel(" ", m_statusBar);
        pane->setObjectName(QString("pane%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i + 1 < m_panes.size()) {
            pane->setFixedWidth(widths[i] + 8);
            m_statusBar->addWidget(pane);
        } else {
            pane->setMinimumWidth(widths[i]);
            m_statusBar->addWidget(pane, 1);
        }
        m_panes[i] = pane;
    }
    m_panes[0]->setText(Q(ContourViewText::kPointerPaneIdle));
}

void OPartContourWindow::UpdateToolbar() {
    for (const auto& [id, action] : m_toolbarActions) {
        const OCommandState state = RoutedState(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked || bIsToggle(id));
        action->setChecked(state.checked);
    }
}

void OPartContourWindow::SetSliderQuietly(int position) {
    if (!m_slider || m_slider->value() == position) return;
    m_settingSlider = true;
    m_slider->setValue(position);
    m_settingSlider = false;
}

void OPartContourWindow::PaintCanvas(QPainter& screen) {
    const QSize size = m_canvas->size();
    if (m_buffer.size() != size) m_buffer = QImage(size, QImage::Format_RGB32);
    bool painted = false;
    {
        QPainter painter(&m_buffer);
        OPainter_Qt drawing(painter);
        OContourSceneArea area;
        area.width = size.width();
        area.height = size.height();
        painted = bPaintScene(drawing, area, false);
    }
    if (!painted) m_buffer.fill(Qt::white);
    screen.drawImage(0, 0, m_buffer);
    if (painted) PaintOverlay(screen);
}

QImage OPartContourWindow::Screenshot() {
    m_canvas->repaint();
    return m_buffer.isNull() ? ViewScreenshot::Capture(*m_canvas) : m_buffer.copy();
}

OPrintable* OPartContourWindow::opGetPrintable() {
    m_printable = std::make_unique<OContourPrintable>(
        m_doc,
        [this](OPainter& painter, const OContourSceneArea& area) {
            bPaintScene(painter, area, true);
        },
        std::make_pair(m_canvas->width(), m_canvas->height()));
    return m_printable.get();
}

bool OPartContourWindow::bRunOutputCommand(int id) {
    return OPrintService::bRunCommand(id, *this, this) ||
           ViewScreenshot::bRunCommand(id, *m_canvas, m_doc.UI(), m_doc.GetLastFolder());
}

void OPartContourWindow::RunCommand(int id) {
    RouteCommand(id);
    UpdateToolbar();
}

void OPartContourWindow::ShowContextMenu(QPoint globalPos) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
