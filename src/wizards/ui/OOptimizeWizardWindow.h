// The optimising wizard's window ("Opt") over OOptimizeWizardDialog: the page "Settings for
// Optimizing", which runs the tool search, and the page "Evaluation". Cancel during a search
// stops the search, installs nothing and closes once the search has ended.
#pragma once

#include "wizards/ui/OWizardDialog.h"

class OOptimizeWizardDialog;
class OProjectWizardEvaluationPage;
class OProjectWizardOptiSettingsPage;

class OOptimizeWizardWindow : public OWizardDialog {
    Q_OBJECT
  public:
    OOptimizeWizardWindow(OOptimizeWizardDialog& model, QWidget* parent);

    OProjectWizardOptiSettingsPage* SettingsPage() const { return m_settings; }
    OProjectWizardEvaluationPage* EvaluationPage() const { return m_evaluation; }

    void reject() override;

  private:
    void OnNext();
    void OnBack();

    OOptimizeWizardDialog& m_model;
    OProjectWizardOptiSettingsPage* m_settings = nullptr;
    OProjectWizardEvaluationPage* m_evaluation = nullptr;
    bool m_closing = false;
};
