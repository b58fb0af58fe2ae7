#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "model/stream/OByteStream_File.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "support/TempDir.h"

namespace {

TEST(ByteStream, RoundTripsEveryFieldKind) {
    OByteStream_Memory out;
    out.bWriteU8(0xAB);
    out.bWriteU16(0xBEEF);
    out.bWriteI32(-123456);
    out.bWriteU32(0xDEADBEEF);
    out.bWriteI64(std::numeric_limits<int64_t>::min());
    out.bWriteDouble(-0.125);
    out.bWriteString("Grüße");
    const std::vector<uint8_t> bytes{1, 2, 3, 0, 255};
    out.bWriteByteArray(bytes);
    const std::vector<int16_t> runs{10, -20, 1, -1, -32767, 32767};
    out.bWriteI16Array(runs);
    ASSERT_TRUE(out.bIsOk());

    OByteStream_Memory in(out.TakeBytes());
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    int32_t i32 = 0;
    uint32_t u32 = 0;
    int64_t i64 = 0;
    double d = 0;
    std::string s;
    std::vector<uint8_t> b;
    std::vector<int16_t> r;
    EXPECT_TRUE(in.bReadU8(u8) && in.bReadU16(u16) && in.bReadI32(i32) && in.bReadU32(u32) &&
                in.bReadI64(i64) && in.bReadDouble(d) && in.bReadString(s) && in.bReadByteArray(b) &&
                in.bReadI16Array(r));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0xBEEF);
    EXPECT_EQ(i32, -123456);
    EXPECT_EQ(u32, 0xDEADBEEFu);
    EXPECT_EQ(i64, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(d, -0.125);
    EXPECT_EQ(s, "Grüße");
    EXPECT_EQ(b, bytes);
    EXPECT_EQ(r, runs);
    EXPECT_EQ(in.iRemaining(), 0u);
}

TEST(ByteStream, IntegersAreLittleEndian) {
    OByteStream_Memory out;
    out.bWriteU32(0x01020304);
    const auto bytes = out.Bytes();
    ASSERT_EQ(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[3], 1);
}

TEST(ByteStream, ShortReadFailsAndStaysFailed) {
    const std::vector<uint8_t> three{1, 2, 3};
    auto in = OByteStream_Memory::View(three);
    uint32_t v = 77;
    EXPECT_FALSE(in.bReadU32(v));
    EXPECT_EQ(v, 77u) << "a failed read leaves its output untouched";
    uint8_t b = 0;
    EXPECT_FALSE(in.bReadU8(b)) << "failure is sticky";
    EXPECT_FALSE(in.bIsOk());
}

TEST(ByteStream, HostileLengthsAllocateNothing) {
    OByteStream_Memory out;
    out.bWriteU32(0xFFFFFFF0u);  // claims a 4 GiB string
    out.bWriteU32(1);
    OByteStream_Memory in(out.TakeBytes());
    std::string s = "kept";
    EXPECT_FALSE(in.bReadString(s));
    EXPECT_EQ(s, "kept");

    OByteStream_Memory out2;
    out2.bWriteU32(1u << 30);  // a count of i16 values far beyond the data
    OByteStream_Memory in2(out2.TakeBytes());
    std::vector<int16_t> runs;
    EXPECT_FALSE(in2.bReadI16Array(runs));
    EXPECT_TRUE(runs.empty());
}

TEST(ByteStream, SkipAndSeekRespectLimits) {
    OByteStream_Memory out;
    for (uint32_t i = 0; i < 10; ++i) out.bWriteU32(i);
    OByteStream_Memory in(out.TakeBytes());
    EXPECT_TRUE(in.bSkip(8));
    ASSERT_TRUE(in.bPushLimit(16));
    uint32_t v = 0;
    EXPECT_TRUE(in.bReadU32(v));
    EXPECT_EQ(v, 2u);
    EXPECT_TRUE(in.bReadU32(v));
    EXPECT_EQ(v, 3u);
    EXPECT_EQ(in.iRemaining(), 0u);
    EXPECT_FALSE(in.bReadU32(v)) << "reads stop at the pushed limit";
}

TEST(ByteStream, PushLimitBeyondDataFails) {
    const std::vector<uint8_t> four{0, 0, 0, 0};
    auto in = OByteStream_Memory::View(four);
    EXPECT_FALSE(in.bPushLimit(5));
    EXPECT_FALSE(in.bIsOk());
}

TEST(ObjectBlock, NewerPayloadIsKeptAsTrailerAndOlderPayloadKeepsDefaults) {
    // A "newer" writer adds a field and an unknown tail.
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, 0x1234);
        out.bWriteI32(7);
        out.bWriteI32(8);
        out.bWriteString("future");
    }
    out.bWriteU32(0xCAFEF00D);  // the next object
    OByteStream_Memory in(out.TakeBytes());

    int32_t a = 0;
    std::vector<uint8_t> trailer;
    {
        OObjectBlockReader block(in, 0x1234);
        ASSERT_TRUE(block.bIsOk());
        in.bReadI32(a);
        trailer = block.TakeTrailer();
        EXPECT_TRUE(block.bClose());
    }
    EXPECT_EQ(a, 7);
    EXPECT_EQ(trailer.size(), 4u + 4u + 6u);
    uint32_t next = 0;
    EXPECT_TRUE(in.bReadU32(next));
    EXPECT_EQ(next, 0xCAFEF00Du) << "reading continues at the block end";

    // Writing back reproduces the original bytes.
    OByteStream_Memory again;
    {
        OObjectBlockWriter block(again, 0x1234);
        again.bWriteI32(a);
        block.bWriteTrailer(trailer);
    }
    OByteStream_Memory in2(again.TakeBytes());
    OObjectBlockReader check(in2, 0x1234);
    int32_t x = 0, y = 0;
    std::string s;
    EXPECT_TRUE(in2.bReadI32(x) && in2.bReadI32(y) && in2.bReadString(s));
    EXPECT_EQ(y, 8);
    EXPECT_EQ(s, "future");
}

