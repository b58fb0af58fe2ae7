#include "testcases/OVerificationLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/strings/CodePage.h"

OVerificationLog::~OVerificationLog() {
    Close();
}

std::string OVerificationLog::FileName(const std::string& logDir, const std::string& address,
                                       std::time_t opened) {
    std::string folder = logDir;
    const auto trimmed = [](char c) {
        return c == '\\' || c == '/' || c == '"' || c == '\'' || c == ' ' || c == '\t';
    };
    while (!folder.empty() && trimmed(folder.back()))
        folder.pop_back();
    std::tm local{};
    localtime_r(&opened, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
    const std::string name = "Log [" + address + "] (" + stamp + ").csv";
    if (folder.empty()) return logDir.empty() || logDir.front() != '/' ? name : "/" + name;
    return folder + "/" + name;
}

bool OVerificationLog::bOpen(const std::string& path, std::string* error) {
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_path = path;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (error) *error = path + ": the file is in use by another writer";
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool OVerificationLog::bIsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_fd >= 0;
}

void OVerificationLog::Close() {
    std::lock_guard lock(m_mutex);
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
    m_fd = -1;
}

bool OVerificationLog::bWrite(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ';';
        line += fields[i];
    }
    line = Utf8ToCp1252(line) + "\r\n";
    std::lock_guard lock(m_mutex);
    if (m_fd < 0) return false;
    size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(m_fd, line.data() + written, line.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<size_t>(n);
    }
    return true;
}
