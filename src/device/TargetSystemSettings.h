// The target system and the configured tool limits as the settings store keeps them:
// the six target values in section "Settings", the tool limits of the classic editions in
// section "DefaultOSSettings".
#pragma once

#include "device/TargetSystem.h"

class Settings;

namespace TargetSystemSettings {

inline constexpr const char* kTargetSection = "Settings";
inline constexpr const char* kToolLimitSection = "DefaultOSSettings";

// The six "TARGET_SYSTEM_*" values, each defaulting to the value in `defaults`.
OTargetSystem ReadTarget(const Settings& settings, const OTargetSystem& defaults);
void WriteTarget(Settings& settings, const OTargetSystem& target);

// The configured limits of the hardware's key group ("ZRX_VETA_32_NUMBER_CFTOOLS", ...);
// the group's defaults for values not stored, and the plain defaults for hardware without
// a key group.
TargetSystem::OToolLimits ReadToolLimits(const Settings& settings, int hardware);
// Stores the limits under the hardware's key group; nothing for hardware without one.
void WriteToolLimits(Settings& settings, int hardware, const TargetSystem::OToolLimits& limits);

}  // namespace TargetSystemSettings
