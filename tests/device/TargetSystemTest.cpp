#include <gtest/gtest.h>

#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"

namespace {

using namespace TargetSystem;

TEST(TargetSystem, DisplayNamesAndUnknownCodes) {
    EXPECT_EQ(HardwareName(0), "Vesper");
    EXPECT_EQ(HardwareName(523), "Rovan 6b");
    EXPECT_EQ(HardwareName(769), "Sarn host b");
    EXPECT_EQ(HardwareName(13), "unknown");
    EXPECT_EQ(SoftwareName(1538), "Standard V6.2");
    EXPECT_EQ(SoftwareName(779), "unknown");
}

TEST(TargetSystem, SoftwareCodeFromFirmwareBytes) {
    EXPECT_EQ(SoftwareCode(6, 2), 1538) << "major 6 minor 2 is V6.2, not V6.0";
    EXPECT_EQ(SoftwareCode(1, 2), 258);
    EXPECT_EQ(SoftwareCode(3, 57), 818) << "the minor is cut to tens";
    EXPECT_EQ(SoftwareCode(7, 19), 1802);
    EXPECT_EQ(SoftwareCode(2, 2), 512) << "the exception holds only for majors 1 and 6";
}

TEST(TargetSystem, Groups) {
    for (int hw : {7, 12, 16, 512, 523, 768, 769, 1024})
        EXPECT_TRUE(bIsNewPlatform(hw)) << hw;
    for (int hw : {0, 6, 13, 15, 17, 511, 524, 767, 770, 1023, 1025, -1})
        EXPECT_TRUE(bIsClassic(hw)) << hw;
    EXPECT_FALSE(bIsCamera(16));
    EXPECT_FALSE(bIsCamera(1024));
    EXPECT_TRUE(bIsCamera(769));
    EXPECT_TRUE(bSendsTimeAndDate(16));
    EXPECT_FALSE(bSendsTimeAndDate(7));
    EXPECT_TRUE(bIsCounterEdition(2));
    EXPECT_FALSE(bIsCounterEdition(3));
    EXPECT_TRUE(bIsSortingEdition(2));
    EXPECT_FALSE(bIsSortingEdition(1));
    EXPECT_EQ(iFamily(13), 1) << "an unknown hardware code counts as classic";
    EXPECT_EQ(iFixedFeatureCount(7), 0);
    EXPECT_EQ(iFixedFeatureCount(1), 12);
}

TEST(TargetSystem, ToolCapacity) {
    const OToolLimits compactDefaults = DefaultToolLimits(3);
    EXPECT_EQ(iToolCapacity(3, 788, compactDefaults), 8);
    EXPECT_EQ(compactDefaults.measure, 0);
    EXPECT_EQ(iToolCapacity(9, 798, {}), 64);
    EXPECT_EQ(iToolCapacity(9, 808, {}), 256);
    EXPECT_EQ(iToolCapacity(16, 798, {}), 0) << "only codes 7-12 have 64 tools on 788/798";
    EXPECT_EQ(iToolCapacity(16, 818, {}), 256);
    EXPECT_EQ(iToolCapacity(1, 256, {}), 4);
    EXPECT_EQ(iToolCapacity(1, 778, {}), 7);
    OToolLimits configured;
    configured.total = 33;
    EXPECT_EQ(iToolCapacity(1, 818, configured), 33);
    EXPECT_EQ(iToolCapacity(1, 1536, configured), 0);
    EXPECT_EQ(ToolLimitKeyGroup(5), "ZRC_MAXI_32");
    EXPECT_EQ(ToolLimitKeyGroup(7), "");
}

TEST(TargetSystem, CompatibleFirmware) {
    EXPECT_EQ(CompatibleFirmware(1, 818), "3.5.1.182");
    EXPECT_EQ(CompatibleFirmware(8, 818), "3.5.1.182");
    EXPECT_EQ(CompatibleFirmware(1, 808), "0.0.0.0");
    EXPECT_EQ(CompatibleFirmware(16, 818), "3.5.0.0");
    EXPECT_EQ(CompatibleFirmware(515, 828), "3.6.0.0");
    EXPECT_EQ(CompatibleFirmware(768, 818), "3.5.0.0");
    EXPECT_EQ(CompatibleFirmware(1024, 828), "3.6.0.0");
    EXPECT_EQ(CompatibleFirmware(1024, 818), "0.0.0.0");
}

TEST(DeviceInfoBuilder, RecordWithoutDeviceCarriesTheTarget) {
    ODeviceInfoRequest r;
    r.target = {16, 818, 0, 6, 2, 8};
    r.fixedFeatures = -1;
    r.tools = 40;
    const ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    EXPECT_EQ(info.u16(ZRINFO::kFeatureCapacity), 52)
        << "a negative fixed-feature count counts as 12";
    EXPECT_EQ(info.u16(ZRINFO::kToolCapacity), 40);
    EXPECT_EQ(info.u8(686), 3);
    EXPECT_EQ(info.u8(687), 50);
    EXPECT_EQ(SoftwareCode(info.u8(686), info.u8(687)), 818);
    EXPECT_EQ(info.s16(738), 320);
    EXPECT_EQ(info.u8(738), 0x01) << "big-endian";
    EXPECT_EQ(info.u8(739), 0x40);
    EXPECT_EQ(info.GetDeviceTypeText(), "Config V3.5");
    // "3.5.0.0" as four big-endian numbers at 888..895.
    EXPECT_EQ(info.u16(888), 3);
    EXPECT_EQ(info.u16(890), 5);
    EXPECT_EQ(info.u16(892), 0);
    EXPECT_EQ(DeviceInfo::ReadTarget(info), r.target);
}

TEST(DeviceInfoBuilder, AtLeastOnePartTypeAndOrientation) {
    ODeviceInfoRequest r;
    r.target = {1, 778, 0, 0, 0, 0};
    const ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    EXPECT_EQ(info.u16(ZRINFO::kPartTypes), 1);
    EXPECT_EQ(info.u16(ZRINFO::kOrientations), 1);
    EXPECT_EQ(info.u8(724), 7) << "firmware up to 778 fixes the per-kind limits at 7";
    EXPECT_EQ(info.u16(688), 512) << "contour devices report their image height";
}

TEST(DeviceInfoBuilder, CompactEditionHasNoMeasurement) {
    ODeviceInfoRequest r;
    r.target = {3, 788, 0, 6, 1, 8};
    r.limits = DefaultToolLimits(3);
    const ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    EXPECT_EQ(info.u8(727), 0);
    EXPECT_EQ(info.u8(719), 0) << "no measurement presence byte";
    EXPECT_EQ(info.u8(724), 8);
}

TEST(DeviceInfoBuilder, CameraGeometryByEdition) {
    EXPECT_EQ(DeviceInfo::ImageGeometry(7).width, 640);
    EXPECT_EQ(DeviceInfo::ImageGeometry(7).pixelFormat, 8);
    EXPECT_EQ(DeviceInfo::ImageGeometry(8).pixelFormat, 24);
    EXPECT_EQ(DeviceInfo::ImageGeometry(10).height, 1024);
    EXPECT_EQ(DeviceInfo::ImageGeometry(11).width, 752);
    EXPECT_EQ(DeviceInfo::ImageGeometry(513).pixelFormat, 24);
    EXPECT_EQ(DeviceInfo::ImageGeometry(1).width, 0);
    ODeviceInfoRequest r;
    r.target = {8, 818, 0, 6, 1, 8};
    const ZRINFO info = DeviceInfo::MakeWithoutDevice(r);
    EXPECT_EQ(info.iGetImageWidth(), 640);
    EXPECT_EQ(info.iGetPixelFormat(), 24);
    EXPECT_TRUE(info.bSupportsCoordTrans());
    EXPECT_EQ(info.u8(760), 1);
}

}  // namespace
