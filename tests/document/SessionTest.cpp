// The device session as holder of the project's objects, the options copy and the target
// system as the settings store keeps it.
#include <gtest/gtest.h>

#include "device/OQuillon.h"
#include "device/OType_Options.h"
#include "device/TargetSystemSettings.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

TEST(Options, ReadsEveryValueWithItsDefault) {
    OSettings_Memory settings;
    settings.SetInt("Settings", "PARTBUFFERSIZE", 123);
    settings.SetText("Settings", "MIRREL_PATH", "/usr/local/bin/mirrel");
    const OOptionValues values = OType_Options::Read(settings);
    EXPECT_EQ(values.partBufferSize, 123);
    EXPECT_EQ(values.viewerPath, "/usr/local/bin/mirrel");
    EXPECT_EQ(values.connectionKind, 0);
    EXPECT_EQ(values.autoSpeed, 1);
    EXPECT_EQ(values.msgBeep, 1);
    EXPECT_EQ(values.useDifferingFeatures, 1);
    EXPECT_EQ(values.partLimitPolicy, 0);
    EXPECT_EQ(values.autoShowCameraOrContourImage, 1);
    EXPECT_EQ(values.displayReceivedPart, 1);
    EXPECT_EQ(values.showUnselectedTools, 0);
}

TEST(Options, GarbageAndOutOfRangeValuesReadAsTheDefaults) {
    OSettings_Memory settings;
    settings.SetText("Settings", "PARTBUFFERSIZE", "lots");
    settings.SetInt("Settings", "HANDLEMAXPARTSLIMITREACHED", 9);
    settings.SetInt("Settings", "MSG_BEEP", -3);
    settings.SetInt("Settings", "CONTYPE", 77);
    settings.SetInt("Settings", "SHOW_UNSELECTED_TOOLS", 1);
    OOptionValues values = OType_Options::Read(settings);
    EXPECT_EQ(values.partBufferSize, 4000);
    EXPECT_EQ(values.partLimitPolicy, 0);
    EXPECT_EQ(values.msgBeep, 1);
    EXPECT_EQ(values.connectionKind, 0);
    EXPECT_EQ(values.showUnselectedTools, 1) << "a valid value is kept";
    for (int outside : {0, 25001}) {
        settings.SetInt("Settings", "PARTBUFFERSIZE", outside);
        EXPECT_EQ(OType_Options::Read(settings).partBufferSize, 4000) << outside;
    }
    settings.SetInt("Settings", "PARTBUFFERSIZE", 25000);
    EXPECT_EQ(OType_Options::Read(settings).partBufferSize, 25000);
}

TEST(Options, TheCopyWritesEveryValueBackWhenItEnds) {
    OSettings_Memory settings;
    {
        OType_Options options(settings);
        EXPECT_TRUE(settings.Dump().empty()) << "reading stores nothing";
        options.displayReceivedPart = 0;
        options.showUnselectedTools = 1;
        options.partBufferSize = 25000;
    }
    EXPECT_EQ(settings.iGetInt("Settings", "DISPLAYRECEIVEDPART", -1), 0);
    EXPECT_EQ(settings.iGetInt("Settings", "SHOW_UNSELECTED_TOOLS", -1), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "PARTBUFFERSIZE", -1), 25000);
    EXPECT_EQ(settings.Dump().size(), 14u) << "thirteen integers and the viewer path";
}

TEST(Options, TheDialogsFirstWriteLeavesTheDisplaySettingAsStored) {
    OSettings_Memory settings;
    settings.SetInt("Settings", "DISPLAYRECEIVEDPART", 1);
    OOptionValues values;
    values.displayReceivedPart = 0;
    values.msgBeep = 0;
    OType_Options::Write(settings, values, false);
    EXPECT_EQ(settings.iGetInt("Settings", "DISPLAYRECEIVEDPART", -1), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "MSG_BEEP", -1), 0);
}

