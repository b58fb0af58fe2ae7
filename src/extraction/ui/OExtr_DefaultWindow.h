// The family-1 part contour window (template 162, window key "EXTRACTOR"): the shown part's
// contour over the grid with the tools, drawn by ContourViewScene into a buffer and copied
// to the screen; its toolbar (131) with the zoom slider, its status bar of four panes and its
// context menu (237). The mouse and the keys go to OContourViewController, which decides
// what they do; this window adds what needs a window: tracking a tool's rectangle, the rubber
// band, cursors, the menu, printing and screenshots.
#pragma once

#include <optional>

#include "extraction/OContourViewController.h"
#include "extraction/ui/OPartContourWindow.h"

class ODoc;
class OExtr_Default;
class QRubberBand;

class OExtr_DefaultWindow : public OPartContourWindow {
    Q_OBJECT
  public:
    static constexpr int kToolbar = 131;
    static constexpr int kContextMenu = 237;
    // Within this many pixels of a tracker's corner or edge the mouse resizes the tool.
    static constexpr int kHandlePixels = 4;

    explicit OExtr_DefaultWindow(ODoc& doc, QWidget* parent = nullptr);
    ~OExtr_DefaultWindow() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;

    // The engine and the controller of the document's current engine; nullptr / nullopt
    // when the project has no family-1 engine.
    OExtr_Default* opEngine() const;
    std::optional<OContourViewController> Controller() const;

    // The context menu (237).
    QMenu* CreateContextMenu() override;
    QSize sizeHint() const override;

    // --- the canvas's events (client pixels of the canvas) ---
    void CanvasMousePress(Qt::MouseButton button, QPoint at) override;
    void CanvasMouseMove(QPoint at, bool leftDown) override;
    void CanvasMouseRelease(Qt::MouseButton button, QPoint at) override;
    void CanvasDoubleClick(Qt::MouseButton button, QPoint at) override;
    void CanvasWheel(int delta, QPoint at) override;
    // Ctrl+arrow moves the selected tool by a pixel, Ctrl+Shift+arrow widens or heightens it.
    bool bCanvasKey(int key, Qt::KeyboardModifiers modifiers) override;

  private:
    enum class Drag { None, Track, RubberBand, Measure, Bar };
    enum Handle : int { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

    bool bPaintScene(OPainter& painter, const OContourSceneArea& area, bool printing) override;
    void PaintOverlay(QPainter& screen) override;
    bool bIsToggle(int commandId) const override;
    void OnSlider(int position) override;
    void UpdateStatusPanes();
    void SyncSlider();
    void Redraw();
    // Which edges of the tracker lie under the point (0: inside, moving; -1: outside).
    int HandleAt(const QRect& tracker, QPoint at) const;
    void UpdateCursor(QPoint at);

    // The mouse action running.
    Drag m_drag = Drag::None;
    int m_trackTool = -1;
    int m_trackHandle = 0;
    QRect m_trackBefore;
    QRect m_trackNow;
    QPoint m_pressAt;
    QRubberBand* m_rubberBand = nullptr;
};
