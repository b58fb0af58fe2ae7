#include "device/TargetSystem.h"

#include <utility>

namespace TargetSystem {
namespace {

struct CodeName {
    int code;
    const char* name;
};

constexpr CodeName kHardware[] = {
    {0, "Vesper"},        {1, "Talon"},       {2, "Marrow"},        {3, "Brindle"},
    {4, "Brindle Relay"}, {5, "Brindle Max"}, {6, "Brindle Span"},  {7, "Kesta 1a"},
    {8, "Kesta 1b"},      {9, "Kesta 2a"},    {10, "Kesta 2b"},     {11, "Kesta 3a"},
    {12, "Kesta 3b"},     {16, "Tamrin"},     {512, "Rovan 1a"},    {513, "Rovan 1b"},
    {514, "Rovan 2a"},    {515, "Rovan 2b"},  {516, "Rovan 3a"},    {517, "Rovan 3b"},
    {518, "Rovan 4a"},    {519, "Rovan 4b"},  {520, "Rovan 5a"},    {521, "Rovan 5b"},
    {522, "Rovan 6a"},    {523, "Rovan 6b"},  {768, "Sarn host a"}, {769, "Sarn host b"},
    {1024, "Oskel"},
};

constexpr CodeName kSoftware[] = {
    {256, "Config V1.0"},    {257, "Config V1.1"},    {258, "Config V1.2"},
    {512, "Config V2.0"},    {522, "Config V2.1"},    {532, "Config V2.2"},
    {768, "Config V3.0"},    {778, "Config V3.1"},    {788, "Config V3.2"},
    {798, "Config V3.3"},    {808, "Config V3.4"},    {818, "Config V3.5"},
    {828, "Config V3.6"},    {1536, "Standard V6.0"}, {1537, "Standard V6.1"},
    {1538, "Standard V6.2"}, {1792, "Standard V7.0"}, {1802, "Standard V7.1"},
    {1812, "Standard V7.2"},
};

template <size_t N>
const char* Lookup(const CodeName (&table)[N], int code) {
    for (const auto& e : table) {
        if (e.code == code) return e.name;
    }
    return nullptr;
}

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

std::string HardwareName(int hardware) {
    const char* name = Lookup(kHardware, hardware);
    return name ? name : "unknown";
}

std::string SoftwareName(int software) {
    const char* name = Lookup(kSoftware, software);
    return name ? name : "unknown";
}

bool bIsKnownSoftware(int software) {
    return Lookup(kSoftware, software) != nullptr;
}

bool bIsSingleCamera(int hw) {
    return InRange(hw, 7, 12);
}
bool bIsCameraRange(int hw) {
    return InRange(hw, 512, 523);
}
bool bIsHost(int hw) {
    return hw == 768 || hw == 769;
}
bool bIsCamera(int hw) {
    return bIsSingleCamera(hw) || bIsCameraRange(hw) || bIsHost(hw);
}
bool bIsNewPlatform(int hw) {
    return bIsCamera(hw) || hw == 16 || hw == 1024;
}
bool bIsClassic(int hw) {
    return !bIsNewPlatform(hw);
}
bool bIsBase(int hw) {
    return InRange(hw, 0, 2);
}
bool bIsCompact(int hw) {
    return InRange(hw, 3, 6);
}
bool bSendsTimeAndDate(int hw) {
    return hw == 16 || bIsCameraRange(hw) || bIsHost(hw) || hw == 1024;
}
bool bIsCounterEdition(int hw) {
    return hw == 1 || hw == 2 || hw == 16 || hw == 1024;
}
bool bIsSortingEdition(int hw) {
    return hw == 2 || bIsCamera(hw);
}

int SoftwareCode(int major, int minor) {
    if ((major == 1 || major == 6) && minor == 2) return major * 256 + 2;
    return major * 256 + (minor / 10) * 10;
}

int iFixedFeatureCount(int hardware) {
    return bIsNewPlatform(hardware) ? 0 : 12;
}

std::string ToolLimitKeyGroup(int hardware) {
    switch (hardware) {
        case 0:
        case 1:
            return "ZRX_VETA_32";
        case 2:
            return "ZRX_MW_32";
        case 3:
        case 4:
            return "ZRC_32";
        case 5:
        case 6:
            return "ZRC_MAXI_32";
        default:
            return {};
    }
}

OToolLimits DefaultToolLimits(int hardware) {
    if (hardware == 3 || hardware == 4) return {8, 8, 8, 8, 0, 8};
    return {};
}

int iToolCapacity(int hardware, int software, const OToolLimits& registry) {
    switch (software) {
        case 256:
        case 257:
        case 258:
        case 512:
            return 4;
        case 522:
        case 532:
        case 768:
        case 778:
            return 7;
        case 788:
        case 798:
            if (bIsClassic(hardware)) return registry.total;
            return bIsSingleCamera(hardware) ? 64 : 0;
        case 808:
            if (bIsClassic(hardware)) return registry.total;
            return bIsSingleCamera(hardware) ? 256 : 0;
        case 818:
        case 828:
            if (bIsClassic(hardware)) return registry.total;
            return 256;
        default:
            return 0;
    }
}

std::string CompatibleFirmware(int hw, int sw) {
    if (bIsClassic(hw) || bIsSingleCamera(hw)) return sw == 818 ? "3.5.1.182" : "0.0.0.0";
    if (hw == 16 || bIsCameraRange(hw) || bIsHost(hw)) {
        if (sw == 818) return "3.5.0.0";
        if (sw == 828) return "3.6.0.0";
        return "0.0.0.0";
    }
    if (hw == 1024 && sw == 828) return "3.6.0.0";
    return "0.0.0.0";
}

std::string FirmwareVersionText(int hw, int sw) {
    if (!bIsNewPlatform(hw)) return {};
    switch (sw) {
        case 788:
            return "3.2.2.162";
        case 798:
            return "3.3.7.31";
        case 808:
            return "3.4.2.183";
        case 818:
            if (bIsSingleCamera(hw)) return "3.5.2.248";
            if (hw == 16) return "3.5.0.0";
            return "3.5.5.0";
        case 828:
            return "3.6.0.0";
        default:
            return {};
    }
}

}  // namespace TargetSystem
