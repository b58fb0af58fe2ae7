// The part features view, the right-hand pane of the part contour window: above, the part's
// type, orientation, use at teach process and result values; below, every feature of the
// part with value, deviation, standard reference and how it depends on the current feature.
// The texts come from PartFeaturesDisplay. A click on a feature makes it the current one;
// the tool commands of its context menu are carried out by the part contour view beside it.
#pragma once

#include <QWidget>
#include <vector>

#include "analysis/PartFeaturesDisplay.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class QMenu;
class QSplitter;
class QTreeWidget;

class OView_PartFeatures : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    // The upper list keeps at least this many pixels, and leaves as many to the lower one.
    static constexpr int kMinListHeight = 10;

    explicit OView_PartFeatures(ODoc& doc, QWidget* parent = nullptr);

    // --- OViewWidget ---
    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;

    QTreeWidget* InfoList() const { return m_info; }
    QTreeWidget* FeatureList() const { return m_features; }
    QSplitter* Splitter() const { return m_splitter; }
    // The row of the feature list that shows feature `feature`; -1 none.
    int iRowOfFeature(int feature) const;
    // The context menu with its entries' states.
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  private:
    void FillInfo(const std::vector<OPartInfoRow>& rows);
    void FillFeatures(const std::vector<OFeatureRow>& rows, int current);
    void Clear();
    void OnFeatureClicked(int row);
    void RunCommand(int commandId);

    ODoc& m_doc;
    QSplitter* m_splitter = nullptr;
    QTreeWidget* m_info = nullptr;
    QTreeWidget* m_features = nullptr;
    std::vector<OFeatureRow> m_rows;
    bool m_filling = false;
};
