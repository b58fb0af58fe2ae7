#include "wizards/ui/OProjectWizardOptiSettingsPage.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/OOptimizeWizardDialog.h"

namespace {

using Settings = OProjectWizardOptiSettings;
constexpr int kPollMs = 100;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class W>
W* Named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

}  // namespace

OProjectWizardOptiSettingsPage::OProjectWizardOptiSettingsPage(OOptimizeWizardDialog& model,
                                                               QWidget* parent)
    : QWidget(parent), m_model(model) {
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(Settings::kHeading);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* explanation = new QLabel(Settings::kExplanation);
    explanation->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(explanation);
    layout->addSpacing(10);

    auto* form = new QFormLayout;
    auto* timeRow = new QHBoxLayout;
    m_minutes = Named(new QLineEdit, Settings::kTimeEdit);
    m_minutes->setMaximumWidth(80);
    // Digits only; the range is checked when the button is pressed, with its message.
    m_minutes->setValidator(new QIntValidator(0, 99999, m_minutes));
    timeRow->addWidget(m_minutes);
    timeRow->addWidget(new QLabel(Settings::kTimeUnit));
    timeRow->addStretch(1);
    form->addRow(Settings::kTimeLabel, timeRow);
    auto* stepRow = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const int ids[3] = {Settings::kLargeRadio, Settings::kMediumRadio, Settings::kSmallRadio};
    for (int i = 0; i < 3; ++i) {
        m_steps[i] = Named(new QRadioButton(Settings::kStepNames[i]), ids[i]);
        group->addButton(m_steps[i], i);
        stepRow->addWidget(m_steps[i]);
    }
    stepRow->addStretch(1);
    form->addRow(Settings::kStepLabel, stepRow);
    layout->addLayout(form);
    layout->addSpacing(10);

    m_button = Named(new QPushButton, Settings::kButton);
    m_button->setMinimumWidth(200);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_button);
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);
    m_progress = Named(new QProgressBar, Settings::kProgressBar);
    m_progress->setTextVisible(false);
    layout->addWidget(m_progress);
    m_status = Named(new QLabel, Settings::kStatusText);
    m_status->setWordWrap(true);
    m_status->setMinimumHeight(40);
    layout->addWidget(m_status);
    layout->addStretch(1);

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &OProjectWizardOptiSettingsPage::Poll);
    connect(m_button, &QPushButton::clicked, this, &OProjectWizardOptiSettingsPage::OnButton);
    connect(group, &QButtonGroup::idClicked, this,
            [this](int step) { m_model.Sheet().SettingsPage().SetStepSize(step); });
    connect(m_minutes, &QLineEdit::textEdited, this, [this] { ReadFields(); });
}

OProjectWizardOptiSettingsPage::~OProjectWizardOptiSettingsPage() {
    // The worker reads the model; it must end before either goes away.
    if (m_worker.joinable()) {
        m_model.AbandonSearch();
        m_worker.join();
        m_model.FinishSearch();
    }
}

void OProjectWizardOptiSettingsPage::Activate() {
    Settings& page = m_model.Sheet().SettingsPage();
    page.OnActivate();
    m_minutes->setText(QString::number(page.iGetMaxMinutes()));
    m_steps[page.iGetStepSize()]->setChecked(true);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    ShowModel();
}

void OProjectWizardOptiSettingsPage::ReadFields() {
    bool ok = false;
    const int minutes = m_minutes->text().trimmed().toInt(&ok);
    m_model.Sheet().SettingsPage().SetMaxMinutes(ok ? minutes : 0);
}

void OProjectWizardOptiSettingsPage::ShowModel() {
    const Settings& page = m_model.Sheet().SettingsPage();
    m_status->setText(Q(page.StatusText()));
    m_button->setText(Q(page.ButtonText()));
    const bool running = page.bRunning();
    m_minutes->setEnabled(!running);
    for (QRadioButton* r : m_steps)
        r->setEnabled(!running);
    emit buttonsChanged(page.iButtons());
}

void OProjectWizardOptiSettingsPage::OnButton() {
    if (m_worker.joinable() && m_model.Sheet().SettingsPage().bRunning()) {
        // Stop: the search ends at its next check and installs what it kept.
        std::string unused;
        m_model.OnSearchButton(unused);
        m_button->setEnabled(false);
        return;
    }
    ReadFields();
    std::string error;
    const auto press = m_model.OnSearchButton(error);
    switch (press) {
        case Settings::Press::Invalid:
            m_minutes->setFocus();
            m_minutes->selectAll();
            return;
        case Settings::Press::Started:
            m_progress->setRange(0, 0);
            m_worker = std::thread([this] { m_model.RunSearch(); });
            m_poll->start();
            break;
        case Settings::Press::Finished:
        case Settings::Press::Cancelled:
        case Settings::Press::Ignored:
            break;
    }
    ShowModel();
}

void OProjectWizardOptiSettingsPage::Poll() {
    const OToolSearchMonitor::OState state = m_model.Monitor().State();
    if (state.high > state.low) {
        m_progress->setRange(state.low, state.high);
        m_progress->setValue(std::clamp(state.position, state.low, state.high));
    }
    if (!state.status.empty() && m_model.Sheet().SettingsPage().bRunning())
        m_status->setText(Q(state.status));
    if (!m_model.bSearchEnded()) return;
    m_poll->stop();
    m_worker.join();
    const int installed = m_model.FinishSearch();
    m_button->setEnabled(true);
    const OToolSearchMonitor::OState last = m_model.Monitor().State();
    if (last.high > last.low) {
        m_progress->setRange(last.low, last.high);
        m_progress->setValue(last.position);
    }
    ShowModel();
    if (m_afterAbandon) {
        auto then = std::move(m_afterAbandon);
        m_afterAbandon = nullptr;
        then();
        return;
    }
    emit searchFinished(installed);
}

void OProjectWizardOptiSettingsPage::AbandonSearch(std::function<void()> then) {
    if (!m_worker.joinable()) {
        then();
        return;
    }
    m_afterAbandon = std::move(then);
    m_model.AbandonSearch();
    m_button->setEnabled(false);
    m_status->setText(tr("Cancelling the search ..."));
}
