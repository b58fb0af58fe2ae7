#include "device/DeviceComparison.h"

#include "device/OQuillon.h"
#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"
#include "model/strings/ResStr.h"

namespace {

bool bBytesDiffer(const ZRINFO& a, const ZRINFO& b, size_t first, size_t count) {
    for (size_t i = first; i < first + count; ++i) {
        if (a.u8(i) != b.u8(i)) return true;
    }
    return false;
}

}  // namespace

namespace DeviceComparison {

std::vector<std::string> Differences(const OQuillon& session, const ZRINFO& device,
                                     const OIdentification& identified) {
    std::vector<std::string> lines;
    const OTargetSystem& project = session.GetTargetSystem();
    const OTargetSystem& found = identified.target;
    const ZRINFO& own = session.DeviceInfo();
    if (project.hardware != found.hardware)
        lines.push_back(ResStrFormat(4207, TargetSystem::HardwareName(project.hardware),
                                     TargetSystem::HardwareName(found.hardware)));
    if (project.software != found.software)
        lines.push_back(ResStrFormat(4208, TargetSystem::SoftwareName(project.software),
                                     TargetSystem::SoftwareName(found.software)));
    if (project.orientations != found.orientations) lines.push_back(ResStr(4209));
    if (session.iGetFixedFeatures() != identified.fixedFeatures) lines.push_back(ResStr(4210));
    if (session.iGetToolCapacity() != identified.toolCapacity) lines.push_back(ResStr(4211));
    if (project.partsInSet != found.partsInSet) lines.push_back(ResStr(4218));
    if (project.partTypes != found.partTypes) lines.push_back(ResStr(4228));
    if (TargetSystem::bIsClassic(found.hardware) && bBytesDiffer(own, device, ZRINFO::kLimits, 8))
        lines.push_back(ResStr(4229));
    if (own.iGetImageWidth() != device.iGetImageWidth() ||
        own.iGetImageHeight() != device.iGetImageHeight())
        lines.push_back(ResStr(4236));
    if (own.iGetPixelFormat() != device.iGetPixelFormat()) lines.push_back(ResStr(4238));
    if (own.u8(ZRINFO::kOptions) != device.u8(ZRINFO::kOptions) ||
        bBytesDiffer(own, device, ZRINFO::kPresence, 8))
        lines.push_back(ResStr(4239));
    return lines;
}

}  // namespace DeviceComparison
