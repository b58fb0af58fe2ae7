#include "classification/ui/OTeachDataList.h"

#include <QHeaderView>

#include "classification/ui/TeachDataIcons.h"

namespace {

// Columns sized to their contents after every refresh.
constexpr int kAutoSizedColumns[] = {0, 5, 7, 8};

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

OTeachDataList::OTeachDataList(QWidget* parent)
    : QTreeWidget(parent), m_icons(TeachDataIcons::RowIcons()) {
    setObjectName(QString::number(TeachDataView::kListControl));
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(TeachDataIcons::kSize, TeachDataIcons::kSize));
    setColumnCount(TeachDataView::kColumns);
    header()->setStretchLastSection(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void OTeachDataList::Clear() {
    clear();
    m_shownIcons.clear();
}

int OTeachDataList::Show(const TeachDataView::ODisplay& display) {
    ApplyColumns(display);
    const int written = ApplyRows(display);
    AutoSizeColumns(display);
    return written;
}

void OTeachDataList::ApplyColumns(const TeachDataView::ODisplay& display) {
    QTreeWidgetItem* head = headerItem();
    for (int c = 0; c < TeachDataView::kColumns && c < static_cast<int>(display.columns.size());
         ++c) {
        const TeachDataView::OColumn& column = display.columns[static_cast<size_t>(c)];
        if (head->text(c) != Q(column.header)) head->setText(c, Q(column.header));
        const Qt::Alignment align =
            (column.rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        if (head->textAlignment(c) != static_cast<int>(align)) head->setTextAlignment(c, align);
        const bool hidden = column.width == 0;
        if (isColumnHidden(c) != hidden) setColumnHidden(c, hidden);
        if (!hidden && !column.autoSize && columnWidth(c) != column.width)
            setColumnWidth(c, column.width);
    }
}

int OTeachDataList::ApplyRows(const TeachDataView::ODisplay& display) {
    int written = 0;
    const int wanted = static_cast<int>(display.rows.size());
    while (topLevelItemCount() > wanted)
        delete takeTopLevelItem(topLevelItemCount() - 1);
    m_shownIcons.resize(static_cast<size_t>(wanted), -1);
    for (int r = topLevelItemCount(); r < wanted; ++r) {
        auto* item = new QTreeWidgetItem(this);
        for (int c = 5; c < TeachDataView::kColumns; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        m_shownIcons[static_cast<size_t>(r)] = -1;
    }
    for (int r = 0; r < wanted; ++r) {
        const TeachDataView::ORow& row = display.rows[static_cast<size_t>(r)];
        QTreeWidgetItem* item = topLevelItem(r);
        for (int c = 0; c < TeachDataView::kColumns; ++c) {
            const QString text = Q(row.cells[static_cast<size_t>(c)]);
            if (item->text(c) != text) {
                item->setText(c, text);
                ++written;
            }
        }
        int& icon = m_shownIcons[static_cast<size_t>(r)];
        if (icon != row.icon && row.icon >= 0 && row.icon < static_cast<int>(m_icons.size())) {
            item->setIcon(0, m_icons[static_cast<size_t>(row.icon)]);
            icon = row.icon;
        }
    }
    QTreeWidgetItem* selected =
        display.selectedRow >= 0 ? topLevelItem(display.selectedRow) : nullptr;
    if (selected && currentItem() != selected) {
        setCurrentItem(selected);
        scrollToItem(selected);
    } else if (!selected && !selectedItems().isEmpty()) {
        clearSelection();
    }
    return written;
}

void OTeachDataList::AutoSizeColumns(const TeachDataView::ODisplay& display) {
    for (int c : kAutoSizedColumns) {
        if (isColumnHidden(c) || c >= static_cast<int>(display.columns.size())) continue;
        const int minimum = display.columns[static_cast<size_t>(c)].width;
        resizeColumnToContents(c);
        if (columnWidth(c) < minimum) setColumnWidth(c, minimum);
    }
}
