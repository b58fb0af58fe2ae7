// Flagword access (kind 113): a field of the part's flag word, the word the control system
// sets on the device and the device stores with each part: (word AND mask) shifted right by
// the shift. Reads no image; always valid.
#pragma once

#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_DATAACCESS : public OType_ConfigTool_KVT {
  public:
    OType_ConfigTool_KVT_DATAACCESS();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "Flagword"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    bool bUsesImage() const override { return false; }
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    uint32_t iGetMask() const { return m_mask; }
    int iGetShift() const { return m_shift; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    uint32_t m_mask = 0xFFFFFFFFu;
    int m_shift = 0;
};
