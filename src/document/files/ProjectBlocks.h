// The block container of project files: a plain sequence of named blocks,
//   "[BLOCKSTART][BLOCKNAME=<name>][BLOCKLENGTH=<length>]" <data> "[BLOCKEND]"
// with 8-bit marker text, no padding between blocks, the first block at offset 0.
//
// Blocks written here carry the length as "%10d]" (ten characters, right-aligned), so that
// the field can be patched in place once the data is written. Blocks taken over from a
// loaded file are re-emitted with an unpadded length.
//
// Scanning reads 100-byte windows: each must hold the three header markers; the length is
// the decimal text after "[BLOCKLENGTH=" (leading blanks allowed) up to the next "]", where
// the data starts. The next window starts at data offset + length + 9, one byte before the
// next block's start marker. Near the end of the file the window is what is left: a
// complete last header is read, a header cut off fails the scan, and bytes without a block
// start after the last block end it. All functions work on any byte stream (a file or memory) and
// leave its position where it was, except ReadBlock, which leaves it after the block's end
// marker.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OByteStream;

namespace ProjectBlocks {

inline constexpr std::string_view kStartMarker = "[BLOCKSTART]";
inline constexpr std::string_view kNameMarker = "[BLOCKNAME=";
inline constexpr std::string_view kLengthMarker = "[BLOCKLENGTH=";
inline constexpr std::string_view kEndMarker = "[BLOCKEND]";
inline constexpr size_t kWindowSize = 100;
// Offset of the next window from the end of a block's data.
inline constexpr uint64_t kNextWindowDistance = 9;
// The length field holds a "%d": larger blocks cannot be written.
inline constexpr uint64_t kMaxBlockLength = 0x7FFFFFFF;

}  // namespace ProjectBlocks

// One block as the scan found it.
struct OProjectBlock {
    std::string name;
    uint64_t dataOffset = 0;
    uint64_t length = 0;
    bool operator==(const OProjectBlock&) const = default;
};

// Writes a header with length 0 in the ten-character field; returns the file offset of
// that field, or -1 when the stream failed.
int64_t WriteBlockHeader(OByteStream& file, std::string_view name);
// Writes "%10d]" of length at lengthFieldOffset, flushes and returns to the position it
// had. False for lengths that do not fit the field or when the stream failed.
bool RewriteBlockLength(OByteStream& file, uint64_t lengthFieldOffset, uint64_t length);
// Writes "[BLOCKEND]" and flushes.
bool WriteBlockEnd(OByteStream& file);
// Header with the real (padded) length, the bytes, the end marker.
bool WriteBlock(OByteStream& file, std::string_view name, std::span<const uint8_t> bytes);
// A block with the unpadded header, as unknown blocks are kept and re-emitted.
std::vector<uint8_t> WrapUnpaddedBlock(std::string_view name, std::span<const uint8_t> bytes);

// The first block of that name (exact, case-sensitive). Found only when its length is
// above 0 and its data ends before the end of the file; a block of that name that fails
// these ends the search. Zero bytes in a window count as blanks.
bool FindBlock(OByteStream& file, std::string_view name, uint64_t& dataOffset,
               uint64_t& dataLength);
// FindBlock, then exactly `length` bytes; the position is left after the end marker.
bool ReadBlock(OByteStream& file, std::string_view name, std::vector<uint8_t>& bytes);
// The names of all blocks in file order. An empty file has none (true). False when a
// window lacks a header marker or a header is cut off; the names found before stay in
// `names`. A window ends at its first zero byte.
bool ListBlocks(OByteStream& file, std::vector<std::string>& names);
// ListBlocks with the data offset and length of every block.
bool ScanBlocks(OByteStream& file, std::vector<OProjectBlock>& blocks);
