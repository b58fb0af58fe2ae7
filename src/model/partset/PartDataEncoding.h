// The part data of one part type (its Teach-Data: orientations, tolerance, counter and the
// stored vectors) as a device receives it, in the two forms the devices speak:
//
// Package form (part-data protocol 1): one object block
//   [u32 length][u32 id kPartDataObjectId][u32 layout 1][string check-program name]
//   [the part type's own encoding (OType_ZRPartSet_SubType::iEncode)][kept trailer]
// It carries everything the part type holds.
//
// Legacy record (part-data protocol 0), 2380 bytes, big-endian numbers:
//   0-1 part-data number | 2-2043 parameter block (2042) | 2044-2045 the number again |
//   2046-2379 condition block (334)
// The 2044-byte short record ends after the parameter block; its condition block counts
// as zero. Parameter block (offsets within the block):
//   0 has data (1) | 1 layout (1) | 2 orientations (0-8) | 3 tolerance percent |
//   4-7 counter target (u32) | 8-9 counter flag (u16) | 17 features per class N (0-32) |
//   20-35 sample parts per orientation (8 x u16) | 36-99 feature type per feature (32 x s16) |
//   100-131 decimal exponent e per feature (32 x s8) |
//   132-1667 per orientation o and feature f at 132 + (32 o + f) * 6: lower bound, mean,
//            upper bound, each s16 in units of 10^e
// Condition block:
//   0-255 option byte per orientation o and feature f at 32 o + f |
//   256-287 part type name | 288-319 check-program name (texts zero-padded, 31 bytes at most)
// Every other byte is zero. The legacy record keeps four significant digits of the ranges
// and drops the observed minimum and maximum: decoding sets them to the range where the
// part type held no vector before.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class OType_ZRPartSet;

namespace PartData {

inline constexpr uint32_t kPartDataObjectId = 0x4B530002;
inline constexpr int kProtocolLegacy = 0;
inline constexpr int kProtocolPackage = 1;
inline constexpr size_t kRecordBytes = 2380;
inline constexpr size_t kShortRecordBytes = 2044;
inline constexpr size_t kParameterBytes = 2042;
inline constexpr size_t kConditionBytes = 334;
inline constexpr size_t kConditionOffset = 2046;  // in the record
inline constexpr int kMaxLegacyOrientations = 8;
inline constexpr int kMaxLegacyFeatures = 32;

// The part-data protocol a part set's part data go by: its device information's bytes
// 712-713, or without device information 0 for family 1 (12 basic features), else 1.
int iProtocolOf(const OType_ZRPartSet& partSet);

}  // namespace PartData

// Encodes the part data of part type `subType` (0-based). format 1: the part set's own
// protocol (the record with its condition block for protocol 0); format 0: the short
// legacy record. protocol receives the protocol used. Returns 0 when the part type does
// not exist, the protocol is neither 0 nor 1, or the data do not fit a legacy record.
int iEncodePartSet_SubType_PartData(const OType_ZRPartSet& partSet, int subType, int format,
                                    std::vector<uint8_t>& bytes, int& protocol);

// Decodes part data of `protocol` into part type `subType`. partSetName goes in as the
// name of the check program the data belong to and comes back as the name the data carry
// (unchanged when they carry none). Returns 0 on malformed input and leaves the part type
// as it was.
int iDecodePartSet_SubType_PartData(OType_ZRPartSet& partSet, int subType,
                                    std::span<const uint8_t> bytes, int protocol,
                                    std::string& partSetName);

// Converts encoded part data from one protocol's form into the other's (or a short legacy
// record into a full one). Returns 0 on malformed input.
int iConvertEncoded_PartData(std::span<const uint8_t> bytes, int fromProtocol, int toProtocol,
                             std::vector<uint8_t>& converted);
