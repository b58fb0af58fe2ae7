#include "device/DeviceInfoBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace DeviceInfo {
namespace {

constexpr int kContourImageHeight = 512;
constexpr uint16_t kSupportedFirmwareBuild = 320;

uint8_t ClampByte(int v) {
    return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

void WriteFirmwareVersion(ZRINFO& info, const std::string& dotted) {
    std::istringstream in(dotted);
    std::string part;
    size_t offset = ZRINFO::kFirmwareVersion;
    for (int i = 0; i < 4 && std::getline(in, part, '.'); ++i, offset += 2) {
        info.SetU16(offset, static_cast<uint16_t>(std::strtoul(part.c_str(), nullptr, 10)));
    }
}

}  // namespace

OImageGeometry ImageGeometry(int hw) {
    // The second edition of each pair is the colour one.
    const bool colour = (hw >= 7 && hw <= 12) ? (hw % 2 == 0) : (hw % 2 == 1);
    const int format = colour ? 24 : 8;
    if (hw >= 7 && hw <= 12) {
        static constexpr OImageGeometry kSizes[] = {{640, 480, 8}, {1280, 1024, 8}, {752, 480, 8}};
        OImageGeometry g = kSizes[(hw - 7) / 2];
        g.pixelFormat = format;
        return g;
    }
    if (hw >= 512 && hw <= 523) {
        static constexpr OImageGeometry kSizes[] = {{640, 480, 8},   {1280, 1024, 8},
                                                    {752, 480, 8},   {1600, 1200, 8},
                                                    {2048, 1536, 8}, {2592, 1944, 8}};
        OImageGeometry g = kSizes[(hw - 512) / 2];
        g.pixelFormat = format;
        return g;
    }
    if (hw == 768 || hw == 769) return {640, 480, format};
    return {};
}

size_t AvailabilityByte(int kind) {
    return ZRINFO::ToolAvailabilityByte(kind);
}

void WriteClassicToolLimits(ZRINFO& info, const OTargetSystem& t,
                            const TargetSystem::OToolLimits& limits) {
    const bool fixedSeven = t.software <= 778;
    auto limit = [&](int configured) { return ClampByte(fixedSeven ? 7 : configured); };
    const int measure = fixedSeven ? 7 : limits.measure;
    const bool modern = t.software >= 788;
    // Kinds 1 ROI, 2 VStrip, 3 CTool, 4 measurement, 5 hole, 7 external sensor, 8 combination.
    info.SetU8(LimitByte(1), limit(limits.roi));
    info.SetU8(LimitByte(2), limit(limits.vstrip));
    info.SetU8(LimitByte(3), limit(limits.ctool));
    info.SetU8(LimitByte(4), ClampByte(measure));
    info.SetU8(LimitByte(5), modern ? ClampByte(limits.total) : 0);
    info.SetU8(LimitByte(7),
               modern && TargetSystem::bIsBase(t.hardware) ? ClampByte(limits.total) : 0);
    info.SetU8(LimitByte(8), limit(limits.combination));
    for (int kind = 1; kind <= 3; ++kind)
        info.SetU8(PresenceByte(kind), 1);
    info.SetU8(PresenceByte(4), measure > 0 ? 1 : 0);
    info.SetU8(PresenceByte(5), info.u8(LimitByte(5)) > 0 ? 1 : 0);
    info.SetU8(PresenceByte(7), info.u8(LimitByte(7)) > 0 ? 1 : 0);
    info.SetU8(PresenceByte(8), info.u8(LimitByte(8)) > 0 ? 1 : 0);
}

void WriteToolAvailability(ZRINFO& info, const OTargetSystem& t) {
    const bool camera = TargetSystem::bIsCamera(t.hardware);
    // Contour-based new-platform editions run the region, contour, measurement, combination,
    // flagword and I/O tools; the cameras run every image tool.
    const int contourKinds[] = {100, 101, 102, 104, 113, 115};
    const int cameraKinds[] = {100, 101, 102, 103, 104, 105, 106, 107,
                               108, 109, 111, 112, 113, 114, 115};
    if (camera) {
        for (int k : cameraKinds)
            info.SetU8(AvailabilityByte(k), 1);
    } else {
        for (int k : contourKinds)
            info.SetU8(AvailabilityByte(k), 1);
    }
    if (t.software >= 828) info.SetU8(AvailabilityByte(128), 1);
    info.SetU8(ZRINFO::kCoordTransSupport, camera ? 1 : 0);
}

ZRINFO MakeWithoutDevice(const ODeviceInfoRequest& r) {
    ZRINFO info;
    const OTargetSystem& t = r.target;
    const int fixed = r.fixedFeatures < 0 ? 12 : r.fixedFeatures;
    info.SetU16(ZRINFO::kHardwareCode, static_cast<uint16_t>(t.hardware));
    info.SetU16(ZRINFO::kOsVersion, static_cast<uint16_t>(t.software));
    info.SetU16(ZRINFO::kPartTypes, static_cast<uint16_t>(std::max(1, t.partTypes)));
    info.SetU16(ZRINFO::kOrientations, static_cast<uint16_t>(std::max(1, t.orientations)));
    info.SetU16(ZRINFO::kPartsInSet, static_cast<uint16_t>(std::max(1, t.partsInSet)));
    info.SetU16(ZRINFO::kBasicFeatures, static_cast<uint16_t>(fixed));
    info.SetU16(ZRINFO::kAddIn, static_cast<uint16_t>(t.addIn));
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength,
                 TargetSystem::SoftwareName(t.software));
    info.SetU8(ZRINFO::kFirmwareMajor, ClampByte(t.software / 256));
    info.SetU8(ZRINFO::kFirmwareMinor, ClampByte(t.software % 256));
    info.SetU16(ZRINFO::kFeatureCapacity, static_cast<uint16_t>(fixed + std::max(0, r.tools)));
    info.SetU16(ZRINFO::kToolCapacity, static_cast<uint16_t>(std::max(0, r.tools)));
    info.SetU16(ZRINFO::kFirmwareBuild, kSupportedFirmwareBuild);
    // Bit 0 of the flags byte marks the "Config" firmware lines (software codes below 1536).
    info.SetBit(ZRINFO::kFlags, 0, t.software < 1536);

