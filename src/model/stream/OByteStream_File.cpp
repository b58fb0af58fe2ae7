#include "model/stream/OByteStream_File.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kBufferSize = 1 << 18;
}

OByteStream_File::~OByteStream_File() {
    bClose();
}

void OByteStream_File::RecordError() {
    m_lastError = std::strerror(errno);
}

bool OByteStream_File::bOpen(const std::filesystem::path& path, Mode mode) {
    bClose();
    m_ok = true;
    m_pos = 0;
    m_mode = mode;
    m_file = std::fopen(path.c_str(), mode == Mode::Read ? "rb" : "wb");
    if (!m_file) {
        RecordError();
        m_ok = false;
        return false;
    }
    m_buffer.resize(kBufferSize);
    m_bufferStart = 0;
    m_bufferFill = 0;
    m_size = 0;
    if (mode == Mode::Read) {
        if (std::fseek(m_file, 0, SEEK_END) != 0) {
            RecordError();
            bClose();
            m_ok = false;
            return false;
        }
        const long end = std::ftell(m_file);
        m_size = end > 0 ? static_cast<uint64_t>(end) : 0;
        std::fseek(m_file, 0, SEEK_SET);
    }
    return true;
}

bool OByteStream_File::bClose() {
    DropReadWindow();
    if (!m_file) return true;
    bool ok = true;
    if (m_mode == Mode::Write) ok = FlushWriteBuffer() && std::fflush(m_file) == 0;
    if (std::fclose(m_file) != 0) ok = false;
    if (!ok) RecordError();
    m_file = nullptr;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    if (!ok) m_ok = false;
    return ok;
}

bool OByteStream_File::bFlush() {
    if (!m_file || !m_ok) return false;
    if (m_mode == Mode::Write && (!FlushWriteBuffer() || std::fflush(m_file) != 0)) {
        RecordError();
        return Fail();
    }
    return true;
}

bool OByteStream_File::FlushWriteBuffer() {
    if (m_bufferFill == 0) return true;
    if (std::fseek(m_file, static_cast<long>(m_bufferStart), SEEK_SET) != 0) return false;
    if (std::fwrite(m_buffer.data(), 1, m_bufferFill, m_file) != m_bufferFill) return false;
    m_bufferStart += m_bufferFill;
    m_bufferFill = 0;
    return true;
}

bool OByteStream_File::FillReadWindow() {
    if (!m_file || m_mode != Mode::Read || m_pos >= m_size) return false;
    if (m_pos < m_bufferStart || m_pos >= m_bufferStart + m_bufferFill) {
        if (std::fseek(m_file, static_cast<long>(m_pos), SEEK_SET) != 0) return false;
        m_bufferStart = m_pos;
        m_bufferFill = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
        if (m_bufferFill == 0) return false;
    }
    const size_t offset = static_cast<size_t>(m_pos - m_bufferStart);
    SetReadWindow(m_buffer.data() + offset, m_bufferFill - offset);
    return true;
}

size_t OByteStream_File::DoRead(void* data, size_t size) {
    if (!m_file || m_mode != Mode::Read) return 0;
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
        if (size - done >= m_buffer.size()) {
            // Large reads bypass the buffer.
            if (std::fseek(m_file, static_cast<long>(pos), SEEK_SET) != 0) break;
            const size_t n = std::fread(out + done, 1, size - done, m_file);
            done += n;
            break;
        }
        if (std::fseek(m_file, static_cast<long>(pos), SEEK_SET) != 0) break;
        m_bufferStart = pos;
        m_bufferFill = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
        if (m_bufferFill == 0) break;
    }
    return done;
}

bool OByteStream_File::DoWrite(const void* data, size_t size) {
    if (!m_file || m_mode != Mode::Write) return false;
    const auto* in = static_cast<const uint8_t*>(data);
    // Writes inside or right after the buffered bytes stay in the buffer, so that patching a
    // length field a little way back costs no system call.
    const bool inBuffer = m_pos >= m_bufferStart && m_pos <= m_bufferStart + m_bufferFill &&
                          m_pos - m_bufferStart + size <= m_buffer.size();
    if (!inBuffer) {
        if (!FlushWriteBuffer()) return false;
        if (size >= m_buffer.size()) {
            if (std::fseek(m_file, static_cast<long>(m_pos), SEEK_SET) != 0) return false;
            if (std::fwrite(in, 1, size, m_file) != size) return false;
            m_bufferStart = m_pos + size;
            m_size = std::max<uint64_t>(m_size, m_pos + size);
            return true;
        }
        m_bufferStart = m_pos;
    }
    const size_t offset = static_cast<size_t>(m_pos - m_bufferStart);
    std::memcpy(m_buffer.data() + offset, in, size);
    m_bufferFill = std::max(m_bufferFill, offset + size);
    m_size = std::max<uint64_t>(m_size, m_pos + size);
    return true;
}

bool OByteStream_File::DoSeek(uint64_t pos) {
    if (!m_file) return false;
    // Writing flushes the buffer itself when the position leaves it.
    return pos <= m_size;
}

uint64_t OByteStream_File::DoSize() const {
    return m_size;
}
