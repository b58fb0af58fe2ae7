#include "app/ui/ODlg_SelectTaskWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/ODlg_SelectTask.h"
#include "app/ui/Artwork.h"

ODlg_SelectTaskWindow::ODlg_SelectTaskWindow(ODlg_SelectTask& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(ODlg_SelectTask::kTitle);
    setObjectName("ODlg_SelectTask");
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(ODlg_SelectTask::kPrompt, this);
    QFont bold = prompt->font();
    bold.setBold(true);
    prompt->setFont(bold);
    layout->addWidget(prompt);

    auto* body = new QHBoxLayout;
    auto* pictures = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QString::number(240 + i));
        picture->setPixmap(Artwork::WelcomePicture(i, 56));
        pictures->addWidget(picture);
    }
    pictures->addStretch(1);
    body->addLayout(pictures);

    auto* choices = new QVBoxLayout;
    m_group = new QButtonGroup(this);
    m_group->setExclusive(false);  // so that no choice at all can be shown
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(ODlg_SelectTask::kChoices[i], this);
        radio->setObjectName(QString("choice%1").arg(i));
        radio->installEventFilter(this);
        m_group->addButton(radio, i);
        choices->addWidget(radio);
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        for (int i = 0; i < 3; ++i)
            Choice(i)->setChecked(i == id);
    });
    m_recent = new QComboBox(this);
    m_recent->setObjectName("recentFiles");
    const std::vector<std::string> titles = model.RecentTitles();
    std::vector<int> widths;
    for (size_t i = 0; i < titles.size(); ++i) {
        const QString title = QString::fromStdString(titles[i]);
        m_recent->addItem(title, QString::fromStdString(model.RecentFiles()[i]));
        widths.push_back(m_recent->fontMetrics().horizontalAdvance(title));
    }
    const int edge = m_recent->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int scroll = m_recent->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_recent->view()->setMinimumWidth(ODlg_SelectTask::DropDownWidth(widths, edge, scroll));
    if (model.iGetRecentSelection() >= 0) m_recent->setCurrentIndex(model.iGetRecentSelection());
    m_recent->setEnabled(!titles.empty());
    connect(m_recent, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        m_model.ConfirmRecent(index);
        for (int i = 0; i < 3; ++i)
            Choice(i)->setChecked(i == ODlg_SelectTask::kRecentChoice);
        QDialog::accept();
    });
    auto* recentRow = new QHBoxLayout;
    recentRow->addSpacing(24);
    recentRow->addWidget(m_recent, 1);
    choices->addLayout(recentRow);
    choices->addStretch(1);
    body->addLayout(choices, 1);
    layout->addLayout(body);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* next = new QPushButton(ODlg_SelectTask::kNextText, this);
    next->setObjectName("1");
    next->setDefault(true);
    auto* exit = new QPushButton(ODlg_SelectTask::kExitText, this);
    exit->setObjectName("2");
    connect(next, &QPushButton::clicked, this, &ODlg_SelectTaskWindow::accept);
    connect(exit, &QPushButton::clicked, this, &ODlg_SelectTaskWindow::reject);
    buttons->addWidget(next);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    for (int i = 0; i < 3; ++i)
        Choice(i)->setChecked(i == model.iGetIndex());
    setMinimumWidth(440);
}

QRadioButton* ODlg_SelectTaskWindow::Choice(int index) const {
    return qobject_cast<QRadioButton*>(m_group->button(index));
}

void ODlg_SelectTaskWindow::TakeFields() {
    int index = ODlg_SelectTask::kNoChoice;
    for (int i = 0; i < 3; ++i) {
        if (Choice(i)->isChecked()) index = i;
    }
    m_model.SetIndex(index);
    if (m_recent->currentIndex() >= 0) m_model.SelectRecent(m_recent->currentIndex());
}

void ODlg_SelectTaskWindow::accept() {
    TakeFields();
    QDialog::accept();
}

void ODlg_SelectTaskWindow::reject() {
    TakeFields();
    QDialog::reject();
}

bool ODlg_SelectTaskWindow::eventFilter(QObject* watched, QEvent* event) {
    // Double-clicking a choice acts as "Next >"; on the third choice it takes the entry.
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < 3; ++i) {
            if (watched != Choice(i)) continue;
            for (int k = 0; k < 3; ++k)
                Choice(k)->setChecked(k == i);
            if (i == ODlg_SelectTask::kRecentChoice && m_recent->currentIndex() >= 0)
                m_model.ConfirmRecent(m_recent->currentIndex());
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
