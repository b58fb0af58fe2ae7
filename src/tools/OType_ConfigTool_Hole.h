// Hole tool: the area (46) and the number (47) of the holes inside a region; a hole is background
// with material above and below it in the same column.
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_Hole : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_Hole();
    int iGetConfigToolType() const override { return ContourToolKind::kHole; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Hole"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
