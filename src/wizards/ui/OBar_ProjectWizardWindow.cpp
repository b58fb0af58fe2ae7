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
    // The checklist is refreshed with every view refresh, a click into the bar included. The
    // lines are updated in place so that the click, the selection and the scroll position
    // survive; only a change in the number of lines rebuilds the list.
    const int count = static_cast<int>(lines.size());
    if (m_list->topLevelItemCount() != count) {
        const QModelIndex top = m_list->indexAt(QPoint(1, 1));
        const int topRow = top.isValid() ? top.row() : 0;
        const int selected = m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
        m_list->clear();
        for (int i = 0; i < count; ++i)
            new QTreeWidgetItem(m_list);
        if (count == 0) return;
        if (selected >= 0 && selected < count)
            m_list->setCurrentItem(m_list->topLevelItem(selected));
        m_list->scrollToItem(m_list->topLevelItem(std::min(topRow, count - 1)),
                             QAbstractItemView::PositionAtTop);
    }
    for (int i = 0; i < count; ++i)
        ShowLine(*m_list->topLevelItem(i), lines[static_cast<size_t>(i)]);
}

void OBar_ProjectWizardWindow::ShowLine(QTreeWidgetItem& item, const OWizardBarLine& line) {
    const QString text = QString::fromStdString(line.text);
    if (item.text(0) != text) {
        item.setText(0, text);
        item.setToolTip(0, text.trimmed());
    }
    item.setIcon(0, WizardStatusIcon(line.icon));
    item.setData(0, Qt::UserRole, line.command);
    QFont font = item.font(0);
    font.setBold(line.icon == WizardBarIcon::kHeading);
    item.setFont(0, font);
}

void OBar_ProjectWizardWindow::closeEvent(QCloseEvent* event) {
    // The document decides: it hides the bar and remembers that it is hidden.
    event->ignore();
    emit closeRequested();
}
