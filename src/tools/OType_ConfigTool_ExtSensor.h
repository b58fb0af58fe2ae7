// External sensor: a downward-looking distance sensor over a region: the mean distance from the
// region's upper edge to the part's upper outline (feature type 49).
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_ExtSensor : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_ExtSensor();
    int iGetConfigToolType() const override { return ContourToolKind::kExtSensor; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "ExtSensor"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
