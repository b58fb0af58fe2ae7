#include "analysis/OOptimizeWizardDialog.h"

#include "platform/UserInteraction.h"

OOptimizeWizardDialog::OOptimizeWizardDialog(OExtractor* contourView, OClassifier* classifier,
                                             const Clock& clock, UserInteraction& ui)
    : m_contourView(contourView), m_classifier(classifier), m_clock(clock), m_ui(ui) {}

OOptimizeWizardDialog::~OOptimizeWizardDialog() {
    // A window closes only after its worker ended; this keeps the flag honest regardless.
    if (m_sheet.SettingsPage().bRunning()) m_sheet.SettingsPage().OnSearchFinished();
}

OProjectWizardOptiSettings::Press OOptimizeWizardDialog::OnSearchButton(std::string& error) {
    std::unique_ptr<OToolSearchJob> job;
    const auto press = m_sheet.SettingsPage().OnButton(m_contourView, job, error);
    if (press == OProjectWizardOptiSettings::Press::Invalid) m_ui.Message(error, MsgIcon::Warning);
    if (press == OProjectWizardOptiSettings::Press::Started) {
        m_job = std::move(job);
        m_ended = false;
        m_abandoned = false;
        m_installed = 0;
    }
    return press;
}

void OOptimizeWizardDialog::RunSearch() {
    if (m_job) m_job->Run(m_monitor, m_clock);
    m_ended = true;
}

int OOptimizeWizardDialog::FinishSearch() {
    m_installed = 0;
    if (m_job && !m_abandoned) m_installed = m_job->Install(&m_monitor);
    m_job.reset();
    m_sheet.SettingsPage().OnSearchFinished();
    return m_installed;
}

void OOptimizeWizardDialog::AbandonSearch() {
    m_abandoned = true;
    m_sheet.bCancel(m_contourView);
}
