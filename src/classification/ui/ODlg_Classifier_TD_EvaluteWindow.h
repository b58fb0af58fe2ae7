// The evaluation dialog of the Teach-Data ("Properties / evaluation of the Teach-Data:",
// templates 160 and 323): the rated rows of the evaluation list with their icons, one column
// "Results:" as wide as the list. OK closes it.
#pragma once

#include <QDialog>

class ODlg_Classifier_TD_Evaluation;
class QListWidget;

class ODlg_Classifier_TD_EvaluteWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_Classifier_TD_EvaluteWindow(ODlg_Classifier_TD_Evaluation& model, QWidget* parent);

    QListWidget* List() const { return m_list; }

  private:
    QListWidget* m_list = nullptr;
};
