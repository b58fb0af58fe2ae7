// Settings held in memory. Serves as the test double (Dump lists everything stored) and as
// the value store underneath OSettings_Ini. Thread-safe.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Settings.h"
#include "platform/SettingsValue.h"

class OSettings_Memory : public Settings {
  public:
    using ValueMap = SettingsValueMap;

    OSettings_Memory() = default;
    explicit OSettings_Memory(ValueMap values);

    int iGetInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string GetText(std::string_view section, std::string_view name,
                        std::string_view defaultValue) const override;
    void SetInt(std::string_view section, std::string_view name, int value) override;
    void SetText(std::string_view section, std::string_view name, std::string_view value) override;
    bool bHasValue(std::string_view section, std::string_view name) const override;
    void RemoveValue(std::string_view section, std::string_view name) override;
    // Nothing to persist; counts the calls for tests.
    bool bFlush() override;

    // Every value as "section\name=value", sorted by section, then name (byte order).
    std::vector<std::string> Dump() const;
    ValueMap Values() const;
    void Clear();
    int iFlushCount() const;

  protected:
    // Replaces everything; counts as a change.
    void ReplaceValues(ValueMap values);
    // Grows with every change; lets a persistent store see whether it has unsaved changes.
    uint64_t iChangeCount() const;

  private:
    mutable std::mutex m_mutex;
    ValueMap m_values;
    uint64_t m_changeCount = 0;
    int m_flushCount = 0;
};
