// The feature graph (form 188, window key "FEATURE"): one feature of every sample (or test)
// part of the chosen part types and orientations as points in the class colours, against the
// classes' decision bounds, optionally with a histogram. A click on a point makes that part
// the current part of the project. What is plotted and where comes from FeatureGraph.
#pragma once

#include <QWidget>
#include <memory>

#include "analysis/FeatureGraph.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class QComboBox;
class QLabel;
class QMenu;

// The graph area (control 1035).
class OFeatureGraphArea : public QWidget {
    Q_OBJECT
  public:
    explicit OFeatureGraphArea(QWidget* parent);
    void SetGraph(std::vector<FeatureGraph::OGraphPoint> points,
                  std::vector<FeatureGraph::OBound> bounds, FeatureGraph::OScale scale, int mode);
    const FeatureGraph::OPlot& Plot() const { return m_plot; }
    const std::vector<FeatureGraph::OGraphPoint>& Points() const { return m_points; }
    // The centre of marker i in the area's pixels.
    QPoint MarkerCentre(int i) const;

  signals:
    void pointClicked(int point);
    void contextMenuAt(const QPoint& globalPos, int point);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::vector<FeatureGraph::OGraphPoint> m_points;
    std::vector<FeatureGraph::OBound> m_bounds;
    FeatureGraph::OScale m_scale;
    int m_mode = 0;
    FeatureGraph::OPlot m_plot;
};

class OView_FeatureGraph : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    static constexpr int kContextMenu = 149;

    explicit OView_FeatureGraph(ODoc& doc, QWidget* parent = nullptr);
    ~OView_FeatureGraph() override;

    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;
    OPrintable* opGetPrintable() override;

    OFeatureGraphArea* Area() const { return m_area; }
    QComboBox* Combo(int id) const;
    QLabel* DescriptionLabel() const { return m_description; }
    const FeatureGraph::OChoice& Choice() const { return m_choice; }
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  private:
    void BuildForm();
    void FillCombos(const OType_ZRPartSet& partSet);
    void OnPointClicked(int point);
    void RunCommand(int commandId);
    OCommandState PartCommandState(int commandId) const;
    void RunPartCommand(int commandId);

    ODoc& m_doc;
    QComboBox* m_feature = nullptr;
    QComboBox* m_display = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_orientation = nullptr;
    QLabel* m_typeCaption = nullptr;
    QLabel* m_orientationCaption = nullptr;
    QLabel* m_description = nullptr;
    OFeatureGraphArea* m_area = nullptr;
    FeatureGraph::OChoice m_choice;
    bool m_transformedOffered = false;
    bool m_filling = false;
    std::unique_ptr<OPrintable> m_printable;
};
