#include "model/stream/OObjectBlock.h"

OObjectBlockWriter::OObjectBlockWriter(OByteStream& stream, uint32_t objectId) : m_stream(stream) {
    m_lengthPos = stream.iGetPos();
    stream.bWriteU32(0);
    stream.bWriteU32(objectId);
}

OObjectBlockWriter::~OObjectBlockWriter() {
    bClose();
}

bool OObjectBlockWriter::bWriteTrailer(const std::vector<uint8_t>& trailer) {
    return m_stream.bWriteRaw(trailer.data(), trailer.size());
}

bool OObjectBlockWriter::bClose() {
    if (m_closed) return m_stream.bIsOk();
    m_closed = true;
    if (!m_stream.bIsOk()) return false;
    const uint64_t end = m_stream.iGetPos();
    const uint64_t length = end - m_lengthPos - 4;
    if (length > UINT32_MAX) return m_stream.Fail();
    return m_stream.bSeek(m_lengthPos) && m_stream.bWriteU32(static_cast<uint32_t>(length)) &&
           m_stream.bSeek(end);
}

OObjectBlockReader::OObjectBlockReader(OByteStream& stream, uint32_t expectedId)
    : m_stream(stream) {
    uint32_t length = 0;
    uint32_t id = 0;
    if (!stream.bReadU32(length)) return;
    if (length < 4 || length > stream.iRemaining()) {
        stream.Fail();
        return;
    }
    m_end = stream.iGetPos() + length;
    if (!stream.bReadU32(id)) return;
    if (id != expectedId) {
        stream.Fail();
        return;
    }
    m_open = stream.bPushLimit(m_end);
}

OObjectBlockReader::~OObjectBlockReader() {
    bClose();
}

uint64_t OObjectBlockReader::iRemaining() const {
    if (!m_open) return 0;
    const uint64_t pos = m_stream.iGetPos();
    return pos < m_end ? m_end - pos : 0;
}

std::vector<uint8_t> OObjectBlockReader::TakeTrailer() {
    std::vector<uint8_t> trailer;
    if (bIsOk()) m_stream.bReadBytes(trailer, iRemaining());
    return trailer;
}

bool OObjectBlockReader::bClose() {
    if (!m_open) return false;
    m_open = false;
    m_stream.PopLimit();
    if (!m_stream.bIsOk()) return false;
    return m_stream.bSeek(m_end);
}

bool OObjectBlockReader::bPeekId(OByteStream& stream, uint32_t& objectId) {
    if (!stream.bIsOk() || stream.iRemaining() < 8) return false;
    const uint64_t pos = stream.iGetPos();
    uint32_t length = 0;
    const bool ok = stream.bReadU32(length) && stream.bReadU32(objectId);
    stream.bSeek(pos);
    return ok;
}
