#include "model/stream/OByteStream_Memory.h"

#include <cstring>

OByteStream_Memory OByteStream_Memory::View(std::span<const uint8_t> bytes) {
    OByteStream_Memory s;
    s.m_view = bytes.data();
    s.m_viewSize = bytes.size();
    // An empty span may carry a null pointer; keep "is a view" distinguishable.
    if (s.m_view == nullptr) s.m_view = reinterpret_cast<const uint8_t*>("");
    return s;
}

OByteStream_Memory::OByteStream_Memory(OByteStream_Memory&& other) noexcept
    : m_data(std::move(other.m_data)), m_view(other.m_view), m_viewSize(other.m_viewSize) {
    m_pos = other.m_pos;
    m_ok = other.m_ok;
    other.m_view = nullptr;
    other.m_viewSize = 0;
    other.m_pos = 0;
}

std::vector<uint8_t> OByteStream_Memory::TakeBytes() {
    std::vector<uint8_t> out;
    if (m_view) {
        out.assign(m_view, m_view + m_viewSize);
    } else {
        out = std::move(m_data);
    }
    Clear();
    return out;
}

void OByteStream_Memory::Clear() {
    DropReadWindow();
    m_data.clear();
    m_view = nullptr;
    m_viewSize = 0;
    m_pos = 0;
    m_ok = true;
    while (iLimitDepth() > 0)
        PopLimit();
}

bool OByteStream_Memory::FillReadWindow() {
    const uint64_t total = DoSize();
    if (m_pos >= total) return false;
    // Windows of at most 1 MiB let the base report progress as reading goes on.
    SetReadWindow(Data() + m_pos, static_cast<size_t>(std::min<uint64_t>(total - m_pos, 1 << 20)));
    return true;
}

size_t OByteStream_Memory::DoRead(void* data, size_t size) {
    const uint64_t total = DoSize();
    if (m_pos >= total) return 0;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(size, total - m_pos));
    std::memcpy(data, Data() + m_pos, n);
    return n;
}

bool OByteStream_Memory::DoWrite(const void* data, size_t size) {
    if (m_view) return false;
    const size_t end = static_cast<size_t>(m_pos) + size;
    if (end > m_data.size()) {
        if (end > m_data.capacity()) m_data.reserve(std::max(end, m_data.capacity() * 2));
        m_data.resize(end);
    }
    std::memcpy(m_data.data() + m_pos, data, size);
    return true;
}

bool OByteStream_Memory::DoSeek(uint64_t pos) {
    if (pos > DoSize()) return false;
    return true;
}
