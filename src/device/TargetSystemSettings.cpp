#include "device/TargetSystemSettings.h"

#include <string>

#include "platform/Settings.h"

namespace TargetSystemSettings {
namespace {

struct TargetValue {
    const char* name;
    int OTargetSystem::*field;
};

constexpr TargetValue kTargetValues[] = {
    {"TARGET_SYSTEM_HW", &OTargetSystem::hardware},
    {"TARGET_SYSTEM_SW", &OTargetSystem::software},
    {"TARGET_SYSTEM_SW_ADDIN", &OTargetSystem::addIn},
    {"TARGET_SYSTEM_PARTTYPES", &OTargetSystem::partTypes},
    {"TARGET_SYSTEM_PARTSINSET", &OTargetSystem::partsInSet},
    {"TARGET_SYSTEM_ORI", &OTargetSystem::orientations},
};

struct LimitKey {
    const char* suffix;
    int TargetSystem::OToolLimits::*field;
};

// "<group>_NUMBER_CFTOOLS" holds the total, "<group>_NUMBER_CFTOOL_<KIND>" the kinds.
constexpr LimitKey kLimitKeys[] = {
    {"_NUMBER_CFTOOLS", &TargetSystem::OToolLimits::total},
    {"_NUMBER_CFTOOL_ROI", &TargetSystem::OToolLimits::roi},
    {"_NUMBER_CFTOOL_VSTRIP", &TargetSystem::OToolLimits::vstrip},
    {"_NUMBER_CFTOOL_CTOOL", &TargetSystem::OToolLimits::ctool},
    {"_NUMBER_CFTOOL_MEASURE", &TargetSystem::OToolLimits::measure},
    {"_NUMBER_CFTOOL_COMBINATION", &TargetSystem::OToolLimits::combination},
};

}  // namespace

OTargetSystem ReadTarget(const Settings& settings, const OTargetSystem& defaults) {
    OTargetSystem target = defaults;
    for (const TargetValue& v : kTargetValues)
        target.*v.field = settings.iGetInt(kTargetSection, v.name, defaults.*v.field);
    return target;
}

void WriteTarget(Settings& settings, const OTargetSystem& target) {
    for (const TargetValue& v : kTargetValues)
        settings.SetInt(kTargetSection, v.name, target.*v.field);
}

TargetSystem::OToolLimits ReadToolLimits(const Settings& settings, int hardware) {
    TargetSystem::OToolLimits limits = TargetSystem::DefaultToolLimits(hardware);
    const std::string group = TargetSystem::ToolLimitKeyGroup(hardware);
    if (group.empty()) return limits;
    for (const LimitKey& key : kLimitKeys) {
        limits.*key.field =
            settings.iGetInt(kToolLimitSection, group + key.suffix, limits.*key.field);
    }
    return limits;
}

void WriteToolLimits(Settings& settings, int hardware, const TargetSystem::OToolLimits& limits) {
    const std::string group = TargetSystem::ToolLimitKeyGroup(hardware);
    if (group.empty()) return;
    for (const LimitKey& key : kLimitKeys)
        settings.SetInt(kToolLimitSection, group + key.suffix, limits.*key.field);
}

}  // namespace TargetSystemSettings
