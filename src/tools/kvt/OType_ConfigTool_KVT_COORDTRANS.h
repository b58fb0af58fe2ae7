// Coordinate transformation (kind 110): a point in image pixels, given by an x and a y
// feature of tools before it, in world coordinates on the plane at height Z, through the part
// set's camera calibration (Tsai). Invalid without a calibration, when the point cannot be
// mapped, or when an input is missing or invalid.
#pragma once

#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_COORDTRANS : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        OKvtFeatureRef x, y;
        double z = 0;  // world units
        bool operator==(const Settings&) const = default;
    };

    OType_ConfigTool_KVT_COORDTRANS();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "World point"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    bool bUsesImage() const override { return false; }
    std::vector<OKvtFeatureRef> References() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    Settings& GetSettings() { return m_settings; }

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
