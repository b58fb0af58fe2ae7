// The verification log of a test-case run: a text file "Log [ADDRESS] (TIME).csv" in the log
// folder, opened to append (created when missing, never truncated) with other writers locked
// out. Every line is a row of fields separated by ";" ending with "\r\n", written in the
// system code page. Lines come from the run's worker and from the user-interface thread.
#pragma once

#include <ctime>
#include <mutex>
#include <string>
#include <vector>

class OVerificationLog {
  public:
    OVerificationLog() = default;
    ~OVerificationLog();
    OVerificationLog(const OVerificationLog&) = delete;
    OVerificationLog& operator=(const OVerificationLog&) = delete;

    // "%s/Log [%s] (%Y-%m-%d %H-%M-%S).csv" of the log folder (without its trailing separators,
    // quotes and blanks), the device address and the local time `opened`.
    static std::string FileName(const std::string& logDir, const std::string& address,
                                std::time_t opened);

    // Opens `path` to append; false (with the reason) when it cannot be created, written or
    // locked because another writer holds it.
    bool bOpen(const std::string& path, std::string* error = nullptr);
    bool bIsOpen() const;
    void Close();
    const std::string& Path() const { return m_path; }

    // One row; false when the log is closed or the write failed.
    bool bWrite(const std::vector<std::string>& fields);

  private:
    mutable std::mutex m_mutex;
    int m_fd = -1;
    std::string m_path;
};
