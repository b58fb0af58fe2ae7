// Measurement (kind 102): the distance between the first and the last edge along the
// region's width (u). The single measurement (sub-kind 201) takes the mean brightness across
// the whole height and gives the distance and the positions of both edges from the region's
// start. The multiple measurement (sub-kind 207) measures in several lines (equal strips
// across the height) and gives the mean, the smallest and the largest distance and how many
// lines found two edges.
#pragma once

#include "tools/kvt/OKvtEdges.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_MEASURE : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        OKvtEdgeSettings edge;
        int lines = 5;  // multiple measurement
        bool operator==(const Settings&) const = default;
    };

    OType_ConfigTool_KVT_MEASURE();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Measurement"; }
    std::vector<int> SubKinds() const override;
    std::string SubKindName(int subKind) const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    bool bIsMultiple() const { return iGetSubKind() == KvtSubKind::kMultipleMeasurement; }
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
