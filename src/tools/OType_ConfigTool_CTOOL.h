// Contour tool: the upper outline of the part inside a region: the area under it (22), the number
// of columns it crosses (23) and its height variation (25).
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_CTOOL : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_CTOOL();
    int iGetConfigToolType() const override { return ContourToolKind::kCTool; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "CTool"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
