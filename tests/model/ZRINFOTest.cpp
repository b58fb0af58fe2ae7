#include <gtest/gtest.h>

#include <limits>

#include "ModelTestSupport.h"
#include "model/device/ZRINFO.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

constexpr size_t kFar = std::numeric_limits<size_t>::max();

ZRINFO SampleInfo() {
    ZRINFO info;
    info.SetU16(ZRINFO::kHardwareCode, 0x0402);
    info.SetU16(ZRINFO::kOsVersion, 0x300);
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "Quillon Q12");
    info.SetU16(ZRINFO::kFirmwareBuild, static_cast<uint16_t>(-12));
    info.SetBit(ZRINFO::kOptions, 0, true);
    info.SetU8(ZRINFO::kPixelFormat, 24);
    info.SetU8(ZRINFO::kSize - 1, 0xEE);
    return info;
}

TEST(ZRINFO, SixteenBitFieldsAreBigEndian) {
    ZRINFO info;
    info.SetU16(ZRINFO::kImageWidth, 0x1234);
    EXPECT_EQ(info.Bytes()[ZRINFO::kImageWidth], 0x12);
    EXPECT_EQ(info.Bytes()[ZRINFO::kImageWidth + 1], 0x34);
    EXPECT_EQ(info.iGetImageWidth(), 0x1234);

    info.Bytes()[ZRINFO::kToolCapacity] = 0x01;
    info.Bytes()[ZRINFO::kToolCapacity + 1] = 0x02;
    EXPECT_EQ(info.iGetToolCapacity(), 258);

    info.SetU16(ZRINFO::kFirmwareBuild, 0xFFFE);
    EXPECT_EQ(info.iGetFirmwareBuild(), -2);
    EXPECT_EQ(info.u16(ZRINFO::kFirmwareBuild), 0xFFFE);
    info.SetU16(ZRINFO::kFirmwareBuild, 0x7FFF);
    EXPECT_EQ(info.s16(ZRINFO::kFirmwareBuild), 32767);
    info.SetU16(ZRINFO::kFirmwareBuild, 0x8000);
    EXPECT_EQ(info.s16(ZRINFO::kFirmwareBuild), -32768);

    // The last whole field ends at the last byte.
    info.SetU16(ZRINFO::kSize - 2, 0xABCD);
    EXPECT_EQ(info.u16(ZRINFO::kSize - 2), 0xABCD);
    EXPECT_EQ(info.u8(ZRINFO::kSize - 1), 0xCD);
}

TEST(ZRINFO, OutOfRangeOffsetsAreSafe) {
    ZRINFO info = SampleInfo();
    const ZRINFO before = info;
    for (size_t offset : {ZRINFO::kSize - 1, ZRINFO::kSize, ZRINFO::kSize + 7, kFar, kFar - 1}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(info.u16(offset), 0);
        EXPECT_EQ(info.s16(offset), 0);
        info.SetU16(offset, 0xFFFF);
        if (offset >= ZRINFO::kSize) {
            EXPECT_EQ(info.u8(offset), 0);
            info.SetU8(offset, 1);
            info.SetBit(offset, 0, true);
            EXPECT_FALSE(info.bGetBit(offset, 0));
            EXPECT_EQ(info.Text(offset, 10), "");
            info.SetText(offset, 10, "x");
        }
    }
    EXPECT_EQ(info, before) << "writes outside the record change nothing";
    info.SetBit(0, 8, true);
    info.SetBit(0, -1, true);
    EXPECT_EQ(info, before);
    EXPECT_FALSE(info.bGetBit(ZRINFO::kOptions, 8));
    EXPECT_FALSE(info.bGetBit(ZRINFO::kOptions, 40));
    EXPECT_FALSE(info.bGetBit(ZRINFO::kOptions, -1));
}

TEST(ZRINFO, BitsSetAndClearOnlyTheirOwnBit) {
    ZRINFO info;
    info.SetU8(ZRINFO::kFlags, 0xA0);
    info.SetBit(ZRINFO::kFlags, 0, true);
    EXPECT_EQ(info.u8(ZRINFO::kFlags), 0xA1);
    EXPECT_TRUE(info.bGetBit(ZRINFO::kFlags, 7));
    info.SetBit(ZRINFO::kFlags, 7, false);
    EXPECT_EQ(info.u8(ZRINFO::kFlags), 0x21);
    EXPECT_FALSE(info.bHasEncoder());
    info.SetBit(ZRINFO::kOptions, 0, true);
    EXPECT_TRUE(info.bHasEncoder());
}

