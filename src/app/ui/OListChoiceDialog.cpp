#include "app/ui/OListChoiceDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kMinimumWidth = 340;
constexpr int kVisibleRows = 12;

}  // namespace

OListChoiceDialog::OListChoiceDialog(const QString& title, const QString& text,
                                     const std::vector<std::string>& items, int preselected,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_list = new QListWidget(this);
    m_list->setObjectName("list");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& item : items)
        m_list->addItem(QString::fromStdString(item));
    label->setBuddy(m_list);
    layout->addWidget(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &OListChoiceDialog::UpdateOk);

    if (preselected >= 0 && preselected < m_list->count()) {
        m_list->setCurrentRow(preselected);
    } else if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }
    // Tall enough for the entries (up to a dozen), wide enough for the longest.
    const int rows = std::clamp(m_list->count(), 3, kVisibleRows);
    const int rowHeight = m_list->sizeHintForRow(0) > 0 ? m_list->sizeHintForRow(0) : 18;
    m_list->setFixedHeight(rows * rowHeight + 2 * m_list->frameWidth() + 4);
    m_list->setMinimumWidth(
        std::max(kMinimumWidth, m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() + 24));
    m_list->setFocus();
    UpdateOk();
}

int OListChoiceDialog::iChosen() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void OListChoiceDialog::UpdateOk() {
    m_ok->setEnabled(iChosen() >= 0);
}
