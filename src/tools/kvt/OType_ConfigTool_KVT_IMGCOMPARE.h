// Image compare (kind 109): the region of each part against a reference picture taught from
// the sample parts (the region's grey pixels on the first sample part in list order that has
// them). Pixels that differ by more than a threshold are defects; the features tell how much
// differs and how large the largest defect is (OKvtImageCompare). With a position tolerance the
// region is read larger and the reference laid where it fits best, so parts that lie a few
// pixels off are not taken for defects.
//
// The reference is taught before an extraction run when the tool has none, when its size no
// longer fits the region, or when "teach again" was asked for.
#pragma once

#include "model/part/OType_Image.h"
#include "tools/kvt/OKvtImageCompare.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_IMGCOMPARE : public OType_ConfigTool_KVT {
  public:
    OType_ConfigTool_KVT_IMGCOMPARE();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Image compare"; }
    bool bNeedsCameraImage() const override { return true; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    int iInitAfterCheckprogramLoad(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo) override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    const OType_Image& Reference() const { return m_reference; }
    void SetReference(OType_Image reference) { m_reference = std::move(reference); }
    const KvtCompare::OSettings& Settings() const { return m_settings; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    bool bReferenceFits() const;

    KvtCompare::OSettings m_settings;
    OType_Image m_reference;
};
