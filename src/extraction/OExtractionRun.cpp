#include "extraction/OExtractionRun.h"

#include <vector>

#include "classification/OClassifier.h"
#include "extraction/OExtractor.h"
#include "extraction/OPartLimit.h"
#include "extraction/ORecomputeHost.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kExtractionErrorMessage = 26001;

// Sets the guard for the lifetime of a run.
class ORunGuard {
  public:
    explicit ORunGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ORunGuard() { m_flag = false; }
    ORunGuard(const ORunGuard&) = delete;
    ORunGuard& operator=(const ORunGuard&) = delete;

  private:
    bool& m_flag;
};

// New-platform editions other than 16 and 1024 (the camera editions).
bool bIsCameraPlatform(int hardware) {
    return TargetSystem::bIsNewPlatform(hardware) && hardware != 16 && hardware != 1024;
}

void SetNotForQuality(uint32_t& option) {
    option = FeatureOption::Set(option, FeatureOption::kNotForQuality, true);
}

template <class Fn>
void ForEachPart(OType_ZRPartSet& partSet, Fn fn) {
    for (OType_PartArray* list : {&partSet.TeachParts(), &partSet.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i)
            fn(*list->GetAt_NoSort(i));
    }
}

}  // namespace

bool OExtractionRun::bEnforceLimit(OType_ZRPartSet& partSet) {
    int maximum = m_host.iGetMaxPartsPerList();
    OType_ZRPartSet* sets[] = {&partSet};
    const OPartLimitOutcome outcome =
        EnforcePartLimit(sets, maximum, m_host.iGetPartLimitPolicy(), m_host.GetUserInteraction());
    if (outcome.raised) m_host.SetMaxPartsPerList(maximum);
    return outcome.teachPartsRemoved;
}

bool OExtractionRun::bSwitchCoordTrans(OType_ZRPartSet& partSet) {
    const OTargetSystem target = m_host.GetTargetSystem();
    const bool on = bIsCameraPlatform(target.hardware) && target.software >= 818 &&
                    m_host.GetProjectProperties().useAlternativeValue == 1;
    partSet.SetCoordTransSwitch(on);
    bool changed = false;
    for (const auto& tool : partSet.Tools()) {
        if (tool->bGetCoordTransSwitch() == on) continue;
        tool->SetCoordTransSwitch(on);
        changed = true;
    }
    return changed;
}

void OExtractionRun::MarkNotForQuality(OType_ZRPartSet& partSet) {
    ForEachPart(partSet, [](OType_Part& part) {
        for (OType_Feature& f : part.Features())
            SetNotForQuality(f.option);
    });
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        OType_VectorArray_Array& arrays = partSet.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o) {
            for (OType_Vector& v : *arrays.opGetAt(o))
                SetNotForQuality(v.option);
        }
    }
}

void OExtractionRun::RegisterDataOutputs(OType_ZRPartSet& partSet) {
    const OType_DeviceDataIOArray& outputs = partSet.DataOutputs();
    ForEachPart(partSet, [&](OType_Part& part) {
        std::vector<ODataOutputResult>& results = part.DataOutputResults();
        if (results.empty() && outputs.iGetNum() == 0) return;
        results.clear();
        for (const auto& output : outputs)
            results.push_back({output->iGetDataIOId(), output->ResultForPart(partSet, part)});
    });
}

void OExtractionRun::Finalize(OType_ZRPartSet& partSet) {
    const ZRINFO& info = m_host.GetDeviceInfo();
    for (const auto& tool : partSet.Tools())
        tool->iFinalizeBeforeCheckprogramUnload(partSet, info);
    for (const auto& output : partSet.DataOutputs())
        output->iEndExtraction(partSet, info);
}

void OExtractionRun::Resort(OType_ZRPartSet& partSet, bool teach) {
    OType_PartArray& list = teach ? partSet.TeachParts() : partSet.TestParts();
    const int shownNo = teach ? partSet.iShowTeachPartGetNo() : partSet.iShowTestPartGetNo();
    const OType_Part* shown = list.GetAt(shownNo);
    list.UpdateSortOrder();
    const int position = shown ? list.iGetSortPosOf(shown) : shownNo;
    if (teach)
        partSet.iShowTeachPartNo(position, 1);
    else
        partSet.iShowTestPartNo(position, 1);
}

