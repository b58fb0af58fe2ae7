#include "classification/ui/ClassificationWindows.h"

#include "analysis/ui/OView_VectorProperties.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "classification/ODlg_CaliperSettings.h"
#include "classification/ODlg_Classifier_TD_Evalute.h"
#include "classification/ODlg_CounterProperties.h"
#include "classification/ui/OClassifierWindow.h"
#include "classification/ui/ODlg_CaliperSettingsWindow.h"
#include "classification/ui/ODlg_Classifier_TD_EvaluteWindow.h"
#include "classification/ui/ODlg_CounterPropertiesWindow.h"
#include "document/ui/OViewRegistry.h"

void RegisterClassificationViews() {
    OViewTemplate teachData;
    teachData.create = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OClassifierWindow(doc, parent);
    };
    teachData.createCompanion = [](ODoc& doc, QWidget* parent) -> QWidget* {
        return new OView_VectorProperties(doc, parent);
    };
    teachData.splitterSetting = "VIEW_TEACHDATA_SEPERATOR";
    teachData.defaultCompanionWidth = 300;
    teachData.families = 0b11;
    RegisterViewTemplate(ViewKind::TeachData, teachData);
}

void RegisterClassificationDialogs(OUserInteraction_Qt& ui) {
    const auto evaluation = [](ODialogModel& model, QWidget* parent) -> QDialog* {
        return new ODlg_Classifier_TD_EvaluteWindow(
            static_cast<ODlg_Classifier_TD_Evaluation&>(model), parent);
    };
    ui.RegisterDialog("ODlg_Classifier_Conf12_TD_Evalute", evaluation);
    ui.RegisterDialog("ODlg_Classifier_KVT_TD_Evalute", evaluation);
    ui.RegisterDialog("ODlg_CounterProperties",
                      [](ODialogModel& model, QWidget* parent) -> QDialog* {
                          return new ODlg_CounterPropertiesWindow(
                              static_cast<ODlg_CounterProperties&>(model), parent);
                      });
    ui.RegisterDialog("ODlg_CaliperSettings", [](ODialogModel& model, QWidget* parent) -> QDialog* {
        return new ODlg_CaliperSettingsWindow(static_cast<ODlg_CaliperSettings&>(model), parent);
    });
}