    if (TargetSystem::bIsNewPlatform(t.hardware)) {
        WriteToolAvailability(info, t);
        WriteFirmwareVersion(info, TargetSystem::FirmwareVersionText(t.hardware, t.software));
        info.SetU16(ZRINFO::kPartDataProtocol, 1);
    } else {
        WriteClassicToolLimits(info, t, r.limits);
        info.SetU16(ZRINFO::kPartDataProtocol, 0);
    }
    const OImageGeometry g = ImageGeometry(t.hardware);
    if (g.width > 0) {
        info.SetU16(ZRINFO::kImageWidth, static_cast<uint16_t>(g.width));
        info.SetU16(ZRINFO::kImageHeight, static_cast<uint16_t>(g.height));
        info.SetU8(ZRINFO::kPixelFormat, static_cast<uint8_t>(g.pixelFormat));
    } else {
        info.SetU16(ZRINFO::kPixels, kContourImageHeight);
    }
    return info;
}

OTargetSystem ReadTarget(const ZRINFO& info) {
    OTargetSystem t;
    t.hardware = info.u16(ZRINFO::kHardwareCode);
    t.software = info.u16(ZRINFO::kOsVersion);
    t.addIn = info.u16(ZRINFO::kAddIn);
    t.partTypes = info.u16(ZRINFO::kPartTypes);
    t.partsInSet = info.u16(ZRINFO::kPartsInSet);
    t.orientations = info.u16(ZRINFO::kOrientations);
    return t;
}

}  // namespace DeviceInfo
