// Measuring tool: distance (34), vertical distance (36), angle (38), counting (40), multiple
// distance (41) and multiple angle (45) inside a region.
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_MEASURE : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_MEASURE();
    int iGetConfigToolType() const override { return ContourToolKind::kMeasure; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Measure"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    std::string SubKindLabel() const override { return "Measurement"; }
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
