#include "link/OLinkFrame.h"

#include <algorithm>
#include <cstring>

using namespace LinkProtocol;

namespace {

void PutU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void PutU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t GetU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::array<uint32_t, 256> MakeCrc32Table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

uint16_t HeaderCheck(const uint8_t* header) {
    uint16_t crc = LinkFrame::Crc16({header, 6});
    return LinkFrame::Crc16({header + 8, kHeaderSize - 8}, crc);
}

bool bKnownKind(uint8_t kind) {
    return kind == kRequest || kind == kAnswer || kind == kNotification;
}

}  // namespace

std::string_view LinkFrameFaultName(LinkFrameFault fault) {
    switch (fault) {
        case LinkFrameFault::Garbage:
            return "garbage";
        case LinkFrameFault::BadHeader:
            return "bad header check";
        case LinkFrameFault::BadVersion:
            return "unknown protocol version";
        case LinkFrameFault::UnknownKind:
            return "unknown kind, channel or flags";
        case LinkFrameFault::Oversized:
            return "oversized";
        case LinkFrameFault::BadEnd:
            return "cut or overrun payload";
        case LinkFrameFault::BadChecksum:
            return "payload checksum";
        case LinkFrameFault::Inconsistent:
            return "inconsistent message";
        case LinkFrameFault::TooManyMessages:
            return "too many open messages";
    }
    return "unknown";
}

namespace LinkFrame {

uint16_t Crc16(std::span<const uint8_t> bytes, uint16_t crc) {
    for (uint8_t b : bytes) {
        crc ^= static_cast<uint16_t>(b << 8);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 0x8000) ? static_cast<uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<uint16_t>(crc << 1);
    }
    return crc;
}

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc) {
    static const std::array<uint32_t, 256> kTable = MakeCrc32Table();
    crc = ~crc;
    for (uint8_t b : bytes)
        crc = kTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::array<uint8_t, kHeaderSize> EncodeHeader(const OLinkFrameHeader& h) {
    std::array<uint8_t, kHeaderSize> out{};
    out[0] = kMagic0;
    out[1] = kMagic1;
    out[2] = h.version;
    out[3] = h.kind;
    out[4] = h.channel;
    out[5] = h.flags;
    PutU32(&out[8], h.code);
    PutU32(&out[12], h.id);
    PutU32(&out[16], h.total);
    PutU32(&out[20], h.length);
    PutU16(&out[6], HeaderCheck(out.data()));
    return out;
}

bool bDecodeHeader(std::span<const uint8_t> bytes, OLinkFrameHeader& h) {
    if (bytes.size() < kHeaderSize) return false;
    const uint8_t* p = bytes.data();
    if (p[0] != kMagic0 || p[1] != kMagic1) return false;
    if (GetU16(p + 6) != HeaderCheck(p)) return false;
    h.version = p[2];
    h.kind = p[3];
    h.channel = p[4];
    h.flags = p[5];
    h.code = GetU32(p + 8);
    h.id = GetU32(p + 12);
    h.total = GetU32(p + 16);
    h.length = GetU32(p + 20);
    return true;
}

OFrameTrailer EncodeTrailer(std::span<const uint8_t> payload, bool withCrc) {
    OFrameTrailer t;
    if (withCrc) {
        PutU32(t.bytes.data(), Crc32(payload));
        t.size = kCrcSize;
    }
    t.bytes[t.size++] = kEnd0;
    t.bytes[t.size++] = kEnd1;
    return t;
}

size_t FrameCount(size_t total, uint32_t maxPayload) {
    if (maxPayload == 0) maxPayload = kTcpFramePayload;
    return total == 0 ? 1 : (total + maxPayload - 1) / maxPayload;
}

OLinkFrameHeader FrameHeader(uint8_t kind, uint8_t channel, uint32_t code, uint32_t id,
                             size_t total, uint32_t maxPayload, size_t index, bool withCrc) {
    if (maxPayload == 0) maxPayload = kTcpFramePayload;
    const size_t count = FrameCount(total, maxPayload);
    const size_t offset = index * maxPayload;
    OLinkFrameHeader h;
    h.kind = kind;
    h.channel = channel;
    h.code = code;
    h.id = id;
    h.total = static_cast<uint32_t>(total);
    h.length =
        static_cast<uint32_t>(offset < total ? std::min<size_t>(maxPayload, total - offset) : 0);
    h.flags = static_cast<uint8_t>((index + 1 < count ? kFlagMore : 0) | (withCrc ? kFlagCrc : 0));
    return h;
}

std::vector<uint8_t> EncodeMessage(uint8_t kind, uint8_t channel, uint32_t code, uint32_t id,
                                   std::span<const uint8_t> payload, uint32_t maxPayload,
                                   bool withCrc) {
    if (maxPayload == 0) maxPayload = kTcpFramePayload;
    const size_t count = FrameCount(payload.size(), maxPayload);
    std::vector<uint8_t> out;
    out.reserve(payload.size() + count * (kHeaderSize + kCrcSize + kEndMarkSize));
    for (size_t i = 0; i < count; ++i) {
        const OLinkFrameHeader h =
            FrameHeader(kind, channel, code, id, payload.size(), maxPayload, i, withCrc);
        const auto header = EncodeHeader(h);
        out.insert(out.end(), header.begin(), header.end());
        const auto slice = payload.subspan(i * maxPayload, h.length);
        out.insert(out.end(), slice.begin(), slice.end());
        const auto trailer = EncodeTrailer(slice, withCrc);
        out.insert(out.end(), trailer.Span().begin(), trailer.Span().end());
    }
    return out;
}

}  // namespace LinkFrame

