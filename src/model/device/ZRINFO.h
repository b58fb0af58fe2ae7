// The 1228-byte device-information record. Its 16-bit fields are big-endian. The offsets
// named here are those the program reads; the rest of the record is free for the device.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OByteStream;

class ZRINFO {
  public:
    static constexpr size_t kSize = 1228;

    // Field offsets.
    static constexpr size_t kHardwareCode = 2;    // u16: hardware code of the edition
    static constexpr size_t kOsVersion = 4;       // u16: operating-system version, e.g. 0x300
    static constexpr size_t kPartTypes = 6;       // u16
    static constexpr size_t kOrientations = 8;    // u16
    static constexpr size_t kPartsInSet = 10;     // u16
    static constexpr size_t kBasicFeatures = 12;  // u16: fixed (basic contour) feature count
    static constexpr size_t kAddIn = 14;          // u16: software add-in
    static constexpr size_t kSerialNumber = 18;   // text, 32 bytes
    static constexpr size_t kSerialNumberLength = 32;
    static constexpr size_t kWebName = 50;  // text, 40 bytes
    static constexpr size_t kWebNameLength = 40;
    static constexpr size_t kFlags = 155;       // bit 0: map newer firmware into its group
    static constexpr size_t kOptions = 157;     // bit 0: encoder present
    static constexpr size_t kDeviceType = 158;  // text, 32 bytes
    static constexpr size_t kDeviceTypeLength = 32;
    static constexpr size_t kFirmwareMajor = 686;
    static constexpr size_t kFirmwareMinor = 687;
    static constexpr size_t kPixels = 688;             // u16: image height of contour devices
    static constexpr size_t kFeatureCapacity = 690;    // u16: features in all (basic + tools)
    static constexpr size_t kToolCapacity = 692;       // u16: total tool capacity
    static constexpr size_t kPartDataProtocol = 712;   // u16
    static constexpr size_t kPresence = 716;           // 716..723: per-kind presence bytes
    static constexpr size_t kLimits = 724;             // 724..731: per-kind limit bytes
    static constexpr size_t kFirmwareBuild = 738;      // s16
    static constexpr size_t kImageWidth = 746;         // u16
    static constexpr size_t kImageHeight = 748;        // u16
    static constexpr size_t kPixelFormat = 750;        // u8: 24 = colour
    static constexpr size_t kToolAvailability = 760;   // 760..776 and 896: per-kind availability
    static constexpr size_t kCoordTransSupport = 771;  // 1..249 = supported
    static constexpr size_t kFirmwareVersion = 888;    // 4 x u16: dotted version
    static constexpr size_t kAvailabilityKind128 = 896;

    ZRINFO() { m_bytes.fill(0); }

    uint8_t u8(size_t offset) const { return offset < kSize ? m_bytes[offset] : 0; }
    uint16_t u16(size_t offset) const;
    int16_t s16(size_t offset) const { return static_cast<int16_t>(u16(offset)); }
    void SetU8(size_t offset, uint8_t v) {
        if (offset < kSize) m_bytes[offset] = v;
    }
    void SetU16(size_t offset, uint16_t v);
    bool bGetBit(size_t offset, int bit) const {
        return bit >= 0 && bit < 8 && ((u8(offset) >> bit) & 1u);
    }
    void SetBit(size_t offset, int bit, bool on);
    // 8-bit text of at most `length` bytes, ending at the first zero byte.
    std::string Text(size_t offset, size_t length) const;
    // Writes the text, cut to length - 1 bytes, and pads with zero bytes.
    void SetText(size_t offset, size_t length, std::string_view text);

    std::span<const uint8_t, kSize> Bytes() const { return m_bytes; }
    std::span<uint8_t, kSize> Bytes() { return m_bytes; }
    // Copies up to kSize bytes from `bytes`; the rest stays zero.
    void Assign(std::span<const uint8_t> bytes);
    void Clear() { m_bytes.fill(0); }

    // Convenience accessors of the named fields.
    uint16_t iGetImageHeightOfContour() const { return u16(kPixels); }
    uint16_t iGetToolCapacity() const { return u16(kToolCapacity); }
    uint16_t iGetImageWidth() const { return u16(kImageWidth); }
    uint16_t iGetImageHeight() const { return u16(kImageHeight); }
    uint8_t iGetPixelFormat() const { return u8(kPixelFormat); }
    bool bHasEncoder() const { return bGetBit(kOptions, 0); }
    std::string GetDeviceTypeText() const { return Text(kDeviceType, kDeviceTypeLength); }
    int16_t iGetFirmwareBuild() const { return s16(kFirmwareBuild); }
    bool bSupportsCoordTrans() const {
        return u8(kCoordTransSupport) >= 1 && u8(kCoordTransSupport) <= 249;
    }

    // Availability byte of a new-platform tool kind; 0 for kinds without one. The variants
    // "Blob finder+" (123) and "Pattern matching+" (122) share the byte of their base kind.
    static size_t ToolAvailabilityByte(int kind);

    bool operator==(const ZRINFO& other) const { return m_bytes == other.m_bytes; }

    int iEncode(OByteStream& stream) const;
    std::vector<uint8_t> Encode() const;
    // Returns 0 on malformed input and leaves the record zeroed.
    int iDecode(OByteStream& stream);
    int iDecode(std::span<const uint8_t> bytes);

  private:
    std::array<uint8_t, kSize> m_bytes;
    std::vector<uint8_t> m_trailer;
};
