#include "model/stream/OByteStream.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>

#include "platform/OProgressCtrl.h"

static_assert(std::endian::native == std::endian::little,
              "the stream encodings are little-endian and copied directly on this host");

uint64_t OByteStream::iRemaining() const {
    uint64_t end = DoSize();
    if (!m_limits.empty()) end = std::min(end, m_limits.back());
    return end > m_pos ? end - m_pos : 0;
}

namespace {
constexpr uint64_t kProgressStep = 1 << 20;
// Reads at least this large bypass the window and go to the implementation in one piece.
constexpr size_t kDirectReadSize = 1 << 18;
}  // namespace

bool OByteStream::bSeek(uint64_t pos) {
    if (!m_ok) return false;
    if (!m_limits.empty() && pos > m_limits.back()) return Fail();
    DropReadWindow();
    if (!DoSeek(pos)) return Fail();
    if (pos < m_progressMark) m_progressMark = pos;
    m_pos = pos;
    return true;
}

void OByteStream::SetReadWindow(const uint8_t* begin, size_t size) {
    m_window = begin;
    m_windowLeft = size;
    UpdateFastLeft();
}

void OByteStream::DropReadWindow() {
    m_window = nullptr;
    m_windowLeft = 0;
    m_fastLeft = 0;
}

void OByteStream::UpdateFastLeft() {
    m_fastLeft = m_ok ? static_cast<size_t>(std::min<uint64_t>(m_windowLeft, iRemaining())) : 0;
}

void OByteStream::SetProgress(OProgressCtrl* progress) {
    ReportProgress();
    m_progress = progress;
    m_progressMark = m_pos;
}

void OByteStream::ReportProgress() {
    if (!m_progress) return;
    if (m_pos > m_progressMark) {
        m_progress->Increase(static_cast<int64_t>(m_pos - m_progressMark));
        m_progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
    }
    m_progressMark = m_pos;
}

bool OByteStream::ReadSlow(void* data, size_t size) {
    if (!m_ok) return false;
    if (size == 0) return true;
    if (size > iRemaining()) return Fail();
    auto* out = static_cast<uint8_t*>(data);
    size_t done = 0;
    while (done < size) {
        if (m_windowLeft == 0) {
            ReportProgress();
            if (size - done >= kDirectReadSize || !FillReadWindow() || m_windowLeft == 0) break;
        }
        const size_t n = std::min(m_windowLeft, size - done);
        std::memcpy(out + done, m_window, n);
        m_window += n;
        m_windowLeft -= n;
        m_pos += n;
        done += n;
    }
    if (done < size) {
        DropReadWindow();
        const size_t got = DoRead(out + done, size - done);
        m_pos += got;
        done += got;
        if (done < size) return Fail();
    }
    UpdateFastLeft();
    return true;
}

bool OByteStream::bSkip(uint64_t count) {
    if (!m_ok) return false;
    if (count > iRemaining()) return Fail();
    return bSeek(m_pos + count);
}

bool OByteStream::bPushLimit(uint64_t end) {
    if (!m_ok) return false;
    const uint64_t outer = m_pos + iRemaining();
    if (end < m_pos || end > outer) return Fail();
    m_limits.push_back(end);
    UpdateFastLeft();
    return true;
}

void OByteStream::PopLimit() {
    if (!m_limits.empty()) m_limits.pop_back();
    UpdateFastLeft();
}

bool OByteStream::bWriteRaw(const void* data, size_t size) {
    if (!m_ok) return false;
    if (size == 0) return true;
    if (m_windowLeft != 0) DropReadWindow();
    if (!DoWrite(data, size)) return Fail();
    m_pos += size;
    if (m_progress && m_pos - m_progressMark >= kProgressStep) ReportProgress();
    return true;
}

bool OByteStream::bWriteU16(uint16_t v) {
    return bWriteRaw(&v, sizeof v);
}
bool OByteStream::bWriteU32(uint32_t v) {
    return bWriteRaw(&v, sizeof v);
}
bool OByteStream::bWriteU64(uint64_t v) {
    return bWriteRaw(&v, sizeof v);
}
bool OByteStream::bWriteDouble(double v) {
    return bWriteRaw(&v, sizeof v);
}

bool OByteStream::bWriteByteArray(std::span<const uint8_t> bytes) {
    if (bytes.size() > UINT32_MAX) return Fail();
    return bWriteU32(static_cast<uint32_t>(bytes.size())) && bWriteRaw(bytes.data(), bytes.size());
}

bool OByteStream::bWriteString(std::string_view text) {
    if (text.size() > UINT32_MAX) return Fail();
    return bWriteU32(static_cast<uint32_t>(text.size())) && bWriteRaw(text.data(), text.size());
}

bool OByteStream::bWriteI16Array(std::span<const int16_t> values) {
    if (values.size() > UINT32_MAX) return Fail();
    return bWriteU32(static_cast<uint32_t>(values.size())) &&
           bWriteRaw(values.data(), values.size_bytes());
}

bool OByteStream::bWriteDoubleArray(std::span<const double> values) {
    if (values.size() > UINT32_MAX) return Fail();
    return bWriteU32(static_cast<uint32_t>(values.size())) &&
           bWriteRaw(values.data(), values.size_bytes());
}

bool OByteStream::bReadCount(uint32_t& count, uint64_t minElementSize) {
    uint32_t n = 0;
    if (!bReadU32(n)) return false;
    if (minElementSize > 0 && static_cast<uint64_t>(n) * minElementSize > iRemaining())
        return Fail();
    count = n;
    return true;
}

bool OByteStream::bReadBytes(std::vector<uint8_t>& bytes, uint64_t size) {
    if (!m_ok) return false;
    if (size > iRemaining()) return Fail();
    std::vector<uint8_t> tmp(static_cast<size_t>(size));
    if (!bReadRaw(tmp.data(), tmp.size())) return false;
    bytes = std::move(tmp);
    return true;
}

bool OByteStream::bReadByteArray(std::vector<uint8_t>& bytes) {
    uint32_t n = 0;
    return bReadCount(n, 1) && bReadBytes(bytes, n);
}

bool OByteStream::bReadString(std::string& text) {
    uint32_t n = 0;
    if (!bReadCount(n, 1)) return false;
    std::string tmp(n, '\0');
    if (!bReadRaw(tmp.data(), n)) return false;
    text = std::move(tmp);
    return true;
}

bool OByteStream::bReadI16Array(std::vector<int16_t>& values) {
    uint32_t n = 0;
    if (!bReadCount(n, sizeof(int16_t))) return false;
    std::vector<int16_t> tmp(n);
    if (!bReadRaw(tmp.data(), tmp.size() * sizeof(int16_t))) return false;
    values = std::move(tmp);
    return true;
}

bool OByteStream::bReadDoubleArray(std::vector<double>& values) {
    uint32_t n = 0;
    if (!bReadCount(n, sizeof(double))) return false;
    std::vector<double> tmp(n);
    if (!bReadRaw(tmp.data(), tmp.size() * sizeof(double))) return false;
    values = std::move(tmp);
    return true;
}
