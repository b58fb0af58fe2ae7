#include "device/DeviceIdentification.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "device/DeviceInfoBuilder.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"

namespace DeviceIdentification {
namespace {

// Model naming of the editions. Each classic edition has its mixed-case model name, the
// upper-case name and its order-code prefix; each camera four spellings (three order codes
// and a wildcard spelling). The simulator reports texts from this table.
struct EditionPatterns {
    int code;
    std::array<const char*, 4> patterns;
};

constexpr EditionPatterns kClassic[] = {
    {0, {"Vesper", "VESPER", "QV-", nullptr}},
    {1, {"Talon", "TALON", "QT-", nullptr}},
    {2, {"Marrow", "MARROW", "QM-", nullptr}},
};

constexpr std::array<const char*, 3> kCompactGroup = {"Brindle", "BRINDLE", "QB-"};
// Sub-editions of the compact group, tested in this order.
constexpr EditionPatterns kCompactSub[] = {
    {4, {"*Relay", "*RELAY", "QB-R", nullptr}},
    {5, {"*Max", "*MAX", "QB-M", nullptr}},
    {6, {"*Span", "*SPAN", "QB-S", nullptr}},
    {16, {"*Tamrin", "*TAMRIN", "QB-T", nullptr}},
};

constexpr const char* kOskel = "OSKEL";

constexpr EditionPatterns kCameras[] = {
    {7, {"KC-1A", "KC1A", "KC 1A", "Kesta*1a"}},   {8, {"KC-1B", "KC1B", "KC 1B", "Kesta*1b"}},
    {9, {"KC-2A", "KC2A", "KC 2A", "Kesta*2a"}},   {10, {"KC-2B", "KC2B", "KC 2B", "Kesta*2b"}},
    {11, {"KC-3A", "KC3A", "KC 3A", "Kesta*3a"}},  {12, {"KC-3B", "KC3B", "KC 3B", "Kesta*3b"}},
    {512, {"RC-1A", "RC1A", "RC 1A", "Rovan*1a"}}, {513, {"RC-1B", "RC1B", "RC 1B", "Rovan*1b"}},
    {514, {"RC-2A", "RC2A", "RC 2A", "Rovan*2a"}}, {515, {"RC-2B", "RC2B", "RC 2B", "Rovan*2b"}},
    {516, {"RC-3A", "RC3A", "RC 3A", "Rovan*3a"}}, {517, {"RC-3B", "RC3B", "RC 3B", "Rovan*3b"}},
    {518, {"RC-4A", "RC4A", "RC 4A", "Rovan*4a"}}, {519, {"RC-4B", "RC4B", "RC 4B", "Rovan*4b"}},
    {520, {"RC-5A", "RC5A", "RC 5A", "Rovan*5a"}}, {521, {"RC-5B", "RC5B", "RC 5B", "Rovan*5b"}},
    {522, {"RC-6A", "RC6A", "RC 6A", "Rovan*6a"}}, {523, {"RC-6B", "RC6B", "RC 6B", "Rovan*6b"}},
};

// Controller with camera: the controller prefix and the camera suffix.
constexpr const char* kControllerPrefix = "SARN";
constexpr const char* kControllerCameraSuffix = "*-CAM";
// Generic camera prefixes.
constexpr std::array<const char*, 4> kGenericCamera = {"CAM-", "CAM ", "Camera ", "CAMERA "};

bool MatchesAny(std::span<const char* const> patterns, std::string_view text) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const char* p) { return p != nullptr && bMatchesPrefix(p, text); });
}

int GenericCameraCode(int width, int height, int pixelFormat) {
    const bool colour = pixelFormat == 24;
    if (width == 640 && height == 480) return colour ? 8 : 7;
    if (width == 1280 && height == 1024) return colour ? 10 : 9;
    if (width == 752 && height == 480) return colour ? 12 : 11;
    return -1;
}

bool IsKnownStandardCode(int software) {
    switch (software) {
        case 1536:
        case 1537:
        case 1538:
        case 1792:
        case 1802:
        case 1812:
            return true;
        default:
            return false;
    }
}

int NewestInGroup(int hardware) {
    if (hardware == 16 || hardware == 1024) return 828;
    if (TargetSystem::bIsCamera(hardware)) return 818;
    return 798;
}

}  // namespace

