#include "classification/ui/OClassifierWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/Artwork.h"
#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OViewScreenshot.h"
#include "classification/ClassifierSupport.h"
#include "classification/OClassifier.h"
#include "classification/TeachDataPaint.h"
#include "classification/ui/OTeachDataList.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "extraction/OContourViewController.h"
#include "extraction/OExtr_Default.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"

namespace {

constexpr int kToolbarUpdateMs = 250;
constexpr int kCurveFontHeight = 11;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString MenuText(int id) {
    const OCommandInfo* info = FindCommand(id);
    return info ? Q(info->text) : QString::number(id);
}

const std::vector<int>& ToolbarCommands() {
    static const std::vector<int> commands = {
        Cmd::kAddTolerance,
        Cmd::kDecreaseTolerance,
        0,
        Cmd::kDeletePartType,
        Cmd::kPartTypeProperties,
        Cmd::kCounterProperties,
        0,
        Cmd::kTeachDataEvaluation,
        Cmd::kFeatureForQuality,
        0,
        Cmd::kFilePrint,
        Cmd::kScreenshotToClipboard,
        Cmd::kScreenshotToFile,
    };
    return commands;
}

bool bIsToolEditCommand(int id) {
    return id == Cmd::kEditCopy || id == Cmd::kEditCut || id == Cmd::kEditPaste ||
           id == Cmd::kEditDelete;
}

}  // namespace

// --- the tolerance spin control ---

OToleranceSpin::OToleranceSpin(QWidget* parent) : QSpinBox(parent) {
    setRange(0, TeachDataView::kMaxTolerance);
    setWrapping(true);
    lineEdit()->setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
}

void OToleranceSpin::stepBy(int steps) {
    emit stepRequested(steps);
}

// --- the learning curve ---

OLearningCurveWidget::OLearningCurveWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::number(TeachDataView::kChartControl));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(60);
}

void OLearningCurveWidget::SetCurve(TeachDataView::OLearningCurve curve) {
    m_curve = std::move(curve);
    update();
}

void OLearningCurveWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    OPainter_Qt surface(painter);
    TeachDataPaint::PaintLearningCurve(surface, m_curve, kCurveFontHeight);
}

void OLearningCurveWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

// --- the view ---

OClassifierWindow::OClassifierWindow(ODoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName(doc.iGetFamily() == 2 ? "311" : "248");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    layout->addWidget(m_toolbar);
    auto* form = new QWidget(this);
    auto* column = new QVBoxLayout(form);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);
    column->addWidget(BuildHead());
    BuildList();
    column->addWidget(m_list, 1);
    m_chart = new OLearningCurveWidget(form);
    m_chart->setFixedHeight(kChartHeight);
    column->addWidget(m_chart);
    m_error = new QPlainTextEdit(form);
    m_error->setObjectName(QString::number(TeachDataView::kErrorTextControl));
    m_error->setReadOnly(true);
    m_error->setFixedHeight(kChartHeight);
    m_error->setVisible(false);
    column->addWidget(m_error);
    layout->addWidget(form, 1);
    BuildStatusBar();
    layout->addWidget(m_statusBar);

    connect(m_chart, &OLearningCurveWidget::resized, this, &OClassifierWindow::RebuildCurve);
    connect(&m_toolbarTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) UpdateToolbar();
    });
    m_toolbarTimer.start(kToolbarUpdateMs);
    OnUpdate();
}

OClassifierWindow::~OClassifierWindow() {
    m_toolbarTimer.stop();
}

QSize OClassifierWindow::sizeHint() const {
    return {640, 520};
}

void OClassifierWindow::BuildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QString::number(kToolbar));
    m_toolbar->setIconSize(QSize(16, 16));
    for (int id : ToolbarCommands()) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        const OCommandInfo* info = FindCommand(id);
        QAction* action = m_toolbar->addAction(Artwork::CommandIcon(id),
                                               info ? Q(PlainLabel(info->text)) : QString());
        action->setObjectName(QString::number(id));
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_toolbarActions[id] = action;
    }
}

