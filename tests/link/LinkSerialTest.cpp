// The serial kind over a pseudo-terminal pair: the simulator serves the master side and
// the link opens the terminal like a serial port.
#include <fcntl.h>
#include <unistd.h>

#include "LinkTestSupport.h"
#include "link/OQuillonComInterface_Serial.h"

using namespace LinkProtocol;

namespace {

std::unique_ptr<OQuillonComInterface_Serial> MakeSerial(const DevsimProcess& sim,
                                                        OCommandQueue_Manual* queue) {
    auto link =
        std::make_unique<OQuillonComInterface_Serial>(nullptr, nullptr, nullptr, nullptr, 1);
    link->SetDevice(sim.SerialPath(), 115200);
    link->SetServices({queue, nullptr, nullptr});
    link->SetTimeOut_SEC(5);
    return link;
}

}  // namespace

TEST(LinkSerial, LoginTransfersAndPartsOverOneLine) {
    DevsimProcess sim({"--serial", "pty", "--rate", "100", "--hardware", "7"});
    ASSERT_TRUE(sim.bIsReady()) << sim.ReadyLine();
    OCommandQueue_Manual queue;
    auto link = MakeSerial(sim, &queue);
    EXPECT_EQ(link->iGetInterfaceType(), 1);
    ASSERT_EQ(LinkTest::iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    ASSERT_EQ(link->uploadZRINFO(), 1);
    EXPECT_EQ(link->opGetZRInfo_ComBuffer()->u16(ZRINFO::kHardwareCode), 7);

    const auto program = LinkTest::ProgramOfSize(300000, "Over the line");
    OType_ComPackage down(0, 1, 1, 0);
    down.SetNames("$DCPRGDT", "$UCPRGDT");
    down.SetNumber(1);
    down.iSetData(program);
    ASSERT_EQ(down.iSendDataPackage(*link), 1);
    OType_ComPackage up(0, 1, 1, 0);
    up.SetNames("$DCPRGDT", "$UCPRGDT");
    up.SetNumber(1);
    ASSERT_EQ(up.iReceiveDataPackage(*link), 1);
    EXPECT_EQ(up.Data(), program);

    // Images first: parts streamed between entering diagnostic mode and switching images on
    // would carry contours only.
    ASSERT_EQ(link->commandPARTIMAGES_ON(), 1);
    ASSERT_EQ(link->commandEWDIAG(), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 3, std::chrono::seconds(5)));
    auto part = link->opTakeReceivedPart();
    ASSERT_TRUE(part);
    EXPECT_EQ(part->iGetNumImages(), 1);
    EXPECT_GT(part->iGetConturDataSize(), 2);
    EXPECT_EQ(link->iDisConnect(0, 0), 1);

    // The line stays usable for the next login.
    ASSERT_EQ(LinkTest::iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->iGetDiagMode(), 0);  // the logout returned the device to operating mode
}

TEST(LinkSerial, AutomaticSpeedFindsTheLineAndAMissingDeviceFails) {
    DevsimProcess sim({"--serial", "pty"});
    ASSERT_TRUE(sim.bIsReady());
    auto link = MakeSerial(sim, nullptr);
    link->SetDevice(sim.SerialPath(), 9600);
    int level = 0, profile = 0;
    ASSERT_EQ(link->iUserLogIn(level, 0, "none", 0, profile, 1, ""), 1);  // no settings: defaults
    link->SetDevice(sim.SerialPath(), 9600);
    ASSERT_EQ(LinkTest::iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);

    link->SetDevice("/dev/kalvor-no-such-line", 115200);
    EXPECT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), Result::kConnectFailed);
}

TEST(LinkSerial, GarbageOnTheLineIsSkipped) {
    DevsimProcess sim({"--serial", "pty", "--malformed-every", "2", "--malformed-kind", "garbage"});
    ASSERT_TRUE(sim.bIsReady());
    auto link = MakeSerial(sim, nullptr);
    link->SetTimeOut_SEC(1);
    ASSERT_EQ(LinkTest::iConnect(*link), 1);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->commandSYNCRO(), Result::kTimeOut);
    EXPECT_EQ(link->commandSYNCRO(), 1);
    EXPECT_GE(link->iGetRefusedFrames(), 1u);
}
