#include "wizards/ui/OWizardDialog.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int kBack = 1;
constexpr int kNext = 2;
constexpr int kFinish = 4;

QString Id(int id) {
    return QString::number(id);
}

}  // namespace

OWizardDialog::OWizardDialog(QWidget* parent) : QDialog(parent) {
    auto* header = new QFrame(this);
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Base);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(16, 10, 16, 10);
    m_title = new QLabel(header);
    m_title->setObjectName("title");
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_title->setFont(bold);
    m_title->setWordWrap(true);
    headerLayout->addWidget(m_title);

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    m_pages = new QStackedWidget(this);
    auto* bottomRule = new QFrame(this);
    bottomRule->setFrameShape(QFrame::HLine);
    bottomRule->setFrameShadow(QFrame::Sunken);

    m_box = new QDialogButtonBox(this);
    m_back = m_box->addButton(tr("< &Back"), QDialogButtonBox::ActionRole);
    m_next = m_box->addButton(tr("&Next >"), QDialogButtonBox::ActionRole);
    m_finish = m_box->addButton(tr("Finish"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = m_box->addButton(QDialogButtonBox::Cancel);
    m_back->setObjectName(Id(kBackId));
    m_next->setObjectName(Id(kNextId));
    m_finish->setObjectName(Id(kFinishId));
    cancel->setObjectName(Id(kCancelId));
    // Enter presses Next (or Finish); nothing closes the wizard by accident.
    for (QPushButton* b : {m_back, m_next, m_finish, cancel})
        b->setAutoDefault(false);
    connect(m_back, &QPushButton::clicked, this, &OWizardDialog::backPressed);
    connect(m_next, &QPushButton::clicked, this, &OWizardDialog::nextPressed);
    connect(m_finish, &QPushButton::clicked, this, &OWizardDialog::finishPressed);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addWidget(rule);
    auto* pageArea = new QVBoxLayout;
    pageArea->setContentsMargins(16, 12, 16, 12);
    pageArea->addWidget(m_pages, 1);
    layout->addLayout(pageArea, 1);
    layout->addWidget(bottomRule);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(16, 10, 16, 0);
    buttons->addWidget(m_box);
    layout->addLayout(buttons);
    SetButtons(0);
}

int OWizardDialog::AddPage(QWidget* page, const QString& title) {
    m_titles.append(title);
    return m_pages->addWidget(page);
}

void OWizardDialog::ShowPage(int index) {
    m_pages->setCurrentIndex(index);
    m_title->setText(m_titles.value(index));
}

int OWizardDialog::iCurrentPage() const {
    return m_pages->currentIndex();
}

QWidget* OWizardDialog::Page(int index) const {
    return m_pages->widget(index);
}

void OWizardDialog::SetButtons(int flags) {
    m_buttons = flags;
    m_back->setEnabled(flags & kBack);
    m_next->setEnabled(flags & kNext);
    m_finish->setEnabled(flags & kFinish);
    const bool finishing = (flags & kFinish) && !(flags & kNext);
    m_next->setVisible(!finishing);
    m_finish->setVisible(finishing);
    QPushButton* preferred = finishing ? m_finish : m_next;
    preferred->setDefault(preferred->isEnabled());
}
