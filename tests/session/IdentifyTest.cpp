// Identifying the connected device from the project-properties dialog ("Ethernet
// interface"): the switch to TCP, the values taken over, the device's own tool limits,
// its coordinate transformation, an unknown model and an unreadable device.
#include "SessionTestSupport.h"
#include "device/ODlg_IdentifyZRType.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;

namespace {

OSessionSetup Sim(std::vector<std::string> options) {
    OSessionSetup s;
    s.simOptions = std::move(options);
    return s;
}

TEST(SessionIdentify, EthernetSwitchesToTcpAndTakesOverTheDevice) {
    OSessionFixture f(Sim({"--hardware", "9", "--part-types", "40", "--parts-in-set", "12"}));
    OQuillon& session = f.Session();
    session.SetConnectionKind(0);
    session.CreateConnection(0);
    ODlg_IdentifyZRType d(session);
    ASSERT_TRUE(d.bIdentifyOverEthernet()) << Shown(f.ui);
    EXPECT_EQ(session.opGetConnection()->iGetInterfaceType(), 3);
    EXPECT_EQ(session.iGetConnectionKind(), 3);
    EXPECT_EQ(d.target, (OTargetSystem{9, 818, 0, 40, 12, 8}));
    EXPECT_EQ(d.tools, 256);
    EXPECT_EQ(d.fixedFeatures, 0);
    EXPECT_EQ(d.statusText, ResStr(4010));
    EXPECT_FALSE(d.bTakeCoordTrans()) << "the device holds no coordinate transformation yet";
    EXPECT_EQ(d.Identification().target.hardware, 9);
    d.OnOk();
    ASSERT_TRUE(d.bHasNewDeviceInfo());
    EXPECT_EQ(d.NewDeviceInfo().u16(ZRINFO::kPartTypes), 40);

    // Once calibrated, the device's transformation comes along, for the dialog only.
    ASSERT_EQ(session.CalibrateCoordinateTransformation(), 1);
    session.CoordTransformer().Reset();
    ODlg_IdentifyZRType again(session);
    ASSERT_TRUE(again.bIdentifyOverEthernet());
    EXPECT_TRUE(again.bTakeCoordTrans());
    EXPECT_TRUE(again.ReceivedCoordTrans().bIsSetUp());
    EXPECT_FALSE(session.CoordTransformer().bIsSetUp()) << "not taken over by identifying";
}

TEST(SessionIdentify, AClassicDeviceOnFirmware788StatesItsOwnToolLimits) {
    OSessionFixture f(Sim({"--hardware", "3", "--tool-limits", "12,6,5,4,2,3"}));
    ODlg_IdentifyZRType d(f.Session());
    ASSERT_TRUE(d.bIdentifyOverEthernet()) << Shown(f.ui);
    EXPECT_EQ(d.target.hardware, 3);
    EXPECT_EQ(d.target.software, 788);
    EXPECT_EQ(d.tools, 12) << "the device's own capacity";
    const char* s = "DefaultOSSettings";
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOLS", -1), 12);
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOL_ROI", -1), 6);
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOL_VSTRIP", -1), 5);
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOL_CTOOL", -1), 4);
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOL_MEASURE", -1), 2);
    EXPECT_EQ(f.settings.iGetInt(s, "ZRC_32_NUMBER_CFTOOL_COMBINATION", -1), 3);
}

TEST(SessionIdentify, AnUnknownModelFallsBackWithItsMessage) {
    OSessionFixture f(Sim({"--hardware", "1", "--device-type", "Mystery box"}));
    ODlg_IdentifyZRType d(f.Session());
    ASSERT_TRUE(d.bIdentifyOverEthernet());
    EXPECT_EQ(d.target.hardware, 1);
    ASSERT_FALSE(d.Identification().messages.empty());
    EXPECT_EQ(d.Identification().messages[0],
              ResStrFormat(4202, std::string("Mystery box"), std::string("Talon")));
}

TEST(SessionIdentify, AnUnreadableDeviceLeavesTheValuesAndShows4009) {
    OSessionSetup setup = Sim({"--busy-after", "1", "--busy-for", "30"});
    setup.linkTimeOutSec = 1;
    OSessionFixture f(setup);
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    ASSERT_EQ(f.Link().commandSYNCRO(), 1);
    ODlg_IdentifyZRType d(f.Session());
    const OTargetSystem before = d.target;
    EXPECT_FALSE(d.bIdentifyOverEthernet());
    EXPECT_EQ(d.statusText, ResStr(4009));
    EXPECT_EQ(d.target, before);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(4201)});
}

}  // namespace