int OExtractionRun::Recompute(OType_ZRPartSet* partSet, int toolsChanged, int testOnly,
                              int resortTeach, int resortTest, int option) {
    if (!partSet || !m_host.bHasDeviceSession() || s_running) return 0;
    ORunGuard guard(s_running);
    UserInteraction& ui = m_host.GetUserInteraction();
    OWaitCursor wait(ui);
    const ZRINFO& info = m_host.GetDeviceInfo();

    if (bEnforceLimit(*partSet)) testOnly = 0;
    if (bSwitchCoordTrans(*partSet)) {
        testOnly = 0;
        toolsChanged = 1;
    }
    partSet->DataOutputs().Update_LUT_FeatureIndexLists(*partSet);
    const OTargetSystem target = m_host.GetTargetSystem();
    if (bIsCameraPlatform(target.hardware) && m_host.GetProjectProperties().useQuality == 0)
        MarkNotForQuality(*partSet);
    if (toolsChanged) {
        for (const auto& tool : partSet->Tools())
            tool->SetModifiedFlag(true);
    }
    for (const auto& tool : partSet->Tools())
        tool->iInitAfterCheckprogramLoad(*partSet, info);
    for (const auto& output : partSet->DataOutputs())
        output->iBeginExtraction(*partSet, info);

    // Extraction stops at the first error of the engine's (never cleared) flags; the tools
    // and data outputs still get their closing calls.
    auto extract = [&](bool teach) {
        OExtractor* extractor = m_host.opEnsureContourView();
        if (!extractor) return false;
        if (extractor->GetExtractionErrorFlags() == 0) {
            if (teach)
                extractor->ExtractTeachParts(*partSet, option);
            else
                extractor->ExtractTestParts(*partSet, option);
        }
        if (extractor->GetExtractionErrorFlags() == 0) return true;
        ui.Message(ResStr(kExtractionErrorMessage), MsgIcon::Warning);
        return false;
    };
    if (!testOnly) {
        if (!extract(true)) {
            Finalize(*partSet);
            return 0;
        }
        if (OClassifier* classifier = m_host.opEnsureTeachDataView())
            classifier->TeachFromParts(*partSet);
    }
    if (!partSet->TestParts().bIsEmpty() && !extract(false)) {
        Finalize(*partSet);
        return 0;
    }
    if (OClassifier* classifier = m_host.opEnsureTeachDataView())
        classifier->EvaluateTestParts(*partSet, testOnly ? option : 0);
    RegisterDataOutputs(*partSet);
    Finalize(*partSet);

    bool anyToolModified = false;
    for (const auto& tool : partSet->Tools()) {
        anyToolModified |= tool->iGetModifiedFlag();
        tool->SetModifiedFlag(false);
    }
    ForEachPart(*partSet, [](OType_Part& part) { part.SetModified(false); });
    if (anyToolModified) resortTeach = resortTest = 1;
    if (resortTeach) Resort(*partSet, true);
    if (resortTest) Resort(*partSet, false);
    if (!partSet->TeachParts().GetAt(partSet->iShowTeachPartGetNo())) partSet->iShowTeachPartNo(0);
    if (!partSet->TestParts().GetAt(partSet->iShowTestPartGetNo())) partSet->iShowTestPartNo(0);
    return 1;
}

int OExtractionRun::RecomputeAll(int toolsChanged, int testOnly, int resortTeach, int resortTest,
                                 int option) {
    OType_ZRPartSetArray* sets = m_host.opGetPartSets();
    if (!sets || !m_host.bHasDeviceSession() || s_running) return 0;
    std::vector<OType_ZRPartSet*> all;
    for (int i = 0; i < sets->iGetNum(); ++i)
        all.push_back(sets->opGetPartSet(i));
    int maximum = m_host.iGetMaxPartsPerList();
    const OPartLimitOutcome outcome =
        EnforcePartLimit(all, maximum, m_host.iGetPartLimitPolicy(), m_host.GetUserInteraction());
    if (outcome.raised) m_host.SetMaxPartsPerList(maximum);
    if (outcome.teachPartsRemoved) testOnly = 0;
    OType_ZRPartSet* actual = sets->opGetActualPartSet();
    int ok = 1;
    for (OType_ZRPartSet* set : all) {
        if (set != actual)
            ok &= Recompute(set, toolsChanged, testOnly, resortTeach, resortTest, option);
    }
    if (actual) ok &= Recompute(actual, toolsChanged, testOnly, resortTeach, resortTest, option);
    return ok;
}
