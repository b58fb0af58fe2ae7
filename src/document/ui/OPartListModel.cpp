#include "document/ui/OPartListModel.h"

OPartListModel::OPartListModel(const std::array<QIcon, kNumPartListIcons>& icons, QObject* parent)
    : QAbstractListModel(parent), m_icons(icons) {}

int OPartListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant OPartListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    const OPartListRow& row = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(row.text);
        case Qt::DecorationRole:
            return m_icons[static_cast<size_t>(row.icon)];
        case Qt::ToolTipRole:
            return m_toolTip ? m_toolTip(index.row()) : QVariant();
        default:
            return {};
    }
}

QVariant OPartListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) return m_heading;
    return {};
}

Qt::ItemFlags OPartListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

int OPartListModel::SetRows(std::vector<OPartListRow>& rows) {
    const int before = rowCount();
    const int after = static_cast<int>(rows.size());
    int changes = 0;
    if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        m_rows.resize(static_cast<size_t>(after));
        endRemoveRows();
        changes += before - after;
    }
    // Rows that differ are reported in runs, so that a view repaints each run once.
    int runStart = -1;
    const int common = std::min(before, after);
    for (int i = 0; i <= common; ++i) {
        const bool differs =
            i < common && !(m_rows[static_cast<size_t>(i)] == rows[static_cast<size_t>(i)]);
        if (differs) {
            m_rows[static_cast<size_t>(i)] = std::move(rows[static_cast<size_t>(i)]);
            ++changes;
            if (runStart < 0) runStart = i;
        } else if (runStart >= 0) {
            emit dataChanged(index(runStart), index(i - 1));
            runStart = -1;
        }
    }
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        for (int i = before; i < after; ++i)
            m_rows.push_back(std::move(rows[static_cast<size_t>(i)]));
        endInsertRows();
        changes += after - before;
    }
    return changes;
}

void OPartListModel::SetHeading(const QString& heading) {
    if (heading == m_heading) return;
    m_heading = heading;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}