OLinkFrameDecoder::OLinkFrameDecoder(uint32_t maxMessage) : m_maxMessage(maxMessage) {}

void OLinkFrameDecoder::Reset() {
    m_buffer.clear();
    m_begin = m_end = 0;
    m_open.clear();
    m_inGarbage = false;
}

std::span<uint8_t> OLinkFrameDecoder::WriteArea(size_t size) {
    Compact();
    if (m_buffer.size() - m_end < size) m_buffer.resize(m_end + size);
    return {m_buffer.data() + m_end, m_buffer.size() - m_end};
}

void OLinkFrameDecoder::Commit(size_t written, OLinkFrameSink& sink) {
    m_end = std::min(m_buffer.size(), m_end + written);
    Parse(sink);
}

void OLinkFrameDecoder::Feed(std::span<const uint8_t> bytes, OLinkFrameSink& sink) {
    if (bytes.empty()) return;
    auto area = WriteArea(bytes.size());
    std::memcpy(area.data(), bytes.data(), bytes.size());
    Commit(bytes.size(), sink);
}

void OLinkFrameDecoder::Compact() {
    if (m_begin == 0) return;
    if (m_begin == m_end) {
        m_begin = m_end = 0;
        // Give back a buffer grown by one large frame.
        if (m_buffer.size() > 4 * kMaxFramePayload) std::vector<uint8_t>().swap(m_buffer);
        return;
    }
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
}

void OLinkFrameDecoder::Refuse(OLinkFrameSink& sink, LinkFrameFault fault,
                               const OLinkFrameHeader* header) {
    ++m_refused;
    OLinkRefusal r;
    r.fault = fault;
    if (header) {
        r.bHasId = true;
        r.kind = header->kind;
        r.channel = header->channel;
        r.code = header->code;
        r.id = header->id;
    }
    sink.OnRefusal(r);
}

void OLinkFrameDecoder::Parse(OLinkFrameSink& sink) {
    while (m_end > m_begin) {
        // Find a frame start.
        const uint8_t* data = m_buffer.data();
        size_t start = m_begin;
        while (start < m_end &&
               !(data[start] == kMagic0 && (start + 1 == m_end || data[start + 1] == kMagic1)))
            ++start;
        if (start != m_begin) {
            if (!m_inGarbage) Refuse(sink, LinkFrameFault::Garbage, nullptr);
            m_inGarbage = true;
            m_begin = start;
            continue;
        }
        if (!bTakeFrame(sink)) break;
    }
    if (m_begin == m_end) m_begin = m_end = 0;
}

