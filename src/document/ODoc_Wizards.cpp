#include "document/ODoc_Wizards.h"

#include "analysis/OAccuracyWizardDialog.h"
#include "analysis/OOptimizeWizardDialog.h"
#include "device/OQuillon.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/ViewHost.h"
#include "document/files/OProjectExchangeSupport.h"
#include "extraction/OExtr_Default.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OClock_System.h"
#include "platform/UserInteraction.h"
#include "wizards/OProjectWizardSheet.h"
#include "wizards/ProjectWizardRules.h"

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

// Transfers part type `type` (0-based) to part-data number `number`; a part type without
// Teach-Data is skipped or cleared in the device, as the user answers.
void TransferPartType(ODoc& doc, int type, int number) {
    OQuillon& session = *doc.opGetSession();
    const OType_ZRPartSet* set = doc.opGetActualPartSet();
    const OType_ZRPartSet_SubType* record = set ? set->opGetSubType(type) : nullptr;
    if (record && record->iGetNumOrientations() >= 1 && record->bHasData()) {
        session.DownloadPartData(type, number);
        return;
    }
    if (doc.UI().Message(ResStrFormat(4006, type + 1), MsgIcon::Question, MsgButtons::YesNo) ==
        MsgResult::No)
        session.ClearPartData(number);
}

void TransferTeachData(ODoc& doc, const OProjectWizardSheet& sheet) {
    const OTargetSystem& target = doc.opGetSession()->GetTargetSystem();
    const bool sorting = sheet.bTaskFlag(WizardTask::Sorting);
    const std::vector<int> numbers = ProjectWizardRules::TransferNumbers(
        sheet.Results().target, target.partTypes, target.partsInSet, sorting);
    for (size_t i = 0; i < numbers.size(); ++i)
        TransferPartType(doc, static_cast<int>(i), numbers[i]);
}

// Without the manual-mode choice the finished project is saved (when the user wants) and a
// new project begins.
void EndWithNewProject(ODoc& doc, const std::string& path) {
    if (!doc.IsModified()) {
        doc.OnFileNew();
        return;
    }
    if (doc.UI().Message(ResStr(5005), MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    std::string error;
    if (doc.WriteProjectFile(path, error) == 1) {
        doc.SetModifiedFlag(0);
        doc.OnFileNew();
        return;
    }
    doc.UI().Message(ExchangePaths::WithDetail(ResStr(5121), error), MsgIcon::Error);
}

void FinishProjectWizard(ODoc& doc, const OProjectWizardSheet& sheet) {
    const OProjectWizardSheet::OResults& results = sheet.Results();
    OQuillon& session = *doc.opGetSession();
    if (results.transfer) TransferTeachData(doc, sheet);
    doc.SetPathName(sheet.ProjectPath());
    session.SetProjectPath(sheet.ProjectPath());
    if (results.addDocumentation) doc.ShowView(ViewKind::ProjectDocumentation);
    if (session.bIsDiagMode()) session.SetDiagnosticMode(0);
    if (results.saveProject) doc.OnFileSave();
    if (sheet.bFinishPathIsProject())
        doc.SetTitle(ProjectWizardRules::NameOfPath(sheet.ProjectPath()) + ".zrp");
    // The documentation view stays open on the finished project for the user to fill in.
    if (!results.manualMode && !results.addDocumentation)
        EndWithNewProject(doc, sheet.ProjectPath());
}

void RunProjectWizard(ODoc& doc) {
    doc.CloseCommunicationManager();
    if (!doc.SaveProject(1, 0)) return;
    OQuillon& session = *doc.opGetSession();
    session.ResetSession();
    doc.OnNewDocument();
    doc.RecomputeAll(1, 0, 1, 1, 0);
    doc.RefreshViews();
    doc.SetModifiedFlag(0);
    OProjectWizardSheet sheet(doc, doc.GetPathName());
    sheet.Begin();
    const bool finished = doc.UI().bRunDialog(sheet);
    // Recomputed before Finish saves, so that the saved project is the one shown.
    doc.RecomputeAll(1, 0, 1, 1, 0);
    doc.RefreshViews();
    if (finished) FinishProjectWizard(doc, sheet);
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
        case Cmd::kProjectWizard:
            RunProjectWizard(doc);
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
        case Cmd::kProjectWizard:
            state.enabled =
                doc.opGetSession() != nullptr && !OProjectWizardOptiSettings::bIsSearchRunning();
            return state;
        default:
            return std::nullopt;
    }
}

}  // namespace DocWizards
