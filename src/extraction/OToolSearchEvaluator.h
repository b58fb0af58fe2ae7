// Measures and scores candidate tools of the automatic tool search on indexed parts.
//
// A candidate is a tool of kind ROI, VStrip or CTool with its sub-kind, placement mode and
// region. Its feature is read from the part's index where the index answers it and
// otherwise measured by a tool of the candidate's kind set up like the candidate (one tool
// per kind, the search's prototypes), so every value is the one the installed tool would
// compute. One evaluator per thread.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "extraction/OToolSearchClasses.h"
#include "model/draw/OGeometry.h"
#include "model/part/OType_Feature.h"
#include "tools/OContourPartIndex.h"

class OType_ConfigTool_Contour;

struct OSearchCandidateSpec {
    int kind = 0;
    int subKind = 0;
    int mode = 1;
    ORect region;
    bool operator==(const OSearchCandidateSpec&) const = default;
};

// A part taking part in the search: its contour, indexed, and its dense class.
struct OSearchPart {
    int classIndex = -1;
    OContourPartIndex index;
};

class OToolSearchEvaluator {
  public:
    explicit OToolSearchEvaluator(const OSearchClasses& classes);
    ~OToolSearchEvaluator();
    OToolSearchEvaluator(const OToolSearchEvaluator&) = delete;
    OToolSearchEvaluator& operator=(const OToolSearchEvaluator&) = delete;

    // The candidate's feature value on the part.
    double dValue(const OSearchCandidateSpec& spec, const OContourPartIndex& part);
    // Scores the candidate on the parts: `scores` receives the pairs scoring at least
    // kMinScore; returns their sum.
    int iScore(const OSearchCandidateSpec& spec, std::span<const OSearchPart> parts,
               std::vector<OPairScore>& scores);
    // Scores from class ranges gathered elsewhere (one range per class).
    int iScoreRanges(std::span<const OClassRange> ranges, std::vector<OPairScore>& scores) const {
        return m_classes.iScorePairs(ranges.data(), scores);
    }

  private:
    OType_ConfigTool_Contour* opPrototype(int kind);

    const OSearchClasses& m_classes;
    std::vector<OClassRange> m_ranges;
    std::unique_ptr<OType_ConfigTool_Contour> m_roi, m_vstrip, m_ctool;
    OType_FeatureArray m_noFeatures;
};
