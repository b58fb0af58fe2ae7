// The "$" transfers, the legacy blocks, program lists, coordinate transformation and the
// device information, against the simulator.
#include "LinkTestSupport.h"
#include "link/OType_CheckProgramObjects.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "platform/OProgressCtrl.h"
#include "platform/OProgressDisplay_Recording.h"

using namespace LinkProtocol;
using LinkTest::iConnect;
using LinkTest::MakeLink;

namespace {

OType_ComPackage DataPackage(const char* download, const char* upload, uint32_t number) {
    OType_ComPackage p(0, 1, 1, 0);
    p.SetNames(download, upload);
    p.SetNumber(number);
    return p;
}

int iSendAction(OQuillonComInterface& link, const char* name, uint32_t number) {
    OType_ComPackage p(1, 1, 1, 2);
    p.SetNames(name, name);
    p.SetNumber(number);
    p.iSetData(std::vector<uint8_t>{0, 1});
    return p.iSendActionPackage(link);
}

}  // namespace

TEST(LinkTransfer, DeviceInformationDescribesTheEdition) {
    DevsimProcess sim({"--hardware", "10", "--serial-number", "KV-4711", "--web-name", "line-3"});
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    ASSERT_EQ(link->uploadZRINFO(), 1);
    const ZRINFO& z = *link->opGetZRInfo_ComBuffer();
    EXPECT_EQ(z.u16(ZRINFO::kHardwareCode), 10);
    EXPECT_EQ(z.u16(ZRINFO::kOsVersion), 818);
    EXPECT_EQ(z.GetDeviceTypeText(), "Kesta KV-2B");
    EXPECT_EQ(z.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength), "KV-4711");
    EXPECT_EQ(z.Text(ZRINFO::kWebName, ZRINFO::kWebNameLength), "line-3");
    EXPECT_EQ(z.iGetImageWidth(), 1280);
    EXPECT_EQ(z.iGetImageHeight(), 1024);
    EXPECT_EQ(z.iGetPixelFormat(), 24);  // the b edition of a pair is the colour one
    EXPECT_EQ(z.u16(ZRINFO::kPartDataProtocol), 1);
    EXPECT_TRUE(z.bSupportsCoordTrans());
}

TEST(LinkTransfer, ALargeNamedProgramGoesToTheDeviceAndComesBack) {
    DevsimProcess sim;
    OProgressDisplay_Recording display;
    OProgressCtrl progress(&display);
    auto link = std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, &progress, nullptr, 0);
    link->SetAddress("127.0.0.1");
    link->SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    ASSERT_EQ(iConnect(*link), 1);
    const auto program = LinkTest::ProgramOfSize(3670016, "Big program");  // 3.5 MiB
    const auto payload = LinkTest::NamedProgramPayload("Big program", 1700000123, program);
    ASSERT_GE(payload.size(), 3670016u);
    link->SetTimeOut_SEC(static_cast<int>(payload.size() / 1048576) * 10 + 10);
    EXPECT_EQ(link->iGetTimeOut_SEC(), 40);
    auto down = DataPackage("$DCPRG_F", "$UCPRG_F", 4);
    ASSERT_EQ(down.iSetData(payload), 1);
    ASSERT_EQ(down.iSendDataPackage(*link), 1);
    EXPECT_FALSE(display.Percents().empty());
    EXPECT_FALSE(progress.bIsRunning());

    OByteStream_Memory name;
    name.bWriteString("Big program");
    OType_ComPackage up(0, 1, 1, static_cast<int>(name.Bytes().size()));
    up.SetUploadName("$UCPRG_F");
    ASSERT_EQ(up.iSetData(name.Bytes()), 1);
    ASSERT_EQ(up.iReceiveDynamicPackage2(*link), 1);
    EXPECT_EQ(up.Data(), payload);

    OType_CheckProgramList list;
    ASSERT_EQ(list.iReceive(*link), 1);
    ASSERT_EQ(list.iGetNum(), 1);
    EXPECT_EQ(list.opGetAt(0)->name, "Big program");
    EXPECT_EQ(list.opGetAt(0)->size, program.size());
    EXPECT_EQ(list.opGetAt(0)->timeStamp, 1700000123);
    EXPECT_EQ(list.opGetAt(0)->number, 4);
    OType_CheckProgramInfo info;
    ASSERT_EQ(info.iReceive(*link, "Big program"), 1);
    EXPECT_EQ(info.Info(), *list.opGetAt(0));
    EXPECT_EQ(info.iReceive(*link, "Other"), Result::kNoSuchItem);

    EXPECT_EQ(OType_CheckProgramAssign("Big program", 3).iSend(*link), 1);
    EXPECT_EQ(OType_CheckProgramAssign("Missing", 3).iSend(*link), Result::kNoSuchItem);
    EXPECT_EQ(OType_CheckProgramAssign("Big program", 16).iSend(*link), Result::kNoSuchItem);
    OType_CheckProgramNrList numbers;
    ASSERT_EQ(numbers.iReceive(*link), 1);
    EXPECT_EQ(numbers.iGetNum(), 16);
    EXPECT_EQ(numbers.GetNameOf(3), "Big program");
    EXPECT_EQ(numbers.GetNameOf(2), "");
    EXPECT_EQ(OType_CheckProgramAssign("", 3).iSend(*link), 1);
    ASSERT_EQ(numbers.iReceive(*link), 1);
    EXPECT_EQ(numbers.GetNameOf(3), "");

    EXPECT_EQ(OType_CheckProgramDelete("Big program").iSend(*link), 1);
    EXPECT_EQ(OType_CheckProgramDelete("Big program").iSend(*link), Result::kNoSuchItem);
    EXPECT_EQ(up.iReceiveDynamicPackage2(*link), Result::kNoSuchItem);
}

