// The teach-data view (form 248 for family 1, 311 for family 2, window key "CLASSIFIER"): the
// Teach-Data of the shown part type and orientation as the document's classifier computed
// them. Above the list the orientation, the tolerance with its spin control and the counter;
// the list of features with their statistics or decision bounds, tolerances and the classes
// they separate; below it the learning curve, or the teach errors when there are any; a
// toolbar and a status bar of its own. What is shown comes from TeachDataView::BuildDisplay;
// the commands run in the document.
#pragma once

#include <QSpinBox>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <memory>

#include "classification/TeachDataView.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class OTeachDataPrintable;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolBar;
class OTeachDataList;
class QAction;

// The spin control of the tolerance: its arrows ask for a step; the value follows the
// document.
class OToleranceSpin : public QSpinBox {
    Q_OBJECT
  public:
    explicit OToleranceSpin(QWidget* parent);
    void stepBy(int steps) override;

  signals:
    void stepRequested(int steps);
};

// The learning curve of the shown part type (control 1035).
class OLearningCurveWidget : public QWidget {
    Q_OBJECT
  public:
    explicit OLearningCurveWidget(QWidget* parent);
    void SetCurve(TeachDataView::OLearningCurve curve);
    const TeachDataView::OLearningCurve& Curve() const { return m_curve; }

  signals:
    void resized();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    TeachDataView::OLearningCurve m_curve;
};

class OClassifierWindow : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    static constexpr int kChartHeight = 150;
    static constexpr int kContextMenu = 167;
    static constexpr int kToolbar = 168;

    explicit OClassifierWindow(ODoc& doc, QWidget* parent = nullptr);
    ~OClassifierWindow() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;
    OPrintable* opGetPrintable() override;

    OTeachDataList* List() const { return m_list; }
    OLearningCurveWidget* Chart() const { return m_chart; }
    QPlainTextEdit* ErrorText() const { return m_error; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QLabel* StatusPane(int index) const;
    const TeachDataView::ODisplay& Display() const { return m_display; }
    // Cells written by the last refresh (only changed cells are rewritten).
    int iCellsWrittenByLastRefresh() const { return m_cellsWritten; }
    // The context menu as the right click opens it, with its entries' states.
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  private:
    void BuildToolbar();
    QWidget* BuildHead();
    void BuildList();
    void BuildStatusBar();
    void Clear();
    void ShowDisplay();
    void UpdateToolbar();
    void OnRowClicked(int row);
    void OnRowDoubleClicked(int row);
    void ShowContextMenu(const QPoint& globalPos);
    void RunCommand(int commandId);
    void RebuildCurve();

    ODoc& m_doc;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_toolbarActions;
    QTimer m_toolbarTimer;
    QLabel* m_orientationCaption = nullptr;
    QLabel* m_orientationValue = nullptr;
    QLabel* m_toleranceText = nullptr;
    OToleranceSpin* m_spin = nullptr;
    QLabel* m_counterCaption = nullptr;
    QLabel* m_counterValue = nullptr;
    QPushButton* m_counterButton = nullptr;
    OTeachDataList* m_list = nullptr;
    OLearningCurveWidget* m_chart = nullptr;
    QPlainTextEdit* m_error = nullptr;
    QStatusBar* m_statusBar = nullptr;
    std::array<QLabel*, 2> m_panes{};
    TeachDataView::ODisplay m_display;
    std::unique_ptr<OTeachDataPrintable> m_printable;
    int m_cellsWritten = 0;
    bool m_refreshing = false;
};
