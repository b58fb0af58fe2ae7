#include <gtest/gtest.h>

#include "link/LinkPayloads.h"
#include "link/OType_ComPackage.h"
#include "model/stream/OByteStream_Memory.h"

TEST(ComPackage, WireFormRoundTripsNamesNumberPieceAndData) {
    OType_ComPackage p(0, 1, 1, 0);
    p.SetNames("$DPARTDT", "$UPARTDT");
    p.SetNumber(7);
    std::vector<uint8_t> bytes(3000000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 31);
    EXPECT_EQ(p.iInitPackageFromSend(bytes, 0), OType_ComPackage::kMaxPiece);
    std::vector<uint8_t> wire;
    ASSERT_EQ(p.iGetSendPackage(wire), 1);
    OType_ComPackage q(0, 1, 1, 0);
    ASSERT_EQ(q.iSetPackageFromReceive(wire), 1);
    EXPECT_EQ(q.GetDownloadName(), "$DPARTDT");
    EXPECT_EQ(q.GetUploadName(), "$UPARTDT");
    EXPECT_EQ(q.iGetNumber(), 7u);
    EXPECT_EQ(q.iGetOffset(), 0u);
    EXPECT_EQ(q.iGetTotal(), bytes.size());
    EXPECT_EQ(q.Data(),
              std::vector<uint8_t>(bytes.begin(), bytes.begin() + OType_ComPackage::kMaxPiece));
    // The last piece takes what remains.
    EXPECT_EQ(p.iInitPackageFromSend(bytes, 2 * OType_ComPackage::kMaxPiece),
              bytes.size() - 2 * OType_ComPackage::kMaxPiece);
    EXPECT_EQ(p.iGetOffset(), 2 * OType_ComPackage::kMaxPiece);
    EXPECT_EQ(p.iInitPackageFromSend(bytes, bytes.size()), 0u);
}

TEST(ComPackage, SendSizeAndNamesAreEnforced) {
    OType_ComPackage clear(1, 1, 1, 2);
    EXPECT_EQ(clear.iSetData(std::vector<uint8_t>{0, 1, 2}), 0);
    EXPECT_EQ(clear.iSetData(std::vector<uint8_t>{0, 1}), 1);
    EXPECT_TRUE(OType_ComPackage::bIsValidName("$CCPRGDT"));
    EXPECT_FALSE(OType_ComPackage::bIsValidName("CCPRGDT$"));
    EXPECT_FALSE(OType_ComPackage::bIsValidName("$CCPRG"));
    EXPECT_FALSE(OType_ComPackage::bIsValidName("$CC PRGD"));
}

TEST(ComPackage, MalformedWireFormsAreRefusedAndChangeNothing) {
    OType_ComPackage p(0, 1, 1, 0);
    p.SetNames("$DCPRGDT", "$UCPRGDT");
    p.SetNumber(3);
    p.iSetData(std::vector<uint8_t>{1, 2, 3, 4});
    std::vector<uint8_t> wire;
    p.iGetSendPackage(wire);
    OType_ComPackage target(0, 1, 1, 0);
    target.SetNumber(99);
    for (size_t cut = 0; cut < wire.size(); ++cut) {
        EXPECT_EQ(target.iSetPackageFromReceive({wire.data(), cut}), 0) << cut;
    }
    auto longer = wire;
    longer.push_back(0);
    EXPECT_EQ(target.iSetPackageFromReceive(longer), 0);
    auto badName = wire;
    badName[0] = 'X';
    EXPECT_EQ(target.iSetPackageFromReceive(badName), 0);
    auto badVersion = wire;
    badVersion[16 + 4 + 2] = 2;
    EXPECT_EQ(target.iSetPackageFromReceive(badVersion), 0);
    // A piece claiming to lie beyond its total.
    auto beyond = wire;
    beyond[16 + 8] = 0xFF;
    EXPECT_EQ(target.iSetPackageFromReceive(beyond), 0);
    auto reserved = wire;
    reserved[16 + 4 + 3] = 1;
    EXPECT_EQ(target.iSetPackageFromReceive(reserved), 0);
    EXPECT_EQ(target.iGetNumber(), 99u);
    EXPECT_EQ(target.iSetPackageFromReceive(wire), 1);
    EXPECT_EQ(target.iGetNumber(), 3u);
    // Without an upload name the eight bytes must all be zero, so the form reads back
    // exactly as it was written.
    OType_ComPackage action(1, 1, 1, 0);
    action.SetDownloadName("$CTRIGGR");
    std::vector<uint8_t> actionWire;
    action.iGetSendPackage(actionWire);
    EXPECT_EQ(target.iSetPackageFromReceive(actionWire), 1);
    EXPECT_TRUE(target.GetUploadName().empty());
    actionWire[8 + 5] = 'x';
    EXPECT_EQ(target.iSetPackageFromReceive(actionWire), 0);
}

TEST(LinkPayloads, ListsRoundTripAndHostileCountsAreRefused) {
    std::vector<LinkPayload::OProgramEntry> entries = {{"P1", 100, 1700000000, 2},
                                                       {"Zwei", 5, -1, -1}};
    OByteStream_Memory s;
    LinkPayload::Encode(s, entries);
    auto bytes = s.TakeBytes();
    auto in = OByteStream_Memory::View(bytes);
    std::vector<LinkPayload::OProgramEntry> back;
    ASSERT_TRUE(LinkPayload::bDecode(in, back));
    EXPECT_EQ(back, entries);
    bytes[0] = 0xFF;
    bytes[1] = 0xFF;
    bytes[2] = 0xFF;  // 16 million entries announced in a few bytes
    auto hostile = OByteStream_Memory::View(bytes);
    std::vector<LinkPayload::OProgramEntry> none;
    EXPECT_FALSE(LinkPayload::bDecode(hostile, none));
    EXPECT_TRUE(none.empty());

    OByteStream_Memory longName;
    longName.bWriteString(std::string(300, 'a'));
    auto names = OByteStream_Memory::View(longName.Bytes());
    std::string name;
    EXPECT_FALSE(LinkPayload::bReadName(names, name));
}