TEST(LinkTransfer, ProgramSlotsStoreClearAndRefuse) {
    DevsimProcess sim({"--program-slots", "4", "--memory", "200000"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    const auto program = LinkTest::ProgramOfSize(10000, "Slot program");
    auto down = DataPackage("$DCPRGDT", "$UCPRGDT", 2);
    down.iSetData(program);
    ASSERT_EQ(down.iSendDataPackage(*link), 1);
    auto up = DataPackage("$DCPRGDT", "$UCPRGDT", 2);
    ASSERT_EQ(up.iReceiveDataPackage(*link), 1);
    EXPECT_EQ(up.Data(), program);
    OType_ComPackage decodedBack(0, 1, 1, 0);
    OType_ZRPartSet set;
    ASSERT_EQ(set.iDecode(up.Data()), 1);
    EXPECT_EQ(set.GetName(), "Slot program");

    OType_CheckProgramNrList numbers;
    ASSERT_EQ(numbers.iReceive(*link), 1);
    EXPECT_EQ(numbers.GetNameOf(2), "Slot program");

    auto beyond = DataPackage("$DCPRGDT", "$UCPRGDT", 4);
    beyond.iSetData(program);
    EXPECT_EQ(beyond.iSendDataPackage(*link), Result::kNoSuchItem);
    auto junk = DataPackage("$DCPRGDT", "$UCPRGDT", 1);
    junk.iSetData(std::vector<uint8_t>(100, 0x55));
    EXPECT_EQ(junk.iSendDataPackage(*link), Result::kTransferRejected);
    auto tooLarge = DataPackage("$DCPRGDT", "$UCPRGDT", 1);
    tooLarge.iSetData(LinkTest::ProgramOfSize(300000, "Too large"));
    EXPECT_EQ(tooLarge.iSendDataPackage(*link), Result::kNoRoom);

    EXPECT_EQ(iSendAction(*link, "$CCPRGDT", 2), 1);
    EXPECT_EQ(up.iReceiveDataPackage(*link), Result::kNoSuchItem);
    ASSERT_EQ(down.iSendDataPackage(*link), 1);
    EXPECT_EQ(iSendAction(*link, "$CCPRGDT", 65535), 1);
    EXPECT_EQ(up.iReceiveDataPackage(*link), Result::kNoSuchItem);
    // A clear with another payload than 0, 1 is not a clear.
    OType_ComPackage odd(1, 1, 1, 0);
    odd.SetNames("$CCPRGDT", "$CCPRGDT");
    odd.iSetData(std::vector<uint8_t>{1, 1});
    EXPECT_EQ(odd.iSendActionPackage(*link), Result::kTransferRejected);
    // Program changes reach the program as one notification until it is handled.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!queue.bHasPending(LinkNotification::kProgramsChanged) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kProgramsChanged));
}

TEST(LinkTransfer, PartDataTravelsInPiecesUnderThePackageProtocol) {
    DevsimProcess sim;
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    std::vector<uint8_t> data(2500000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i % 251);
    size_t offset = 0;
    int packages = 0;
    OType_ComPackage piece(0, 1, 1, 0);
    piece.SetNames("$DPARTDT", "$UPARTDT");
    while (offset < data.size()) {
        offset += piece.iInitPackageFromSend(data, offset);
        piece.SetNumber(5);
        ASSERT_EQ(piece.iSendDataPackage(*link), 1);
        ++packages;
    }
    EXPECT_EQ(packages, 3);
    auto up = DataPackage("$DPARTDT", "$UPARTDT", 5);
    ASSERT_EQ(up.iReceiveDataPackage(*link), 1);
    EXPECT_EQ(up.Data(), data);
    // A piece out of order is rejected.
    piece.iInitPackageFromSend(data, OType_ComPackage::kMaxPiece);
    EXPECT_EQ(piece.iSendDataPackage(*link), Result::kTransferRejected);
    EXPECT_EQ(iSendAction(*link, "$CPARTDT", 5), 1);
    EXPECT_EQ(up.iReceiveDataPackage(*link), Result::kNoSuchItem);
    EXPECT_EQ(iSendAction(*link, "$CPARTDT", 257), Result::kNoSuchItem);
    // The legacy blocks belong to the other protocol.
    EXPECT_EQ(link->uploadPARAME(), Result::kNotSupported);
}

TEST(LinkTransfer, LegacyBlocksRoundTripUnderTheBlockProtocol) {
    DevsimProcess sim({"--hardware", "1"});
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    OLegacyTransferBuffer& buffer = link->opGetTransferBuffer();
    for (size_t i = 0; i < OLegacyTransferBuffer::kParameterBytes; ++i)
        buffer.parameters[i] = static_cast<uint8_t>(i * 3);
    for (size_t i = 0; i < OLegacyTransferBuffer::kConditionBytes; ++i)
        buffer.conditions[i] = static_cast<uint8_t>(200 - i);
    const auto parameters = buffer.parameters;
    const auto conditions = buffer.conditions;
    buffer.SetNumber(4);
    ASSERT_EQ(link->downloadPARAME(), 1);
    buffer.PutNumberIntoBytes(4);
    ASSERT_EQ(link->downloadCONDAT(), 1);
    buffer.Clear();
    buffer.SetNumber(4);
    ASSERT_EQ(link->uploadPARAME(), 1);
    buffer.PutNumberIntoBytes(4);
    ASSERT_EQ(link->uploadCONDAT(), 1);
    EXPECT_TRUE(
        std::equal(parameters.begin(), parameters.begin() + 2042, buffer.parameters.begin()));
    EXPECT_EQ(buffer.conditions, conditions);
    // An untouched type memory reads back as zeros; number 7 is beyond the six types.
    buffer.SetNumber(2);
    ASSERT_EQ(link->uploadPARAME(), 1);
    EXPECT_TRUE(std::all_of(buffer.parameters.begin(), buffer.parameters.begin() + 2042,
                            [](uint8_t b) { return b == 0; }));
    buffer.SetNumber(7);
    EXPECT_EQ(link->uploadPARAME(), Result::kNoSuchItem);
    auto packages = DataPackage("$DPARTDT", "$UPARTDT", 1);
    packages.iSetData(std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(packages.iSendDataPackage(*link), Result::kNotSupported);
}

TEST(LinkTransfer, AnotherPartDataProtocolTakesNoPartData) {
    DevsimProcess sim({"--part-data-protocol", "2"});
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    auto up = DataPackage("$DPARTDT", "$UPARTDT", 1);
    EXPECT_EQ(up.iReceiveDataPackage(*link), Result::kNotSupported);
    EXPECT_EQ(link->uploadPARAME(), Result::kNotSupported);
}

TEST(LinkTransfer, CoordinateTransformationIsCalibratedSentAndReceived) {
    DevsimProcess sim;
    auto link = MakeLink(sim, nullptr);
    ASSERT_EQ(iConnect(*link), 1);
    OCoordTrans_Tsai_Transformer received;
    EXPECT_EQ(link->iReceiveCoordTransformerParameters(received), Result::kNoSuchItem);
    OCoordTrans_Tsai_Transformer transformer;
    OType_ZRPartSet set;
    set.SetCoordTransformer(&transformer);
    ASSERT_EQ(link->iActionCalibrateCoordTrans(&set, 1, 1), 1);
    ASSERT_TRUE(transformer.bIsSetUp());
    ASSERT_EQ(link->iReceiveCoordTransformerParameters(received), 1);
    EXPECT_TRUE(received.bIsSameTransformation(transformer));
    // A transformation sent by the program replaces the device's.
    auto calibration = transformer.GetCalibrationParameters();
    calibration.Tz += 25;
    ASSERT_EQ(transformer.iSetCalibrationParameters(calibration), 1);
    ASSERT_EQ(link->iSendCoordTransformerParameters(transformer), 1);
    ASSERT_EQ(link->iReceiveCoordTransformerParameters(received), 1);
    EXPECT_TRUE(received.bIsSameTransformation(transformer));
    EXPECT_EQ(link->iActionCalibrateCoordTrans(nullptr, 1, 0), Result::kBadArgument);

    DevsimProcess without({"--coord-trans", "0"});
    auto other = MakeLink(without, nullptr);
    ASSERT_EQ(iConnect(*other), 1);
    EXPECT_EQ(other->iReceiveCoordTransformerParameters(received), Result::kNotSupported);
}
