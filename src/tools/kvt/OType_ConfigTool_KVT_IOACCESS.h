// I/O access (kind 115): the state of one digital input of the device when the part was
// taken (1 on, 0 off), from the input word stored with the part. Reads no image; always
// valid. Extraction never reuses its stored value.
#pragma once

#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_IOACCESS : public OType_ConfigTool_KVT {
  public:
    static constexpr int kInputs = 32;

    OType_ConfigTool_KVT_IOACCESS();
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return "I/O"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;
    bool bUsesImage() const override { return false; }
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    int iGetInput() const { return m_input; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    int m_input = 1;  // 1 .. kInputs
};
