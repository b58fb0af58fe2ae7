#include "classification/ODlg_Classifier_TD_Evalute.h"

#include "classification/OClassifier.h"

void ODlg_Classifier_TD_Evaluation::OnInitDialog() {
    m_classifier.BuildEvaluationList(m_rows);
}
