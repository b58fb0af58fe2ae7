#include "link/OType_Compatibility.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"

namespace {

std::vector<long> SplitVersion(const std::string& v) {
    std::vector<long> out;
    std::istringstream in(v);
    std::string part;
    while (std::getline(in, part, '.'))
        out.push_back(std::strtol(part.c_str(), nullptr, 10));
    return out;
}

int MaxOrientations(const OType_ZRPartSet& set) {
    int n = 0;
    for (int i = 0; i < set.iGetNum_SubTypes(); ++i)
        n = std::max(n, set.opGetSubType(i)->iGetNumOrientations());
    return n;
}

}  // namespace

void OType_Compatibility::SetCompatibilityFirmwareVersion(std::string minimum,
                                                          std::string maximum) {
    m_minimum = std::move(minimum);
    m_maximum = std::move(maximum);
}

int OType_Compatibility::iCompareVersions(const std::string& a, const std::string& b) {
    const auto x = SplitVersion(a);
    const auto y = SplitVersion(b);
    for (size_t i = 0; i < std::max(x.size(), y.size()); ++i) {
        const long p = i < x.size() ? x[i] : 0;
        const long q = i < y.size() ? y[i] : 0;
        if (p != q) return p < q ? -1 : 1;
    }
    return 0;
}

std::string OType_Compatibility::DeviceFirmwareVersion(const ZRINFO& d) {
    std::string out;
    for (size_t i = 0; i < 4; ++i)
        out += (i ? "." : "") + std::to_string(d.u16(ZRINFO::kFirmwareVersion + 2 * i));
    return out;
}

int OType_Compatibility::iCheckPropertyCompatibility(const OType_ZRPartSet& set, const ZRINFO& d,
                                                     std::string& message) const {
    int result = 0;
    message.clear();
    auto finding = [&](int bit, const std::string& text) {
        result |= bit;
        message += (message.empty() ? "" : "\n") + text;
    };
    const int hardware = d.u16(ZRINFO::kHardwareCode);
    const int programFixed = set.iGetFixedFeatures();
    const int deviceFixed = TargetSystem::iFixedFeatureCount(hardware);
    if (programFixed != deviceFixed)
        finding(kFamily, "The check program is made for the other device family.");
    const int types = d.u16(ZRINFO::kPartTypes);
    if (types > 0 && set.iGetNum_SubTypes() > types)
        finding(kPartTypes, "The check program has " + std::to_string(set.iGetNum_SubTypes()) +
                                " part types; the device holds " + std::to_string(types) + ".");
    const int orientations = d.u16(ZRINFO::kOrientations);
    if (orientations > 0 && MaxOrientations(set) > orientations)
        finding(kOrientations, "The check program uses more orientations than the device's " +
                                   std::to_string(orientations) + ".");
    const int tools = d.u16(ZRINFO::kToolCapacity);
    if (set.Tools().iGetNum() > tools)
        finding(kTools, "The check program has " + std::to_string(set.Tools().iGetNum()) +
                            " tools; the device takes " + std::to_string(tools) + ".");
    const int features = d.u16(ZRINFO::kFeatureCapacity);
    if (features > 0 && set.iGetNumOfFeatures() > features)
        finding(kFeatures, "The check program has " + std::to_string(set.iGetNumOfFeatures()) +
                               " features; the device takes " + std::to_string(features) + ".");
    if (TargetSystem::bIsNewPlatform(hardware)) {
        const std::string& needed = set.GetCompatibleFirmwareMin();
        if (iCompareVersions(needed, "0.0.0.0") > 0 &&
            iCompareVersions(DeviceFirmwareVersion(d), needed) < 0)
            finding(kFirmware, "The check program needs firmware " + needed + "; the device has " +
                                   DeviceFirmwareVersion(d) + ".");
    }
    return result;
}
