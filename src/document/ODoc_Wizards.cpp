#include "document/ODoc_Wizards.h"

#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "device/OQuillon.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "extraction/OExtr_Default.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OClock_System.h"
#include "platform/UserInteraction.h"

namespace {

void RunAccuracyWizard(ODoc& doc) {
    OType_ZRPartSet* partSet = doc.opGetActualPartSet();
    if (!partSet) return;
    doc.CloseCommunicationManager();
    OAccuracyWizardDialog dialog(*partSet);
    if (!doc.UI().bRunDialog(dialog)) return;
    const bool detectsOrientations = doc.opGetSession()->ProjectProperties().useOrientation != 0;
    if (dialog.Sheet().iApplyOnFinish(doc.opEnsureClassifier(), detectsOrientations) == 1)
        doc.bStoreUndoStep(*partSet, "Accuracy ranges as Teach-Data", Cmd::kViewTeachData);
    doc.RefreshViews();
}

void RunOptimizeWizard(ODoc& doc) {
    if (!doc.opGetActualPartSet() || doc.iGetFamily() != 1) return;
    doc.CloseCommunicationManager();
    static const OClock_System systemClock;
    const Clock* clock = doc.opGetClock() ? doc.opGetClock() : &systemClock;
    OOptimizeWizardDialog dialog(doc.opEnsureExtractor(), doc.opEnsureClassifier(), *clock,
                                 doc.UI());
    doc.UI().bRunDialog(dialog);
    doc.RefreshViews();
}

}  // namespace

namespace DocWizards {

bool bOnCommand(ODoc& doc, int id) {
    switch (id) {
        case Cmd::kAccuracyWizard:
            RunAccuracyWizard(doc);
            return true;
        case Cmd::kOptimizeWizard:
            RunOptimizeWizard(doc);
            return true;
        default:
            return false;
    }
}

std::optional<OCommandState> CommandState(const ODoc& doc, int id) {
    OCommandState state;
    switch (id) {
        case Cmd::kAccuracyWizard:
            state.enabled = doc.opGetActualPartSet() != nullptr;
            return state;
        case Cmd::kOptimizeWizard:
            // The tool search belongs to the contour images of family 1; one at a time.
            state.enabled = doc.opGetActualPartSet() != nullptr && doc.iGetFamily() == 1 &&
                            !OProjectWizardOptiSettings::bIsSearchRunning();
            return state;
        default:
            return std::nullopt;
    }
}

}  // namespace DocWizards
