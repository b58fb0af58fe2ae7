// The list of the teach-data view (control 1259): ten columns, one row per feature of the
// shown class. Showing a display rewrites only the cells, icons and column settings that
// changed, so a refresh after a small change costs little.
#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <array>
#include <vector>

#include "classification/TeachDataView.h"

class OTeachDataList : public QTreeWidget {
    Q_OBJECT
  public:
    explicit OTeachDataList(QWidget* parent = nullptr);

    // Columns, rows, icons and the selected row of the display; returns the number of cells
    // whose text was written.
    int Show(const TeachDataView::ODisplay& display);
    void Clear();

  private:
    void ApplyColumns(const TeachDataView::ODisplay& display);
    int ApplyRows(const TeachDataView::ODisplay& display);
    void AutoSizeColumns(const TeachDataView::ODisplay& display);

    std::array<QIcon, 6> m_icons;
    std::vector<int> m_shownIcons;
};
