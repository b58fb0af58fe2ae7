// The evaluation wizards the document starts: the accuracy wizard and the optimising wizard.
#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "device/OQuillon.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "extraction/OExtr_Default.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OClock_System.h"
#include "platform/UserInteraction.h"

bool ODoc::bOnWizardCommand(int id) {
    switch (id) {
        case Cmd::kAccuracyWizard:
            RunAccuracyWizard();
            return true;
        case Cmd::kOptimizeWizard:
            RunOptimizeWizard();
            return true;
        default:
            return false;
    }
}

std::optional<OCommandState> ODoc::WizardCommandState(int id) const {
    OCommandState state;
    switch (id) {
        case Cmd::kAccuracyWizard:
            state.enabled = opGetActualPartSet() != nullptr;
            return state;
        case Cmd::kOptimizeWizard:
            // The tool search belongs to the contour images of family 1.
            state.enabled = opGetActualPartSet() != nullptr && iGetFamily() == 1 &&
                            !OProjectWizardOptiSettings::bIsSearchRunning();
            return state;
        default:
            return std::nullopt;
    }
}

void ODoc::RunAccuracyWizard() {
    OType_ZRPartSet* partSet = opGetActualPartSet();
    if (!partSet) return;
    CloseCommunicationManager();
    OAccuracyWizardDialog dialog(*partSet);
    if (!m_services.ui.bRunDialog(dialog)) return;
    const bool detectsOrientations = m_session->ProjectProperties().useOrientation != 0;
    if (dialog.Sheet().iApplyOnFinish(opEnsureClassifier(), detectsOrientations) == 1)
        bStoreUndoStep(*partSet, "Accuracy ranges as Teach-Data", Cmd::kViewTeachData);
    RefreshViews();
}

void ODoc::RunOptimizeWizard() {
    if (!opGetActualPartSet() || iGetFamily() != 1) return;
    CloseCommunicationManager();
    static const OClock_System systemClock;
    const Clock* clock = m_services.clock ? m_services.clock : &systemClock;
    OOptimizeWizardDialog dialog(opEnsureExtractor(), opEnsureClassifier(), *clock, m_services.ui);
    m_services.ui.bRunDialog(dialog);
    RefreshViews();
}
