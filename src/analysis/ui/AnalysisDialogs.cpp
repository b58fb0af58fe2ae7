#include "analysis/ui/AnalysisDialogs.h"

#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "analysis/ui/OSheet_AccuracyWizardWindow.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "wizards/ui/OOptimizeWizardWindow.h"

void RegisterAnalysisDialogs(OUserInteraction_Qt& ui) {
    ui.RegisterDialog(OAccuracyWizardDialog::kDialogName,
                      [](ODialogModel& model, QWidget* parent) -> QDialog* {
                          return new OSheet_AccuracyWizardWindow(
                              static_cast<OAccuracyWizardDialog&>(model), parent);
                      });
    ui.RegisterDialog(
        OOptimizeWizardDialog::kDialogName, [](ODialogModel& model, QWidget* parent) -> QDialog* {
            return new OOptimizeWizardWindow(static_cast<OOptimizeWizardDialog&>(model), parent);
        });
}
