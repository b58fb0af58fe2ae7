// Specific tool (kind 128): the part as a whole, the features the device itself takes of
// every part: over all material of the region (brightness band, by default Otsu's threshold
// for dark material) its area, centre of gravity, length and width along the region's axes,
// the angle of its main axis, and the mean brightness of the region. A new tool covers the
// whole image. Without material only the area (0) and the brightness are valid.
#pragma once

#include "tools/kvt/OKvtThreshold.h"

class OType_ConfigTool_KVT_DEVICE_FEATURES : public OKvtMaterialTool {
  public:
    OType_ConfigTool_KVT_DEVICE_FEATURES();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Part"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

  protected:
    OKvtRegion DefaultRegion(int imageWidth, int imageHeight) const override;
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
};
