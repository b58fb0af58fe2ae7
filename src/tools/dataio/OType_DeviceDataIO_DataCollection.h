// "Telnet - KVT..-Q Data Collection" (kind 3): one text line per part with the chosen
// features: "<packet name>;<record>;<type>;<orientation>;<value 1>;...;<value n>\r\n" with
// the chosen separator; an invalid feature leaves its field empty, a text feature writes its
// text. Packet name "DC" by default; up to four per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_DataCollection : public ODataOutputKind {
  public:
    OType_DeviceDataIO_DataCollection();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    char cGetSeparator() const;

  protected:
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(ODataOutputKind& other) const override;

  private:
    int m_separator = 0;  // 0 ";", 1 ",", 2 tab
};
