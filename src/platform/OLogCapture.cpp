#include "platform/OLogCapture.h"

OLogCapture::OLogCapture(LogLevel minimumLevel) : m_previousLevel(Log::MinimumLevel()) {
    m_previousSink = Log::SetSink([this](const OLogRecord& record) {
        std::lock_guard lock(m_mutex);
        m_records.push_back(record);
    });
    Log::SetMinimumLevel(minimumLevel);
}

OLogCapture::~OLogCapture() {
    Log::SetSink(std::move(m_previousSink));
    Log::SetMinimumLevel(m_previousLevel);
}

std::vector<OLogRecord> OLogCapture::Records() const {
    std::lock_guard lock(m_mutex);
    return m_records;
}

std::vector<std::string> OLogCapture::Texts() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const auto& record : m_records)
        texts.push_back(record.text);
    return texts;
}

void OLogCapture::Clear() {
    std::lock_guard lock(m_mutex);
    m_records.clear();
}
