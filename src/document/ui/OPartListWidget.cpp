#include "document/ui/OPartListWidget.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

namespace {

bool bIsListKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

}  // namespace

OPartListWidget::OPartListWidget(int controlId, bool sampleList, QWidget* parent)
    : QTreeView(parent), m_sampleList(sampleList) {
    setObjectName(QString::number(controlId));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
}

std::vector<int> OPartListWidget::SelectedRows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool OPartListWidget::event(QEvent* event) {
    // The arrow keys belong to the list while it has the focus, not to the menu shortcuts
    // of the same keys (previous / next part and feature).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (bIsListKey(key->key()) && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QTreeView::event(event);
}

void OPartListWidget::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        emit arrowKey(m_sampleList, event->key() == Qt::Key_Left ? -1 : 1);
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void OPartListWidget::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    emit resized(m_sampleList);
}

void OPartListWidget::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    emit focused(m_sampleList);
}

void OPartListWidget::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    emit contextMenuAt(m_sampleList, event->globalPos(), index.isValid() ? index.row() : -1);
    event->accept();
}

void OPartListWidget::startDrag(Qt::DropActions /*supportedActions*/) {
    if (!m_dragProvider) return;
    const auto [format, bytes] = m_dragProvider();
    if (bytes.empty()) return;
    auto* data = new QMimeData;
    data->setData(QString::fromStdString(format),
                  QByteArray(reinterpret_cast<const char*>(bytes.data()),
                             static_cast<qsizetype>(bytes.size())));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

std::string OPartListWidget::AcceptedFormat(const QMimeData* data) const {
    if (!data) return {};
    for (const std::string& format : m_formats) {
        if (data->hasFormat(QString::fromStdString(format))) return format;
    }
    return {};
}

bool OPartListWidget::bTakesDrop(const QDropEvent* event) const {
    // Dropping parts back onto the list they came from does nothing.
    return event->source() != this && !AcceptedFormat(event->mimeData()).empty();
}

void OPartListWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!bTakesDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void OPartListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!bTakesDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void OPartListWidget::dropEvent(QDropEvent* event) {
    if (!bTakesDrop(event)) {
        event->ignore();
        return;
    }
    const std::string format = AcceptedFormat(event->mimeData());
    const QByteArray bytes = event->mimeData()->data(QString::fromStdString(format));
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit partsDropped(m_sampleList, format, bytes);
}
