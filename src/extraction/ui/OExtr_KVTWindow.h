// The family-2 part contour window (template 163, window key "EXTRACTOR"): the shown part's
// camera image or contour with the tools drawn by their own drawing data, scale bands with
// pixel or world labels, the tape measure and the status bar; the shape tracker moves,
// resizes and turns the selected tool. What a click, a drag or a command means is decided
// by OKvtViewController; this window paints KvtViewScene into a buffer and adds what needs
// a window: the tracker outline while dragging, cursors, the toolbar, the context menu (243),
// printing and screenshots.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <optional>

#include "document/ODocKvtViewHost.h"
#include "document/ui/OViewWidget.h"
#include "extraction/OKvtViewController.h"
#include "extraction/ui/OViewCanvas.h"

class ODoc;
class OExtr_KVT;
class OContourPrintable;
class QAction;
class QLabel;
class QMenu;
class QSlider;
class QStatusBar;
class QToolBar;

class OExtr_KVTWindow : public QWidget, public OViewWidget, public OViewCanvasClient {
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
    OPrintable* opGetPrintable() override;

    // The engine and the controller of the document's current engine; nullptr / nullopt
    // when the project has no family-2 engine.
    OExtr_KVT* opEngine() const;
    std::optional<OKvtViewController> Controller() const;

    QWidget* Canvas() const { return m_canvas; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QSlider* ZoomSlider() const { return m_slider; }
    QLabel* StatusPane(int index) const;
    QAction* ToolbarAction(int id) const;
    // The context menu (243) with its entries' states, as a right click opens it.
    QMenu* CreateContextMenu();
    // The canvas as the screen shows it (the buffer of the last paint).
    QImage Screenshot();
    QSize sizeHint() const override;

    // --- the canvas's events (client pixels of the canvas) ---
    void PaintCanvas(QPainter& painter) override;
    void CanvasMousePress(Qt::MouseButton button, QPoint at) override;
    void CanvasMouseMove(QPoint at, bool leftDown) override;
    void CanvasMouseRelease(Qt::MouseButton button, QPoint at) override;
    void CanvasDoubleClick(Qt::MouseButton button, QPoint at) override;
    void CanvasWheel(int delta, QPoint at) override;
    // Ctrl+arrow moves the selected tool by a pixel.
    bool bCanvasKey(int key, Qt::KeyboardModifiers modifiers) override;

  private:
    enum class Drag { None, Track, Measure };

    void BuildToolbar();
    void BuildStatusBar();
    void UpdateToolbar();
    void UpdateStatusPanes();
    void SyncSlider();
    void OnSlider(int position);
    void RunCommand(int commandId);
    void Redraw();
    void UpdateCursor(QPoint at);
    void ShowContextMenu(QPoint globalPos);
    void PrintOrPreview(bool preview);

    ODoc& m_doc;
    // mutable: the controllers this const window hands out may change the setting.
    mutable ODocKvtViewHost m_viewHost;
    OViewCanvas* m_canvas = nullptr;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_toolbarActions;
    QSlider* m_slider = nullptr;
    bool m_settingSlider = false;
    QStatusBar* m_statusBar = nullptr;
    std::array<QLabel*, 4> m_panes{};
    QTimer m_toolbarTimer;
    QImage m_buffer;
    std::unique_ptr<OContourPrintable> m_printable;

    // The mouse action running.
    Drag m_drag = Drag::None;
    OKvtLeftButtonDown m_down;
    OKvtRegion m_trackNow{};
    QPoint m_pressAt;
};
