#include "document/files/OByteStream_Progress.h"

#include <algorithm>
#include <chrono>

#include "platform/OProgressCtrl.h"

namespace {
// Report in steps, so that small fields do not each touch the progress object.
constexpr uint64_t kReportStep = 256 * 1024;
}  // namespace

OByteStream_Progress::OByteStream_Progress(OByteStream& inner, OProgressCtrl* progress)
    : m_inner(inner), m_progress(progress) {
    m_pos = inner.iGetPos();
    m_ok = inner.bIsOk();
}

OByteStream_Progress::~OByteStream_Progress() {
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

bool OByteStream_Progress::bFlush() {
    return bIsOk() && m_inner.bFlush();
}

size_t OByteStream_Progress::DoRead(void* data, size_t size) {
    const uint64_t size64 = m_inner.iGetSize();
    const uint64_t available = size64 > m_pos ? size64 - m_pos : 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(size, available));
    if (m_inner.iGetPos() != m_pos && !m_inner.bSeek(m_pos)) return 0;
    if (n == 0 || !m_inner.bReadRaw(data, n)) return 0;
    Advance(n);
    return n;
}

bool OByteStream_Progress::DoWrite(const void* data, size_t size) {
    if (m_inner.iGetPos() != m_pos && !m_inner.bSeek(m_pos)) return false;
    if (!m_inner.bWriteRaw(data, size)) return false;
    Advance(size);
    return true;
}

bool OByteStream_Progress::DoSeek(uint64_t pos) {
    return m_inner.bSeek(pos);
}

uint64_t OByteStream_Progress::DoSize() const {
    return m_inner.iGetSize();
}
