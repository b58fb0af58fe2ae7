// The test double of the classifier host: a part set, the device and project settings a test
// chooses, a scripted user, and counters of every notification the classifier sends.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "classification/OClassifierHost.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/tools/OType_ConfigTool.h"
#include "model/tools/OType_DeviceDataIO.h"
#include "platform/OUserInteraction_Scripted.h"

class OTestClassifierHost : public OClassifierHost {
  public:
    OTestClassifierHost() { SetDevice(2, 818); }

    void SetDevice(int hardware, int osVersion) {
        info.SetU16(ZRINFO::kHardwareCode, static_cast<uint16_t>(hardware));
        info.SetU16(ZRINFO::kOsVersion, static_cast<uint16_t>(osVersion));
    }

    UserInteraction& UI() override { return ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return hasPartSet ? &partSet : nullptr; }
    const OType_ProjectProperties& ProjectProperties() const override { return properties; }
    const ZRINFO& DeviceInfo() const override { return info; }
    int iGetFixedFeatureCount() const override { return fixedFeatures; }
    int iGetToolCapacity() const override { return toolCapacity; }
    int iGetDeviceOrientationCount() const override { return deviceOrientations; }
    int iGetDeviceTypeCount() const override { return deviceTypes; }
    void SetModifiedFlag() override { ++modifiedCount; }
    void RedrawTeachDataView() override { ++redrawCount; }
    void RecomputeProject() override {
        ++recomputeCount;
        if (onRecompute) onRecompute();
    }
    void UpdateAllViews() override { ++updateCount; }
    bool bIsTestCaseTaskRunning() const override { return testCaseRunning; }
    void HandOverTestCaseClassification(const OTestCaseClassification& result) override {
        handedOver.push_back(result);
    }

    OUserInteraction_Scripted ui;
    OType_ZRPartSet partSet;
    bool hasPartSet = true;
    OType_ProjectProperties properties;
    ZRINFO info;
    int fixedFeatures = 12;
    int toolCapacity = 20;
    int deviceOrientations = 8;
    int deviceTypes = 16;
    bool testCaseRunning = false;
    std::vector<OTestCaseClassification> handedOver;
    int modifiedCount = 0;
    int redrawCount = 0;
    int recomputeCount = 0;
    int updateCount = 0;
    std::function<void()> onRecompute;
};

// A tool and a data output that record the parts they are taught, into a shared log.
class OTestTool : public OType_ConfigTool {
  public:
    explicit OTestTool(std::vector<std::string>* log = nullptr, int features = 1)
        : m_log(log), m_features(features) {}
    int iGetConfigToolType() const override { return 100; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OTestTool>(m_log, m_features);
    }
    std::string GetKindName() const override { return "Test"; }
    int iGetNumOfFeatures() const override { return m_features; }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 0;
    }
    void TeachPart(OType_ZRPartSet&, const OType_Part& part,
                   const OType_FeatureArray& features) override {
        if (m_log)
            m_log->push_back("tool " + GetName() + " part " + std::to_string(part.iGetRecordNo()) +
                             " features " + std::to_string(features.iGetNumOfFeatures()));
    }

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    std::vector<std::string>* m_log;
    int m_features;
};

class OTestDataOutput : public OType_DeviceDataIO {
  public:
    explicit OTestDataOutput(std::vector<std::string>* log) : m_log(log) {}
    int iGetDataIOType() const override { return 3; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override {
        return std::make_unique<OTestDataOutput>(m_log);
    }
    std::string GetKindName() const override { return "Test output"; }
    void TeachPart(OType_ZRPartSet&) override {
        if (m_log) m_log->push_back("output " + GetName());
    }

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    std::vector<std::string>* m_log;
};

namespace TestParts {

inline OType_Feature Number(double value, int index) {
    OType_Feature f;
    f.type = index;
    f.value = value;
    f.name = "F" + std::to_string(index + 1);
    return f;
}

inline OType_Part Make(int type, int orientation, std::initializer_list<double> values) {
    OType_Part part;
    part.SetType(type);
    part.SetOrientation(orientation);
    int i = 0;
    for (double v : values)
        part.Features().Add(Number(v, i++));
    return part;
}

inline OType_Part* AddTeach(OType_ZRPartSet& set, int type, int orientation,
                            std::initializer_list<double> values) {
    OType_Part* p = set.TeachParts().Add(Make(type, orientation, values));
    p->SetRecordNo(set.TeachParts().iGetSize());
    return p;
}

inline OType_Part* AddTest(OType_ZRPartSet& set, int type, int orientation,
                           std::initializer_list<double> values) {
    OType_Part* p = set.TestParts().Add(Make(type, orientation, values));
    p->SetTeachPart(false);
    p->SetRecordNo(set.TestParts().iGetSize());
    return p;
}

// Part type records 1..n with a tolerance.
inline void AddTypes(OType_ZRPartSet& set, int n, int tolerance) {
    while (set.iGetNum_SubTypes() < n)
        set.opAddSubType();
    for (int t = 0; t < n; ++t)
        set.opGetSubType(t)->SetTolerance(tolerance);
}

}  // namespace TestParts
