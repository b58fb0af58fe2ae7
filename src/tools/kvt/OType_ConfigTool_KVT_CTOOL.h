// Contour tool (kind 101): the upper outline of the material in the region, seen from the
// region's top edge: per column of the upright region, the first material row from the top.
// Features: the area under the outline down to the region's bottom edge, the number of
// columns the outline crosses, its height (highest minus lowest outline row, the size of a
// step or a slope) and its angle (least-squares line through the outline).
#pragma once

#include "tools/kvt/OKvtThreshold.h"

class OType_ConfigTool_KVT_CTOOL : public OKvtMaterialTool {
  public:
    OType_ConfigTool_KVT_CTOOL();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "CTool"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
};
