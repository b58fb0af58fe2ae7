// "Telnet - XML" (kind 4): one XML element per part over a Telnet port:
// <Result packet="…" record="…" type="…" orientation="…" good="1|0">
// <Feature index="…" name="…" valid="1|0">value</Feature>…</Result>, with texts escaped;
// the names can be left out. Packet name "Result" by default; up to four per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_XML : public ODataOutputKind {
  public:
    OType_DeviceDataIO_XML();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

  protected:
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(ODataOutputKind& other) const override;

  private:
    bool m_names = true;
};
