// What the about box "Information on Kalvor" says about the supported devices.
#pragma once

#include <string>
#include <vector>

struct OSupportedDevice {
    std::string label;     // "Tamrin:"
    int controlId = 0;     // the control that shows the versions
    std::string versions;  // "3.5.0.0, 3.6.0.0"
};

namespace AboutTexts {

inline constexpr const char* kTitle = "Information on Kalvor";
inline constexpr const char* kSupportedHeading = "Supported devices and firmware versions:";
inline constexpr int kDescriptionControl = 1337;
inline constexpr int kCopyrightControl = 1338;

std::vector<OSupportedDevice> SupportedDevices();

}  // namespace AboutTexts
