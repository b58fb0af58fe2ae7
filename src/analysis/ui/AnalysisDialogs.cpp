#include "analysis/ui/AnalysisDialogs.h"

#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "analysis/ui/OSheet_AccuracyWizardWindow.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "wizards/ui/OOptimizeWizardWindow.h"

void RegisterAnalysisDialogs(OUserInteraction_Qt& ui) {
    ui.RegisterDialogWindow<OAccuracyWizardDialog, OSheet_AccuracyWizardWindow>(
        OAccuracyWizardDialog::kDialogName);
    ui.RegisterDialogWindow<OOptimizeWizardDialog, OOptimizeWizardWindow>(
        OOptimizeWizardDialog::kDialogName);
}
