// Settings kept in an INI file (UTF-8, escaping rules in IniFormat.h). The values live in
// memory; the file is read by bLoad and written by bFlush.
//
// Saving never destroys the old file: the text goes to a temporary file in the same folder,
// which is flushed to disk and then renamed over the old one. A file that existed but could
// not be read or parsed is kept as "<file>.bad" when the store first replaces it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/OSettings_Memory.h"

class OSettings_Ini : public OSettings_Memory {
  public:
    OSettings_Ini() = default;
    // Loads the file; check LastError() for what went wrong.
    explicit OSettings_Ini(const std::filesystem::path& path);

    // Replaces the store's contents with the file's and makes it the file bFlush writes.
    // A missing file is a fresh, empty store (true). A file that cannot be read or parsed
    // leaves the store empty and returns false with LastError() set.
    bool bLoad(const std::filesystem::path& path);
    // Writes the file when something changed since the last load or save; false with
    // LastError() set when no file was chosen or writing failed.
    bool bFlush() override;

    std::filesystem::path Path() const;
    std::string LastError() const;

  private:
    bool bSave(const std::string& text);
    bool bFail(std::string error);

    mutable std::mutex m_fileMutex;  // serialises load and save, guards the members below
    std::filesystem::path m_path;
    std::string m_lastError;
    uint64_t m_savedChangeCount = 0;
    bool m_keepDamagedFile = false;  // the file on disk could not be loaded
};
