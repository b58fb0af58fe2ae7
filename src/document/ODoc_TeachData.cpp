// The document's Teach-Data commands: the tolerance of the shown part type, deleting and
// renaming it, its counter, the evaluation dialog and the current feature's use for the
// quality decision. The classifier's command object does the work; the document supplies
// the classifier of its family and refreshes every view afterwards, since a tolerance change
// re-classifies the test parts that the other views show.
#include "classification/ClassifierSupport.h"
#include "classification/OClassifier.h"
#include "classification/TeachDataCommands.h"
#include "device/TargetSystem.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"

namespace {

bool bIsTeachDataCommand(int id) {
    switch (id) {
        case Cmd::kAddTolerance:
        case Cmd::kDecreaseTolerance:
        case Cmd::kDeletePartType:
        case Cmd::kPartTypeProperties:
        case Cmd::kTeachDataEvaluation:
        case Cmd::kCounterProperties:
        case Cmd::kFeatureForQuality:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool ODoc::bOnTeachDataCommand(int id) {
    if (!bIsTeachDataCommand(id)) return false;
    const std::optional<OCommandState> state = TeachDataCommandState(id);
    if (!state || !state->enabled) return true;
    CloseCommunicationManager();
    OClassifier* classifier = opEnsureClassifier();
    if (!classifier) return true;
    OTeachDataCommands commands(*classifier, m_classifierHost);
    bool changed = false;
    switch (id) {
        case Cmd::kAddTolerance:
            changed = commands.AddTolerance();
            break;
        case Cmd::kDecreaseTolerance:
            changed = commands.DecreaseTolerance();
            break;
        case Cmd::kDeletePartType:
            changed = commands.DeletePartType();
            break;
        case Cmd::kPartTypeProperties:
            changed = commands.EditPartTypeProperties();
            break;
        case Cmd::kTeachDataEvaluation:
            commands.ShowEvaluation();
            break;
        case Cmd::kCounterProperties:
            changed = commands.SetCounter();
            break;
        case Cmd::kFeatureForQuality:
            // Recomputes and refreshes all views itself.
            commands.ToggleFeatureForQuality();
            break;
        default:
            break;
    }
    if (changed) RefreshViews();
    return true;
}

std::optional<OCommandState> ODoc::TeachDataCommandState(int id) const {
    if (!bIsTeachDataCommand(id)) return std::nullopt;
    OCommandState state;
    OType_ZRPartSet* set = opGetActualPartSet();
    OClassifier* classifier = opGetClassifier();
    if (!set || !m_session) return state;
    const bool typeShown = set->opGetShowSubType() != nullptr;
    switch (id) {
        case Cmd::kAddTolerance:
        case Cmd::kDecreaseTolerance:
        case Cmd::kDeletePartType:
        case Cmd::kPartTypeProperties:
        case Cmd::kTeachDataEvaluation:
            state.enabled = typeShown;
            break;
        case Cmd::kCounterProperties:
            state.enabled =
                typeShown && TargetSystem::bIsCounterEdition(
                                 ClassifierSupport::iDeviceKind(m_session->DeviceInfo()));
            break;
        case Cmd::kFeatureForQuality:
            if (classifier) {
                auto& host = const_cast<ODocClassifierHost&>(m_classifierHost);
                state = OTeachDataCommands(*classifier, host).FeatureForQualityState();
            }
            break;
        default:
            break;
    }
    return state;
}
