// Does a check program fit a device? The check compares a part set with a device-information
// record: family, part types, orientations, tools, features and, on the new platform, the
// firmware version the program needs.
#pragma once

#include <string>

class OType_ZRPartSet;
class ZRINFO;

class OType_Compatibility {
  public:
    // Result bits of iCheckPropertyCompatibility.
    static constexpr int kFamily = 1;        // the program is for the other device family
    static constexpr int kPartTypes = 2;     // more part types than the device holds
    static constexpr int kOrientations = 4;  // more orientations than the device knows
    static constexpr int kTools = 8;         // more tools than the device's capacity
    static constexpr int kFeatures = 16;     // more features than the device's capacity
    static constexpr int kFirmware = 32;     // the device's firmware is older than needed

    // Records the firmware versions a project's programs declare (dotted, four numbers).
    void SetCompatibilityFirmwareVersion(std::string minimum, std::string maximum);
    const std::string& GetMinimumFirmware() const { return m_minimum; }
    const std::string& GetMaximumFirmware() const { return m_maximum; }

    // 0 when the program fits the device; otherwise the result bits, with one line per
    // finding in message.
    int iCheckPropertyCompatibility(const OType_ZRPartSet& partSet, const ZRINFO& device,
                                    std::string& message) const;

    // Compares dotted versions ("3.5.1.182"); missing numbers count as 0. -1, 0 or 1.
    static int iCompareVersions(const std::string& a, const std::string& b);
    // The dotted version stored in bytes 888-895 of a record; "0.0.0.0" when none.
    static std::string DeviceFirmwareVersion(const ZRINFO& device);

  private:
    std::string m_minimum = "0.0.0.0";
    std::string m_maximum = "0.0.0.0";
};
