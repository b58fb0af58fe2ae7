#include "extraction/OToolSearchEvaluator.h"

#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"

OToolSearchEvaluator::OToolSearchEvaluator(const OSearchClasses& classes)
    : m_classes(classes),
      m_ranges(static_cast<size_t>(classes.iCount())),
      m_roi(std::make_unique<OType_ConfigTool_ROI>()),
      m_vstrip(std::make_unique<OType_ConfigTool_VSTRIP>()),
      m_ctool(std::make_unique<OType_ConfigTool_CTOOL>()) {}

OToolSearchEvaluator::~OToolSearchEvaluator() = default;

OType_ConfigTool_Contour* OToolSearchEvaluator::opPrototype(int kind) {
    switch (kind) {
        case ContourToolKind::kROI:
            return m_roi.get();
        case ContourToolKind::kVStrip:
            return m_vstrip.get();
        case ContourToolKind::kCTool:
            return m_ctool.get();
        default:
            return nullptr;
    }
}

double OToolSearchEvaluator::dValue(const OSearchCandidateSpec& spec,
                                    const OContourPartIndex& part) {
    if (const auto fast = part.Measure(spec.kind, spec.subKind, spec.mode, spec.region))
        return *fast;
    OType_ConfigTool_Contour* tool = opPrototype(spec.kind);
    if (!tool) return 0.0;
    tool->SetFeatureType(spec.subKind);
    tool->SetPlacementMode(spec.mode);
    tool->SetRegion(spec.region);
    const OToolMeasurement m = tool->Measure(part.Columns(), m_noFeatures);
    return m.valid ? m.value : 0.0;
}

int OToolSearchEvaluator::iScore(const OSearchCandidateSpec& spec,
                                 std::span<const OSearchPart> parts,
                                 std::vector<OPairScore>& scores) {
    std::fill(m_ranges.begin(), m_ranges.end(), OClassRange());
    for (const OSearchPart& part : parts) {
        if (part.classIndex < 0) continue;
        m_ranges[static_cast<size_t>(part.classIndex)].Add(dValue(spec, part.index));
    }
    return m_classes.iScorePairs(m_ranges.data(), scores);
}