QWidget* OClassifierWindow::BuildHead() {
    using namespace TeachDataView;
    auto* head = new QWidget(this);
    auto* row = new QHBoxLayout(head);
    row->setContentsMargins(0, 0, 0, 0);
    const auto label = [head](int id, const QString& text = {}) {
        auto* l = new QLabel(text, head);
        if (id) l->setObjectName(QString::number(id));
        return l;
    };
    m_orientationCaption = label(kOrientationCaptionControl);
    m_orientationValue = label(kOrientationValueControl);
    m_orientationValue->setMinimumWidth(50);
    QFont bold = m_orientationValue->font();
    bold.setBold(true);
    m_orientationValue->setFont(bold);
    row->addWidget(m_orientationCaption);
    row->addWidget(m_orientationValue);
    row->addSpacing(16);
    row->addWidget(label(0, tr("Tolerance:")));
    m_toleranceText = label(kToleranceTextControl);
    m_toleranceText->setFont(bold);
    m_toleranceText->setMinimumWidth(36);
    row->addWidget(m_toleranceText);
    m_spin = new OToleranceSpin(head);
    m_spin->setObjectName(QString::number(kToleranceSpinControl));
    m_spin->setFixedWidth(52);
    connect(m_spin, &OToleranceSpin::stepRequested, this, [this](int steps) {
        const int id = steps > 0 ? Cmd::kAddTolerance : Cmd::kDecreaseTolerance;
        for (int i = 0; i < std::abs(steps); ++i)
            RunCommand(id);
    });
    row->addWidget(m_spin);
    row->addSpacing(16);
    m_counterCaption = label(kCounterCaptionControl, tr("Set counter:"));
    m_counterValue = label(kCounterValueControl);
    m_counterValue->setMinimumWidth(40);
    m_counterButton = new QPushButton("...", head);
    m_counterButton->setObjectName(QString::number(kCounterButton));
    m_counterButton->setFixedWidth(28);
    m_counterButton->setFocusPolicy(Qt::NoFocus);
    connect(m_counterButton, &QPushButton::clicked, this,
            [this] { RunCommand(Cmd::kCounterProperties); });
    row->addWidget(m_counterCaption);
    row->addWidget(m_counterValue);
    row->addWidget(m_counterButton);
    row->addStretch(1);
    return head;
}

void OClassifierWindow::BuildList() {
    m_list = new OTeachDataList(this);
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnRowClicked(m_list->indexOfTopLevelItem(item)); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        OnRowDoubleClicked(m_list->indexOfTopLevelItem(item));
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* item = m_list->itemAt(at))
            OnRowClicked(m_list->indexOfTopLevelItem(item));
        ShowContextMenu(m_list->viewport()->mapToGlobal(at));
    });
}

void OClassifierWindow::BuildStatusBar() {
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName("statusBar");
    m_statusBar->setSizeGripEnabled(false);
    for (size_t i = 0; i < m_panes.size(); ++i) {
        auto* pane = new QLabel(" ", m_statusBar);
        pane->setObjectName(QString("pane%1").arg(i));
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(i == 0 ? 160 : 80);
        m_statusBar->addWidget(pane);
        m_panes[i] = pane;
    }
}

QLabel* OClassifierWindow::StatusPane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size())
               ? m_panes[static_cast<size_t>(index)]
               : nullptr;
}

// --- refresh ---

void OClassifierWindow::Clear() {
    m_display = TeachDataView::ODisplay{};
    m_cellsWritten = 0;
    m_list->Clear();
    for (QLabel* l : {m_orientationCaption, m_orientationValue, m_toleranceText, m_counterValue})
        l->clear();
    for (QLabel* pane : m_panes)
        pane->setText(" ");
    m_error->clear();
    m_error->setVisible(false);
    m_chart->SetCurve({});
    m_chart->setVisible(true);
}

void OClassifierWindow::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const OClassifier* classifier = m_doc.opGetClassifier();
    const OQuillon* session = m_doc.opGetSession();
    if (!set || !classifier || !session) {
        Clear();
        return;
    }
    TeachDataView::OContext context;
    context.displayMode = TeachDataView::iDisplayModeOf(*set);
    context.deviceKind = ClassifierSupport::iDeviceKind(session->DeviceInfo());
    context.useTypes = session->ProjectProperties().useTypes == 1 &&
                       ClassifierSupport::bSupportsPartTypes(session->DeviceInfo());
    context.chartWidth = std::max(m_chart->width(), 100);
    context.chartHeight = kChartHeight;
    m_display = TeachDataView::BuildDisplay(*classifier, set, context);
    ShowDisplay();
}

void OClassifierWindow::ShowDisplay() {
    m_refreshing = true;
    m_orientationCaption->setText(Q(m_display.orientationCaption));
    m_orientationValue->setText(Q(m_display.orientationValue));
    m_toleranceText->setText(Q(m_display.toleranceText));
    m_spin->setValue(m_display.spinValue);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_counterCaption, m_counterValue, m_counterButton})
        w->setVisible(m_display.counterShown);
    m_counterValue->setText(Q(m_display.counterValue));
    m_panes[0]->setText(Q(m_display.statusDisplayMode));
    m_panes[1]->setText(Q(m_display.statusTolerance));
    m_cellsWritten = m_list->Show(m_display);
    if (m_display.errorShown) {
        QString text = Q(m_display.errorText);
        text.replace("\r\n", "\n");
        if (m_error->toPlainText() != text) m_error->setPlainText(text);
    }
    m_error->setVisible(m_display.errorShown);
    m_chart->setVisible(!m_display.errorShown);
    m_chart->SetCurve(m_display.learningCurve);
    m_refreshing = false;
    UpdateToolbar();
}

