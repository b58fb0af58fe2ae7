#include "classification/TeachDataCommands.h"

#include "classification/ClassificationStrings.h"
#include "classification/ClassifierSupport.h"
#include "classification/OClassifier.h"
#include "classification/OClassifierHost.h"
#include "classification/ODlg_Classifier_TD_Evalute.h"
#include "classification/ODlg_CounterProperties.h"
#include "classification/TeachDataView.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/CodePage.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {
constexpr uint32_t kIgnoreOrientationFlag = 0xFFFF;
}

bool OTeachDataCommands::ChangeTolerance(int delta) {
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    OType_ZRPartSet_SubType* record = partSet ? partSet->opGetShowSubType() : nullptr;
    if (!record) return false;
    const int type = partSet->iShowSubTypeGetNo();
    const int tolerance = TeachDataView::iNextTolerance(record->iGetTolerance(), delta);
    m_classifier.LoadTeachData(*partSet);
    m_classifier.SetTypeTolerance(*partSet, type, tolerance);
    m_classifier.ClearTeachError();
    m_classifier.FindSeparatingFeatures();
    m_classifier.FormToleranceBands();
    m_classifier.StoreDecisionRanges(*partSet);
    m_classifier.EvaluateTestParts(*partSet, 0);
    m_host.SetModifiedFlag();
    partSet->UndoRedo().bStoreUndoData(*partSet, "UNDO:Tolerance Changed",
                                       "UNDO:Tolerance Changed ...", TeachDataView::kViewCommand);
    m_host.RedrawTeachDataView();
    return true;
}

bool OTeachDataCommands::DeletePartType() {
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    OType_ZRPartSet_SubType* record = partSet ? partSet->opGetShowSubType() : nullptr;
    if (!record) return false;
    const int type = partSet->iShowSubTypeGetNo();
    m_classifier.LoadTeachData(*partSet);
    record->Clear();
    m_classifier.ClearType(type);
    m_classifier.StoreStatistics(*partSet);
    m_host.RecomputeProject();
    m_host.SetModifiedFlag();
    partSet->UndoRedo().bStoreUndoData(*partSet, "UNDO:Delete a Sub Type",
                                       "UNDO:Delete a Sub Type ...", TeachDataView::kViewCommand);
    m_host.RedrawTeachDataView();
    return true;
}

bool OTeachDataCommands::EditPartTypeProperties() {
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    OType_ZRPartSet_SubType* record = partSet ? partSet->opGetShowSubType() : nullptr;
    if (!record) return false;
    std::string name = record->GetName();
    if (!m_host.UI().GetText("Properties of the selected part type",
                             ResStr(ClassificationText::kPartTypeNamePrompt), name))
        return false;
    if (!bIsConvertibleToAnsi(name)) {
        m_host.UI().Message(ResStr(ClassificationText::kNotConvertibleToAnsi), MsgIcon::Warning);
        return false;
    }
    if (name == record->GetName()) return false;
    record->SetName(name);
    m_host.SetModifiedFlag();
    m_host.RecomputeProject();
    partSet->UndoRedo().bStoreUndoData(*partSet, "TODO:PartSetSubTypeProperties",
                                       "TODO:PartSetSubTypeProperties",
                                       TeachDataView::kViewCommand);
    m_host.RedrawTeachDataView();
    return true;
}

bool OTeachDataCommands::SetCounter() {
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    OType_ZRPartSet_SubType* record = partSet ? partSet->opGetShowSubType() : nullptr;
    if (!record) return false;
    const uint32_t oldTarget = record->iGetCounterTarget();
    const bool oldIgnore = record->iGetCounterFlag() != 0;
    ODlg_CounterProperties dialog(ClassifierSupport::iDeviceKind(m_host.DeviceInfo()), oldTarget,
                                  oldIgnore);
    if (!m_host.UI().bRunDialog(dialog)) return false;
    const auto target = static_cast<uint32_t>(dialog.iGetTarget());
    const bool ignore = dialog.bGetIgnoreOrientation();
    record->SetCounterFlag(ignore ? kIgnoreOrientationFlag : 0);
    record->SetCounterTarget(target);
    if (target != oldTarget || ignore != oldIgnore) m_host.SetModifiedFlag();
    m_host.RedrawTeachDataView();
    return true;
}

bool OTeachDataCommands::ShowEvaluation() {
    if (m_classifier.iGetFamily() == 2) {
        ODlg_Classifier_KVT_TD_Evalute dialog(m_classifier);
        dialog.OnInitDialog();
        return m_host.UI().bRunDialog(dialog);
    }
    ODlg_Classifier_Conf12_TD_Evalute dialog(m_classifier);
    dialog.OnInitDialog();
    return m_host.UI().bRunDialog(dialog);
}

OCommandState OTeachDataCommands::FeatureForQualityState() const {
    OCommandState state;
    const OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    if (!partSet || !m_host.ProjectProperties().useQuality) return state;
    const int feature = partSet->iShowFeatureGetNo();
    if (feature < 0 || feature >= partSet->iGetNumOfFeatures()) return state;
    state.enabled = true;
    state.checked = partSet->bIsFeatureEnabled(feature);
    return state;
}

bool OTeachDataCommands::ToggleFeatureForQuality() {
    if (!FeatureForQualityState().enabled) return false;
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    const int feature = partSet->iShowFeatureGetNo();
    const bool before = partSet->bIsFeatureEnabled(feature);
    partSet->SetFeatureEnable(feature, -1);
    if (partSet->bIsFeatureEnabled(feature) == before) return false;
    m_host.RecomputeProject();
    m_host.UpdateAllViews();
    return true;
}
