// One list of the part list view (1164 sample parts, 1165 test parts): a report list with
// one column, full-row selection and several parts selectable. Left and right arrow keys
// step through the parts, up and down move in the list; parts are dragged out as the
// program's part data and dropped in from the other list or another running program.
#pragma once

#include <QTreeView>
#include <functional>
#include <string>
#include <vector>

class QMimeData;

class OPartListWidget : public QTreeView {
    Q_OBJECT
  public:
    // The part data of a drag: MIME type and bytes.
    using DragProvider = std::function<std::pair<std::string, std::vector<uint8_t>>()>;

    OPartListWidget(int controlId, bool sampleList, QWidget* parent = nullptr);

    bool bIsSampleList() const { return m_sampleList; }
    // The MIME types this list takes in a drop.
    void SetAcceptedFormats(std::vector<std::string> formats) { m_formats = std::move(formats); }
    void SetDragProvider(DragProvider provider) { m_dragProvider = std::move(provider); }
    // The sort positions of the selected entries, ascending.
    std::vector<int> SelectedRows() const;
    // The format of mime data this list takes; empty when it takes none of them.
    std::string AcceptedFormat(const QMimeData* data) const;

  signals:
    void focused(bool sampleList);
    void arrowKey(bool sampleList, int step);
    void contextMenuAt(bool sampleList, const QPoint& globalPos, int row);
    void partsDropped(bool sampleList, const std::string& format, const QByteArray& bytes);
    // The visible width changed (the column is fitted again).
    void resized(bool sampleList);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool bTakesDrop(const QDropEvent* event) const;

    bool m_sampleList;
    std::vector<std::string> m_formats;
    DragProvider m_dragProvider;
};
