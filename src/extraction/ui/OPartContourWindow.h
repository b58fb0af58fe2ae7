// What the part contour windows of both families share: the toolbar with its zoom slider over
// the canvas, the status bar of four panes, the scene painted into a buffer and copied to the
// screen, printing through OContourPrintable and screenshots. A family's window supplies its
// scene, its toggles, its zoom, its context menu and what the mouse and the keys do.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "document/ui/OViewWidget.h"
#include "extraction/ui/OViewCanvas.h"

class ODoc;
class OContourPrintable;
class OPainter;
class QAction;
class QLabel;
class QMenu;
class QSlider;
class QStatusBar;
class QToolBar;
struct OContourSceneArea;

class OPartContourWindow : public QWidget, public OViewWidget, public OViewCanvasClient {
    Q_OBJECT
  public:
    ~OPartContourWindow() override;

    QWidget* Canvas() const { return m_canvas; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QSlider* ZoomSlider() const { return m_slider; }
    QLabel* StatusPane(int index) const;
    QAction* ToolbarAction(int id) const;
    // The context menu with its entries' states, as a right click opens it.
    virtual QMenu* CreateContextMenu() = 0;
    // The canvas as the screen shows it (the buffer of the last paint).
    QImage Screenshot();

    // --- OViewWidget ---
    OPrintable* opGetPrintable() override;

    // --- OViewCanvasClient ---
    void PaintCanvas(QPainter& painter) override;

  protected:
    // toolbarCommands: ids in order, 0 for a separator. widestPointerText: the longest text
    // of the pointer pane when it is wider than the family-1 texts (else empty).
    OPartContourWindow(ODoc& doc, QWidget* parent, int toolbarId,
                       const std::vector<int>& toolbarCommands,
                       std::string_view widestPointerText = {});

    // Paints the family's scene; false when there is nothing to paint (no engine), which
    // leaves the canvas white. `printing` is true for printer pages and PDF.
    virtual bool bPaintScene(OPainter& painter, const OContourSceneArea& area, bool printing) = 0;
    // What only the screen shows, over the copied buffer (the tracker of a drag).
    virtual void PaintOverlay(QPainter& /*screen*/) {}
    // Toolbar commands shown as toggle buttons even while they are off.
    virtual bool bIsToggle(int commandId) const = 0;
    virtual void OnSlider(int position) = 0;

    void UpdateToolbar();
    void RunCommand(int commandId);
    // Print, print preview and the two screenshots, which both families run alike; false
    // for any other command.
    bool bRunOutputCommand(int commandId);
    void ShowContextMenu(QPoint globalPos);
    // Moves the zoom slider without taking it as the user's change.
    void SetSliderQuietly(int position);
    bool bSettingSlider() const { return m_settingSlider; }
    std::array<QLabel*, 4>& Panes() { return m_panes; }

    ODoc& m_doc;
    OViewCanvas* m_canvas = nullptr;

  private:
    void BuildToolbar(int toolbarId, const std::vector<int>& commands);
    void BuildStatusBar(std::string_view widestPointerText);

    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_toolbarActions;
    QSlider* m_slider = nullptr;
    bool m_settingSlider = false;
    QStatusBar* m_statusBar = nullptr;
    std::array<QLabel*, 4> m_panes{};
    QTimer m_toolbarTimer;
    QImage m_buffer;
    std::unique_ptr<OContourPrintable> m_printable;
};
