// The document as the host of the family-1 extraction engine and of the extraction run:
// session values, project properties, views and the user interaction.
#pragma once

#include "extraction/OExtractorHost.h"
#include "extraction/ORecomputeHost.h"

class ODoc;

class ODocExtractorHost : public OExtractorHost {
  public:
    explicit ODocExtractorHost(ODoc& doc) : m_doc(doc) {}

    const ZRINFO& GetDeviceInfo() const override;
    OTargetSystem GetTargetSystem() const override;
    int iGetDeviceTypeCode() const override;
    int iGetKeepMarkedBasicValues() const override;
    int iGetMaxPartsPerList() const override;
    int iGetPartLimitPolicy() const override;
    bool bUsesOrientations() const override;
    bool bUsesTypes() const override;
    bool bUsesQualityDecision() const override;
    bool bFeatureSelectionAllowed() const override;
    UserInteraction& GetUserInteraction() override;
    OProgressCtrl* opGetProgress() override;
    Settings& GetSettings() override;
    OType_ZRPartSet* opGetActualPartSet() override;
    void Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly, int resortTeach,
                   int resortTest, int option) override;
    void UpdateAllViews() override;
    void SelectFeature(int feature, bool redraw) override;
    void SetModified() override;
    bool bEditPartProperties() override;
    void OpenToolProperties() override;
    void CloseResultWindow() override;
    void PrintContourView() override;
    void RedrawContourView() override;
    bool bIsToolAllowed(int kind, int subKind) override;
    OType_ConfigTool* opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) override;
    bool bClipboardHasFormat(std::string_view format) override;
    bool bReadClipboard(std::string_view format, std::vector<uint8_t>& bytes) override;
    bool bWriteClipboard(std::string_view format, const std::vector<uint8_t>& bytes) override;
    double dGetTapeScaleX() const override;
    double dGetTapeScaleY() const override;
    void SetTapeScale(double x, double y) override;

  private:
    ODoc& m_doc;
};

class ODocRecomputeHost : public ORecomputeHost {
  public:
    explicit ODocRecomputeHost(ODoc& doc) : m_doc(doc) {}

    bool bHasDeviceSession() const override;
    const ZRINFO& GetDeviceInfo() const override;
    OTargetSystem GetTargetSystem() const override;
    const OType_ProjectProperties& GetProjectProperties() const override;
    int iGetMaxPartsPerList() const override;
    void SetMaxPartsPerList(int maximum) override;
    int iGetPartLimitPolicy() const override;
    UserInteraction& GetUserInteraction() override;
    OExtractor* opEnsureContourView() override;
    OClassifier* opEnsureTeachDataView() override;
    OType_ZRPartSetArray* opGetPartSets() override;

  private:
    ODoc& m_doc;
};
