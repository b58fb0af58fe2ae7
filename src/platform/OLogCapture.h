// Captures what is logged while it exists, for tests: installs a collecting sink and a
// minimum level, and puts the previous sink and level back on destruction.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/Log.h"

class OLogCapture {
  public:
    explicit OLogCapture(LogLevel minimumLevel = LogLevel::Debug);
    ~OLogCapture();
    OLogCapture(const OLogCapture&) = delete;
    OLogCapture& operator=(const OLogCapture&) = delete;

    std::vector<OLogRecord> Records() const;
    // The texts of the captured records, in order.
    std::vector<std::string> Texts() const;
    void Clear();

  private:
    mutable std::mutex m_mutex;
    std::vector<OLogRecord> m_records;
    LogSink m_previousSink;
    LogLevel m_previousLevel;
};
