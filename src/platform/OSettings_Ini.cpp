#include "platform/OSettings_Ini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/IniFormat.h"

namespace {

// Settings files are small; anything this large is not one of ours.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

std::string SystemError(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

bool bWriteAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: makes the rename durable on file systems that need it
    ::close(fd);
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult ReadWholeFile(const std::filesystem::path& path, std::string& content,
                         std::string& error) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return ReadResult::Missing;
    if (ec) {
        error = "cannot examine the file: " + ec.message();
        return ReadResult::Failed;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return ReadResult::Failed;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileSize) {
        error = ec ? "cannot examine the file: " + ec.message() : "file too large";
        return ReadResult::Failed;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = SystemError("cannot open the file", errno);
        return ReadResult::Failed;
    }
    content.resize(static_cast<size_t>(size));
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.gcount() != static_cast<std::streamsize>(content.size()) || in.bad()) {
        error = "cannot read the file";
        return ReadResult::Failed;
    }
    return ReadResult::Ok;
}

}  // namespace

OSettings_Ini::OSettings_Ini(const std::filesystem::path& path) {
    bLoad(path);
}

bool OSettings_Ini::bLoad(const std::filesystem::path& path) {
    std::lock_guard lock(m_fileMutex);
    m_path = path;
    m_lastError.clear();
    m_keepDamagedFile = false;

    std::string content;
    std::string error;
    SettingsValueMap values;
    const ReadResult read = ReadWholeFile(path, content, error);
    const bool ok = read == ReadResult::Missing ||
                    (read == ReadResult::Ok && bParseIni(content, values, error));
    ReplaceValues(ok ? std::move(values) : SettingsValueMap{});
    m_savedChangeCount = iChangeCount();
    if (ok) return true;
    std::error_code ec;
    m_keepDamagedFile = std::filesystem::is_regular_file(path, ec);
    return bFail(path.string() + ": " + error);
}

bool OSettings_Ini::bFlush() {
    std::lock_guard lock(m_fileMutex);
    if (m_path.empty()) return bFail("no settings file chosen");
    // The count is read before the values: a change in between is saved now and again later,
    // never lost.
    const uint64_t changeCount = iChangeCount();
    if (changeCount == m_savedChangeCount) return true;
    if (!bSave(FormatIni(Values()))) return false;
    m_savedChangeCount = changeCount;
    m_lastError.clear();
    return true;
}

bool OSettings_Ini::bSave(const std::string& text) {
    const std::filesystem::path folder =
        m_path.has_parent_path() ? m_path.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return bFail(m_path.string() + ": cannot create the folder: " + ec.message());

    std::string tempName = (folder / ("." + m_path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return bFail(SystemError(m_path.string() + ": cannot create a temporary file", errno));

    struct stat oldStatus {};
    const mode_t mode =
        ::stat(m_path.c_str(), &oldStatus) == 0 ? (oldStatus.st_mode & 0777) | 0600 : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && bWriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 && ok) ok = false;
    if (!ok) {
        ::unlink(tempName.c_str());
        return bFail(
            SystemError(m_path.string() + ": cannot write the temporary file", writeError));
    }

    const std::string damagedName = m_path.string() + ".bad";
    const bool keptDamaged =
        m_keepDamagedFile && ::rename(m_path.c_str(), damagedName.c_str()) == 0;
    if (::rename(tempName.c_str(), m_path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(tempName.c_str());
        if (keptDamaged) ::rename(damagedName.c_str(), m_path.c_str());
        return bFail(SystemError(m_path.string() + ": cannot replace the file", renameError));
    }
    SyncFolder(folder);
    m_keepDamagedFile = false;
    return true;
}

bool OSettings_Ini::bFail(std::string error) {
    m_lastError = std::move(error);
    return false;
}

std::filesystem::path OSettings_Ini::Path() const {
    std::lock_guard lock(m_fileMutex);
    return m_path;
}

std::string OSettings_Ini::LastError() const {
    std::lock_guard lock(m_fileMutex);
    return m_lastError;
}
