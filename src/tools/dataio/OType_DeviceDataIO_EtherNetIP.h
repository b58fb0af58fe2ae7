// "EtherNet/IP - CIP Object" (kind 2): the part's result as the input assembly a control
// system reads, little-endian: u16 assembly instance (the packet identifier, 100 by
// default), u16 type, u16 orientation, u16 status (bit 0 good, bit 1 inside the tolerance),
// u16 number of features n, then ceil(n / 32) u32 words of validity bits (bit i of word
// i / 32 for feature i), then n values: REAL (float32) or DINT (int32, the value times
// 1000, rounded and clamped). A text feature or an invalid one is sent as 0 with its bit
// clear. One per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_EtherNetIP : public ODataOutputKind {
  public:
    enum Format { kReal = 0, kDint = 1 };

    OType_DeviceDataIO_EtherNetIP();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    int iGetFormat() const { return m_format; }

  protected:
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(ODataOutputKind& other) const override;

  private:
    int m_format = kReal;
};
