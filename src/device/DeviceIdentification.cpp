#include "device/DeviceIdentification.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "device/DeviceInfoBuilder.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"

namespace DeviceIdentification {
namespace {

// Model naming of the editions, tested in this order; the first hit wins. Every pattern is
// matched against the whole device type text ('*' any run, '?' any one character), case
// as written. Each classic edition has its mixed-case model name, its upper-case name and
// its order-code prefix ("ZR-<letter>"); the compact group shares three patterns and
// names its sub-editions by further ones; each camera has three order-code spellings and a
// wildcard spelling of the model name. The simulator reports texts from this table.
struct EditionPatterns {
    int code;
    std::array<const char*, 4> patterns;
};

constexpr EditionPatterns kClassic[] = {
    {0, {"Vesper*", "VESPER*", "ZR-V*", nullptr}},
    {1, {"Talon*", "TALON*", "ZR-T*", nullptr}},
    {2, {"Marrow*", "MARROW*", "ZR-M*", nullptr}},
};

constexpr std::array<const char*, 3> kCompactGroup = {"Brindle*", "BRINDLE*", "*ZRC-*"};
// Sub-editions of the compact group, tested in this order.
constexpr EditionPatterns kCompactSub[] = {
    {4, {"*Relay*", "*RELAY*", "*ZRC-BR*", nullptr}},
    {5, {"*Max*", "*MAX*", "*ZRC-BM*", nullptr}},
    {6, {"*Span*", "*SPAN*", "*ZRC-BS*", nullptr}},
    {16, {"*Tamrin*", "*TAMRIN*", "*ZRC-T*", nullptr}},
};

constexpr const char* kOskel = "Oskel*";

constexpr EditionPatterns kCameras[] = {
    {7, {"KV-1A*", "KV1A*", "KV 1A*", "Kesta*-1A*"}},
    {8, {"KV-1B*", "KV1B*", "KV 1B*", "Kesta*-1B*"}},
    {9, {"KV-2A*", "KV2A*", "KV 2A*", "Kesta*-2A*"}},
    {10, {"KV-2B*", "KV2B*", "KV 2B*", "Kesta*-2B*"}},
    {11, {"KV-3A*", "KV3A*", "KV 3A*", "Kesta*-3A*"}},
    {12, {"KV-3B*", "KV3B*", "KV 3B*", "Kesta*-3B*"}},
    {512, {"KR-1A*", "KR1A*", "KR 1A*", "Rovan*-1A*"}},
    {513, {"KR-1B*", "KR1B*", "KR 1B*", "Rovan*-1B*"}},
    {514, {"KR-2A*", "KR2A*", "KR 2A*", "Rovan*-2A*"}},
    {515, {"KR-2B*", "KR2B*", "KR 2B*", "Rovan*-2B*"}},
    {516, {"KR-3A*", "KR3A*", "KR 3A*", "Rovan*-3A*"}},
    {517, {"KR-3B*", "KR3B*", "KR 3B*", "Rovan*-3B*"}},
    {518, {"KR-4A*", "KR4A*", "KR 4A*", "Rovan*-4A*"}},
    {519, {"KR-4B*", "KR4B*", "KR 4B*", "Rovan*-4B*"}},
    {520, {"KR-5A*", "KR5A*", "KR 5A*", "Rovan*-5A*"}},
    {521, {"KR-5B*", "KR5B*", "KR 5B*", "Rovan*-5B*"}},
    {522, {"KR-6A*", "KR6A*", "KR 6A*", "Rovan*-6A*"}},
    {523, {"KR-6B*", "KR6B*", "KR 6B*", "Rovan*-6B*"}},
};

// Controller with camera: the controller prefix and the camera suffix.
constexpr const char* kControllerPrefix = "Sarn*";
constexpr const char* kControllerCameraSuffix = "*-CAM";
// Generic camera prefixes.
constexpr std::array<const char*, 4> kGenericCamera = {"CAM-*", "Cam-*", "CAMERA *", "Camera *"};

bool MatchesAny(std::span<const char* const> patterns, std::string_view text) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const char* p) { return p != nullptr && bMatchesPattern(p, text); });
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

bool bMatchesPattern(std::string_view pattern, std::string_view text) {
    // Iterative glob with backtracking over the last '*'.
    size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
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
    if (bMatchesPattern(kOskel, text)) return 1024;
    for (const auto& e : kCameras) {
        if (MatchesAny(e.patterns, text)) return e.code;
    }
    if (bMatchesPattern(kControllerPrefix, text) &&
        bMatchesPattern(kControllerCameraSuffix, text)) {
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
    id.deviceReportsToolLimits = software == 788 && TargetSystem::bIsClassic(hardware);
    if (!id.fallback) {
        // A classic edition on firmware 788 states its own capacity; the other lines take
        // the capacity of their group (the configured one for classic editions).
        TargetSystem::OToolLimits limits = registryLimits;
        if (id.deviceReportsToolLimits) limits.total = info.iGetToolCapacity();
        id.toolCapacity = TargetSystem::iToolCapacity(hardware, software, limits);
    }
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
