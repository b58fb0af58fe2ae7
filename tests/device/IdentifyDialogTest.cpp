// The identification dialog's model without a device: what its combos offer, the fields
// the target fixes, and OK with the record made without a device.
#include <gtest/gtest.h>

#include "device/DeviceInfoBuilder.h"
#include "device/ODlg_IdentifyZRType.h"
#include "device/OQuillon.h"
#include "link/OType_Compatibility.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

struct IdentifyDialog : ::testing::Test {
    IdentifyDialog() : session(settings, ui, nullptr) {
        session.SetTargetValues({1, 778, 0, 6, 1, 8});
    }
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OQuillon session;
};

TEST_F(IdentifyDialog, StartsFromTheSessionsTargetAndOffersNoClassicDeviceTypes) {
    ODlg_IdentifyZRType d(session);
    EXPECT_EQ(d.statusText, ResStr(4007));
    EXPECT_EQ(d.target, session.GetTargetSystem());
    EXPECT_EQ(d.tools, 7);
    EXPECT_EQ(ODlg_IdentifyZRType::DeviceTypeChoices(),
              (std::vector<std::string>{"Tamrin", "Oskel"}));
    for (int code : ODlg_IdentifyZRType::DeviceTypeCodes())
        EXPECT_FALSE(TargetSystem::bIsClassic(code));
}

TEST_F(IdentifyDialog, FirmwareChoicesFitTheDeviceType) {
    std::vector<std::string> names;
    for (int sw : ODlg_IdentifyZRType::FirmwareChoices(1))
        names.push_back(TargetSystem::SoftwareName(sw));
    EXPECT_EQ(names, (std::vector<std::string>{"Config V3.2", "Config V3.1", "Config V3.0",
                                               "Config V2.2", "Config V2.1", "Config V2.0",
                                               "Config V1.2", "Standard V7.2", "Standard V7.1",
                                               "Standard V7.0", "Standard V6.2"}));
    EXPECT_EQ(ODlg_IdentifyZRType::FirmwareChoices(16), (std::vector<int>{828, 818}));
    EXPECT_EQ(ODlg_IdentifyZRType::FirmwareChoices(9), (std::vector<int>{828, 818, 808, 798, 788}))
        << "Kesta 2a has tools from Config V3.2 on";
    EXPECT_EQ(ODlg_IdentifyZRType::FirmwareChoices(512), (std::vector<int>{828, 818}))
        << "no tools on 788 to 808";
    EXPECT_EQ(ODlg_IdentifyZRType::FirmwareChoices(3).size(), 13u) << "every Config line";
}

TEST_F(IdentifyDialog, AddInsOnCameraEditionsWithNewFirmware) {
    ODlg_IdentifyZRType d(session);
    d.target = {9, 818, 1, 6, 1, 8};
    EXPECT_TRUE(d.bIsAddInEnabled());
    EXPECT_EQ(d.AddInChoices(), (std::vector<std::string>{ResStr(4242), ResStr(4243)}));
    d.ApplyTargetRules();
    EXPECT_EQ(d.target.addIn, 1);
    for (const OTargetSystem& t :
         {OTargetSystem{10, 818, 1, 6, 1, 8}, OTargetSystem{9, 788, 1, 6, 1, 8},
          OTargetSystem{16, 828, 1, 6, 1, 8}}) {
        d.target = t;
        EXPECT_FALSE(d.bIsAddInEnabled()) << t.hardware << "/" << t.software;
        EXPECT_EQ(d.AddInChoices().size(), 1u);
        d.ApplyTargetRules();
        EXPECT_EQ(d.target.addIn, 0);
    }
}

TEST_F(IdentifyDialog, TheOrientationsAreFixedForMostEditions) {
    ODlg_IdentifyZRType d(session);
    d.target = {2, 818, 0, 6, 1, 4};
    EXPECT_TRUE(d.bIsOrientationEditable()) << "Marrow always";
    d.target = {1, 778, 0, 6, 1, 4};
    EXPECT_TRUE(d.bIsOrientationEditable());
    d.target = {1, 788, 0, 6, 1, 4};
    EXPECT_FALSE(d.bIsOrientationEditable()) << "firmware 788-828";
    d.ApplyTargetRules();
    EXPECT_EQ(d.target.orientations, 8);
    for (int hw : {3, 12, 16, 515, 769, 1024}) {
        d.target = {hw, 778, 0, 6, 1, 2};
        EXPECT_FALSE(d.bIsOrientationEditable()) << hw;
    }
}

TEST_F(IdentifyDialog, OkMakesTheRecordOfAChangedTarget) {
    ODlg_IdentifyZRType d(session);
    d.OnOk();
    EXPECT_FALSE(d.bHasNewDeviceInfo()) << "unchanged";
    d.target = {16, 828, 0, 20, 0, 8};
    d.tools = 256;
    d.fixedFeatures = 0;
    d.compatibleWithVersion1 = true;
    std::string message;
    ASSERT_TRUE(d.bValidate(message));
    d.OnOk();
    EXPECT_EQ(d.target.partsInSet, 1) << "at least one part type per program";
    EXPECT_FALSE(d.compatibleWithVersion1) << "firmware 778-828";
    ASSERT_TRUE(d.bHasNewDeviceInfo());
    const ZRINFO& info = d.NewDeviceInfo();
    EXPECT_EQ(info.GetDeviceTypeText(), "Config V3.6");
    EXPECT_EQ(info.u16(ZRINFO::kToolCapacity), 256);
    EXPECT_EQ(info.u16(ZRINFO::kFeatureCapacity), 256);
    EXPECT_EQ(info.s16(ZRINFO::kFirmwareBuild), 320);
    EXPECT_EQ(OType_Compatibility::DeviceFirmwareVersion(info), "3.6.0.0");
}

TEST_F(IdentifyDialog, ANegativeCodeKeepsTheDialogOpenWith4200) {
    ODlg_IdentifyZRType d(session);
    d.target.software = -1;
    ui.ConfirmDialog("ODlg_IdentifyZRType");
    ui.ExpectMessage(MsgResult::Ok, ResStr(4200));
    EXPECT_FALSE(ui.bRunDialog(d)) << "still open after OK; the user then cancels";
    EXPECT_TRUE(ui.bAllScriptUsed());
    EXPECT_FALSE(d.bHasNewDeviceInfo());
}

}  // namespace
