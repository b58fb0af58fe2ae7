// Frames of the link protocol: encoding, and an incremental decoder that never trusts its
// input. A message is carried by one or more frames with the same kind, channel, code and
// id; every frame but the last has the "more" flag. The decoder bounds every length before
// it buffers anything, grows a message only by what actually arrived, keeps at most a few
// messages open at once, and after any fault resynchronises at the next frame start.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "link/LinkProtocol.h"

struct OLinkFrameHeader {
    uint8_t version = LinkProtocol::kVersion;
    uint8_t kind = 0;
    uint8_t channel = 0;
    uint8_t flags = 0;
    uint32_t code = 0;
    uint32_t id = 0;
    uint32_t total = 0;   // bytes of the whole message
    uint32_t length = 0;  // payload bytes of this frame
};

struct OLinkMessage {
    uint8_t kind = 0;
    uint8_t channel = 0;
    uint32_t code = 0;
    uint32_t id = 0;
    std::vector<uint8_t> payload;
};

enum class LinkFrameFault {
    Garbage,          // bytes that do not start a frame
    BadHeader,        // header check failed
    BadVersion,       // another protocol version
    UnknownKind,      // kind, channel or flags unknown
    Oversized,        // frame or message longer than allowed
    BadEnd,           // end mark missing: the payload was cut or overrun
    BadChecksum,      // payload CRC-32 differs
    Inconsistent,     // frames of one message disagree, or the last frame ends it early
    TooManyMessages,  // too many messages open at once
};
std::string_view LinkFrameFaultName(LinkFrameFault fault);

// A refused frame. The id is known when the header itself was intact.
struct OLinkRefusal {
    LinkFrameFault fault = LinkFrameFault::Garbage;
    bool bHasId = false;
    uint8_t kind = 0;
    uint8_t channel = 0;
    uint32_t code = 0;
    uint32_t id = 0;
};

class OLinkFrameSink {
  public:
    virtual ~OLinkFrameSink() = default;
    virtual void OnMessage(OLinkMessage&& message) = 0;
    virtual void OnRefusal(const OLinkRefusal& refusal) = 0;
    // A frame of a longer message arrived; received of total bytes are in.
    virtual void OnProgress(const OLinkFrameHeader& /*header*/, uint64_t /*received*/) {}
};

namespace LinkFrame {

uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc = 0xFFFF);
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0);

// The 24 header bytes with their check.
std::array<uint8_t, LinkProtocol::kHeaderSize> EncodeHeader(const OLinkFrameHeader& header);
// Checks magic and header check and fills header; false when they do not match.
bool bDecodeHeader(std::span<const uint8_t> bytes, OLinkFrameHeader& header);

// What follows a frame's payload: the optional CRC-32 and the end mark.
struct OFrameTrailer {
    std::array<uint8_t, LinkProtocol::kCrcSize + LinkProtocol::kEndMarkSize> bytes{};
    size_t size = 0;
    std::span<const uint8_t> Span() const { return {bytes.data(), size}; }
};
OFrameTrailer EncodeTrailer(std::span<const uint8_t> payload, bool withCrc);

// Number of frames a message of `total` bytes needs with frames of at most maxPayload.
size_t FrameCount(size_t total, uint32_t maxPayload);
// Header of frame `index` of a message.
OLinkFrameHeader FrameHeader(uint8_t kind, uint8_t channel, uint32_t code, uint32_t id,
                             size_t total, uint32_t maxPayload, size_t index, bool withCrc);

// Encodes a whole message into consecutive frames.
std::vector<uint8_t> EncodeMessage(uint8_t kind, uint8_t channel, uint32_t code, uint32_t id,
                                   std::span<const uint8_t> payload,
                                   uint32_t maxPayload = LinkProtocol::kTcpFramePayload,
                                   bool withCrc = false);

}  // namespace LinkFrame

class OLinkFrameDecoder {
  public:
    explicit OLinkFrameDecoder(uint32_t maxMessage = LinkProtocol::kMaxMessageSize);

    void SetMaxMessage(uint32_t maxMessage) { m_maxMessage = maxMessage; }
    // Frames with the CRC flag are always checked; with this set, frames without it are
    // refused (serial lines, where nothing else guards the bytes).
    void SetRequireCrc(bool require) { m_requireCrc = require; }

    void Feed(std::span<const uint8_t> bytes, OLinkFrameSink& sink);
    // Lets a reader fill the buffer directly: at least `size` writable bytes, then Commit.
    std::span<uint8_t> WriteArea(size_t size);
    void Commit(size_t written, OLinkFrameSink& sink);

    // Drops buffered bytes and open messages.
    void Reset();
    uint64_t iRefusedFrames() const { return m_refused; }
    size_t iBufferedBytes() const { return m_end - m_begin; }
    size_t iOpenMessages() const { return m_open.size(); }

  private:
    struct OOpenMessage {
        OLinkFrameHeader first;
        std::vector<uint8_t> data;
    };

    void Parse(OLinkFrameSink& sink);
    // Takes one complete frame at m_begin; returns false when more bytes are needed.
    bool bTakeFrame(OLinkFrameSink& sink);
    void Refuse(OLinkFrameSink& sink, LinkFrameFault fault, const OLinkFrameHeader* header);
    void Deliver(OLinkFrameSink& sink, const OLinkFrameHeader& h, std::span<const uint8_t> payload);
    void Compact();

    uint32_t m_maxMessage;
    bool m_requireCrc = false;
    std::vector<uint8_t> m_buffer;
    size_t m_begin = 0;
    size_t m_end = 0;
    bool m_inGarbage = false;
    std::vector<OOpenMessage> m_open;
    uint64_t m_refused = 0;
};