TEST(ObjectBlock, WrongIdOrOverlongLengthFails) {
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, 1);
        out.bWriteI32(5);
    }
    auto bytes = out.TakeBytes();
    {
        OByteStream_Memory in(bytes);
        OObjectBlockReader block(in, 2);
        EXPECT_FALSE(block.bIsOk());
    }
    bytes[0] = 200;  // length beyond the data
    OByteStream_Memory in(bytes);
    OObjectBlockReader block(in, 1);
    EXPECT_FALSE(block.bIsOk());
}

TEST(ObjectBlock, ReaderCannotReadPastItsBlock) {
    OByteStream_Memory out;
    {
        OObjectBlockWriter block(out, 9);
        out.bWriteU8(1);
    }
    out.bWriteU32(42);
    OByteStream_Memory in(out.TakeBytes());
    OObjectBlockReader block(in, 9);
    uint32_t v = 0;
    EXPECT_FALSE(in.bReadU32(v));
}

TEST(FileStream, WritesPatchesAndReadsBack) {
    TempDir dir;
    const auto path = dir / "stream.bin";
    {
        OByteStream_File out;
        ASSERT_TRUE(out.bOpen(path, OByteStream_File::Mode::Write));
        OObjectBlockWriter block(out, 77);
        std::vector<int16_t> big(300000, 5);  // larger than the file buffer
        out.bWriteI16Array(big);
        out.bWriteString("end");
        EXPECT_TRUE(block.bClose());
        EXPECT_TRUE(out.bClose());
    }
    OByteStream_File in;
    ASSERT_TRUE(in.bOpen(path, OByteStream_File::Mode::Read));
    OObjectBlockReader block(in, 77);
    ASSERT_TRUE(block.bIsOk());
    std::vector<int16_t> big;
    std::string s;
    EXPECT_TRUE(in.bReadI16Array(big));
    EXPECT_TRUE(in.bReadString(s));
    EXPECT_EQ(big.size(), 300000u);
    EXPECT_EQ(big.back(), 5);
    EXPECT_EQ(s, "end");
    std::filesystem::remove(path);
}

TEST(FileStream, OpenFailureReportsSystemText) {
    OByteStream_File in;
    EXPECT_FALSE(in.bOpen("/nonexistent-dir/x.bin", OByteStream_File::Mode::Read));
    EXPECT_FALSE(in.LastError().empty());
}

}  // namespace
