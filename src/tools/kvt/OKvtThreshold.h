// A brightness band that marks the pixels a tool counts as material: the pixels whose grey
// value lies inside [low, high] (or, inverted, outside it). Shared by the tools that
// separate a part from its background (ROI, contour tool, blob finders, device features).
#pragma once

#include <string>

#include <opencv2/core.hpp>

#include "model/tools/OPropertyList.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OByteStream;
class OBlockFieldReader;

struct OKvtThreshold {
    int low = 0;
    int high = 127;
    bool outside = false;  // material lies outside the band
    // With automatic on, the band's border comes from Otsu's method on each image: below it
    // when `high` < 128 (dark material), above it otherwise.
    bool automatic = false;

    bool operator==(const OKvtThreshold&) const = default;

    // 255 where a pixel of the grey image is material, else 0.
    cv::Mat Mask(const cv::Mat& grey) const;

    // Properties "<prefix>.low", ".high", ".outside", ".automatic" on `page`.
    void Describe(OPropertyList& list, const std::string& prefix, const std::string& page) const;
    bool bCheck(const OPropertyValues& merged, const std::string& prefix, std::string& error) const;
    void Apply(const OPropertyValues& values, const std::string& prefix);
    void Encode(OByteStream& stream) const;
    bool bDecode(OBlockFieldReader& reader);
};

// The base of the kinds whose one setting is the material band (page "Material", properties
// "material.low" ...): ROI, contour tool, device features.
class OKvtMaterialTool : public OType_ConfigTool_KVT {
  public:
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    const OKvtThreshold& Material() const { return m_material; }

  protected:
    OKvtMaterialTool(int kind, int defaultSubKind, const OKvtThreshold& material)
        : OType_ConfigTool_KVT(kind, defaultSubKind), m_material(material) {}
    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

    OKvtThreshold m_material;
};