TEST(ZRINFO, TextsAreCutAndZeroPadded) {
    ZRINFO info;
    for (size_t i = 0; i < 10; ++i)
        info.SetU8(ZRINFO::kDeviceType + i, 'Z');
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "Q8");
    EXPECT_EQ(info.GetDeviceTypeText(), "Q8");
    for (size_t i = 2; i < ZRINFO::kDeviceTypeLength; ++i)
        EXPECT_EQ(info.u8(ZRINFO::kDeviceType + i), 0) << i;

    const std::string longText(40, 'x');
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, longText);
    EXPECT_EQ(info.GetDeviceTypeText(), std::string(31, 'x')) << "one byte stays for the zero";
    EXPECT_EQ(info.u8(ZRINFO::kDeviceType + 31), 0);
    EXPECT_EQ(info.u8(ZRINFO::kDeviceType + 32), 0) << "the next field is untouched";

    // A text whose field is not zero-terminated ends at the field end.
    for (size_t i = 0; i < 4; ++i)
        info.SetU8(100 + i, 'a');
    info.SetU8(104, 'b');
    EXPECT_EQ(info.Text(100, 4), "aaaa");
    // Fields running past the record end are cut there.
    info.SetText(ZRINFO::kSize - 3, 10, "abcdef");
    EXPECT_EQ(info.Text(ZRINFO::kSize - 3, 10), "ab");
    info.SetText(200, 0, "ignored");
    EXPECT_EQ(info.u8(200), 0);
}

TEST(ZRINFO, AssignTakesAtMostTheRecordSize) {
    ZRINFO info = SampleInfo();
    const std::vector<uint8_t> shortInput{1, 2, 3};
    info.Assign(shortInput);
    EXPECT_EQ(info.u8(2), 3);
    EXPECT_EQ(info.u8(3), 0) << "the rest is cleared";
    EXPECT_EQ(info.u8(ZRINFO::kSize - 1), 0);

    std::vector<uint8_t> longInput(ZRINFO::kSize + 50);
    for (size_t i = 0; i < longInput.size(); ++i)
        longInput[i] = static_cast<uint8_t>(i);
    info.Assign(longInput);
    EXPECT_EQ(info.u8(ZRINFO::kSize - 1), static_cast<uint8_t>(ZRINFO::kSize - 1));
    EXPECT_EQ(info.u16(0), 0x0001);
    info.Assign({});
    EXPECT_EQ(info, ZRINFO());
}

TEST(ZRINFO, RoundTripsAndKeepsANewerTrailer) {
    const ZRINFO info = SampleInfo();
    const Bytes bytes = info.Encode();
    EXPECT_EQ(bytes.size(), 8 + 4 + ZRINFO::kSize);
    ZRINFO back;
    ASSERT_EQ(back.iDecode(bytes), 1);
    EXPECT_EQ(back, info);
    EXPECT_EQ(back.GetDeviceTypeText(), "Quillon Q12");
    EXPECT_EQ(back.iGetFirmwareBuild(), -12);
    EXPECT_EQ(back.Encode(), bytes);

    const Bytes newer = WithExtraPayload(bytes, FutureFields());
    ZRINFO fromNewer;
    ASSERT_EQ(fromNewer.iDecode(newer), 1);
    EXPECT_EQ(fromNewer, info);
    EXPECT_EQ(fromNewer.Encode(), newer);
}

TEST(ZRINFO, MalformedInputLeavesTheRecordZeroed) {
    const Bytes valid = SampleInfo().Encode();
    auto refused = [](const Bytes& b) {
        ZRINFO info = SampleInfo();
        return info.iDecode(b) == 0 && info == ZRINFO();
    };
    Bytes b = valid;
    SetU32At(b, 8, ZRINFO::kSize - 1);
    EXPECT_TRUE(refused(b)) << "record of another size";
    b = valid;
    SetU32At(b, 4, ObjectId::kProjectData);
    EXPECT_TRUE(refused(b));
    ExpectBadInputHandled(
        valid, [] { return std::make_unique<ZRINFO>(SampleInfo()); },
        [](ZRINFO& info, OByteStream& s) { return info.iDecode(s); },
        [](const ZRINFO& info) { return info.Encode(); }, ZRINFO().Encode());
}

}  // namespace
