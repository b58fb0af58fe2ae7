// A document stand-in for the extraction tests: implements both hosts the way the document
// does (Recompute runs OExtractionRun, the engines are owned here) and records what the
// engine asked for.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classification/OClassifier.h"
#include "device/DeviceInfoBuilder.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OExtractionRun.h"
#include "extraction/OExtractorHost.h"
#include "extraction/ORecomputeHost.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OProgressCtrl.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

// Records the classifier calls of the run.
class ORecordingClassifier : public OClassifier {
  public:
    ORecordingClassifier();
    void TeachFromParts(OType_ZRPartSet& partSet) override;
    void EvaluateTestParts(OType_ZRPartSet& partSet, int flag) override;
    std::vector<std::string> calls;
    std::vector<const OType_ZRPartSet*> teachSets;
    // Runs inside TeachFromParts (e.g. a nested Recompute).
    std::function<void()> onTeach;
};

struct ORecomputeCall {
    int toolsChanged, testOnly, resortTeach, resortTest, option;
    bool operator==(const ORecomputeCall&) const = default;
};

class OExtractionTestHost : public OExtractorHost, public ORecomputeHost {
  public:
    // A classic target (hardware 1, firmware 778) with 20 tools and a 512-row image.
    OExtractionTestHost();

    // The actual part set of the project (tool kinds registered, device info set).
    OType_ZRPartSet& PartSet() { return *sets.opGetActualPartSet(); }
    OType_ZRPartSet& AddPartSet();
    OExtr_Default& Engine() { return engine; }
    void SetTarget(const OTargetSystem& t, int tools = 20);

    // --- OExtractorHost ---
    const ZRINFO& GetDeviceInfo() const override { return info; }
    OTargetSystem GetTargetSystem() const override { return target; }
    int iGetDeviceTypeCode() const override { return deviceTypeCode; }
    int iGetKeepMarkedBasicValues() const override { return keepMarked; }
    int iGetMaxPartsPerList() const override { return maxParts; }
    int iGetPartLimitPolicy() const override { return policy; }
    bool bUsesOrientations() const override { return properties.useOrientation != 0; }
    bool bUsesTypes() const override { return properties.useTypes != 0; }
    bool bUsesQualityDecision() const override { return properties.useQuality != 0; }
    bool bFeatureSelectionAllowed() const override { return featureSelection; }
    UserInteraction& GetUserInteraction() override { return ui; }
    OProgressCtrl* opGetProgress() override { return &progress; }
    Settings& GetSettings() override { return settings; }
    OType_ZRPartSet* opGetActualPartSet() override { return sets.opGetActualPartSet(); }
    void Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly, int resortTeach,
                   int resortTest, int option) override;
    void UpdateAllViews() override { ++updates; }
    void SelectFeature(int feature, bool) override;
    void SetModified() override { ++modified; }
    bool bEditPartProperties() override { return partPropertiesChange; }
    void OpenToolProperties() override { ++toolPropertiesOpened; }
    void CloseResultWindow() override { ++resultWindowClosed; }
    void PrintContourView() override;
    void RedrawContourView() override { ++redraws; }
    bool bIsToolAllowed(int kind, int subKind) override;
    OType_ConfigTool* opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) override;
    bool bClipboardHasFormat(std::string_view format) override;
    bool bReadClipboard(std::string_view format, std::vector<uint8_t>& bytes) override;
    bool bWriteClipboard(std::string_view format, const std::vector<uint8_t>& bytes) override;
    double dGetTapeScaleX() const override { return tapeX; }
    double dGetTapeScaleY() const override { return tapeY; }
    void SetTapeScale(double x, double y) override {
        tapeX = x;
        tapeY = y;
    }

    // --- ORecomputeHost ---
    bool bHasDeviceSession() const override { return session; }
    const OType_ProjectProperties& GetProjectProperties() const override { return properties; }
    void SetMaxPartsPerList(int maximum) override { maxParts = maximum; }
    OExtractor* opEnsureContourView() override;
    OClassifier* opEnsureTeachDataView() override { return &classifier; }
    OType_ZRPartSetArray* opGetPartSets() override { return &sets; }

    ZRINFO info;
    OTargetSystem target;
    int deviceTypeCode = 778;
    int keepMarked = 0;
    int maxParts = 10000;
    int policy = 2;
    bool featureSelection = true;
    bool session = true;
    bool contourViewFails = false;
    bool toolAllowed = true;
    bool clipboardWriteWorks = true;
    bool partPropertiesChange = false;
    double tapeX = 1.0, tapeY = 1.0;
    OType_ProjectProperties properties;
    OUserInteraction_Scripted ui;
    OSettings_Memory settings;
    OProgressCtrl progress;
    OType_ZRPartSetArray sets;
    OExtr_Default engine{*this};
    ORecordingClassifier classifier;

    std::vector<ORecomputeCall> recomputes;
    std::vector<int> selectedFeatures;
    std::vector<int> printedTeachParts;
    std::map<std::string, std::vector<uint8_t>, std::less<>> clipboard;
    int updates = 0, modified = 0, toolPropertiesOpened = 0, resultWindowClosed = 0;
    int redraws = 0, contourViewOpened = 0;
    int lastRecomputeResult = -1;
};

// --- building parts ---
// A run list from columns of (top, bottom) runs; an empty column becomes (1, -1).
std::vector<int16_t> Runs(const std::vector<std::vector<std::pair<int, int>>>& columns);
// A rectangle of material: `columns` columns from row `top` to `bottom` (exclusive).
std::vector<int16_t> Block(int columns, int top, int bottom);
OType_Part& AddTeachPart(OType_ZRPartSet& partSet, std::vector<int16_t> runs, int orientation = 1,
                         int type = 1);
OType_Part& AddTestPart(OType_ZRPartSet& partSet, std::vector<int16_t> runs, int orientation = 1,
                        int type = 1);
// Adds a tool of the kind with the sub-kind and region to the part set's tool list.
OType_ConfigTool& AddTool(OType_ZRPartSet& partSet, int kind, int subKind, const ORect& region,
                          int placementMode = 1);
