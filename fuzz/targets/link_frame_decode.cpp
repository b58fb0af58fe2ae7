// Feeds arbitrary bytes to the link's frame decoder, in one piece and in small pieces. The
// decoder must never crash, must keep its buffers bounded, and whatever it delivers must
// encode back into frames that decode to the same message. Package wire forms and the
// link's payloads are read from the delivered messages as well.
#include <cstdint>
#include <span>
#include <vector>

#include "../FuzzSeeds.h"
#include "link/LinkPayloads.h"
#include "link/OLinkFrame.h"
#include "link/OType_ComPackage.h"
#include "model/stream/OByteStream_Memory.h"

using namespace LinkProtocol;

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

class Sink : public OLinkFrameSink {
  public:
    void OnMessage(OLinkMessage&& m) override {
        Check(m.payload.size() <= kMaxMessageSize);
        messages.push_back(std::move(m));
    }
    void OnRefusal(const OLinkRefusal&) override { ++refusals; }
    std::vector<OLinkMessage> messages;
    int refusals = 0;
};

void ReadPayloads(const OLinkMessage& m) {
    OType_ComPackage p(0, 1, 1, 0);
    if (p.iSetPackageFromReceive(m.payload)) {
        std::vector<uint8_t> wire;
        p.iGetSendPackage(wire);
        Check(wire == m.payload);
    }
    auto s1 = OByteStream_Memory::View(m.payload);
    std::vector<LinkPayload::OProgramEntry> entries;
    LinkPayload::bDecode(s1, entries);
    auto s2 = OByteStream_Memory::View(m.payload);
    LinkPayload::OLoginAnswer login;
    LinkPayload::bDecode(s2, login);
    auto s3 = OByteStream_Memory::View(m.payload);
    std::vector<LinkPayload::OParameter> parameters;
    LinkPayload::bDecode(s3, parameters);
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    std::vector<std::vector<uint8_t>> seeds;
    seeds.push_back(LinkFrame::EncodeMessage(kRequest, kControl, kOpSync, 1, {}));
    const std::vector<uint8_t> payload(300, 0x2A);
    seeds.push_back(LinkFrame::EncodeMessage(kAnswer, kData, 8738, 7, payload, 64, true));
    OType_ComPackage p(0, 1, 1, 0);
    p.SetNames("$DCPRGDT", "$UCPRGDT");
    p.SetNumber(3);
    p.iSetData(payload);
    std::vector<uint8_t> wire;
    p.iGetSendPackage(wire);
    seeds.push_back(LinkFrame::EncodeMessage(kRequest, kData, kOpPackageSend, 9, wire, 100));
    OByteStream_Memory list;
    LinkPayload::Encode(list,
                        std::vector<LinkPayload::OProgramEntry>{{"A", 10, 20, 1}, {"B", 0, 0, -1}});
    seeds.push_back(LinkFrame::EncodeMessage(kAnswer, kData, 1, 4, list.Bytes()));
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    Sink whole;
    OLinkFrameDecoder decoder;
    decoder.Feed(bytes, whole);
    Check(decoder.iOpenMessages() <= kMaxPartialMessages);
    Check(decoder.iBufferedBytes() <= size);

    // The same bytes in pieces of 7 give the same messages.
    Sink pieces;
    OLinkFrameDecoder split;
    for (size_t at = 0; at < size; at += 7)
        split.Feed(bytes.subspan(at, std::min<size_t>(7, size - at)), pieces);
    Check(pieces.messages.size() == whole.messages.size());

    for (const auto& m : whole.messages) {
        const auto again =
            LinkFrame::EncodeMessage(m.kind, m.channel, m.code, m.id, m.payload, 1000, true);
        Sink check;
        OLinkFrameDecoder strict;
        strict.SetRequireCrc(true);
        strict.Feed(again, check);
        Check(check.refusals == 0 && check.messages.size() == 1);
        Check(check.messages[0].payload == m.payload && check.messages[0].code == m.code);
        ReadPayloads(m);
    }
    return 0;
}
