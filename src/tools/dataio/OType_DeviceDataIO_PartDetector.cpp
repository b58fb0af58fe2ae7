#include "tools/dataio/OType_DeviceDataIO_PartDetector.h"

#include "model/part/OType_Part.h"
#include "model/strings/FormatPrintf.h"

OType_DeviceDataIO_PartDetector::OType_DeviceDataIO_PartDetector()
    : ODataOutputKind({DataOutputKind::kPartDetector, "Telnet - KVT..-Q Part Detector",
                       "Part detector", 1, 2006, false, false, 1, "", true}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_PartDetector::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_PartDetector>();
}

std::vector<uint8_t> OType_DeviceDataIO_PartDetector::ResultForPart(const OType_ZRPartSet&,
                                                                    const OType_Part& part) const {
    OType_Feature deviation;
    deviation.value = part.dGetResultValue(0);
    const std::string line = FormatPrintf("%d;%d;%d;%d;", iGetPacketId(), part.iGetType(),
                                          part.iGetOrientation(), deviation.value <= 100 ? 1 : 0) +
                             DataOutputText::Value(deviation, iGetDecimals()) + "\r\n";
    return {line.begin(), line.end()};
}
