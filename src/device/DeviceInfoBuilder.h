// Makes the device-information record of a target system without a device: for projects
// whose target the user picks, and for the device simulator.
#pragma once

#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"

struct ODeviceInfoRequest {
    OTargetSystem target;
    int fixedFeatures = 12;  // basic contour features; negative means 12
    int tools = 0;           // tool capacity
    // Configured limits of classic editions (registry "DefaultOSSettings").
    TargetSystem::OToolLimits limits;
};

namespace DeviceInfo {

// Image geometry each edition reports: width, height and pixel format (8 grey, 24 colour);
// contour devices report their image height in bytes 688-689 instead.
struct OImageGeometry {
    int width = 0;
    int height = 0;
    int pixelFormat = 8;
};
OImageGeometry ImageGeometry(int hardware);

// Per-kind presence and limit bytes of a classic edition (kinds 1..8 at 716+k-1, 724+k-1).
void WriteClassicToolLimits(ZRINFO& info, const OTargetSystem& target,
                            const TargetSystem::OToolLimits& limits);
// Availability bytes of the image tool kinds on a new-platform edition.
void WriteToolAvailability(ZRINFO& info, const OTargetSystem& target);

ZRINFO MakeWithoutDevice(const ODeviceInfoRequest& request);

// The values a record states about its target (as written by MakeWithoutDevice).
OTargetSystem ReadTarget(const ZRINFO& info);

// Byte offsets of a kind's presence and limit bytes on classic editions.
inline size_t PresenceByte(int kind) {
    return ZRINFO::kPresence + static_cast<size_t>(kind - 1);
}
inline size_t LimitByte(int kind) {
    return ZRINFO::kLimits + static_cast<size_t>(kind - 1);
}
// Availability byte of a new-platform tool kind; 0 for kinds without one.
size_t AvailabilityByte(int kind);

}  // namespace DeviceInfo
