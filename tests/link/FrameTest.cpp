#include <gtest/gtest.h>

#include <numeric>

#include "link/OLinkFrame.h"

using namespace LinkProtocol;

namespace {

class Collector : public OLinkFrameSink {
  public:
    void OnMessage(OLinkMessage&& m) override { messages.push_back(std::move(m)); }
    void OnRefusal(const OLinkRefusal& r) override { refusals.push_back(r); }
    std::vector<OLinkMessage> messages;
    std::vector<OLinkRefusal> refusals;
};

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), uint8_t{7});
    return v;
}

std::vector<uint8_t> Frame(const OLinkFrameHeader& h, std::span<const uint8_t> payload,
                           bool crc = false) {
    const auto header = LinkFrame::EncodeHeader(h);
    std::vector<uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), payload.begin(), payload.end());
    const auto t = LinkFrame::EncodeTrailer(payload, crc);
    out.insert(out.end(), t.Span().begin(), t.Span().end());
    return out;
}

}  // namespace

TEST(LinkFrame, ChecksumsMatchTheirStandardCheckValues) {
    const std::string check = "123456789";
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(check.data()),
                                         check.size());
    EXPECT_EQ(LinkFrame::Crc16(bytes), 0x29B1);       // CRC-16/CCITT-FALSE
    EXPECT_EQ(LinkFrame::Crc32(bytes), 0xCBF43926u);  // CRC-32 (IEEE)
}

TEST(LinkFrame, MessagesOfAnySizeSurviveByteWiseFeeding) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{1000}, size_t{10000}}) {
        const auto payload = Counting(size);
        const auto bytes = LinkFrame::EncodeMessage(kAnswer, kData, 8738, 42, payload, 4096, true);
        EXPECT_EQ(LinkFrame::FrameCount(size, 4096), size == 0 ? 1u : (size + 4095) / 4096);
        OLinkFrameDecoder decoder;
        decoder.SetRequireCrc(true);
        Collector sink;
        for (uint8_t b : bytes)
            decoder.Feed({&b, 1}, sink);
        ASSERT_EQ(sink.messages.size(), 1u) << size;
        EXPECT_TRUE(sink.refusals.empty());
        EXPECT_EQ(sink.messages[0].kind, kAnswer);
        EXPECT_EQ(sink.messages[0].channel, kData);
        EXPECT_EQ(sink.messages[0].code, 8738u);
        EXPECT_EQ(sink.messages[0].id, 42u);
        EXPECT_EQ(sink.messages[0].payload, payload);
        EXPECT_EQ(decoder.iBufferedBytes(), 0u);
    }
}

TEST(LinkFrame, InterleavedMessagesAreJoinedByTheirIds) {
    const auto a = Counting(5000), b = Counting(3000);
    const auto fa = LinkFrame::EncodeMessage(kAnswer, kData, 1, 1, a, 1024);
    const auto fb = LinkFrame::EncodeMessage(kAnswer, kData, 1, 2, b, 1024);
    const size_t frameA = kHeaderSize + 1024 + kEndMarkSize;
    std::vector<uint8_t> mixed(fa.begin(), fa.begin() + frameA);
    mixed.insert(mixed.end(), fb.begin(), fb.end());
    mixed.insert(mixed.end(), fa.begin() + frameA, fa.end());
    OLinkFrameDecoder decoder;
    Collector sink;
    decoder.Feed(mixed, sink);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].id, 2u);
    EXPECT_EQ(sink.messages[0].payload, b);
    EXPECT_EQ(sink.messages[1].payload, a);
}

TEST(LinkFrame, GarbageAndBrokenHeadersAreSkippedUntilTheNextFrame) {
    const auto good = LinkFrame::EncodeMessage(kRequest, kControl, kOpSync, 9, Counting(10));
    std::vector<uint8_t> bytes = {'x', 'K', 'L', 'K', 1, 2, 3};
    auto broken = good;
    broken[12] ^= 0xFF;  // the id no longer matches the header check
    bytes.insert(bytes.end(), broken.begin(), broken.end());
    bytes.insert(bytes.end(), good.begin(), good.end());
    OLinkFrameDecoder decoder;
    Collector sink;
    decoder.Feed(bytes, sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].id, 9u);
    ASSERT_FALSE(sink.refusals.empty());
    for (const auto& r : sink.refusals)
        EXPECT_FALSE(r.bHasId);
}

TEST(LinkFrame, HostileHeadersAreRefusedWithTheirIdAndAllocateNothing) {
    struct Case {
        OLinkFrameHeader header;
        LinkFrameFault fault;
    };
    OLinkFrameHeader huge;
    huge.kind = kAnswer;
    huge.id = 5;
    huge.length = huge.total = 0xFFFFFFF0u;
    OLinkFrameHeader hugeMessage = huge;
    hugeMessage.length = 16;
    hugeMessage.flags = kFlagMore;
    OLinkFrameHeader unknownKind = huge;
    unknownKind.kind = 7;
    unknownKind.length = unknownKind.total = 0;
    OLinkFrameHeader unknownFlag = unknownKind;
    unknownFlag.kind = kAnswer;
    unknownFlag.flags = 0x80;
    OLinkFrameHeader badChannel = unknownFlag;
    badChannel.flags = 0;
    badChannel.channel = 3;
    OLinkFrameHeader version = badChannel;
    version.channel = 0;
    version.version = 2;
    OLinkFrameHeader longerThanTotal = version;
    longerThanTotal.version = kVersion;
    longerThanTotal.length = 10;
    longerThanTotal.total = 4;
    for (const Case& c :
         {Case{huge, LinkFrameFault::Oversized}, Case{hugeMessage, LinkFrameFault::Oversized},
          Case{unknownKind, LinkFrameFault::UnknownKind},
          Case{unknownFlag, LinkFrameFault::UnknownKind},
          Case{badChannel, LinkFrameFault::UnknownKind}, Case{version, LinkFrameFault::BadVersion},
          Case{longerThanTotal, LinkFrameFault::Oversized}}) {
        OLinkFrameDecoder decoder;
        Collector sink;
        const auto header = LinkFrame::EncodeHeader(c.header);
        decoder.Feed(header, sink);
        ASSERT_EQ(sink.refusals.size(), 1u);
        EXPECT_EQ(sink.refusals[0].fault, c.fault);
        EXPECT_TRUE(sink.refusals[0].bHasId);
        EXPECT_EQ(sink.refusals[0].id, 5u);
        EXPECT_EQ(decoder.iBufferedBytes(), 0u);
        // The decoder goes on with the next frame.
        decoder.Feed(LinkFrame::EncodeMessage(kAnswer, 0, 1, 6, Counting(3)), sink);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].id, 6u);
    }
}

