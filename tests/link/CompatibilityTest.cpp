#include <gtest/gtest.h>

#include <algorithm>

#include "device/DeviceInfoBuilder.h"
#include "link/OType_Compatibility.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/tools/OType_ConfigToolArray.h"

namespace {

ZRINFO Device(int hardware, int software, int tools) {
    ODeviceInfoRequest r;
    r.target = {hardware, software, 0, 16, 4, 8};
    r.fixedFeatures = TargetSystem::iFixedFeatureCount(hardware);
    r.tools = tools;
    return DeviceInfo::MakeWithoutDevice(r);
}

}  // namespace

TEST(Compatibility, AFittingProgramPasses) {
    const ZRINFO device = Device(7, 818, 64);
    OType_ZRPartSet set;
    set.SetFixedFeatures(0);
    set.SetNumSubTypes(3);
    set.opGetSubType(0)->SetNumOrientations(8);
    std::string message = "stale";
    EXPECT_EQ(OType_Compatibility().iCheckPropertyCompatibility(set, device, message), 0);
    EXPECT_TRUE(message.empty());
}

TEST(Compatibility, EachMisfitHasItsBitAndLine) {
    const ZRINFO device = Device(7, 818, 2);  // 16 part types, 8 orientations, 2 tools
    OType_ZRPartSet set;
    set.SetFixedFeatures(12);  // made for family 1
    set.SetNumSubTypes(17);
    set.opGetSubType(2)->SetNumOrientations(9);
    for (int i = 0; i < 3; ++i)
        set.Tools().Add(std::make_unique<OType_ConfigTool_Opaque>(100));
    set.SetCompatibilityFirmwareVersion("3.6.0.0", "0.0.0.0");  // the device has 3.5.2.248
    std::string message;
    const int r = OType_Compatibility().iCheckPropertyCompatibility(set, device, message);
    EXPECT_EQ(r & OType_Compatibility::kFamily, OType_Compatibility::kFamily);
    EXPECT_EQ(r & OType_Compatibility::kPartTypes, OType_Compatibility::kPartTypes);
    EXPECT_EQ(r & OType_Compatibility::kOrientations, OType_Compatibility::kOrientations);
    EXPECT_EQ(r & OType_Compatibility::kTools, OType_Compatibility::kTools);
    EXPECT_EQ(r & OType_Compatibility::kFeatures, OType_Compatibility::kFeatures);  // 12 > 0 + 2
    EXPECT_EQ(r & OType_Compatibility::kFirmware, OType_Compatibility::kFirmware);
    EXPECT_NE(message.find("3.6.0.0"), std::string::npos);
    EXPECT_NE(message.find("3.5.2.248"), std::string::npos);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 5);  // six findings
}

TEST(Compatibility, VersionsCompareNumberByNumber) {
    EXPECT_EQ(OType_Compatibility::iCompareVersions("3.5.10.0", "3.5.9.99"), 1);
    EXPECT_EQ(OType_Compatibility::iCompareVersions("3.5", "3.5.0.0"), 0);
    EXPECT_EQ(OType_Compatibility::iCompareVersions("3.4.9", "3.5"), -1);
    OType_Compatibility c;
    c.SetCompatibilityFirmwareVersion("3.5.1.182", "0.0.0.0");
    EXPECT_EQ(c.GetMinimumFirmware(), "3.5.1.182");
    EXPECT_EQ(OType_Compatibility::DeviceFirmwareVersion(Device(16, 828, 256)), "3.6.0.0");
}
