// Edge finder (kind 114, sub-kind 800, the default) and circle finder (sub-kind 803).
//
// The edge finder scans the region along its width (u) for the first edge of the chosen
// polarity and contrast in the mean brightness across the region's height. It gives the
// edge's position from the region's start, its contrast, the angle of the edge line (fitted
// through the edges of several strips across the height) and the image point where the
// edge crosses the region's middle line.
//
// The circle finder looks for the strongest circle inside the region (Hough transform of
// the brightness gradient) within the radius range: its radius, centre and roundness (the
// share of its rim that lies on a strong brightness edge, in percent).
#pragma once

#include "tools/kvt/OKvtEdges.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_CTOOL_V2 : public OType_ConfigTool_KVT {
  public:
    struct Settings {
        OKvtEdgeSettings edge;
        int strips = 8;         // strips across the region for the edge angle
        int minimumRadius = 5;  // px
        int maximumRadius = 100;
        bool operator==(const Settings&) const = default;
    };

    OType_ConfigTool_KVT_CTOOL_V2();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override;
    std::vector<int> SubKinds() const override;
    std::string SubKindName(int subKind) const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    bool bIsCircleFinder() const { return iGetSubKind() == KvtSubKind::kCircleFinder; }
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
    void FindEdge(const OKvtRegionSample& sample, OKvtMeasureOutput& out) const;
    void FindCircle(const OKvtRegionSample& sample, OKvtMeasureOutput& out) const;

    Settings m_settings;
};
