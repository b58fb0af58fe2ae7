// The device's results as a real device computes them: the tools of the check program it
// runs extract the part's features and the program's Teach-Data classify it, with the
// program's own extraction and classification code (the contour tools and OClass_ConfV12 on
// the classic editions, the image tools and OClass_KVT on the new platform). Parts without a
// program, parts without the picture the device works on, and programs that cannot be
// decoded get the fallback's results.
#pragma once

#include <memory>
#include <vector>

#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/OClassifierHost.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/device/ZRINFO.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OUserInteraction_Console.h"
#include "sim/ODeviceResultProvider.h"

class OType_ZRPartSet;

class ODeviceResultProvider_CheckProgram : public ODeviceResultProvider, private OClassifierHost {
  public:
    ODeviceResultProvider_CheckProgram(const ZRINFO& info,
                                       std::unique_ptr<ODeviceResultProvider> fallback);
    ~ODeviceResultProvider_CheckProgram() override;

    ODeviceResult Evaluate(const OType_Part& part, const std::optional<OSimPartSpec>& truth,
                           std::span<const uint8_t> program) override;

  private:
    // Decodes `program` and prepares its Teach-Data unless it is the one already loaded.
    // False when it cannot be run.
    bool bLoadProgram(std::span<const uint8_t> program);
    OClassifier& Classifier();
    ODeviceResult Inspect(const OType_Part& part);

    // --- OClassifierHost: the device's own counts, nothing to show ---
    UserInteraction& UI() override { return m_ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return m_program.get(); }
    const OType_ProjectProperties& ProjectProperties() const override { return m_properties; }
    const ZRINFO& DeviceInfo() const override { return m_info; }
    int iGetFixedFeatureCount() const override;
    int iGetToolCapacity() const override;
    int iGetDeviceOrientationCount() const override;
    int iGetDeviceTypeCount() const override;
    void SetModifiedFlag() override {}
    void RedrawTeachDataView() override {}
    void RecomputeProject() override {}
    void UpdateAllViews() override {}
    bool bIsTestCaseTaskRunning() const override { return false; }
    void HandOverTestCaseClassification(const OTestCaseClassification&) override {}

    ZRINFO m_info;
    std::unique_ptr<ODeviceResultProvider> m_fallback;
    OUserInteraction_Console m_ui;
    OType_ProjectProperties m_properties;
    OHeadlessExtraction m_extraction;
    OClass_ConfV12 m_classifier;
    OClass_KVT m_imageClassifier;
    bool m_newPlatform;
    std::vector<uint8_t> m_loadedBytes;
    std::unique_ptr<OType_ZRPartSet> m_program;  // nullptr: the loaded bytes are unusable
};
