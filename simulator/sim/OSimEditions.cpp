#include "sim/OSimEditions.h"

#include <algorithm>
#include <cctype>

#include "device/DeviceInfoBuilder.h"

namespace SimEditions {

const std::vector<OSimEdition>& Table() {
    // The device type texts follow the model patterns of src/device/DeviceIdentification.cpp,
    // so that the program identifies every edition as itself.
    static const std::vector<OSimEdition> kTable = {
        {0, 788, "Vesper ZR-V3"},         {1, 788, "Talon ZR-T3"},
        {2, 788, "Marrow ZR-M3"},         {3, 788, "Brindle ZRC-B"},
        {4, 788, "Brindle Relay ZRC-BR"}, {5, 788, "Brindle Max ZRC-BM"},
        {6, 788, "Brindle Span ZRC-BS"},  {7, 818, "Kesta KV-1A"},
        {8, 818, "Kesta KV-1B"},          {9, 818, "Kesta KV-2A"},
        {10, 818, "Kesta KV-2B"},         {11, 818, "Kesta KV-3A"},
        {12, 818, "Kesta KV-3B"},         {16, 818, "Tamrin ZRC-T1"},
        {512, 818, "Rovan KR-1A"},        {513, 818, "Rovan KR-1B"},
        {514, 818, "Rovan KR-2A"},        {515, 818, "Rovan KR-2B"},
        {516, 818, "Rovan KR-3A"},        {517, 818, "Rovan KR-3B"},
        {518, 818, "Rovan KR-4A"},        {519, 818, "Rovan KR-4B"},
        {520, 818, "Rovan KR-5A"},        {521, 818, "Rovan KR-5B"},
        {522, 818, "Rovan KR-6A"},        {523, 818, "Rovan KR-6B"},
        {768, 818, "Sarn KS-H-CAM"},      {769, 818, "Sarn KS-H-CAM"},
        {1024, 828, "Oskel KO-1"},
    };
    return kTable;
}

const OSimEdition* Find(int hardware) {
    for (const auto& e : Table()) {
        if (e.hardware == hardware) return &e;
    }
    return nullptr;
}

const OSimEdition* FindByName(const std::string& name) {
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    for (const auto& e : Table()) {
        if (lower(TargetSystem::HardwareName(e.hardware)) == lower(name)) return &e;
    }
    return nullptr;
}

}  // namespace SimEditions

ZRINFO MakeSimulatedDeviceInfo(const OSimDeviceSpec& spec) {
    const OTargetSystem& t = spec.target;
    ODeviceInfoRequest request;
    request.target = t;
    request.fixedFeatures = TargetSystem::iFixedFeatureCount(t.hardware);
    request.limits = spec.limits;
    request.tools = spec.tools >= 0
                        ? spec.tools
                        : TargetSystem::iToolCapacity(t.hardware, t.software, spec.limits);
    ZRINFO info = DeviceInfo::MakeWithoutDevice(request);

    const DeviceInfo::OImageGeometry g = DeviceInfo::ImageGeometry(t.hardware);
    const int width = spec.imageWidth > 0 ? spec.imageWidth : g.width;
    const int height = spec.imageHeight > 0 ? spec.imageHeight : g.height;
    if (width > 0 && height > 0) {
        info.SetU16(ZRINFO::kImageWidth, static_cast<uint16_t>(width));
        info.SetU16(ZRINFO::kImageHeight, static_cast<uint16_t>(height));
        info.SetU8(ZRINFO::kPixelFormat,
                   static_cast<uint8_t>(spec.pixelFormat > 0 ? spec.pixelFormat : g.pixelFormat));
    }
    if (spec.partDataProtocol >= 0)
        info.SetU16(ZRINFO::kPartDataProtocol, static_cast<uint16_t>(spec.partDataProtocol));
    if (spec.coordTrans >= 0)
        info.SetU8(ZRINFO::kCoordTransSupport, static_cast<uint8_t>(spec.coordTrans));
    if (spec.encoder) info.SetBit(ZRINFO::kOptions, 0, true);
    info.SetText(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength, spec.serialNumber);
    info.SetText(ZRINFO::kWebName, ZRINFO::kWebNameLength, spec.webName);
    std::string type = spec.deviceType;
    if (type.empty()) {
        const OSimEdition* e = SimEditions::Find(t.hardware);
        type = e ? e->deviceType : "Quillon " + std::to_string(t.hardware);
    }
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, type);
    return info;
}
