#include "extraction/ui/OExtr_DefaultWindow.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRubberBand>
#include <set>

#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "extraction/OContourEditCommands.h"
#include "extraction/OContourViewScene.h"
#include "extraction/OContourViewText.h"
#include "extraction/OContourViewZoom.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OToolTracking.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/OContourColumns.h"

namespace {

using namespace ContourViewCommand;

constexpr int kFirstAddToolEntry = 2;  // the context menu's "Add tool..." entries start here
constexpr int kAddToolEntries = 11;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The commands this window executes itself; the others go on to the document.
bool bIsWindowCommand(int id) {
    static const std::set<int> ids = {kDeletePart,
                                      kPartProperties,
                                      kCopyTool,
                                      kCutTool,
                                      kPasteTool,
                                      kDelete,
                                      kToolProperties,
                                      kUseForQuality,
                                      kMagnifier,
                                      kTapeMeasureSettings,
                                      kScreenshotToClipboard,
                                      kScreenshotToFile,
                                      kPrint,
                                      kPrintPreview};
    return ids.contains(id);
}

const std::vector<int>& ToolbarCommands() {
    static const std::vector<int> commands = {kCutTool,
                                              kCopyTool,
                                              kPasteTool,
                                              kDelete,
                                              0,
                                              kToolProperties,
                                              kPartProperties,
                                              0,
                                              Cmd::kPrevPart,
                                              Cmd::kNextPart,
                                              Cmd::kSwitchTeachTest,
                                              0,
                                              kMagnifier,
                                              ContourViewZoom::kSliderId,
                                              0,
                                              kPrint,
                                              kScreenshotToClipboard,
                                              kScreenshotToFile};
    return commands;
}

QRect ToQRect(const ORect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

ORect ToORect(const QRect& r) {
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

OPoint ToOPoint(QPoint p) {
    return {p.x(), p.y()};
}

}  // namespace

OExtr_DefaultWindow::OExtr_DefaultWindow(ODoc& doc, QWidget* parent)
    : OPartContourWindow(doc, parent, kToolbar, ToolbarCommands()) {
    setObjectName("162");
    m_rubberBand = new QRubberBand(QRubberBand::Rectangle, m_canvas);
    OnUpdate();
}

OExtr_DefaultWindow::~OExtr_DefaultWindow() = default;

QSize OExtr_DefaultWindow::sizeHint() const {
    return {640, 480};
}

OExtr_Default* OExtr_DefaultWindow::opEngine() const {
    return m_doc.opGetSession() ? dynamic_cast<OExtr_Default*>(m_doc.opEnsureExtractor()) : nullptr;
}

std::optional<OContourViewController> OExtr_DefaultWindow::Controller() const {
    OExtr_Default* engine = opEngine();
    if (!engine) return std::nullopt;
    OContourViewController controller(*engine, m_doc.ExtractorHost());
    controller.SetClientSize(m_canvas->width(), m_canvas->height());
    return controller;
}

// --- refresh ---

void OExtr_DefaultWindow::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    UpdateStatusPanes();
    SyncSlider();
    UpdateToolbar();
    m_canvas->update();
}

void OExtr_DefaultWindow::Redraw() {
    UpdateStatusPanes();
    m_canvas->update();
}

void OExtr_DefaultWindow::UpdateStatusPanes() {
    std::optional<OContourViewController> view = Controller();
    const ContourViewText::OStatusPanes panes =
        view ? view->StatusPanes() : ContourViewText::OStatusPanes{};
    for (size_t i = 1; i < Panes().size(); ++i)
        Panes()[i]->setText(view ? Q(panes.text[i]) : QString(" "));
}

void OExtr_DefaultWindow::SyncSlider() {
    if (const OExtr_Default* engine = opEngine())
        SetSliderQuietly(ContourViewZoom::SliderPosition(engine->ViewState().zoom));
}

void OExtr_DefaultWindow::OnSlider(int position) {
    OExtr_Default* engine = opEngine();
    if (bSettingSlider() || !engine) return;
    int shown = position;
    if (!ContourViewZoom::bOnSlider(engine->ViewState(), position, shown)) return;
    SetSliderQuietly(shown);
    Redraw();
}

bool OExtr_DefaultWindow::bIsToggle(int id) const {
    return id == kMagnifier || id == Cmd::kSwitchTeachTest;
}

// --- painting ---

bool OExtr_DefaultWindow::bPaintScene(OPainter& painter, const OContourSceneArea& area,
                                      bool printing) {
    std::optional<OContourViewController> view = Controller();
    if (!view) return false;
    if (printing) {
        view->SetClientSize(area.width, area.height);
    } else {
        const OViewFrame frame =
            PrepareContourView(view->Engine().ViewState(), area.width, area.height);
        if (frame.movePointer)
            QCursor::setPos(m_canvas->mapToGlobal(QPoint(frame.pointer.x, frame.pointer.y)));
    }
    ContourViewScene::Paint(painter, *view, area, printing);
    return true;
}

void OExtr_DefaultWindow::PaintOverlay(QPainter& screen) {
    if (m_drag != Drag::Track) return;
    // The tracker of the tool being moved or resized.
    screen.setPen(QPen(Qt::black, 1, Qt::DashLine));
    screen.setBrush(Qt::NoBrush);
    screen.drawRect(m_trackNow);
}

// --- the mouse ---

int OExtr_DefaultWindow::HandleAt(const QRect& tracker, QPoint at) const {
    const QRect outer =
        tracker.adjusted(-kHandlePixels, -kHandlePixels, kHandlePixels, kHandlePixels);
    if (!outer.contains(at)) return -1;
    int edges = 0;
    if (std::abs(at.x() - tracker.left()) <= kHandlePixels) edges |= kLeft;
    if (std::abs(at.x() - tracker.right()) <= kHandlePixels) edges |= kRight;
    if (std::abs(at.y() - tracker.top()) <= kHandlePixels) edges |= kTop;
    if (std::abs(at.y() - tracker.bottom()) <= kHandlePixels) edges |= kBottom;
    // A tracker narrower than two handles moves from its middle.
    if ((edges & (kLeft | kRight)) == (kLeft | kRight)) edges &= ~(kLeft | kRight);
    if ((edges & (kTop | kBottom)) == (kTop | kBottom)) edges &= ~(kTop | kBottom);
    return edges;
}

void OExtr_DefaultWindow::CanvasMousePress(Qt::MouseButton button, QPoint at) {
    std::optional<OContourViewController> view = Controller();
    if (!view) return;
    m_pressAt = at;
    if (button == Qt::RightButton) {
        if (view->OnRightButtonDown(ToOPoint(at))) {
            ShowContextMenu(m_canvas->mapToGlobal(at));
        } else {
            Redraw();
        }
        return;
    }
    if (button != Qt::LeftButton) return;
    const OLeftButtonDown down = view->OnLeftButtonDown(ToOPoint(at));
    switch (down.action) {
        case OLeftButtonDown::Action::DragLowerBar:
        case OLeftButtonDown::Action::DragUpperBar:
            m_drag = Drag::Bar;
            break;
        case OLeftButtonDown::Action::RubberBand:
            m_drag = Drag::RubberBand;
            m_rubberBand->setGeometry(QRect(at, QSize(ContourViewZoom::kRubberBandMinMove,
                                                      ContourViewZoom::kRubberBandMinMove)));
            m_rubberBand->show();
            break;
        case OLeftButtonDown::Action::TrackTool: {
            m_drag = Drag::Track;
            m_trackTool = down.tool;
            m_trackBefore = ToQRect(down.tracker).normalized();
            m_trackNow = m_trackBefore;
            m_trackHandle = std::max(0, HandleAt(m_trackBefore, at));
            break;
        }
        case OLeftButtonDown::Action::TapeMeasure:
            m_drag = Drag::Measure;
            break;
        case OLeftButtonDown::Action::None:
            m_drag = Drag::None;
            break;
    }
    m_doc.Views().ActivateFrame(ViewKind::PartContour);
    m_canvas->setFocus(Qt::MouseFocusReason);
    Redraw();
}

void OExtr_DefaultWindow::CanvasMouseMove(QPoint at, bool leftDown) {
    std::optional<OContourViewController> view = Controller();
    if (!view) return;
    Panes()[0]->setText(Q(view->OnMouseMove(ToOPoint(at), leftDown && m_drag == Drag::Bar)));
    const QPoint delta = at - m_pressAt;
    switch (m_drag) {
        case Drag::Track: {
            QRect r = m_trackBefore;
            if (m_trackHandle == 0) {
                r.translate(delta);
            } else {
                if (m_trackHandle & kLeft) r.setLeft(r.left() + delta.x());
                if (m_trackHandle & kRight) r.setRight(r.right() + delta.x());
                if (m_trackHandle & kTop) r.setTop(r.top() + delta.y());
                if (m_trackHandle & kBottom) r.setBottom(r.bottom() + delta.y());
                r = r.normalized();
            }
            m_trackNow = r;
            m_canvas->update();
            break;
        }
        case Drag::RubberBand:
            m_rubberBand->setGeometry(QRect(m_pressAt, at).normalized());
            break;
        case Drag::Measure:
        case Drag::Bar:
            m_canvas->update();
            break;
        case Drag::None:
            break;
    }
    UpdateCursor(at);
}

void OExtr_DefaultWindow::CanvasMouseRelease(Qt::MouseButton button, QPoint at) {
    if (button != Qt::LeftButton) return;
    std::optional<OContourViewController> view = Controller();
    const Drag drag = std::exchange(m_drag, Drag::None);
    if (!view) return;
    switch (drag) {
        case Drag::Track:
            // Commits, recomputes and updates every view when the rectangle changed.
            if (m_trackNow != m_trackBefore)
                view->OnToolTracked(m_trackTool, ToORect(m_trackBefore), ToORect(m_trackNow));
            break;
        case Drag::RubberBand:
            m_rubberBand->hide();
            view->OnRubberBandEnded(ToOPoint(m_pressAt), ToOPoint(at));
            break;
        default:
            view->OnLeftButtonUp();
            break;
    }
    m_trackTool = -1;
    Redraw();
}

void OExtr_DefaultWindow::CanvasDoubleClick(Qt::MouseButton button, QPoint at) {
    std::optional<OContourViewController> view = Controller();
    if (!view) return;
    if (button == Qt::LeftButton) view->OnLeftDoubleClick(ToOPoint(at));
    if (button == Qt::RightButton) view->OnRightDoubleClick(ToOPoint(at));
    Redraw();
}

void OExtr_DefaultWindow::CanvasWheel(int delta, QPoint at) {
    std::optional<OContourViewController> view = Controller();
    if (!view || delta == 0) return;
    // Turning the wheel towards the user widens the visible range.
    if (view->OnWheel(delta < 0, ToOPoint(at))) Redraw();
}

bool OExtr_DefaultWindow::bCanvasKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::ControlModifier)) return false;
    int dx = 0;
    int dy = 0;
    switch (key) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = 1;  // rows count upwards
            break;
        case Qt::Key_Down:
            dy = -1;
            break;
        default:
            return false;
    }
    std::optional<OContourViewController> view = Controller();
    if (!view) return true;
    const bool resize = modifiers & Qt::ShiftModifier;
    if (resize) {
        view->bNudgeSelectedTool(0, 0, dx, dy);
    } else {
        view->bNudgeSelectedTool(dx, dy, 0, 0);
    }
    Redraw();
    return true;
}

