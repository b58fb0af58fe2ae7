// Combination (kind 104): computes from features of the tools before it, reads no image.
// Math / logic (sub-kind 302): one result from operand A and operand B (a feature, or the
// constant when B is none) by the chosen operation. Geometry (sub-kind 314): from two
// points, each given by an x and a y feature in image pixels, their distance, the angle of
// the line from the first to the second (degrees counter-clockwise on the screen) and the
// midpoint. A result is invalid when an operand is missing, invalid or a text, or when the
// operation has no value (division by zero).
#pragma once

#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace KvtMathOperation {
enum : int {
    kAdd = 0,
    kSubtract,
    kMultiply,
    kDivide,
    kMinimum,
    kMaximum,
    kAbsoluteDifference,
    kAnd,
    kOr,
    kNot,
    kWithinRange,
    kMean,
    kCount
};
}

class OType_ConfigTool_KVT_COMBINATION : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        int operation = KvtMathOperation::kAdd;
        OKvtFeatureRef a, b;
        double constant = 0;
        double low = 0, high = 1;       // range of "A within range"
        OKvtFeatureRef x1, y1, x2, y2;  // geometry
        bool operator==(const Settings&) const = default;
    };

    OType_ConfigTool_KVT_COMBINATION();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override;
    std::vector<int> SubKinds() const override;
    std::string SubKindName(int subKind) const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    bool bUsesImage() const override { return false; }
    std::vector<OKvtFeatureRef> References() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    bool bIsGeometry() const { return iGetSubKind() == KvtSubKind::kGeometry; }
    Settings& GetSettings() { return m_settings; }
    // The result of an operation; false when it has none.
    static bool bCompute(int operation, double a, double b, double low, double high,
                         double& result);

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void UpdateKindDefinition(const OType_ZRPartSet& partSet) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    Settings m_settings;
};
