#include "extraction/ui/OExtr_KVTWindow.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <set>
#include <utility>

#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewText.h"
#include "extraction/OContourViewZoom.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OKvtViewScene.h"
#include "managers/OToolManagerController.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace {

using namespace ContourViewCommand;
using namespace KvtViewCommand;
using Grip = KvtShapeTracker::Grip;

constexpr int kDeleteCameraImages = 33018;
constexpr const char* kAddToolMenu = "&Tools/Add &tool";
// The widest pointer text: world coordinates with brightness, hue and colour.
constexpr const char* kWidestPointerText =
    "Xw:-0000.00 Yw:-0000.00  Brightness:255  Hue:191  RGB:255,255,255";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The commands this window executes itself; the others go on to the document.
bool bIsWindowCommand(int id) {
    static const std::set<int> ids = {kSwitchImage,
                                      kShowUnselectedTools,
                                      kRenameFeature,
                                      kResetFeatureNames,
                                      kMoveUp,
                                      kMoveDown,
                                      kCopyTool,
                                      kPasteTool,
                                      kDelete,
                                      kToolProperties,
                                      kUseForQuality,
                                      kTapeMeasureSettings,
                                      kScreenshotToClipboard,
                                      kScreenshotToFile,
                                      kPrint,
                                      kPrintPreview};
    return ids.contains(id);
}

const std::vector<int>& ToolbarCommands() {
    static const std::vector<int> commands = {kCopyTool,
                                              kPasteTool,
                                              kDelete,
                                              0,
                                              kToolProperties,
                                              kMoveUp,
                                              kMoveDown,
                                              0,
                                              Cmd::kPrevPart,
                                              Cmd::kNextPart,
                                              Cmd::kSwitchTeachTest,
                                              0,
                                              kSwitchImage,
                                              kShowUnselectedTools,
                                              ContourViewZoom::kSliderId,
                                              0,
                                              kPrint,
                                              kScreenshotToClipboard,
                                              kScreenshotToFile};
    return commands;
}

// The context menu (243) after its "Add tool..." entries.
struct OMenuEntry {
    int id;
    const char* text;
};
const std::vector<OMenuEntry>& MenuEntries() {
    static const std::vector<OMenuEntry> entries = {
        {kCopyTool, "&Copy tool\tCtrl+C"},
        {kPasteTool, "&Paste tool\tCtrl+V"},
        {kDelete, "Delete tool or feature\tDel"},
        {kToolProperties, "Tool properties\tAlt+S"},
        {kRenameFeature, "Rename feature\tF2"},
        {kResetFeatureNames, "Reset all feature names of tool"},
        {kMoveUp, "Move up"},
        {kMoveDown, "Move down"},
        {kUseForQuality, "Use feature for quality decision\tCtrl+D"},
        {0, nullptr},
        {kSwitchImage, "Switch between contour and camera image"},
        {kShowUnselectedTools, "Show position of unselected tools"},
        {kDeleteCameraImages, "Delete camera images"},
        {0, nullptr},
        {kTapeMeasureSettings, "Settings for tape measure"},
        {kScreenshotToClipboard, "Copy screenshot to &clipboard"},
        {kScreenshotToFile, "Save screenshot to &file"},
    };
    return entries;
}

OPoint ToOPoint(QPoint p) {
    return {p.x(), p.y()};
}

Qt::CursorShape CursorOf(Grip grip, double angle) {
    // Edges and corners turn with the region: pick the shape nearest to the turned axis.
    const int quarter = static_cast<int>(std::lround(angle / 45.0)) & 3;
    static const Qt::CursorShape sides[4] = {Qt::SizeHorCursor, Qt::SizeBDiagCursor,
                                             Qt::SizeVerCursor, Qt::SizeFDiagCursor};
    switch (grip) {
        case Grip::Move:
            return Qt::SizeAllCursor;
        case Grip::Turn:
            return Qt::PointingHandCursor;
        case Grip::Left:
        case Grip::Right:
            return sides[quarter];
        case Grip::Top:
        case Grip::Bottom:
            return sides[(quarter + 2) & 3];
        case Grip::TopLeft:
        case Grip::BottomRight:
            return sides[(quarter + 3) & 3];
        case Grip::TopRight:
        case Grip::BottomLeft:
            return sides[(quarter + 1) & 3];
        case Grip::None:
            break;
    }
    return Qt::CrossCursor;
}

}  // namespace

OExtr_KVTWindow::OExtr_KVTWindow(ODoc& doc, QWidget* parent)
    : OPartContourWindow(doc, parent, kToolbar, ToolbarCommands(), kWidestPointerText),
      m_viewHost(doc) {
    setObjectName(QString::number(kTemplate));
    if (OExtr_KVT* engine = opEngine()) engine->ShowImageRegion();
    OnUpdate();
}

OExtr_KVTWindow::~OExtr_KVTWindow() = default;

QSize OExtr_KVTWindow::sizeHint() const {
    return {720, 560};
}

