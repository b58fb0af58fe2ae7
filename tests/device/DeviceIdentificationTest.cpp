#include <gtest/gtest.h>

#include "device/DeviceIdentification.h"
#include "device/DeviceInfoBuilder.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"

namespace {

using namespace DeviceIdentification;

ZRINFO Record(const char* typeText, int major, int minor, bool configLine = true, int build = 320) {
    ZRINFO info;
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, typeText);
    info.SetU8(ZRINFO::kFirmwareMajor, static_cast<uint8_t>(major));
    info.SetU8(ZRINFO::kFirmwareMinor, static_cast<uint8_t>(minor));
    info.SetBit(ZRINFO::kFlags, 0, configLine);
    info.SetU16(ZRINFO::kFirmwareBuild, static_cast<uint16_t>(build));
    info.SetU16(ZRINFO::kPartTypes, 6);
    info.SetU16(ZRINFO::kOrientations, 8);
    return info;
}

TEST(DeviceIdentification, GlobPrefixMatching) {
    EXPECT_TRUE(bMatchesPrefix("QT-", "QT-2000 rev B"));
    EXPECT_FALSE(bMatchesPrefix("QT-", "XQT-"));
    EXPECT_TRUE(bMatchesPrefix("Kesta*1a", "Kesta compact 1a"));
    EXPECT_TRUE(bMatchesPrefix("*-CAM", "SARN 40-CAM"));
    EXPECT_TRUE(bMatchesPrefix("K?-1A", "KC-1A"));
    EXPECT_FALSE(bMatchesPrefix("K?-1A", "K-1A"));
    EXPECT_TRUE(bMatchesPrefix("", "anything"));
}

TEST(DeviceIdentification, ClassicCompactAndCameraTexts) {
    EXPECT_EQ(iHardwareFromTypeText("Talon 200", 0, 0, 0), 1);
    EXPECT_EQ(iHardwareFromTypeText("MARROW XL", 0, 0, 0), 2);
    EXPECT_EQ(iHardwareFromTypeText("QV-100", 0, 0, 0), 0);
    EXPECT_EQ(iHardwareFromTypeText("Brindle", 0, 0, 0), 3) << "compact group without sub-edition";
    EXPECT_EQ(iHardwareFromTypeText("Brindle Max", 0, 0, 0), 5);
    EXPECT_EQ(iHardwareFromTypeText("BRINDLE TAMRIN", 0, 0, 0), 16);
    EXPECT_EQ(iHardwareFromTypeText("OSKEL 2", 0, 0, 0), 1024);
    EXPECT_EQ(iHardwareFromTypeText("KC-2B", 0, 0, 0), 10);
    EXPECT_EQ(iHardwareFromTypeText("Rovan x 6b", 0, 0, 0), 523);
    EXPECT_EQ(iHardwareFromTypeText("SARN 40-CAM", 640, 480, 24), 769);
    EXPECT_EQ(iHardwareFromTypeText("SARN 40-CAM", 640, 480, 8), 768);
    EXPECT_EQ(iHardwareFromTypeText("SARN 40", 640, 480, 8), -1)
        << "the controller needs its camera suffix";
    EXPECT_EQ(iHardwareFromTypeText("Something else", 640, 480, 8), -1);
}

TEST(DeviceIdentification, GenericCameraBySizeAndPixelFormat) {
    EXPECT_EQ(iHardwareFromTypeText("CAM-X", 640, 480, 24), 8);
    EXPECT_EQ(iHardwareFromTypeText("CAM-X", 640, 480, 8), 7);
    EXPECT_EQ(iHardwareFromTypeText("Camera 5", 1280, 1024, 8), 9);
    EXPECT_EQ(iHardwareFromTypeText("CAMERA 5", 752, 480, 24), 12);
}

TEST(DeviceIdentification, UnknownTextFallsBackToTalonWithMessage) {
    const OIdentification id = Identify(Record("Mystery box", 3, 10), TargetSystem::OToolLimits{});
    EXPECT_TRUE(id.fallback);
    EXPECT_EQ(id.target.hardware, 1);
    EXPECT_EQ(id.target.software, 778);
    EXPECT_EQ(id.toolCapacity, 7);
    ASSERT_FALSE(id.messages.empty());
    EXPECT_EQ(id.messages[0], ResStrFormat(4202, std::string("Mystery box"), std::string("Talon")));
}

