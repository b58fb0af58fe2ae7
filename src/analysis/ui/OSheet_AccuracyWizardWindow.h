// The accuracy wizard's window over OAccuracyWizardDialog: four pages whose controls are
// named by their control ids and bound to the page models, which compute everything shown.
#pragma once

#include "wizards/ui/OWizardDialog.h"

class OAccuracyWizardDialog;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTimer;

class OSheet_AccuracyWizardWindow : public OWizardDialog {
    Q_OBJECT
  public:
    enum Page { kStart, kFeature, kEvaluation, kResult };

    OSheet_AccuracyWizardWindow(OAccuracyWizardDialog& model, QWidget* parent);

  private:
    QWidget* BuildStartPage();
    QWidget* BuildFeaturePage();
    QWidget* BuildEvaluationPage();
    QWidget* BuildResultPage();

    void Activate(int page);
    void OnBack();
    void OnNext();
    void OnFinish();

    void ShowFeatureOutputs();
    void ReadEvaluationFields();
    void ShowEvaluationOutputs();
    void CopySummary();

    OAccuracyWizardDialog& m_model;
    // start
    QLabel* m_startText = nullptr;
    QLabel* m_partCount = nullptr;
    // feature
    QComboBox* m_feature = nullptr;
    QLineEdit* m_measured = nullptr;
    QLabel* m_mean = nullptr;
    QLabel* m_resolution = nullptr;
    QLabel* m_averageError = nullptr;
    QLabel* m_maxError = nullptr;
    QLabel* m_featureMessage = nullptr;
    // evaluation
    QRadioButton* m_toleranceMode = nullptr;
    QRadioButton* m_shareMode = nullptr;
    QLineEdit* m_specified = nullptr;
    QLineEdit* m_tolerance = nullptr;
    QLineEdit* m_uncertainInput = nullptr;
    QLabel* m_uncertainOutput = nullptr;
    QLabel* m_toleranceOutput = nullptr;
    QWidget* m_toleranceRow = nullptr;
    QWidget* m_shareRow = nullptr;
    QLabel* m_cgm = nullptr;
    QLabel* m_cgmk = nullptr;
    QTimer* m_recomputeTimer = nullptr;
    // result
    QTableWidget* m_summary = nullptr;
    QCheckBox* m_create = nullptr;
};