void OExtr_DefaultWindow::UpdateCursor(QPoint at) {
    std::optional<OContourViewController> view = Controller();
    if (!view) return;
    bool overHandle = false;
    const OContourViewState& state = view->Engine().ViewState();
    if (m_drag == Drag::Track) {
        overHandle = true;
    } else if (state.selectedTool >= 0 && !state.measuring) {
        // The selected tool's tracker: its handles resize, its inside moves.
        if (const auto* set = m_doc.opGetActualPartSet()) {
            if (const OType_ConfigTool* tool = set->Tools().opGetAt(state.selectedTool)) {
                OContourColumns columns;
                if (const OType_Part* part = set->opGetShowPart()) columns.Build(part->Contour());
                const QRect tracker = ToQRect(ToolTracking::TrackerRect(
                    ToolTracking::PlacedRegion(*tool, columns), state, view->Mapping()));
                overHandle =
                    ToolTracking::bHasRegion(*tool) && HandleAt(tracker.normalized(), at) >= 0;
            }
        }
    }
    switch (view->CursorAt(ToOPoint(at), overHandle)) {
        case OContourCursor::Arrow:
            m_canvas->setCursor(Qt::ArrowCursor);
            break;
        case OContourCursor::Measure:
            m_canvas->setCursor(Qt::CrossCursor);
            break;
        case OContourCursor::Magnifier:
            m_canvas->setCursor(Qt::PointingHandCursor);
            break;
        case OContourCursor::TrackerHandle: {
            const int edges = HandleAt(m_drag == Drag::Track ? m_trackNow : m_trackBefore, at);
            m_canvas->setCursor(
                edges == (kLeft | kTop) || edges == (kRight | kBottom)   ? Qt::SizeFDiagCursor
                : edges == (kLeft | kBottom) || edges == (kRight | kTop) ? Qt::SizeBDiagCursor
                : edges & (kLeft | kRight)                               ? Qt::SizeHorCursor
                : edges & (kTop | kBottom)                               ? Qt::SizeVerCursor
                                                                         : Qt::SizeAllCursor);
            break;
        }
    }
}

