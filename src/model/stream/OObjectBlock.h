// The one framing of every model encoding: [u32 length of what follows][u32 object id]
// [payload], little-endian. Readers take the fields they know while the payload holds
// enough bytes, keep any further bytes as an opaque trailer that is written back
// unchanged, and continue at the block end. Older and newer encodings thereby read
// each other.
#pragma once

#include <cstdint>
#include <vector>

#include "model/stream/OByteStream.h"

// Writes a block header on construction and its length on bClose().
class OObjectBlockWriter {
  public:
    OObjectBlockWriter(OByteStream& stream, uint32_t objectId);
    OObjectBlockWriter(const OObjectBlockWriter&) = delete;
    OObjectBlockWriter& operator=(const OObjectBlockWriter&) = delete;
    ~OObjectBlockWriter();

    // Writes the kept trailer of an object read from a newer encoding.
    bool bWriteTrailer(const std::vector<uint8_t>& trailer);
    // Patches the length field and returns to the block end; false when the stream failed.
    bool bClose();

  private:
    OByteStream& m_stream;
    uint64_t m_lengthPos = 0;
    bool m_closed = false;
};

// Reads a block header on construction and confines reads to the block's payload.
class OObjectBlockReader {
  public:
    // Fails (and marks the stream failed) when the header is short, the id differs or
    // the length runs past the available bytes.
    OObjectBlockReader(OByteStream& stream, uint32_t expectedId);
    OObjectBlockReader(const OObjectBlockReader&) = delete;
    OObjectBlockReader& operator=(const OObjectBlockReader&) = delete;
    ~OObjectBlockReader();

    bool bIsOk() const { return m_open && m_stream.bIsOk(); }
    // Payload bytes not yet read.
    uint64_t iRemaining() const;
    bool bHas(uint64_t bytes) const { return bIsOk() && iRemaining() >= bytes; }
    // Reads every byte left in the payload, to be written back by a later encode.
    std::vector<uint8_t> TakeTrailer();
    // Leaves the block: pops the limit and positions the stream at the block end.
    bool bClose();

    // Peeks at the id of the next block without consuming it; false when none can be read.
    static bool bPeekId(OByteStream& stream, uint32_t& objectId);

  private:
    OByteStream& m_stream;
    uint64_t m_end = 0;
    bool m_open = false;
};
