// "HTTP - WebViewer" (kind 5): a web page on the device shows the last part's image and
// results, refreshed every few seconds. The result of a part is the JSON document the page
// reads: {"record":…,"type":…,"orientation":…,"good":true|false,"deviation":…,
// "features":[{"index":…,"name":"…","valid":true|false,"value":…}, …]} (a text feature's
// value is a string, an invalid one null). Needs a camera; one per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_WebViewer : public ODataOutputKind {
  public:
    OType_DeviceDataIO_WebViewer();
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
    int m_refresh = 2;      // seconds
    int m_imageScale = 50;  // percent
};
