#include "app/ui/OFrame_Child.h"

#include <QCloseEvent>

#include "document/FrameCaptions.h"

OFrame_Child::OFrame_Child(ViewKind kind, QWidget* view, QWidget* parent)
    : QMdiSubWindow(parent), m_kind(kind), m_baseTitle(QString::fromUtf8(ViewTitle(kind).data())) {
    setObjectName(QString::fromUtf8(WindowKey(kind).data()));
    setWidget(view);
    setWindowTitle(m_baseTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    m_closable = kind != ViewKind::PartList;
}

void OFrame_Child::UpdateCaption(int partSets, const QString& actualName) {
    if (!m_showCheckProgram) return;
    const QString caption = QString::fromStdString(
        ChildFrameCaption(m_baseTitle.toStdString(), partSets, actualName.toStdString()));
    if (caption != windowTitle()) setWindowTitle(caption);
}

void OFrame_Child::Destroy() {
    m_destroying = true;
    close();
}

std::vector<QWidget*> OFrame_Child::ViewWidgets() const {
    if (QWidget* view = widget()) return {view};
    return {};
}

QWidget* OFrame_Child::ActiveViewWidget() const {
    return widget();
}

void OFrame_Child::closeEvent(QCloseEvent* event) {
    if (m_closable || m_destroying) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    event->ignore();
    hide();
    emit frameHidden(this);
}

void OFrame_Child::TrackNormal() {
    if (!isMinimized() && !isMaximized() && isVisible()) m_normal = geometry();
}

void OFrame_Child::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    TrackNormal();
}

void OFrame_Child::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    TrackNormal();
}
