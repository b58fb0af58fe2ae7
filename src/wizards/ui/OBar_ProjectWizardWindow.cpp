#include "wizards/ui/OBar_ProjectWizardWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTreeWidget>

#include "wizards/ui/WizardIcons.h"

OBar_ProjectWizardWindow::OBar_ProjectWizardWindow(QWidget* parent)
    : QDockWidget(OBar_ProjectWizard::kTitle, parent) {
    setObjectName("ProjectWizardBar");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(kListName);
    m_list->setColumnCount(1);
    m_list->header()->hide();
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setMinimumWidth(220);
    setWidget(m_list);
    // Double click and Enter both activate a line.
    connect(m_list, &QTreeWidget::activated, this, [this](const QModelIndex& index) {
        const int command = index.data(Qt::UserRole).toInt();
        if (command != 0) emit commandRequested(command);
    });
}

void OBar_ProjectWizardWindow::SetLines(const std::vector<OWizardBarLine>& lines) {
    const QModelIndex top = m_list->indexAt(QPoint(1, 1));
    const int topRow = top.isValid() ? top.row() : 0;
    const int selected = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
    m_list->clear();
    for (const OWizardBarLine& line : lines) {
        auto* item = new QTreeWidgetItem(m_list);
        const QString text = QString::fromStdString(line.text);
        item->setText(0, text);
        item->setToolTip(0, text.trimmed());
        item->setIcon(0, WizardStatusIcon(line.icon));
        item->setData(0, Qt::UserRole, line.command);
        if (line.icon == WizardBarIcon::kHeading) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
    }
    const int rows = m_list->topLevelItemCount();
    if (rows == 0) return;
    if (selected >= 0 && selected < rows) m_list->setCurrentItem(m_list->topLevelItem(selected));
    m_list->scrollToItem(m_list->topLevelItem(std::min(topRow, rows - 1)),
                         QAbstractItemView::PositionAtTop);
}

void OBar_ProjectWizardWindow::closeEvent(QCloseEvent* event) {
    // The document decides: it hides the bar and remembers that it is hidden.
    event->ignore();
    emit closeRequested();
}