// --- commands ---

std::optional<OCommandState> OExtr_DefaultWindow::ViewCommandState(int id) {
    if (!bIsWindowCommand(id)) return std::nullopt;
    std::optional<OContourViewController> view = Controller();
    if (!view) return OCommandState{false, false, std::nullopt};
    return view->GetCommandState(id);
}

bool OExtr_DefaultWindow::bOnViewCommand(int id) {
    if (!bIsWindowCommand(id)) return false;
    std::optional<OContourViewController> view = Controller();
    if (!view || !view->GetCommandState(id).enabled) return true;
    if (!bRunOutputCommand(id)) view->bExecute(id);
    UpdateToolbar();
    Redraw();
    return true;
}

QMenu* OExtr_DefaultWindow::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(kContextMenu));
    QMenu* addTools = nullptr;
    const auto& entries = ContourContextMenu();
    for (size_t i = 0; i < entries.size(); ++i) {
        const OContourMenuEntry& entry = entries[i];
        const bool addTool = i >= kFirstAddToolEntry && i < kFirstAddToolEntry + kAddToolEntries;
        QMenu* into = menu;
        if (addTool) {
            if (!addTools) addTools = menu->addMenu("Add tool");
            into = addTools;
        }
        // Groups: part, tools, features, contour editing, settings and screenshots.
        if (entry.id == kCopyTool || entry.id == ContourEditCommand::kViewingArea ||
            entry.id == kTapeMeasureSettings)
            menu->addSeparator();
        QAction* action = into->addAction(Q(entry.text));
        action->setObjectName(QString::number(entry.id));
        const OCommandState state = RoutedState(entry.id);
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        connect(action, &QAction::triggered, this, [this, id = entry.id] { RunCommand(id); });
    }
    return menu;
}
