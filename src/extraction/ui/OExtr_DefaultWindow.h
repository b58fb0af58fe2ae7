// The family-1 part contour window (template 162, window key "EXTRACTOR"): the shown part's
// contour over the grid with the tools, drawn by ContourViewScene into a buffer and copied
// to the screen; its toolbar (131) with the zoom slider, its status bar of four panes and its
// context menu (237). The mouse and the keys go to OContourViewController, which decides
// what they do; this window adds what needs a window: tracking a tool's rectangle, the rubber
// band, cursors, the menu, printing and screenshots.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <optional>

#include "document/ui/OViewWidget.h"
#include "extraction/OContourViewController.h"
#include "extraction/ui/OViewCanvas.h"

class ODoc;
class OExtr_Default;
class OContourPrintable;
class QAction;
class QLabel;
class QMenu;
class QRubberBand;
class QSlider;
class QStatusBar;
class QToolBar;

class OExtr_DefaultWindow : public QWidget, public OViewWidget, public OViewCanvasClient {
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
    OPrintable* opGetPrintable() override;

    // The engine and the controller of the document's current engine; nullptr / nullopt
    // when the project has no family-1 engine.
    OExtr_Default* opEngine() const;
    std::optional<OContourViewController> Controller() const;

    QWidget* Canvas() const { return m_canvas; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QSlider* ZoomSlider() const { return m_slider; }
    QLabel* StatusPane(int index) const;
    // The context menu (237) with its entries' states, as a right click opens it.
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
    // Ctrl+arrow moves the selected tool by a pixel, Ctrl+Shift+arrow widens or heightens it.
    bool bCanvasKey(int key, Qt::KeyboardModifiers modifiers) override;

  private:
    enum class Drag { None, Track, RubberBand, Measure, Bar };
    enum Handle : int { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };

    void BuildToolbar();
    void BuildStatusBar();
    void UpdateToolbar();
    void UpdateStatusPanes();
    void SyncSlider();
    void OnSlider(int position);
    void RunCommand(int commandId);
    void Redraw();
    // Which edges of the tracker lie under the point (0: inside, moving; -1: outside).
    int HandleAt(const QRect& tracker, QPoint at) const;
    void UpdateCursor(QPoint at);
    void ShowContextMenu(QPoint globalPos);
    void PrintOrPreview(bool preview);

    ODoc& m_doc;
    QWidget* m_canvas = nullptr;
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
    int m_trackTool = -1;
    int m_trackHandle = 0;
    QRect m_trackBefore;
    QRect m_trackNow;
    QPoint m_pressAt;
    QRubberBand* m_rubberBand = nullptr;
};
