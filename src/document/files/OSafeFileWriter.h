// Replaces a file without ever destroying the old one: the new content goes to a temporary
// file in the same folder, which is flushed to disk and renamed over the old file only
// when it is complete. Until Commit succeeds the old file is untouched; a writer that is
// abandoned removes its temporary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class OByteStream;

class OSafeFileWriter {
  public:
    explicit OSafeFileWriter(std::filesystem::path target);
    // Removes the temporary file unless committed.
    ~OSafeFileWriter();
    OSafeFileWriter(const OSafeFileWriter&) = delete;
    OSafeFileWriter& operator=(const OSafeFileWriter&) = delete;

    // Creates the temporary file (".<name>.XXXXXX" beside the target); false with
    // LastError() when the folder does not allow it.
    bool bBegin();
    const std::filesystem::path& TemporaryPath() const { return m_temporary; }
    // Flushes the temporary file to disk, gives it the old file's permissions and renames
    // it over the target; false with LastError() when any step failed (the old file is
    // then as it was).
    bool bCommit();
    void Abandon();
    const std::string& LastError() const { return m_lastError; }

  private:
    bool bFail(const std::string& what, int error);

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    bool m_committed = false;
    std::string m_lastError;
};

// Writes a file through an OSafeFileWriter: `write` fills the temporary file (given as a
// path, or as an open byte stream) and returns whether it succeeded. False with error when
// anything failed; the old file is then unchanged.
bool bWriteFileSafely(
    const std::filesystem::path& path,
    const std::function<bool(const std::filesystem::path& temporary, std::string& error)>& write,
    std::string& error);
bool bWriteFileSafely(const std::filesystem::path& path,
                      const std::function<bool(OByteStream& out)>& write, std::string& error);

// Reads a whole file of at most maxBytes bytes; false with error otherwise. Throws
// std::bad_alloc when memory runs out.
bool bReadWholeFile(const std::filesystem::path& path, uint64_t maxBytes,
                    std::vector<uint8_t>& bytes, std::string& error);
