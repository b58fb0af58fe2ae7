// Extraction without a document: for kalvorctl, the device simulator and batch work. It is
// both hosts at once, owns the engine of the target's device family (OExtr_Default for the
// classic editions, OExtr_KVT for the new platform), answers every question without a user
// (limits are raised, views do not exist) and runs the ordinary extraction run.
#pragma once

#include <memory>

#include "extraction/OExtr_Default.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OExtractorHost.h"
#include "extraction/ORecomputeHost.h"
#include "model/device/ZRINFO.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OProgressCtrl.h"
#include "platform/OSettings_Memory.h"
#include "platform/UserInteraction.h"

class OHeadlessExtraction : public OExtractorHost, public ORecomputeHost {
  public:
    // `ui` receives the model-library warnings; it must outlive this object.
    OHeadlessExtraction(const ZRINFO& deviceInfo, const OTargetSystem& target, UserInteraction& ui);

    // A part set ready for the run: the tool kinds registered, the device information set
    // and the feature names in the extraction language.
    void PreparePartSet(OType_ZRPartSet& partSet);
    // Extracts every teach and test part (tools all marked changed). Returns 1 on success.
    int Extract(OType_ZRPartSet& partSet);

    // The family-1 engine (used when the target is a classic edition).
    OExtr_Default& Engine() { return m_engine; }
    // The family-2 engine (used on the new platform).
    OExtr_KVT& ImageEngine() { return m_imageEngine; }
    // The engine of the target's family.
    OExtractor& Extractor();
    bool bIsNewPlatform() const;
    const ZRINFO& DeviceInfo() const { return m_info; }
    OType_ProjectProperties& Properties() { return m_properties; }
    void SetDeviceTypeCode(int code) { m_deviceTypeCode = code; }
    void SetKeepMarkedBasicValues(int keep) { m_keepMarked = keep; }

    // --- OExtractorHost ---
    const ZRINFO& GetDeviceInfo() const override { return m_info; }
    OTargetSystem GetTargetSystem() const override { return m_target; }
    int iGetDeviceTypeCode() const override { return m_deviceTypeCode; }
    int iGetKeepMarkedBasicValues() const override { return m_keepMarked; }
    int iGetMaxPartsPerList() const override { return m_maxParts; }
    int iGetPartLimitPolicy() const override { return 2; }
    bool bUsesOrientations() const override { return true; }
    bool bUsesTypes() const override { return true; }
    bool bUsesQualityDecision() const override { return true; }
    bool bFeatureSelectionAllowed() const override { return true; }
    UserInteraction& GetUserInteraction() override { return m_ui; }
    OProgressCtrl* opGetProgress() override { return &m_progress; }
    Settings& GetSettings() override { return m_settings; }
    OType_ZRPartSet* opGetActualPartSet() override { return m_actual; }
    void Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly, int resortTeach,
                   int resortTest, int option) override;
    void UpdateAllViews() override {}
    void SelectFeature(int feature, bool redraw) override;
    void SetModified() override {}
    bool bEditPartProperties() override { return false; }
    void OpenToolProperties() override {}
    void CloseResultWindow() override {}
    void PrintContourView() override {}
    void RedrawContourView() override {}
    bool bIsToolAllowed(int kind, int subKind) override;
    OType_ConfigTool* opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) override;
    bool bClipboardHasFormat(std::string_view) override { return false; }
    bool bReadClipboard(std::string_view, std::vector<uint8_t>&) override { return false; }
    bool bWriteClipboard(std::string_view, const std::vector<uint8_t>&) override { return false; }
    double dGetTapeScaleX() const override { return 1.0; }
    double dGetTapeScaleY() const override { return 1.0; }
    void SetTapeScale(double, double) override {}

    // --- ORecomputeHost ---
    bool bHasDeviceSession() const override { return true; }
    const OType_ProjectProperties& GetProjectProperties() const override { return m_properties; }
    void SetMaxPartsPerList(int maximum) override { m_maxParts = maximum; }
    OExtractor* opEnsureContourView() override { return &Extractor(); }
    OClassifier* opEnsureTeachDataView() override { return nullptr; }
    OType_ZRPartSetArray* opGetPartSets() override { return nullptr; }

  private:
    ZRINFO m_info;
    OTargetSystem m_target;
    UserInteraction& m_ui;
    int m_deviceTypeCode;
    int m_keepMarked = 0;
    int m_maxParts = 1 << 20;
    OType_ProjectProperties m_properties;
    OProgressCtrl m_progress;
    OSettings_Memory m_settings;
    OType_ZRPartSet* m_actual = nullptr;
    OExtr_Default m_engine;
    OExtr_KVT m_imageEngine;
};
