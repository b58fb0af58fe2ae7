// "Telnet - KVT..-Q Part Detector" (kind 1): one text line per part over a Telnet port with
// the part's type and orientation (as detected for test parts, as assigned for sample parts)
// and whether it is good: "<packet id>;<type>;<orientation>;<1 good, 0 bad>;<deviation>\r\n",
// the deviation in percent with the chosen decimals. Packet identifier 1 by default; one
// per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_PartDetector : public ODataOutputKind {
  public:
    OType_DeviceDataIO_PartDetector();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
};
