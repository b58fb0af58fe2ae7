// A check program run on single parts as a device runs it: the encoded program is decoded with
// the program's own part-set code, its Teach-Data become tolerance bands and decision
// thresholds, and every part has its features extracted by the program's tools and is
// classified (the contour tools and OClass_ConfV12 on the classic editions, the image tools and
// OClass_KVT on the new platform). The device simulator answers with it; the test-case runner
// recomputes the device's parts with it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/OClassifierHost.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/device/ZRINFO.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OUserInteraction_Console.h"

class OType_Part;
class OType_ZRPartSet;

class OCheckProgramRun : private OHeadlessClassifierHost {
  public:
    explicit OCheckProgramRun(const ZRINFO& info);
    ~OCheckProgramRun() override;
    OCheckProgramRun(const OCheckProgramRun&) = delete;
    OCheckProgramRun& operator=(const OCheckProgramRun&) = delete;

    bool bIsNewPlatform() const { return m_newPlatform; }
    // Decodes `program` and prepares its Teach-Data unless it is the one already loaded.
    // False when it cannot be run.
    bool bLoad(std::span<const uint8_t> program);
    // Whether the part holds the picture the device works on.
    bool bCanInspect(const OType_Part& part) const;
    // A copy of the part with the loaded program's features and classification; the part
    // itself when no program is loaded.
    OType_Part Inspect(const OType_Part& part);
    // The loaded program; nullptr before a successful bLoad.
    const OType_ZRPartSet* opGetProgram() const { return m_program.get(); }

  private:
    OClassifier& Classifier();

    // --- OClassifierHost: the device's own counts, nothing to show ---
    UserInteraction& UI() override { return m_ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return m_program.get(); }
    const OType_ProjectProperties& ProjectProperties() const override { return m_properties; }
    const ZRINFO& DeviceInfo() const override { return m_info; }
    int iGetFixedFeatureCount() const override;
    int iGetToolCapacity() const override;
    int iGetDeviceOrientationCount() const override;
    int iGetDeviceTypeCount() const override;

    ZRINFO m_info;
    OUserInteraction_Console m_ui;
    OType_ProjectProperties m_properties;
    OHeadlessExtraction m_extraction;
    OClass_ConfV12 m_classifier;
    OClass_KVT m_imageClassifier;
    bool m_newPlatform;
    std::vector<uint8_t> m_loadedBytes;
    std::unique_ptr<OType_ZRPartSet> m_program;  // nullptr: the loaded bytes are unusable
};
