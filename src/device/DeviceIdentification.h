// Derives the target system from a device's information record: the hardware code from the
// device type text (a table of model patterns, tested in a fixed order), the software code
// from the firmware bytes, and the firmware-build rules that map newer or unknown firmware
// into the program's known lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"

class Settings;

// The firmware build this program supports.
inline constexpr int kSupportedFirmwareBuild = 320;

struct OIdentification {
    OTargetSystem target;
    int fixedFeatures = 12;
    int toolCapacity = 0;
    // The device type text matched none of the patterns and a fallback edition was taken.
    bool fallback = false;
    // Texts of the messages the identification raised (4202, 4204, 4206), in order.
    std::vector<std::string> messages;
    // The device reports its own per-kind tool limits (classic edition on firmware 788).
    bool deviceReportsToolLimits = false;
};

namespace DeviceIdentification {

// Hardware code from the device type text, or -1 when no pattern matches. Image size and
// pixel format decide the generic camera and controller rules.
int iHardwareFromTypeText(std::string_view typeText, int imageWidth, int imageHeight,
                          int pixelFormat);

// Whether a firmware build counts as newer than the one this program supports.
bool bIsNewerFirmware(int build);

// Identifies the record; `registryLimits` are the configured classic tool limits used for
// the fallback to code 1 on firmware 788.
OIdentification Identify(const ZRINFO& info, const TargetSystem::OToolLimits& registryLimits);

// Writes the device's own tool limits (total and per kind) into the "DefaultOSSettings"
// key group of its hardware code, when the record comes from a classic edition on firmware
// 788. Returns true when it wrote them.
bool bWriteDeviceToolLimits(const ZRINFO& info, const OIdentification& id, Settings& settings);

// Glob match of `pattern` ('*' any run, '?' any one character) against the start of
// `text`; the rest of the text may follow. Exposed for tests.
bool bMatchesPrefix(std::string_view pattern, std::string_view text);

}  // namespace DeviceIdentification