bool bMatchesPrefix(std::string_view pattern, std::string_view text) {
    // Iterative glob with backtracking over the last '*'; the text may continue after the
    // pattern ends.
    size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (p < pattern.size()) {
        if (pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (t < text.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos && starT < text.size()) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    return true;
}

int iHardwareFromTypeText(std::string_view text, int width, int height, int pixelFormat) {
    for (const auto& e : kClassic) {
        if (MatchesAny(e.patterns, text)) return e.code;
    }
    if (MatchesAny(kCompactGroup, text)) {
        for (const auto& e : kCompactSub) {
            if (MatchesAny(e.patterns, text)) return e.code;
        }
        return 3;
    }
    if (bMatchesPrefix(kOskel, text)) return 1024;
    for (const auto& e : kCameras) {
        if (MatchesAny(e.patterns, text)) return e.code;
    }
    if (bMatchesPrefix(kControllerPrefix, text) && bMatchesPrefix(kControllerCameraSuffix, text)) {
        return pixelFormat == 24 ? 769 : 768;
    }
    if (MatchesAny(kGenericCamera, text)) return GenericCameraCode(width, height, pixelFormat);
    return -1;
}

bool bIsNewerFirmware(int build) {
    return build >= 10000 || build > kSupportedFirmwareBuild;
}

OIdentification Identify(const ZRINFO& info, const TargetSystem::OToolLimits& registryLimits) {
    OIdentification id;
    const std::string text = info.GetDeviceTypeText();
    int software = TargetSystem::SoftwareCode(info.u8(ZRINFO::kFirmwareMajor),
                                              info.u8(ZRINFO::kFirmwareMinor));
    int hardware = iHardwareFromTypeText(text, info.iGetImageWidth(), info.iGetImageHeight(),
                                         info.iGetPixelFormat());

    if (hardware < 0) {
        bool noPresence = true;
        for (size_t b = ZRINFO::kPresence; b < ZRINFO::kPresence + 8; ++b)
            noPresence = noPresence && info.u8(b) == 0;
        const bool cameraLike =
            noPresence && info.u16(ZRINFO::kFeatureCapacity) >= 64 && info.iGetToolCapacity() >= 64;
        hardware = cameraLike ? 7 : 1;
        id.fallback = true;
        id.messages.push_back(ResStrFormat(4202, text, TargetSystem::HardwareName(hardware)));
        if (cameraLike) {
            if (software < 788 || software > 818) software = 818;
            id.toolCapacity = (software == 808 || software == 818)   ? 256
                              : (software == 788 || software == 798) ? 64
                                                                     : 0;
        } else {
            if (software < 256 || software > 788) software = 788;
            switch (software) {
                case 788:
                    id.toolCapacity = registryLimits.total;
                    break;
                case 522:
                case 532:
                case 768:
                case 778:
                    id.toolCapacity = 7;
                    break;
                case 256:
                case 258:
                case 512:
                    id.toolCapacity = 4;
                    break;
                default:
                    id.toolCapacity = 0;
            }
        }
    }

    // Firmware lines the program does not know are mapped into the newest line it knows.
    const bool newer = bIsNewerFirmware(info.iGetFirmwareBuild());
    if (info.bGetBit(ZRINFO::kFlags, 0)) {
        if (newer || !TargetSystem::bIsKnownSoftware(software)) {
            id.messages.push_back(ResStr(newer ? 4204 : 4206));
            software = NewestInGroup(hardware);
        }
    } else if (newer || !IsKnownStandardCode(software)) {
        id.messages.push_back(ResStr(newer ? 4204 : 4206));
        software = 1802;
    }

    id.target.hardware = hardware;
    id.target.software = software;
    id.target.addIn = info.u16(ZRINFO::kAddIn);
    id.target.partTypes = std::max<int>(1, info.u16(ZRINFO::kPartTypes));
    id.target.partsInSet = std::max<int>(1, info.u16(ZRINFO::kPartsInSet));
    id.target.orientations = std::clamp<int>(info.u16(ZRINFO::kOrientations), 1, 8);
    id.fixedFeatures = TargetSystem::iFixedFeatureCount(hardware);
    if (!id.fallback) {
        TargetSystem::OToolLimits own = registryLimits;
        own.total = info.iGetToolCapacity();
        id.toolCapacity = TargetSystem::iToolCapacity(hardware, software, own);
    }
    id.deviceReportsToolLimits = software == 788 && TargetSystem::bIsClassic(hardware);
    return id;
}

bool bWriteDeviceToolLimits(const ZRINFO& info, const OIdentification& id, Settings& settings) {
    if (!id.deviceReportsToolLimits) return false;
    const std::string group = TargetSystem::ToolLimitKeyGroup(id.target.hardware);
    if (group.empty()) return false;
    const std::string section = "DefaultOSSettings";
    settings.SetInt(section, group + "_NUMBER_CFTOOLS", info.iGetToolCapacity());
    settings.SetInt(section, group + "_NUMBER_CFTOOL_ROI", info.u8(DeviceInfo::LimitByte(1)));
    settings.SetInt(section, group + "_NUMBER_CFTOOL_VSTRIP", info.u8(DeviceInfo::LimitByte(2)));
    settings.SetInt(section, group + "_NUMBER_CFTOOL_CTOOL", info.u8(DeviceInfo::LimitByte(3)));
    settings.SetInt(section, group + "_NUMBER_CFTOOL_MEASURE", info.u8(DeviceInfo::LimitByte(4)));
    settings.SetInt(section, group + "_NUMBER_CFTOOL_COMBINATION",
                    info.u8(DeviceInfo::LimitByte(8)));
    return true;
}

}  // namespace DeviceIdentification
