// The optimising wizard without its windows: a two-page sheet ("Opt") holding the page
// "Settings for Optimizing", which starts and stops the automatic tool search, and the
// evaluation page, which shows how well orientations and types are told apart afterwards.
#pragma once

#include <string>
#include <vector>

#include "classification/OEvaluationRow.h"
#include "wizards/OProjectWizardOptiSettings.h"

class OClassifier;

// The evaluation page: the classifier's evaluation list and teach error.
class OProjectWizardEvaluation {
  public:
    static constexpr int kTemplate = 232;
    static constexpr const char* kTitle = "Evaluation";

    explicit OProjectWizardEvaluation(bool inProjectWizard) : m_inProjectWizard(inProjectWizard) {}

    // Fills the list from the classifier (nothing without one).
    void OnActivate(OClassifier* classifier);
    const std::vector<OEvaluationRow>& Rows() const { return m_rows; }
    // Appends an information line under the classifier's list.
    void AddNote(std::string text);
    int iTeachError() const { return m_teachError; }
    // "Press 'Next'." inside the project wizard, "Press 'Finish'." in the optimising wizard.
    const char* Footer() const { return m_inProjectWizard ? "Press 'Next'." : "Press 'Finish'."; }
    // Back and Next in the project wizard, Back and Finish here.
    int iButtons() const { return m_inProjectWizard ? 3 : 5; }

  private:
    bool m_inProjectWizard;
    std::vector<OEvaluationRow> m_rows;
    int m_teachError = 0;
};

class OOptimizeWizardSheet {
  public:
    static constexpr const char* kCaption = "Opt";
    // The document command that opens the wizard.
    static constexpr int kCommand = 32917;

    OProjectWizardOptiSettings& SettingsPage() { return m_settings; }
    OProjectWizardEvaluation& EvaluationPage() { return m_evaluation; }
    // 0: settings, 1: evaluation.
    int iPage() const { return m_page; }
    void Next(OClassifier* classifier);
    void Back();
    // The sheet's Cancel: a running search is cancelled first; true when the sheet may close
    // now (no search was running).
    bool bCancel(OExtractor* contourView);

  private:
    OProjectWizardOptiSettings m_settings{false};
    OProjectWizardEvaluation m_evaluation{false};
    int m_page = 0;
};
