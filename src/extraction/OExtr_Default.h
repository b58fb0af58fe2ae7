// The family-1 extraction engine: the twelve basic contour features and one feature per
// tool for every part, the part contour view's state, the mirrors and the order in which
// orientation samples are printed. The document owns it; extraction/ui draws it.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "extraction/OBasicContourFeatures.h"
#include "extraction/OContourViewState.h"
#include "extraction/OExtractor.h"
#include "model/part/OType_Feature.h"
#include "tools/OContourColumns.h"

class OToolSearchJob;
struct OToolSearchRequest;
class OType_ConfigTool;
class OType_ConfigTool_Contour;
class OType_PartArray;

// One page of PrintOrientationSamples: the part type (0-based), the orientation (1-based)
// and the shown teach part (sort position) the page shows.
struct OOrientationSample {
    int partType = 0;
    int orientation = 0;
    int teachPart = -1;
    bool found = false;  // a part of that class exists; otherwise the previous selection stays
    bool operator==(const OOrientationSample&) const = default;
};

class OExtr_Default : public OExtractor {
  public:
    static constexpr int kFeatureFlagCount = 256;

    explicit OExtr_Default(OExtractorHost& host);

    void PrepareExtraction(OType_ZRPartSet& partSet) override;
    void ExtractTeachParts(OType_ZRPartSet& partSet, int option) override;
    void PrepareTestExtraction(OType_ZRPartSet& partSet) override;
    void ExtractTestParts(OType_ZRPartSet& partSet, int option) override;
    // Runs the automatic tool search in the calling thread and installs what it finds
    // (see OToolSearchJob); 0 when no tool slot is free.
    int SearchTools(double maxMinutes, int stepSize, int compareTypes, int includeUnassigned,
                    OProgressCtrl* progress, std::string* statusText) override;
    // May be called from any thread while a search runs.
    void CancelToolSearch() override { m_searchCancel.store(1); }
    // The first step of a search that a window runs in a worker: clears the cancel flag and
    // takes the actual part set's teach parts; nullptr when there is no part set or no free
    // tool slot (the message is shown).
    std::unique_ptr<OToolSearchJob> StartToolSearch(const OToolSearchRequest& request);
    void ResetView() override;
    void PrintOrientationSamples() override;
    void MirrorVertical(OType_Part& part) override;
    void MirrorHorizontal(OType_Part& part) override;

    // Extracts one part outside a run (PrepareExtraction, then the part).
    void ExtractSinglePart(OType_ZRPartSet& partSet, OType_Part& part);
    // The pages PrintOrientationSamples prints, in order: for every part type and each of
    // its orientations the first teach part of that type and orientation.
    static std::vector<OOrientationSample> OrientationSampleSequence(
        const OType_ZRPartSet& partSet);

    OContourViewState& ViewState() { return m_view; }
    const OContourViewState& ViewState() const { return m_view; }
    const std::array<uint8_t, kFeatureFlagCount>& BasicFeatureFlags() const {
        return m_featureFlags;
    }
    int iGetKeepMarkedBasicValues() const { return m_keepMarkedBasicValues; }
    // The sums and results of the last contour measured.
    const OBasicContourFeatures& Accumulators() const { return m_basic; }
    int iGetSearchCancel() const { return m_searchCancel.load(); }
    bool bIsPrintingSeries() const { return m_printingSeries; }
    // Makes the error flags available to views that paint tools with the same locks.
    void ReportToolLockErrors(uint32_t bits) { AddExtractionErrorFlags(bits); }

  private:
    // A tool in extraction order: other tools in list order, then combination tools after
    // the tools they read.
    struct OToolStep {
        int position = 0;
        OType_ConfigTool* tool = nullptr;
        OType_ConfigTool_Contour* contour = nullptr;
        std::vector<int> readsPositions;
        bool readsBasic = false;
        bool circular = false;
    };

    void ExtractList(OType_ZRPartSet& partSet, OType_PartArray& list, bool teach);
    void ExtractPart(OType_ZRPartSet& partSet, OType_Part& part);
    void WriteBasicFeatures(OType_FeatureArray& features);
    void SyncToolEntries(const OType_ZRPartSet& partSet, OType_FeatureArray& features);
    void ExtractTools(OType_ZRPartSet& partSet, OType_Part& part, bool basicsRecomputed);
    void BuildToolPlan(OType_ZRPartSet& partSet);
    OType_Feature NewToolFeature(const OType_ConfigTool& tool, int position) const;

    OContourViewState m_view;
    std::array<uint8_t, kFeatureFlagCount> m_featureFlags{};
    std::vector<int> m_flaggedFeatures;
    int m_keepMarkedBasicValues = 0;
    std::atomic<int> m_searchCancel{0};
    bool m_printingSeries = false;
    bool m_variantRule = false;

    OBasicContourMeasure m_measure;
    OBasicContourFeatures m_basic;
    OContourColumns m_columns;
    bool m_columnsBuilt = false;
    std::array<std::string, BasicFeature::kCount> m_basicNames;
    std::vector<OToolStep> m_plan;
    std::vector<uint8_t> m_extracted;  // per tool position: extracted for the current part
    std::vector<std::string> m_toolNames;
};
