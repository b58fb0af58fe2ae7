#include "document/files/OByteStream_Progress.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/OProgressCtrl.h"

namespace {
constexpr size_t kBufferSize = 64 * 1024;
// Report in steps, so that small fields do not each touch the progress object.
constexpr uint64_t kReportStep = 256 * 1024;
}  // namespace

OByteStream_Progress::OByteStream_Progress(OByteStream& inner, OProgressCtrl* progress,
                                           Direction direction)
    : m_inner(inner), m_progress(progress), m_direction(direction), m_buffer(kBufferSize) {
    m_pos = inner.iGetPos();
    m_ok = inner.bIsOk();
    m_bufferStart = m_pos;
    m_readEnd = m_pos + inner.iRemaining();
}

OByteStream_Progress::~OByteStream_Progress() {
    if (m_direction == Direction::Write) bFlushBuffer();
    if (m_progress && m_pending > 0) m_progress->Increase(static_cast<int64_t>(m_pending));
}

void OByteStream_Progress::Advance(size_t bytes) {
    if (!m_progress) return;
    m_pending += bytes;
    if (m_pending < kReportStep) return;
    m_progress->Increase(static_cast<int64_t>(m_pending));
    m_pending = 0;
    m_progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
}

bool OByteStream_Progress::bFlushBuffer() {
    if (m_direction != Direction::Write || m_bufferFill == 0) return true;
    const bool ok = (m_inner.iGetPos() == m_bufferStart || m_inner.bSeek(m_bufferStart)) &&
                    m_inner.bWriteRaw(m_buffer.data(), m_bufferFill);
    m_bufferStart += m_bufferFill;
    m_bufferFill = 0;
    return ok;
}

bool OByteStream_Progress::bFlush() {
    if (!bIsOk()) return false;
    if (!bFlushBuffer()) return Fail();
    // The inner stream continues where this one is.
    if (m_inner.iGetPos() != m_pos && !m_inner.bSeek(m_pos)) return Fail();
    return m_inner.bFlush();
}

bool OByteStream_Progress::bFill(uint64_t pos) {
    if (m_inner.iGetPos() != pos && !m_inner.bSeek(pos)) return false;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(m_buffer.size(), m_inner.iRemaining()));
    if (n == 0 || !m_inner.bReadRaw(m_buffer.data(), n)) return false;
    m_bufferStart = pos;
    m_bufferFill = n;
    return true;
}

size_t OByteStream_Progress::DoRead(void* data, size_t size) {
    if (m_direction != Direction::Read) return 0;
    auto* out = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        const uint64_t pos = m_pos + done;
        if (pos >= m_bufferStart && pos < m_bufferStart + m_bufferFill) {
            const size_t offset = static_cast<size_t>(pos - m_bufferStart);
            const size_t n = std::min(size - done, m_bufferFill - offset);
            std::memcpy(out + done, m_buffer.data() + offset, n);
            done += n;
            continue;
        }
        if (!bFill(pos)) break;
    }
    Advance(done);
    return done;
}

bool OByteStream_Progress::DoWrite(const void* data, size_t size) {
    if (m_direction != Direction::Write) return false;
    const bool inBuffer = m_pos >= m_bufferStart && m_pos <= m_bufferStart + m_bufferFill &&
                          m_pos - m_bufferStart + size <= m_buffer.size();
    if (!inBuffer) {
        if (!bFlushBuffer()) return false;
        m_bufferStart = m_pos;
        if (size > m_buffer.size()) {
            const bool ok = (m_inner.iGetPos() == m_pos || m_inner.bSeek(m_pos)) &&
                            m_inner.bWriteRaw(data, size);
            m_bufferStart = m_pos + size;
            if (ok) Advance(size);
            return ok;
        }
    }
    const size_t offset = static_cast<size_t>(m_pos - m_bufferStart);
    std::memcpy(m_buffer.data() + offset, data, size);
    m_bufferFill = std::max(m_bufferFill, offset + size);
    Advance(size);
    return true;
}

bool OByteStream_Progress::DoSeek(uint64_t pos) {
    return pos <= DoSize();
}

uint64_t OByteStream_Progress::DoSize() const {
    if (m_direction == Direction::Read) return m_readEnd;
    return std::max(m_inner.iGetSize(), m_bufferStart + m_bufferFill);
}
