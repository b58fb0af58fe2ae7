// The page "Evaluation": the classifier's evaluation list (a rating icon and a text per
// row, advice rows indented) and its teach error, with the footer naming the next step.
#pragma once

#include <QWidget>

class OProjectWizardEvaluation;
class OClassifier;
class QLabel;
class QListWidget;

class OProjectWizardEvaluationPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kListId = 1224;
    static constexpr int kFooterId = 1225;

    explicit OProjectWizardEvaluationPage(OProjectWizardEvaluation& model,
                                          QWidget* parent = nullptr);
    // Shows what the model holds (after its OnActivate).
    void ShowModel();
    QListWidget* List() const { return m_list; }

  private:
    OProjectWizardEvaluation& m_model;
    QListWidget* m_list = nullptr;
    QLabel* m_footer = nullptr;
};
