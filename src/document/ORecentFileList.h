// The most-recently-used project files, kept in the settings store under
// "Recent File List" as "File1" … "File8" (newest first).
#pragma once

#include <string>
#include <vector>

class Settings;

class ORecentFileList {
  public:
    static constexpr int kDefaultSize = 8;
    static constexpr const char* kSection = "Recent File List";

    explicit ORecentFileList(Settings& settings, int size = kDefaultSize);

    // Puts the path first (removing an older entry of the same path) and stores the list.
    void Add(const std::string& path);
    void Remove(int index);
    const std::vector<std::string>& Entries() const { return m_entries; }
    int iGetSize() const { return m_size; }
    // Re-reads the list from the store.
    void Load();

  private:
    void Store();

    Settings& m_settings;
    int m_size;
    std::vector<std::string> m_entries;
};
