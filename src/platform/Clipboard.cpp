#include "platform/Clipboard.h"

int Clipboard::iGetPriorityFormat(std::span<const std::string> formats) const {
    for (size_t i = 0; i < formats.size(); ++i) {
        if (bHasFormat(formats[i])) return static_cast<int>(i);
    }
    return -1;
}

bool OClipboard_Memory::bSetData(std::string_view format, std::span<const uint8_t> bytes) {
    if (m_failNext) {
        m_failNext = false;
        return false;
    }
    m_format = format;
    m_bytes.assign(bytes.begin(), bytes.end());
    return true;
}

bool OClipboard_Memory::bGetData(std::string_view format, std::vector<uint8_t>& bytes) const {
    if (!bHasFormat(format)) return false;
    bytes = m_bytes;
    return true;
}

void OClipboard_Memory::Clear() {
    m_format.clear();
    m_bytes.clear();
}
