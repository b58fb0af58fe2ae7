// ROI (kind 100, sub-kind 104): the material inside the region, counted by a brightness
// band. Features: the material area (pixels) and its share of the region (percent).
#pragma once

#include "tools/kvt/OKvtThreshold.h"

class OType_ConfigTool_KVT_ROI : public OKvtMaterialTool {
  public:
    OType_ConfigTool_KVT_ROI();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "ROI"; }
    std::vector<int> SubKinds() const override { return {KvtSubKind::kRoiArea}; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
};