OExtr_KVT* OExtr_KVTWindow::opEngine() const {
    return m_doc.opGetSession() ? dynamic_cast<OExtr_KVT*>(m_doc.opEnsureExtractor()) : nullptr;
}

std::optional<OKvtViewController> OExtr_KVTWindow::Controller() const {
    OExtr_KVT* engine = opEngine();
    if (!engine) return std::nullopt;
    OKvtViewController controller(*engine, m_doc.ExtractorHost(), m_viewHost);
    controller.SetClientSize(m_canvas->width(), m_canvas->height());
    return controller;
}

// --- refresh ---

void OExtr_KVTWindow::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    if (OExtr_KVT* engine = opEngine()) engine->InvalidateDrawings();
    UpdateStatusPanes();
    SyncSlider();
    UpdateToolbar();
    m_canvas->update();
}

void OExtr_KVTWindow::Redraw() {
    UpdateStatusPanes();
    SyncSlider();
    m_canvas->update();
}

void OExtr_KVTWindow::UpdateStatusPanes() {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!opEngine() || !set) {
        for (size_t i = 1; i < Panes().size(); ++i)
            Panes()[i]->setText(" ");
        return;
    }
    OExtractorHost& host = m_doc.ExtractorHost();
    const ContourViewText::OStatusPanes panes = ContourViewText::PartPanes(
        set->opGetShowPart(), set->iShowGetTeachTest() == 1, host.GetTargetSystem().orientations,
        host.bUsesOrientations(), host.bUsesTypes());
    for (size_t i = 1; i < Panes().size(); ++i)
        Panes()[i]->setText(Q(panes.text[i]));
}

void OExtr_KVTWindow::SyncSlider() {
    if (std::optional<OKvtViewController> view = Controller())
        SetSliderQuietly(ContourViewZoom::SliderPosition(view->dGetZoom()));
}

void OExtr_KVTWindow::OnSlider(int position) {
    std::optional<OKvtViewController> view = Controller();
    if (bSettingSlider() || !view) return;
    // The slider shows ln(zoom) · 100 + 100; near 1 it snaps to the whole picture.
    double zoom = std::exp((position - ContourViewZoom::kSliderTick) / 100.0);
    if (std::abs(zoom - 1.0) < 0.1) zoom = 1.0;
    view->SetZoom(zoom);
    Redraw();
}

bool OExtr_KVTWindow::bIsToggle(int id) const {
    return id == kSwitchImage || id == kShowUnselectedTools || id == Cmd::kSwitchTeachTest;
}

// --- painting ---

bool OExtr_KVTWindow::bPaintScene(OPainter& painter, const OContourSceneArea& area, bool printing) {
    std::optional<OKvtViewController> view = Controller();
    if (!view) return false;
    KvtViewScene::Paint(painter, *view, area, printing);
    return true;
}

void OExtr_KVTWindow::PaintOverlay(QPainter& screen) {
    std::optional<OKvtViewController> view = Controller();
    if (!view || m_drag != Drag::Track) return;
    // The tracker of the region being moved, resized or turned.
    const OKvtViewMapping mapping = view->Mapping();
    QPolygonF outline;
    for (const OPointD& corner : m_trackNow.Corners()) {
        const OPointD w = mapping.ToWindow(corner);
        outline << QPointF(w.x, w.y);
    }
    screen.setPen(QPen(Qt::white, 1, Qt::DashLine));
    screen.setBrush(Qt::NoBrush);
    screen.drawPolygon(outline);
}

// --- the mouse ---

void OExtr_KVTWindow::CanvasMousePress(Qt::MouseButton button, QPoint at) {
    std::optional<OKvtViewController> view = Controller();
    if (!view) return;
    m_pressAt = at;
    if (button == Qt::RightButton) {
        ShowContextMenu(m_canvas->mapToGlobal(at));
        return;
    }
    if (button != Qt::LeftButton) return;
    m_down = view->OnLeftButtonDown(ToOPoint(at));
    switch (m_down.action) {
        case OKvtLeftButtonDown::Action::TrackTool:
            m_drag = Drag::Track;
            m_trackNow = m_down.region;
            break;
        case OKvtLeftButtonDown::Action::TapeMeasure:
            m_drag = Drag::Measure;
            break;
        case OKvtLeftButtonDown::Action::None:
            m_drag = Drag::None;
            break;
    }
    m_doc.Views().ActivateFrame(ViewKind::PartContour);
    m_canvas->setFocus(Qt::MouseFocusReason);
    Redraw();
}

void OExtr_KVTWindow::CanvasMouseMove(QPoint at, bool /*leftDown*/) {
    std::optional<OKvtViewController> view = Controller();
    if (!view) return;
    Panes()[0]->setText(Q(view->OnMouseMove(ToOPoint(at))));
    if (m_drag == Drag::Track) {
        m_trackNow = view->TrackedRegion(m_down, ToOPoint(m_pressAt), ToOPoint(at), m_trackNow);
        m_canvas->update();
    } else if (m_drag == Drag::Measure) {
        m_canvas->update();
    }
    UpdateCursor(at);
}