bool OLinkFrameDecoder::bTakeFrame(OLinkFrameSink& sink) {
    const size_t available = m_end - m_begin;
    if (available < kHeaderSize) return false;
    const std::span<const uint8_t> at(m_buffer.data() + m_begin, available);
    OLinkFrameHeader h;
    if (!LinkFrame::bDecodeHeader(at, h)) {
        // Not a frame after all: skip the magic's first byte and look again.
        if (!m_inGarbage) Refuse(sink, LinkFrameFault::BadHeader, nullptr);
        m_inGarbage = true;
        ++m_begin;
        return true;
    }
    m_inGarbage = false;
    LinkFrameFault fault{};
    bool bad = true;
    if (h.version != kVersion)
        fault = LinkFrameFault::BadVersion;
    else if (!bKnownKind(h.kind) || h.channel >= kNumChannels || (h.flags & ~kKnownFlags) ||
             (m_requireCrc && !(h.flags & kFlagCrc)))
        fault = LinkFrameFault::UnknownKind;
    else if (h.length > kMaxFramePayload || h.total > m_maxMessage || h.length > h.total)
        fault = LinkFrameFault::Oversized;
    else
        bad = false;
    if (bad) {
        Refuse(sink, fault, &h);
        m_inGarbage = true;
        m_begin += kHeaderSize;
        return true;
    }
    const size_t crcSize = (h.flags & kFlagCrc) ? kCrcSize : 0;
    const size_t frameSize = kHeaderSize + h.length + crcSize + kEndMarkSize;
    if (available < frameSize) return false;
    const uint8_t* payload = at.data() + kHeaderSize;
    const uint8_t* tail = payload + h.length;
    if (tail[crcSize] != kEnd0 || tail[crcSize + 1] != kEnd1) {
        // The claimed length does not fit what follows: resynchronise inside it.
        Refuse(sink, LinkFrameFault::BadEnd, &h);
        m_inGarbage = true;
        m_begin += 1;
        return true;
    }
    if (crcSize && GetU32(tail) != LinkFrame::Crc32({payload, h.length})) {
        Refuse(sink, LinkFrameFault::BadChecksum, &h);
        m_begin += frameSize;
        return true;
    }
    m_begin += frameSize;
    Deliver(sink, h, {payload, h.length});
    return true;
}

void OLinkFrameDecoder::Deliver(OLinkFrameSink& sink, const OLinkFrameHeader& h,
                                std::span<const uint8_t> payload) {
    const bool more = h.flags & kFlagMore;
    auto it = std::find_if(m_open.begin(), m_open.end(), [&](const OOpenMessage& m) {
        return m.first.id == h.id && m.first.kind == h.kind && m.first.channel == h.channel;
    });
    if (it == m_open.end()) {
        if (!more) {
            if (h.length != h.total) return Refuse(sink, LinkFrameFault::Inconsistent, &h);
            OLinkMessage m{h.kind, h.channel, h.code, h.id, {payload.begin(), payload.end()}};
            return sink.OnMessage(std::move(m));
        }
        if (m_open.size() >= kMaxPartialMessages)
            return Refuse(sink, LinkFrameFault::TooManyMessages, &h);
        OOpenMessage open{h, {}};
        // Room for the whole message saves re-copying it as it grows; a total the peer merely
        // claims is trusted only up to a few frames.
        open.data.reserve(std::min<size_t>(h.total, 4 * size_t{LinkProtocol::kMaxFramePayload}));
        open.data.assign(payload.begin(), payload.end());
        m_open.push_back(std::move(open));
        sink.OnProgress(h, payload.size());
        return;
    }
    OOpenMessage& open = *it;
    if (open.first.code != h.code || open.first.total != h.total ||
        open.data.size() + payload.size() > h.total ||
        (!more && open.data.size() + payload.size() != h.total)) {
        m_open.erase(it);
        return Refuse(sink, LinkFrameFault::Inconsistent, &h);
    }
    open.data.insert(open.data.end(), payload.begin(), payload.end());
    if (more) {
        sink.OnProgress(h, open.data.size());
        return;
    }
    OLinkMessage m{h.kind, h.channel, h.code, h.id, std::move(open.data)};
    m_open.erase(it);
    sink.OnMessage(std::move(m));
}
