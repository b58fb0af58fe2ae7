#include "model/device/ZRINFO.h"

#include <algorithm>
#include <cstring>

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

uint16_t ZRINFO::u16(size_t offset) const {
    if (offset >= kSize - 1) return 0;
    return static_cast<uint16_t>((m_bytes[offset] << 8) | m_bytes[offset + 1]);
}

void ZRINFO::SetU16(size_t offset, uint16_t v) {
    if (offset >= kSize - 1) return;
    m_bytes[offset] = static_cast<uint8_t>(v >> 8);
    m_bytes[offset + 1] = static_cast<uint8_t>(v & 0xFF);
}

void ZRINFO::SetBit(size_t offset, int bit, bool on) {
    if (offset >= kSize || bit < 0 || bit > 7) return;
    const auto mask = static_cast<uint8_t>(1u << bit);
    m_bytes[offset] = on ? (m_bytes[offset] | mask) : (m_bytes[offset] & ~mask);
}

std::string ZRINFO::Text(size_t offset, size_t length) const {
    if (offset >= kSize) return {};
    length = std::min(length, kSize - offset);
    const auto* begin = reinterpret_cast<const char*>(m_bytes.data() + offset);
    return std::string(begin, strnlen(begin, length));
}

void ZRINFO::SetText(size_t offset, size_t length, std::string_view text) {
    if (offset >= kSize || length == 0) return;
    length = std::min(length, kSize - offset);
    std::memset(m_bytes.data() + offset, 0, length);
    const size_t n = std::min(text.size(), length - 1);
    std::memcpy(m_bytes.data() + offset, text.data(), n);
}

void ZRINFO::Assign(std::span<const uint8_t> bytes) {
    m_bytes.fill(0);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kSize), m_bytes.begin());
}

int ZRINFO::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kZRInfo);
    s.bWriteU32(static_cast<uint32_t>(kSize));
    s.bWriteRaw(m_bytes.data(), kSize);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

std::vector<uint8_t> ZRINFO::Encode() const {
    OByteStream_Memory s;
    iEncode(s);
    return s.TakeBytes();
}

int ZRINFO::iDecode(OByteStream& s) {
    Clear();
    m_trailer.clear();
    OObjectBlockReader block(s, ObjectId::kZRInfo);
    uint32_t size = 0;
    s.bReadU32(size);
    if (!block.bIsOk() || size != kSize) return s.Fail();
    std::array<uint8_t, kSize> bytes;
    if (!s.bReadRaw(bytes.data(), kSize)) return 0;
    auto trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_bytes = bytes;
    m_trailer = std::move(trailer);
    return 1;
}

int ZRINFO::iDecode(std::span<const uint8_t> bytes) {
    auto s = OByteStream_Memory::View(bytes);
    return iDecode(s);
}

size_t ZRINFO::ToolAvailabilityByte(int kind) {
    switch (kind) {
        case 100:
            return 760;
        case 101:
            return 761;
        case 102:
            return 762;
        case 103:
        case 123:
            return 763;
        case 104:
            return 764;
        case 107:
        case 122:
            return 765;
        case 105:
            return 766;
        case 106:
            return 767;
        case 108:
            return 769;
        case 109:
            return 770;
        case 111:
            return 772;
        case 112:
            return 773;
        case 113:
            return 774;
        case 114:
            return 775;
        case 115:
            return 776;
        case 128:
            return kAvailabilityKind128;
        default:
            return 0;
    }
}