void OExtr_KVTWindow::CanvasMouseRelease(Qt::MouseButton button, QPoint /*at*/) {
    if (button != Qt::LeftButton) return;
    std::optional<OKvtViewController> view = Controller();
    const Drag drag = std::exchange(m_drag, Drag::None);
    if (!view) return;
    if (drag == Drag::Track) {
        // Commits, recomputes and updates every view when the region changed.
        if (!(m_trackNow == m_down.region)) view->OnToolTracked(m_down.tool, m_trackNow);
    } else {
        view->OnLeftButtonUp();
    }
    Redraw();
}

void OExtr_KVTWindow::CanvasDoubleClick(Qt::MouseButton button, QPoint at) {
    std::optional<OKvtViewController> view = Controller();
    if (!view || button != Qt::LeftButton) return;
    view->OnLeftDoubleClick(ToOPoint(at));
    Redraw();
}

void OExtr_KVTWindow::CanvasWheel(int delta, QPoint at) {
    std::optional<OKvtViewController> view = Controller();
    if (!view || delta == 0) return;
    // Turning the wheel towards the user widens the visible range.
    if (view->OnWheel(delta < 0, ToOPoint(at))) Redraw();
}

bool OExtr_KVTWindow::bCanvasKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::ControlModifier)) return false;
    double dx = 0, dy = 0;
    switch (key) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;  // image rows count downwards
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            return false;
    }
    std::optional<OKvtViewController> view = Controller();
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!view || !set) return true;
    view->SyncShownImage();
    const int index = view->Engine().ViewState().selectedTool;
    const auto* tool = dynamic_cast<const OType_ConfigTool_KVT*>(set->Tools().opGetAt(index));
    if (!tool || !tool->bUsesImage()) return true;
    const OKvtShownPicture picture = view->ShownPicture();
    if (const auto moved = KvtShapeTracker::Dragged(tool->GetShape(), Grip::Move, {0, 0}, {dx, dy},
                                                    picture.width, picture.height))
        view->OnToolTracked(index, *moved);
    Redraw();
    return true;
}

void OExtr_KVTWindow::UpdateCursor(QPoint at) {
    std::optional<OKvtViewController> view = Controller();
    if (!view) return;
    if (m_drag == Drag::Track) {
        m_canvas->setCursor(CursorOf(m_down.grip, m_trackNow.angle));
        return;
    }
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int index = view->Engine().ViewState().selectedTool;
    const auto* tool =
        set ? dynamic_cast<const OType_ConfigTool_KVT*>(set->Tools().opGetAt(index)) : nullptr;
    Grip grip = Grip::None;
    if (tool && tool->bUsesImage() && m_drag == Drag::None)
        grip = KvtShapeTracker::GripAt(tool->GetShape(), view->Mapping(),
                                       {double(at.x()), double(at.y())});
    if (grip != Grip::None) {
        m_canvas->setCursor(CursorOf(grip, tool->GetShape().angle));
    } else {
        const bool inside = bInKvtDrawingArea(ToOPoint(at), m_canvas->width(), m_canvas->height());
        m_canvas->setCursor(inside ? Qt::CrossCursor : Qt::ArrowCursor);
    }
}

// --- commands ---

std::optional<OCommandState> OExtr_KVTWindow::ViewCommandState(int id) {
    if (!bIsWindowCommand(id)) return std::nullopt;
    std::optional<OKvtViewController> view = Controller();
    if (!view) return OCommandState{false, false, std::nullopt};
    if (id == kMoveUp || id == kMoveDown) return OToolManagerController(m_doc).GetCommandState(id);
    return view->GetCommandState(id);
}

bool OExtr_KVTWindow::bOnViewCommand(int id) {
    if (!bIsWindowCommand(id)) return false;
    std::optional<OKvtViewController> view = Controller();
    if (!view || !ViewCommandState(id)->enabled) return true;
    switch (id) {
        case kMoveUp:
            OToolManagerController(m_doc).bMoveUp();
            break;
        case kMoveDown:
            OToolManagerController(m_doc).bMoveDown();
            break;
        default:
            if (!bRunOutputCommand(id)) view->bExecute(id);
            break;
    }
    UpdateToolbar();
    Redraw();
    return true;
}

QMenu* OExtr_KVTWindow::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(kContextMenu));
    auto add = [this](QMenu* into, int id, std::string_view text) {
        QAction* action = into->addAction(Q(text));
        action->setObjectName(QString::number(id));
        const OCommandState state = RoutedState(id);
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    // The tool kinds of the device, as the main menu offers them.
    QMenu* addTools = menu->addMenu("Add tool");
    for (const OCommandInfo& info : CommandTable()) {
        if (info.id == 0 || info.menuPath != kAddToolMenu) continue;
        if (RoutedState(info.id).enabled) add(addTools, info.id, info.text);
    }
    addTools->setEnabled(!addTools->isEmpty());
    menu->addSeparator();
    for (const OMenuEntry& entry : MenuEntries()) {
        if (entry.id == 0) {
            menu->addSeparator();
            continue;
        }
        add(menu, entry.id, entry.text);
    }
    return menu;
}
