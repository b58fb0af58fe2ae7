// The transfer buffer of the legacy part-data block protocol: 2042 parameter bytes, the
// part-data number in bytes 2042-2043 (high byte first), and 334 condition bytes.
#pragma once

#include <array>
#include <cstdint>

struct OLegacyTransferBuffer {
    static constexpr size_t kParameterBytes = 2042;
    static constexpr size_t kNumberOffset = 2042;
    static constexpr size_t kConditionBytes = 334;
    // Record form: number (2), parameters (2042), number again (2), conditions (334).
    static constexpr size_t kRecordBytes = 2 + kParameterBytes + 2 + kConditionBytes;  // 2380
    static constexpr size_t kShortRecordBytes = 2 + kParameterBytes;                   // 2044

    std::array<uint8_t, kParameterBytes + 2> parameters{};
    std::array<uint8_t, kConditionBytes> conditions{};
    // The number the next PARAME transfer addresses.
    uint16_t number = 0;

    void SetNumber(uint16_t n) { number = n; }
    // The number CONDAT transfers address: bytes 2042-2043.
    uint16_t iGetNumberBytes() const {
        return static_cast<uint16_t>((parameters[kNumberOffset] << 8) |
                                     parameters[kNumberOffset + 1]);
    }
    void PutNumberIntoBytes(uint16_t n) {
        parameters[kNumberOffset] = static_cast<uint8_t>(n >> 8);
        parameters[kNumberOffset + 1] = static_cast<uint8_t>(n & 0xFF);
    }
    void Clear() {
        parameters.fill(0);
        conditions.fill(0);
        number = 0;
    }
};
