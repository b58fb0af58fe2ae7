#include "document/files/OSafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

}  // namespace

OSafeFileWriter::OSafeFileWriter(std::filesystem::path target) : m_target(std::move(target)) {}

OSafeFileWriter::~OSafeFileWriter() {
    if (!m_committed) Abandon();
}

bool OSafeFileWriter::bFail(const std::string& what, int error) {
    m_lastError = what + ": " + std::strerror(error);
    return false;
}

bool OSafeFileWriter::bBegin() {
    Abandon();
    m_committed = false;
    std::string name =
        (FolderOf(m_target) / ("." + m_target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return bFail("cannot create a temporary file beside " + m_target.string(), errno);
    ::close(fd);
    m_temporary = name;
    return true;
}

bool OSafeFileWriter::bCommit() {
    if (m_temporary.empty()) return bFail("nothing was written", EINVAL);
    const int fd = ::open(m_temporary.c_str(), O_RDWR);
    if (fd < 0) return bFail("cannot reopen " + m_temporary.string(), errno);
    struct stat old {};
    const mode_t mode = ::stat(m_target.c_str(), &old) == 0 ? (old.st_mode & 0777) | 0600 : 0644;
    const bool synced = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0 || !synced)
        return bFail("cannot write " + m_temporary.string(), syncError);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return bFail("cannot replace " + m_target.string(), errno);
    m_committed = true;
    m_temporary.clear();
    SyncFolder(FolderOf(m_target));
    return true;
}

void OSafeFileWriter::Abandon() {
    if (m_temporary.empty()) return;
    ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
