#include "wizards/ui/OOptimizeWizardWindow.h"

#include "analysis/OOptimizeWizardDialog.h"
#include "wizards/ui/OProjectWizardEvaluationPage.h"
#include "wizards/ui/OProjectWizardOptiSettingsPage.h"

OOptimizeWizardWindow::OOptimizeWizardWindow(OOptimizeWizardDialog& model, QWidget* parent)
    : OWizardDialog(parent), m_model(model) {
    setWindowTitle(OOptimizeWizardSheet::kCaption);
    m_settings = new OProjectWizardOptiSettingsPage(model);
    m_evaluation = new OProjectWizardEvaluationPage(model.Sheet().EvaluationPage());
    AddPage(m_settings, OProjectWizardOptiSettings::kTitle);
    AddPage(m_evaluation, OProjectWizardEvaluation::kTitle);
    connect(m_settings, &OProjectWizardOptiSettingsPage::buttonsChanged, this, [this](int flags) {
        if (iCurrentPage() == 0) SetButtons(flags);
    });
    connect(this, &OWizardDialog::nextPressed, this, &OOptimizeWizardWindow::OnNext);
    connect(this, &OWizardDialog::backPressed, this, &OOptimizeWizardWindow::OnBack);
    connect(this, &OWizardDialog::finishPressed, this, [this] {
        if (iCurrentPage() == 1) accept();
    });
    resize(620, 460);
    m_settings->Activate();
    ShowPage(0);
    SetButtons(m_model.Sheet().SettingsPage().iButtons());
}

void OOptimizeWizardWindow::OnNext() {
    OOptimizeWizardSheet& sheet = m_model.Sheet();
    if (iCurrentPage() != 0 || m_settings->bSearching()) return;
    sheet.Next(m_model.opGetClassifier());
    if (sheet.iPage() != 1) return;
    m_evaluation->ShowModel();
    ShowPage(1);
    SetButtons(sheet.EvaluationPage().iButtons());
}

void OOptimizeWizardWindow::OnBack() {
    OOptimizeWizardSheet& sheet = m_model.Sheet();
    if (iCurrentPage() != 1) return;
    sheet.Back();
    // The page offers its buttons on activation, which the frame takes only once it shows.
    ShowPage(0);
    m_settings->Activate();
}

void OOptimizeWizardWindow::reject() {
    if (m_closing) return;
    if (!m_settings->bSearching()) {
        OWizardDialog::reject();
        return;
    }
    // The dialog closes when the worker has ended; until then the window stays responsive.
    m_closing = true;
    SetButtons(0);
    m_settings->AbandonSearch([this] { OWizardDialog::reject(); });
}