void OClassifierWindow::RebuildCurve() {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || m_display.errorShown || m_doc.iGetBusy() ||
        !set->opGetSubType(set->iShowSubTypeGetNo()))
        return;
    m_chart->SetCurve(TeachDataView::BuildLearningCurve(
        *set, set->iShowSubTypeGetNo(), TeachDataView::iDisplayModeOf(*set) == 0,
        std::max(m_chart->width(), 100), kChartHeight));
}

void OClassifierWindow::UpdateToolbar() {
    for (const auto& [id, action] : m_toolbarActions) {
        const OCommandState state = RoutedState(id);
        action->setEnabled(state.enabled);
        action->setCheckable(id == Cmd::kFeatureForQuality);
        action->setChecked(state.checked);
    }
    const bool typeShown = RoutedState(Cmd::kAddTolerance).enabled;
    m_spin->setEnabled(typeShown);
    m_counterButton->setEnabled(RoutedState(Cmd::kCounterProperties).enabled);
}

// --- the user's actions ---

void OClassifierWindow::OnRowClicked(int row) {
    if (row < 0 || m_refreshing) return;
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || set->iShowFeatureGetNo() == row) return;
    m_doc.SelectFeature(row);
}

void OClassifierWindow::OnRowDoubleClicked(int row) {
    OnRowClicked(row);
    RunCommand(Cmd::kViewToolProperties);
}

QMenu* OClassifierWindow::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(kContextMenu));
    const auto add = [this, menu](int id) {
        QAction* action = menu->addAction(MenuText(id));
        action->setObjectName(QString::number(id));
        const OCommandState state = RoutedState(id);
        action->setEnabled(state.enabled);
        if (id == Cmd::kFeatureForQuality) {
            action->setCheckable(true);
            action->setChecked(state.checked);
        }
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    for (int id : {Cmd::kAddTolerance, Cmd::kDecreaseTolerance})
        add(id);
    menu->addSeparator();
    for (int id : {Cmd::kDeletePartType, Cmd::kPartTypeProperties, Cmd::kCounterProperties,
                   Cmd::kTeachDataEvaluation})
        add(id);
    menu->addSeparator();
    add(Cmd::kFeatureForQuality);
    menu->addSeparator();
    for (int id : {Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, Cmd::kEditDelete,
                   Cmd::kViewToolProperties})
        add(id);
    menu->addSeparator();
    for (int id : {Cmd::kScreenshotToClipboard, Cmd::kScreenshotToFile})
        add(id);
    return menu;
}

void OClassifierWindow::ShowContextMenu(const QPoint& globalPos) {
    m_doc.Views().ActivateFrame(ViewKind::TeachData);
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

void OClassifierWindow::RunCommand(int id) {
    RouteCommand(id);
    UpdateToolbar();
}

// --- commands of the view itself ---

// Copy, cut, paste and delete act on the current feature's tool as in the part contour view,
// whose controller does them (family 1).
template <typename F>
static auto WithContourController(ODoc& doc, F&& f)
    -> std::optional<decltype(f(std::declval<OContourViewController&>()))> {
    auto* engine =
        doc.iGetFamily() == 1 ? dynamic_cast<OExtr_Default*>(doc.opGetExtractor()) : nullptr;
    if (!engine) return std::nullopt;
    OContourViewController controller(*engine, doc.ExtractorHost());
    return f(controller);
}

std::optional<OCommandState> OClassifierWindow::ViewCommandState(int id) {
    if (bIsToolEditCommand(id)) {
        const auto state = WithContourController(
            m_doc, [id](OContourViewController& c) { return c.GetCommandState(id); });
        return state ? *state : OCommandState{};
    }
    switch (id) {
        case Cmd::kScreenshotToClipboard:
        case Cmd::kScreenshotToFile:
            return OCommandState{true, false, std::nullopt};
        case Cmd::kFilePrint:
        case Cmd::kFilePrintPreview: {
            const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
            return OCommandState{set && set->opGetSubType(set->iShowSubTypeGetNo()), false,
                                 std::nullopt};
        }
        default:
            return std::nullopt;
    }
}

bool OClassifierWindow::bOnViewCommand(int id) {
    if (bIsToolEditCommand(id)) {
        WithContourController(m_doc, [id](OContourViewController& c) { return c.bExecute(id); });
        return true;
    }
    return OPrintService::bRunCommand(id, *this, this) ||
           ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
}

OPrintable* OClassifierWindow::opGetPrintable() {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || !set->opGetSubType(set->iShowSubTypeGetNo())) return nullptr;
    m_printable = std::make_unique<OTeachDataPrintable>(*set, TeachDataView::iDisplayModeOf(*set),
                                                        "Teach-Data - " + m_doc.GetTitle());
    return m_printable.get();
}
