// The entries of one part list for its QTreeView: the texts and icons PartListDisplay
// computes, kept in list order. Setting new rows tells the view only what changed, so a
// refresh after one assignment repaints the changed entries and nothing else.
#pragma once

#include <QAbstractListModel>
#include <QIcon>
#include <array>
#include <functional>
#include <vector>

#include "document/PartListDisplay.h"

class OPartListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using ToolTipProvider = std::function<QString(int row)>;

    OPartListModel(const std::array<QIcon, kNumPartListIcons>& icons, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const std::vector<OPartListRow>& Rows() const { return m_rows; }
    // Takes the rows: appends or removes entries at the end until the counts match, then
    // reports the entries whose text or icon changed. Returns the number of rows changed,
    // added or removed.
    int SetRows(std::vector<OPartListRow>& rows);
    void SetHeading(const QString& heading);
    void SetToolTipProvider(ToolTipProvider provider) { m_toolTip = std::move(provider); }

  private:
    std::array<QIcon, kNumPartListIcons> m_icons;
    std::vector<OPartListRow> m_rows;
    QString m_heading;
    ToolTipProvider m_toolTip;
};
