// Blob finder (kind 103) and blob finder+ (kind 123): the separate pieces of material inside
// the region (8-connected pixels of the brightness band), kept when their area lies in the
// size range. The blob finder counts them and sums their areas; blob finder+ also measures
// the largest one: its centre, size, orientation, perimeter and circularity.
#pragma once

#include "tools/kvt/OKvtThreshold.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_BLOBTOOL : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        OKvtThreshold material{0, 100, false, false};
        int minimumArea = 10;        // px
        int maximumArea = 1 << 24;   // px
        bool excludeBorder = false;  // leave out blobs that touch the region's edge
        bool operator==(const Settings&) const = default;
    };

    explicit OType_ConfigTool_KVT_BLOBTOOL(int kind = KvtToolKind::kBlob);
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    bool bIsPlus() const { return iGetConfigToolType() == KvtToolKind::kBlobPlus; }
    const Settings& GetSettings() const { return m_settings; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    Settings m_settings;
};
