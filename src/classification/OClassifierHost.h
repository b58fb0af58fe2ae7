// What the classifiers need from the document and the device session. The document
// implements it; tests and kalvorctl use their own implementations.
#pragma once

class OType_ProjectProperties;
class OType_ZRPartSet;
class UserInteraction;
class ZRINFO;

// The five results of the first test part that the test-case runner compares with the
// device's classification (family 2).
struct OTestCaseClassification {
    int orientation = 0;     // 1-based
    int type = 0;            // 1-based
    double margin = 0.0;     // second result value: distance to the decision threshold
    double deviation = 0.0;  // first result value
    int inside = 0;          // third result value
};

class OClassifierHost {
  public:
    virtual ~OClassifierHost() = default;

    virtual UserInteraction& UI() = 0;
    // The actual part set of the project; nullptr when there is none.
    virtual OType_ZRPartSet* opGetActualPartSet() = 0;
    // Project properties: use orientation, use types, use quality.
    virtual const OType_ProjectProperties& ProjectProperties() const = 0;
    // The session's device information: device kind (hardware code) and operating-system
    // version (software code).
    virtual const ZRINFO& DeviceInfo() const = 0;
    // The device session's two feature counts: basic (fixed) features and tool capacity.
    // Tool features start at the fixed-feature count.
    virtual int iGetFixedFeatureCount() const = 0;
    virtual int iGetToolCapacity() const = 0;
    // Largest orientation and type numbers the device accepts.
    virtual int iGetDeviceOrientationCount() const = 0;
    virtual int iGetDeviceTypeCount() const = 0;

    virtual void SetModifiedFlag() = 0;
    // Repaints the teach-data view (its list, captions, error text and learning curve).
    virtual void RedrawTeachDataView() = 0;
    // Recomputes the actual part set (features, Teach-Data, test parts).
    virtual void RecomputeProject() = 0;
    virtual void UpdateAllViews() = 0;

    // Whether the test-case task runs; the first test part's results then go to the runner.
    virtual bool bIsTestCaseTaskRunning() const = 0;
    virtual void HandOverTestCaseClassification(const OTestCaseClassification& result) = 0;
};

// A host without windows (kalvorctl, the test-case runner, benchmarks, tests): nothing to
// mark, repaint or recompute on the classifier's request, and no test-case task to feed.
class OHeadlessClassifierHost : public OClassifierHost {
  public:
    void SetModifiedFlag() override {}
    void RedrawTeachDataView() override {}
    void RecomputeProject() override {}
    void UpdateAllViews() override {}
    bool bIsTestCaseTaskRunning() const override { return false; }
    void HandOverTestCaseClassification(const OTestCaseClassification&) override {}
};
