// Colour detection (kind 105, sub-kind 360, the default) and brightness detection (sub-kind
// 369). Colour detection counts the pixels whose colour lies within a distance of a reference
// colour (in R, G, B; on grey images a pixel is the grey colour of its value) and gives their share
// of the region and the mean colour of the region. Brightness detection gives the mean brightness
// of the region, its standard deviation, minimum and maximum.
#pragma once

#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_COLOR : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        int red = 200, green = 40, blue = 40;  // reference colour
        int tolerance = 60;                    // largest distance in R, G, B that matches
        bool operator==(const Settings&) const = default;
    };

    OType_ConfigTool_KVT_COLOR();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override;
    std::vector<int> SubKinds() const override;
    std::string SubKindName(int subKind) const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    bool bIsBrightness() const { return iGetSubKind() == KvtSubKind::kBrightness; }
    const Settings& GetSettings() const { return m_settings; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    Settings m_settings;
};