TEST(TargetSystemSettings, BothSetsOfDefaultsAndARoundTrip) {
    OSettings_Memory settings;
    EXPECT_EQ(TargetSystemSettings::ReadTarget(settings, TargetSystem::kNewProjectDefaults),
              (OTargetSystem{1, 778, 0, 6, 1, 8}));
    EXPECT_EQ(TargetSystemSettings::ReadTarget(settings, TargetSystem::kDocumentStartDefaults),
              (OTargetSystem{7, 818, 0, 256, 16, 8}));
    const OTargetSystem stored{512, 828, 1, 12, 4, 2};
    TargetSystemSettings::WriteTarget(settings, stored);
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_PARTSINSET", -1), 4);
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_SW_ADDIN", -1), 1);
    EXPECT_EQ(TargetSystemSettings::ReadTarget(settings, TargetSystem::kNewProjectDefaults),
              stored);
}

TEST(TargetSystemSettings, ToolLimitsOfTheHardwaresKeyGroup) {
    OSettings_Memory settings;
    const auto compact = TargetSystemSettings::ReadToolLimits(settings, 4);
    EXPECT_EQ(compact.total, 8);
    EXPECT_EQ(compact.measure, 0);
    settings.SetInt("DefaultOSSettings", "ZRC_32_NUMBER_CFTOOL_MEASURE", 3);
    settings.SetInt("DefaultOSSettings", "ZRX_MW_32_NUMBER_CFTOOLS", 11);
    EXPECT_EQ(TargetSystemSettings::ReadToolLimits(settings, 3).measure, 3);
    EXPECT_EQ(TargetSystemSettings::ReadToolLimits(settings, 2).total, 11);
    EXPECT_EQ(TargetSystemSettings::ReadToolLimits(settings, 1).total, 20)
        << "hardware 1 reads the VETA group, not MW";

    TargetSystem::OToolLimits limits;
    limits.total = 30;
    limits.combination = 5;
    TargetSystemSettings::WriteToolLimits(settings, 6, limits);
    EXPECT_EQ(settings.iGetInt("DefaultOSSettings", "ZRC_MAXI_32_NUMBER_CFTOOLS", -1), 30);
    EXPECT_EQ(settings.iGetInt("DefaultOSSettings", "ZRC_MAXI_32_NUMBER_CFTOOL_COMBINATION", -1),
              5);
    const size_t before = settings.Dump().size();
    TargetSystemSettings::WriteToolLimits(settings, 9, limits);
    EXPECT_EQ(settings.Dump().size(), before) << "camera editions have no key group";
}

struct SessionFixture : ::testing::Test {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
};

TEST_F(SessionFixture, ToolCapacityUsesTheConfiguredLimitsOfClassicEditions) {
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOLS", 33);
    OQuillon session(settings, ui, nullptr);
    session.SetTargetValues({1, 818, 0, 6, 1, 8});
    EXPECT_EQ(session.iGetToolCapacity(), 33);
    EXPECT_EQ(session.iGetFixedFeatures(), 12);
    session.SetTargetValues({3, 788, 0, 6, 1, 8});
    EXPECT_EQ(session.iGetToolCapacity(), 8) << "compact default without a stored value";
    session.SetTargetValues({9, 798, 0, 6, 1, 8});
    EXPECT_EQ(session.iGetToolCapacity(), 64);
    EXPECT_EQ(session.iGetFixedFeatures(), 0);
    EXPECT_EQ(session.iGetFamily(), 2);
}

TEST_F(SessionFixture, NewProjectBuildsDeviceInfoAndPartSets) {
    OQuillon session(settings, ui, nullptr);
    ONewProjectFlags flags;
    flags.useQuality = 0;
    flags.useManualTypes = 1;
    ASSERT_TRUE(session.bSetUpNewProject({1, 818, 0, 6, 3, 8}, flags, 2));
    EXPECT_EQ(session.PartSets().iGetNum(), 2);
    EXPECT_EQ(session.DeviceInfo().u16(ZRINFO::kHardwareCode), 1);
    EXPECT_EQ(session.DeviceInfo().u16(ZRINFO::kOsVersion), 818);
    EXPECT_EQ(session.ProjectProperties().useQuality, 0);
    EXPECT_EQ(session.ProjectProperties().useManualTypes, 1);
    OType_ZRPartSet* set = session.opGetPartSet(1);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->iGetNum_SubTypes(), 3) << "part types per check program";
    EXPECT_EQ(set->iGetFixedFeatures(), 12);
    EXPECT_EQ(set->GetCompatibleFirmwareMin(), "3.5.1.182");
    EXPECT_EQ(set->GetCompatibleFirmwareMax(), "0.0.0.0");
    EXPECT_EQ(set->opGetDeviceInfo(), &session.DeviceInfo());
    EXPECT_EQ(set->opGetCoordTransformer(), &session.CoordTransformer());
    ASSERT_FALSE(set->FeatureNames().empty());
    for (const OFeatureName& name : set->FeatureNames())
        EXPECT_EQ(name.name.find('|'), std::string::npos) << "one language only: " << name.name;
}

