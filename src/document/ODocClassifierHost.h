// The document as the classifier's host: the actual part set, the project properties, the
// session's device information and counts, and the notifications back to the views.
#pragma once

#include "classification/OClassifierHost.h"

class ODoc;

class ODocClassifierHost : public OClassifierHost {
  public:
    explicit ODocClassifierHost(ODoc& doc) : m_doc(doc) {}

    UserInteraction& UI() override;
    OType_ZRPartSet* opGetActualPartSet() override;
    const OType_ProjectProperties& ProjectProperties() const override;
    const ZRINFO& DeviceInfo() const override;
    int iGetFixedFeatureCount() const override;
    int iGetToolCapacity() const override;
    // The target's orientations and part types per check program.
    int iGetDeviceOrientationCount() const override;
    int iGetDeviceTypeCount() const override;
    void SetModifiedFlag() override;
    void RedrawTeachDataView() override;
    void RecomputeProject() override;
    void UpdateAllViews() override;
    // No test-case runner in this version: the classifier keeps its results.
    bool bIsTestCaseTaskRunning() const override { return false; }
    void HandOverTestCaseClassification(const OTestCaseClassification&) override {}

  private:
    ODoc& m_doc;
};