TEST(DeviceIdentification, UnknownCameraLikeModelWithFirmware39IsKesta818) {
    ZRINFO info = Record("Mystery cam", 3, 90);
    info.SetU16(ZRINFO::kFeatureCapacity, 256);
    info.SetU16(ZRINFO::kToolCapacity, 256);
    const OIdentification id = Identify(info, {});
    EXPECT_EQ(id.target.hardware, 7);
    EXPECT_EQ(id.target.software, 818);
    EXPECT_EQ(id.toolCapacity, 256);
    EXPECT_EQ(id.fixedFeatures, 0);
}

TEST(DeviceIdentification, PresenceBytesPreventTheCameraFallback) {
    ZRINFO info = Record("Mystery", 3, 20);
    info.SetU16(ZRINFO::kFeatureCapacity, 256);
    info.SetU16(ZRINFO::kToolCapacity, 256);
    info.SetU8(ZRINFO::kPresence + 3, 1);
    TargetSystem::OToolLimits registry;
    registry.total = 17;
    const OIdentification id = Identify(info, registry);
    EXPECT_EQ(id.target.hardware, 1);
    EXPECT_EQ(id.target.software, 788);
    EXPECT_EQ(id.toolCapacity, 17) << "788 takes the registry capacity of codes 0 and 1";
}

TEST(DeviceIdentification, FirmwareMapping) {
    // A newer build on a Config line maps to the newest code of the group.
    OIdentification id = Identify(Record("KC-1A", 3, 50, true, 400), {});
    EXPECT_EQ(id.target.software, 818);
    ASSERT_EQ(id.messages.size(), 1u);
    EXPECT_EQ(id.messages[0], ResStr(4204));
    id = Identify(Record("Talon", 3, 80, true, 321), {});
    EXPECT_EQ(id.target.software, 798) << "classic editions map to 798";
    id = Identify(Record("OSKEL", 3, 50, true, 10000), {});
    EXPECT_EQ(id.target.software, 828);
    // An unknown Config code, build supported.
    id = Identify(Record("Talon", 3, 90, true, 320), {});
    EXPECT_EQ(id.target.software, 798);
    EXPECT_EQ(id.messages.back(), ResStr(4206));
    // Standard lines keep their known codes and map everything else to 1802.
    EXPECT_EQ(Identify(Record("Talon", 6, 2, false), {}).target.software, 1538);
    EXPECT_EQ(Identify(Record("Talon", 7, 20, false, 500), {}).target.software, 1802);
    EXPECT_EQ(Identify(Record("Talon", 3, 50, false), {}).target.software, 1802);
    // A known Config code with a supported build is left alone.
    id = Identify(Record("Talon", 3, 50, true, 320), {});
    EXPECT_EQ(id.target.software, 818);
    EXPECT_TRUE(id.messages.empty());
}

TEST(DeviceIdentification, RecordMadeWithoutDeviceIdentifiesItsOwnSoftware) {
    ODeviceInfoRequest r;
    r.target = {9, 808, 0, 6, 1, 8};
    ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "KC-2A");
    const OIdentification id = Identify(info, {});
    EXPECT_EQ(id.target.hardware, 9);
    EXPECT_EQ(id.target.software, 808);
    EXPECT_EQ(id.toolCapacity, 256);
}

TEST(DeviceIdentification, DeviceToolLimitsAreWrittenOnlyFor788Classic) {
    ODeviceInfoRequest r;
    r.target = {3, 788, 0, 6, 1, 8};
    r.tools = 8;
    r.limits = TargetSystem::DefaultToolLimits(3);
    ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "Brindle");
    OSettings_Memory settings;
    const OIdentification id = Identify(info, {});
    ASSERT_TRUE(bWriteDeviceToolLimits(info, id, settings));
    EXPECT_EQ(settings.iGetInt("DefaultOSSettings", "ZRC_32_NUMBER_CFTOOLS", -1), 8);
    EXPECT_EQ(settings.iGetInt("DefaultOSSettings", "ZRC_32_NUMBER_CFTOOL_MEASURE", -1), 0);

    r.target.software = 818;
    info = DeviceInfo::MakeWithoutDevice(r);
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "Brindle");
    OSettings_Memory untouched;
    EXPECT_FALSE(bWriteDeviceToolLimits(info, Identify(info, {}), untouched));
    EXPECT_TRUE(untouched.Dump().empty());
}

}  // namespace