TEST_F(SessionFixture, CompatibleFirmwareFollowsTheEdition) {
    OQuillon session(settings, ui, nullptr);
    ASSERT_TRUE(session.bSetUpNewProject({16, 828, 0, 6, 1, 8}, {}));
    EXPECT_EQ(session.opGetActualPartSet()->GetCompatibleFirmwareMin(), "3.6.0.0");
    EXPECT_EQ(session.opGetActualPartSet()->iGetFixedFeatures(), 0);
    ASSERT_TRUE(session.bSetUpNewProject({1024, 818, 0, 6, 1, 8}, {}));
    EXPECT_EQ(session.opGetActualPartSet()->GetCompatibleFirmwareMin(), "0.0.0.0");
}

TEST_F(SessionFixture, AnUnusableTargetIsRefusedAndChangesNothing) {
    OQuillon session(settings, ui, nullptr);
    ASSERT_TRUE(session.bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    ui.ExpectMessage(MsgResult::Ok, ResStr(4200));
    EXPECT_FALSE(session.bSetUpNewProject({1, 779, 0, 6, 1, 8}, {}));
    ui.ExpectMessage(MsgResult::Ok);
    EXPECT_FALSE(session.bSetUpNewProject({1, 778, 0, 6, 1, 9}, {}));
    EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
    EXPECT_EQ(session.GetTargetSystem().software, 778);
    EXPECT_EQ(session.PartSets().iGetNum(), 1);
}

TEST_F(SessionFixture, NamedPartSetsTakeOnlyNamesTheCodePageHolds) {
    OQuillon session(settings, ui, nullptr);
    ASSERT_TRUE(session.bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}, 0));
    EXPECT_EQ(session.AddPartSet(std::string("Schrauben M4 \xC3\xA4"))->GetName(),
              "Schrauben M4 \xC3\xA4");
    EXPECT_EQ(session.AddPartSet(std::string("\xE6\x97\xA5"))->GetName(), "");
    EXPECT_EQ(session.PartSets().iGetNum(), 2);
}

TEST_F(SessionFixture, ResetStoresTheTargetAndEmptiesTheProject) {
    OQuillon session(settings, ui, nullptr);
    ASSERT_TRUE(session.bSetUpNewProject({512, 818, 0, 20, 4, 6}, {}));
    session.ProjectProperties().useTypes = 0;
    session.ProjectData().Set(ProjectField::ProjectName, "Housing");
    session.SetUnknownBlocks({1, 2, 3});
    session.SetProjectPath("/tmp/x.kvp");
    session.ByteBuffer().assign(10, 7);
    session.ResetSession();
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_HW", -1), 512);
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_ORI", -1), 6);
    EXPECT_EQ(session.PartSets().iGetNum(), 0);
    EXPECT_EQ(session.ProjectProperties(), OType_ProjectProperties());
    EXPECT_TRUE(session.ProjectData().bIsEmpty());
    EXPECT_TRUE(session.UnknownBlocks().empty());
    EXPECT_TRUE(session.GetProjectPath().empty());
    EXPECT_TRUE(session.ByteBuffer().empty());
}

TEST_F(SessionFixture, TheSessionWritesLogAndOptionSettingsWhenItEnds) {
    {
        OQuillon session(settings, ui, nullptr);
        session.LogSettings().partsPerFile = 7;
        session.Options().msgBeep = 0;
    }
    EXPECT_EQ(settings.iGetInt("Settings", "LOGGING_TOFILE_PARTSPERFILE", -1), 7);
    EXPECT_EQ(settings.iGetInt("Settings", "MSG_BEEP", -1), 0);
    EXPECT_TRUE(settings.bHasValue("Settings", "TARGET_SYSTEM_SW"));
}

}  // namespace
