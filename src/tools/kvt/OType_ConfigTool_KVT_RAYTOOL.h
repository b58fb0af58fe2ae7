// Ray tool (kind 108): rays leave the region's centre in a fan of directions and each finds
// the first brightness edge on its way to the region's border (OKvtRays). The distances to
// these edges measure how large and how round a part, a hole or a collar around the centre is.
#pragma once

#include "tools/kvt/OKvtRays.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_RAYTOOL : public OType_ConfigTool_KVT {
  public:
    OType_ConfigTool_KVT_RAYTOOL();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Ray tool"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    const KvtRays::OSettings& Settings() const { return m_settings; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    KvtRays::OSettings m_settings;
};
