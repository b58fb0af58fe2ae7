// Vertical strip: the silhouette area of a band of columns, holes counted as material (feature type
// 33).
#pragma once

#include "tools/OType_ConfigTool_Contour.h"

class OType_ConfigTool_VSTRIP : public OType_ConfigTool_Contour {
  public:
    OType_ConfigTool_VSTRIP();
    int iGetConfigToolType() const override { return ContourToolKind::kVStrip; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "VStrip"; }
    std::vector<int> GetSubKinds() const override;
    OToolMeasurement Measure(const OContourColumns& columns,
                             const OType_FeatureArray& features) const override;

  protected:
    void DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                         const ORect& placed) const override;
};
