#include "extraction/OHeadlessExtraction.h"

#include "extraction/OExtractionRun.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "tools/ContourToolTypes.h"
#include "tools/ToolKindRegistry.h"
#include "tools/kvt/KvtToolKinds.h"

namespace {
constexpr int kExtractionLanguage = 0;
}

OHeadlessExtraction::OHeadlessExtraction(const ZRINFO& deviceInfo, const OTargetSystem& target,
                                         UserInteraction& ui)
    : m_info(deviceInfo),
      m_target(target),
      m_ui(ui),
      m_deviceTypeCode(target.software),
      m_engine(*this),
      m_imageEngine(*this) {
    m_engine.ResetView();
}

bool OHeadlessExtraction::bIsNewPlatform() const {
    return TargetSystem::bIsNewPlatform(m_target.hardware);
}

OExtractor& OHeadlessExtraction::Extractor() {
    if (bIsNewPlatform()) return m_imageEngine;
    return m_engine;
}

void OHeadlessExtraction::PreparePartSet(OType_ZRPartSet& partSet) {
    RegisterToolAndDataOutputKinds(partSet);
    partSet.SetDeviceInfo(&m_info);
    partSet.SetFixedFeatures(m_info.u16(ZRINFO::kBasicFeatures));
    partSet.ExtractFeatureNameLanguage(kExtractionLanguage);
}

int OHeadlessExtraction::Extract(OType_ZRPartSet& partSet) {
    m_actual = &partSet;
    const int result = OExtractionRun(*this).Recompute(&partSet, 1, 0, 0, 0, 0);
    m_actual = nullptr;
    return result;
}

void OHeadlessExtraction::Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly,
                                    int resortTeach, int resortTest, int option) {
    OType_ZRPartSet* previous = m_actual;
    m_actual = &partSet;
    OExtractionRun(*this).Recompute(&partSet, toolsChanged, testOnly, resortTeach, resortTest,
                                    option);
    m_actual = previous;
}

void OHeadlessExtraction::SelectFeature(int feature, bool) {
    if (m_actual) m_actual->iShowFeatureNo(feature);
}

bool OHeadlessExtraction::bIsToolAllowed(int kind, int) {
    return bIsNewPlatform() ? KvtToolKind::bIsImageToolKind(kind)
                            : ContourToolKind::bIsContourKind(kind);
}

OType_ConfigTool* OHeadlessExtraction::opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) {
    std::unique_ptr<OType_ConfigTool> tool = partSet.ToolPrototypes().Create(kind);
    if (!tool) return nullptr;
    tool->SetFeatureType(subKind);
    int at = 0;
    for (int k = 0; k < partSet.Tools().iGetNum(); ++k) {
        if (partSet.Tools().opGetAt(k)->iGetConfigToolType() <= kind) at = k + 1;
    }
    for (int n = 1;; ++n) {
        const std::string name = FormatPrintf("%s %d", tool->GetKindName(), n);
        bool used = false;
        for (const auto& t : partSet.Tools())
            used = used || t->GetName() == name;
        if (used) continue;
        tool->SetName(name);
        break;
    }
    return partSet.Tools().Insert(at, std::move(tool));
}
