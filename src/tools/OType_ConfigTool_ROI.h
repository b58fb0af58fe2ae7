// Region of interest: the material area inside a rectangle (feature type 30).
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_ROI : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_ROI();
    int iGetConfigToolType() const override { return ContourToolKind::kROI; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "ROI"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
