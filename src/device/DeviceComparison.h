// Connect and compare of the check program manager: the device's information record is
// identified and compared with the project's target system item by item; each difference
// is one line of text.
#pragma once

#include <string>
#include <vector>

#include "device/DeviceIdentification.h"

class OQuillon;
class ZRINFO;

namespace DeviceComparison {

// The differences between the device (its record and what its identification found) and the
// project of the session, in the order hardware, firmware, orientations, fixed features, tool
// capacity, parts per program, part types, per-kind tool limits, image size, pixel format,
// device options. Empty when the device fits the project.
std::vector<std::string> Differences(const OQuillon& session, const ZRINFO& device,
                                     const OIdentification& identified);

}  // namespace DeviceComparison
