#include "analysis/OOptimizeWizardSheet.h"

#include "classification/OClassifier.h"

void OProjectWizardEvaluation::OnActivate(OClassifier* classifier) {
    m_rows.clear();
    m_teachError = 0;
    if (!classifier) return;
    classifier->BuildEvaluationList(m_rows);
    m_teachError = classifier->GetTeachError();
}

void OProjectWizardEvaluation::AddNote(std::string text) {
    m_rows.push_back(
        {EvaluationIcon::kInformation, std::move(text), EvaluationCommand::kTeachData});
}

void OOptimizeWizardSheet::Next(OClassifier* classifier) {
    if (m_page != 0 || m_settings.bRunning()) return;
    m_page = 1;
    m_evaluation.OnActivate(classifier);
}

void OOptimizeWizardSheet::Back() {
    if (m_page != 1) return;
    m_page = 0;
    m_settings.OnActivate();
}

bool OOptimizeWizardSheet::bCancel(OExtractor* contourView) {
    return !m_settings.OnSheetCancel(contourView);
}
