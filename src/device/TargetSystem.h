// Device editions and firmware lines: codes, display names, the groups the program tests
// for, tool capacities and the firmware versions a project declares itself compatible with.
#pragma once

#include <array>
#include <string>

// The six values that name a project's target system.
struct OTargetSystem {
    int hardware = 1;
    int software = 778;
    int addIn = 0;
    int partTypes = 6;
    int partsInSet = 1;
    int orientations = 8;
    bool operator==(const OTargetSystem&) const = default;
};

namespace TargetSystem {

// Defaults for a new project and for the document when it starts.
inline constexpr OTargetSystem kNewProjectDefaults{1, 778, 0, 6, 1, 8};
inline constexpr OTargetSystem kDocumentStartDefaults{7, 818, 0, 256, 16, 8};

// Display names; "unknown" for codes that name no edition or firmware.
std::string HardwareName(int hardware);
std::string SoftwareName(int software);
bool bIsKnownSoftware(int software);

// Groups of editions.
bool bIsNewPlatform(int hardware);
bool bIsCamera(int hardware);
bool bIsSingleCamera(int hardware);  // 7..12
bool bIsCameraRange(int hardware);   // 512..523
bool bIsHost(int hardware);          // 768, 769
bool bIsClassic(int hardware);       // everything outside the new platform
bool bIsBase(int hardware);          // 0..2
bool bIsCompact(int hardware);       // 3..6
bool bSendsTimeAndDate(int hardware);
bool bIsCounterEdition(int hardware);
bool bIsSortingEdition(int hardware);
// Device family: 2 for the new platform, else 1.
inline int iFamily(int hardware) {
    return bIsNewPlatform(hardware) ? 2 : 1;
}

// Software code from the device's firmware major and minor byte.
int SoftwareCode(int major, int minor);

// Basic contour features in front of the tool features: 0 on the new platform, else 12.
int iFixedFeatureCount(int hardware);

// Tool limits of classic editions as configured (registry section "DefaultOSSettings").
struct OToolLimits {
    int total = 20;
    int roi = 20;
    int vstrip = 20;
    int ctool = 20;
    int measure = 20;
    int combination = 20;
};
// The registry key group of a classic hardware code: "ZRX_VETA_32", "ZRX_MW_32", "ZRC_32",
// "ZRC_MAXI_32"; empty for other codes.
std::string ToolLimitKeyGroup(int hardware);
// Defaults of the key group when the registry holds nothing.
OToolLimits DefaultToolLimits(int hardware);

// Maximum number of configurable tools; `registry` is the configured capacity of the
// hardware's key group (used by classic editions on firmware 788 and later).
int iToolCapacity(int hardware, int software, const OToolLimits& registry);

// Minimum firmware version a new check program is compatible with (the pair's first text;
// the second is always "0.0.0.0").
std::string CompatibleFirmware(int hardware, int software);
// Dotted firmware version written into a record made without a device (new platform only;
// empty otherwise).
std::string FirmwareVersionText(int hardware, int software);

}  // namespace TargetSystem
