// The family-2 part contour window (template 163, window key "EXTRACTOR"): the shown part's
// camera image or contour with the tools drawn by their own drawing data, scale bands with
// pixel or world labels, the tape measure and the status bar; the shape tracker moves,
// resizes and turns the selected tool. What a click, a drag or a command means is decided
// by OKvtViewController; this window paints KvtViewScene into a buffer and adds what needs
// a window: the tracker outline while dragging, cursors, the toolbar, the context menu (243),
// printing and screenshots.
#pragma once

#include <optional>

#include "document/ODocKvtViewHost.h"
#include "extraction/OKvtViewController.h"
#include "extraction/ui/OPartContourWindow.h"

class ODoc;
class OExtr_KVT;

class OExtr_KVTWindow : public OPartContourWindow {
    Q_OBJECT
  public:
    static constexpr int kTemplate = 163;
    static constexpr int kToolbar = 163;

    explicit OExtr_KVTWindow(ODoc& doc, QWidget* parent = nullptr);
    ~OExtr_KVTWindow() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;

    // The engine and the controller of the document's current engine; nullptr / nullopt
    // when the project has no family-2 engine.
    OExtr_KVT* opEngine() const;
    std::optional<OKvtViewController> Controller() const;

    // The context menu (243).
    QMenu* CreateContextMenu() override;
    QSize sizeHint() const override;

    // --- the canvas's events (client pixels of the canvas) ---
    void CanvasMousePress(Qt::MouseButton button, QPoint at) override;
    void CanvasMouseMove(QPoint at, bool leftDown) override;
    void CanvasMouseRelease(Qt::MouseButton button, QPoint at) override;
    void CanvasDoubleClick(Qt::MouseButton button, QPoint at) override;
    void CanvasWheel(int delta, QPoint at) override;
    // Ctrl+arrow moves the selected tool by a pixel.
    bool bCanvasKey(int key, Qt::KeyboardModifiers modifiers) override;

  private:
    enum class Drag { None, Track, Measure };

    bool bPaintScene(OPainter& painter, const OContourSceneArea& area, bool printing) override;
    void PaintOverlay(QPainter& screen) override;
    bool bIsToggle(int commandId) const override;
    void OnSlider(int position) override;
    void UpdateStatusPanes();
    void SyncSlider();
    void Redraw();
    void UpdateCursor(QPoint at);

    // mutable: the controllers this const window hands out may change the setting.
    mutable ODocKvtViewHost m_viewHost;

    // The mouse action running.
    Drag m_drag = Drag::None;
    OKvtLeftButtonDown m_down;
    OKvtRegion m_trackNow{};
    QPoint m_pressAt;
};
