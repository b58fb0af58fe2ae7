// The evaluation dialogs of the Teach-Data: one list of rated rows that the classifier
// fills (BuildEvaluationList). Family 1 and family 2 have their own dialog classes.
#pragma once

#include <string>
#include <vector>

#include "classification/OEvaluationRow.h"
#include "platform/ODialogModel.h"

class OClassifier;

class ODlg_Classifier_TD_Evaluation : public ODialogModel {
  public:
    static constexpr int kList = 1162;
    static constexpr int kIcons = 8;  // 16x16 icons, the rating and row icons 0..7

    explicit ODlg_Classifier_TD_Evaluation(OClassifier& classifier) : m_classifier(classifier) {}

    static std::string Title() { return "Properties / evaluation of the Teach-Data:"; }
    static std::string Caption() {
        return "The evaluation of the Teach-Data showed the following results:";
    }
    static std::string ColumnHeader() { return "Results:"; }
    virtual int iGetTemplate() const = 0;

    // Fills the list; called when the dialog opens.
    void OnInitDialog();
    const std::vector<OEvaluationRow>& Rows() const { return m_rows; }

  private:
    OClassifier& m_classifier;
    std::vector<OEvaluationRow> m_rows;
};

class ODlg_Classifier_Conf12_TD_Evalute : public ODlg_Classifier_TD_Evaluation {
  public:
    using ODlg_Classifier_TD_Evaluation::ODlg_Classifier_TD_Evaluation;
    std::string DialogName() const override { return "ODlg_Classifier_Conf12_TD_Evalute"; }
    int iGetTemplate() const override { return 160; }
};

class ODlg_Classifier_KVT_TD_Evalute : public ODlg_Classifier_TD_Evaluation {
  public:
    using ODlg_Classifier_TD_Evaluation::ODlg_Classifier_TD_Evaluation;
    std::string DialogName() const override { return "ODlg_Classifier_KVT_TD_Evalute"; }
    int iGetTemplate() const override { return 323; }
};
