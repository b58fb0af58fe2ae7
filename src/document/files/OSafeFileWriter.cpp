#include "document/files/OSafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "model/stream/OByteStream_File.h"

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

bool bWriteFileSafely(
    const std::filesystem::path& path,
    const std::function<bool(const std::filesystem::path& temporary, std::string& error)>& write,
    std::string& error) {
    error.clear();
    OSafeFileWriter writer(path);
    if (!writer.bBegin()) {
        error = writer.LastError();
        return false;
    }
    if (!write(writer.TemporaryPath(), error)) {
        if (error.empty()) error = "the file could not be written";
        return false;
    }
    if (!writer.bCommit()) {
        error = writer.LastError();
        return false;
    }
    return true;
}

bool bWriteFileSafely(const std::filesystem::path& path,
                      const std::function<bool(OByteStream& out)>& write, std::string& error) {
    return bWriteFileSafely(
        path,
        [&](const std::filesystem::path& temporary, std::string& why) {
            OByteStream_File out;
            if (!out.bOpen(temporary, OByteStream_File::Mode::Write)) {
                why = out.LastError();
                return false;
            }
            const bool written = write(out);
            const bool closed = out.bClose();
            if (!written || !closed) why = out.LastError();
            return written && closed;
        },
        error);
}

bool bReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes,
                    std::vector<uint8_t>& bytes, std::string& error) {
    OByteStream_File in;
    if (!in.bOpen(path, OByteStream_File::Mode::Read)) {
        error = in.LastError();
        return false;
    }
    if (in.iGetSize() > maxBytes) {
        error = "The file is larger than a file of this kind can be (" +
                std::to_string(maxBytes >> 20) + " MiB).";
        return false;
    }
    if (!in.bReadBytes(bytes, in.iGetSize())) {
        error = in.LastError().empty() ? "The file could not be read." : in.LastError();
        return false;
    }
    return true;
}