TEST(LinkFrame, CutPayloadsAndBadChecksumsAreRefused) {
    OLinkFrameHeader h;
    h.kind = kAnswer;
    h.id = 3;
    h.length = h.total = 40;
    const auto payload = Counting(20);  // only half of what the header claims
    auto bytes = Frame(h, payload);
    const auto next = LinkFrame::EncodeMessage(kAnswer, 0, 1, 4, Counting(30));
    bytes.insert(bytes.end(), next.begin(), next.end());
    OLinkFrameDecoder decoder;
    Collector sink;
    decoder.Feed(bytes, sink);
    ASSERT_FALSE(sink.refusals.empty());
    EXPECT_EQ(sink.refusals[0].fault, LinkFrameFault::BadEnd);
    EXPECT_EQ(sink.refusals[0].id, 3u);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].id, 4u);

    auto withCrc = LinkFrame::EncodeMessage(kAnswer, 0, 1, 8, Counting(30), 4096, true);
    withCrc[kHeaderSize + 3] ^= 1;
    Collector crcSink;
    OLinkFrameDecoder crcDecoder;
    crcDecoder.Feed(withCrc, crcSink);
    ASSERT_EQ(crcSink.refusals.size(), 1u);
    EXPECT_EQ(crcSink.refusals[0].fault, LinkFrameFault::BadChecksum);
    EXPECT_TRUE(crcSink.messages.empty());
}

TEST(LinkFrame, SerialDecodersRefuseFramesWithoutChecksum) {
    OLinkFrameDecoder decoder;
    decoder.SetRequireCrc(true);
    Collector sink;
    decoder.Feed(LinkFrame::EncodeMessage(kAnswer, 0, 1, 2, Counting(5)), sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(sink.refusals.size(), 1u);
    EXPECT_EQ(sink.refusals[0].fault, LinkFrameFault::UnknownKind);
}

TEST(LinkFrame, MessagesEndingEarlyOrDisagreeingAreRefused) {
    OLinkFrameHeader first;
    first.kind = kAnswer;
    first.id = 11;
    first.total = 100;
    first.length = 30;
    first.flags = kFlagMore;
    OLinkFrameHeader last = first;
    last.flags = 0;  // ends the message after 60 of 100 bytes
    OLinkFrameDecoder decoder;
    Collector sink;
    decoder.Feed(Frame(first, Counting(30)), sink);
    EXPECT_EQ(decoder.iOpenMessages(), 1u);
    decoder.Feed(Frame(last, Counting(30)), sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_EQ(sink.refusals.size(), 1u);
    EXPECT_EQ(sink.refusals[0].fault, LinkFrameFault::Inconsistent);
    EXPECT_EQ(decoder.iOpenMessages(), 0u);

    OLinkFrameHeader otherCode = first;
    otherCode.code = 9;
    decoder.Feed(Frame(first, Counting(30)), sink);
    decoder.Feed(Frame(otherCode, Counting(30)), sink);
    EXPECT_EQ(sink.refusals.back().fault, LinkFrameFault::Inconsistent);

    OLinkFrameHeader single = first;
    single.flags = 0;  // one frame, shorter than its message
    decoder.Feed(Frame(single, Counting(30)), sink);
    EXPECT_EQ(sink.refusals.back().fault, LinkFrameFault::Inconsistent);
}

TEST(LinkFrame, OnlyAFewMessagesMayBeOpenAtOnce) {
    OLinkFrameDecoder decoder;
    Collector sink;
    for (uint32_t id = 1; id <= kMaxPartialMessages + 2; ++id) {
        OLinkFrameHeader h;
        h.kind = kAnswer;
        h.id = id;
        h.total = 1000;
        h.length = 10;
        h.flags = kFlagMore;
        decoder.Feed(Frame(h, Counting(10)), sink);
    }
    EXPECT_EQ(decoder.iOpenMessages(), kMaxPartialMessages);
    ASSERT_EQ(sink.refusals.size(), 2u);
    EXPECT_EQ(sink.refusals[0].fault, LinkFrameFault::TooManyMessages);
}

TEST(LinkFrame, TheMessageCapLimitsWhatAPeerMayAnnounce) {
    OLinkFrameDecoder decoder(1000);
    Collector sink;
    decoder.Feed(LinkFrame::EncodeMessage(kAnswer, 0, 1, 1, Counting(1001)), sink);
    EXPECT_TRUE(sink.messages.empty());
    ASSERT_FALSE(sink.refusals.empty());
    EXPECT_EQ(sink.refusals[0].fault, LinkFrameFault::Oversized);
    decoder.Feed(LinkFrame::EncodeMessage(kAnswer, 0, 1, 2, Counting(1000)), sink);
    ASSERT_EQ(sink.messages.size(), 1u);
}
