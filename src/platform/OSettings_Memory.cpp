#include "platform/OSettings_Memory.h"

#include "platform/SettingsValue.h"

OSettings_Memory::OSettings_Memory(ValueMap values) : m_values(std::move(values)) {}

int OSettings_Memory::iGetInt(std::string_view section, std::string_view name,
                              int defaultValue) const {
    std::lock_guard lock(m_mutex);
    const auto s = m_values.find(section);
    if (s == m_values.end()) return defaultValue;
    const auto v = s->second.find(name);
    if (v == s->second.end()) return defaultValue;
    return ParseSettingsInt(v->second).value_or(defaultValue);
}

std::string OSettings_Memory::GetText(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const {
    std::lock_guard lock(m_mutex);
    const auto s = m_values.find(section);
    if (s == m_values.end()) return std::string(defaultValue);
    const auto v = s->second.find(name);
    if (v == s->second.end()) return std::string(defaultValue);
    return v->second;
}

void OSettings_Memory::SetInt(std::string_view section, std::string_view name, int value) {
    SetText(section, name, FormatSettingsInt(value));
}

void OSettings_Memory::SetText(std::string_view section, std::string_view name,
                               std::string_view value) {
    std::lock_guard lock(m_mutex);
    auto s = m_values.find(section);
    if (s == m_values.end())
        s = m_values.emplace(std::string(section), ValueMap::mapped_type{}).first;
    auto v = s->second.find(name);
    if (v == s->second.end()) {
        s->second.emplace(std::string(name), std::string(value));
    } else {
        if (v->second == value) return;
        v->second.assign(value);
    }
    ++m_changeCount;
}

bool OSettings_Memory::bHasValue(std::string_view section, std::string_view name) const {
    std::lock_guard lock(m_mutex);
    const auto s = m_values.find(section);
    return s != m_values.end() && s->second.find(name) != s->second.end();
}

void OSettings_Memory::RemoveValue(std::string_view section, std::string_view name) {
    std::lock_guard lock(m_mutex);
    const auto s = m_values.find(section);
    if (s == m_values.end()) return;
    const auto v = s->second.find(name);
    if (v == s->second.end()) return;
    s->second.erase(v);
    if (s->second.empty()) m_values.erase(s);
    ++m_changeCount;
}

bool OSettings_Memory::bFlush() {
    std::lock_guard lock(m_mutex);
    ++m_flushCount;
    return true;
}

std::vector<std::string> OSettings_Memory::Dump() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> lines;
    for (const auto& [section, values] : m_values) {
        for (const auto& [name, value] : values)
            lines.push_back(section + "\\" + name + "=" + value);
    }
    return lines;
}

OSettings_Memory::ValueMap OSettings_Memory::Values() const {
    std::lock_guard lock(m_mutex);
    return m_values;
}

void OSettings_Memory::Clear() {
    ReplaceValues({});
}

int OSettings_Memory::iFlushCount() const {
    std::lock_guard lock(m_mutex);
    return m_flushCount;
}

void OSettings_Memory::ReplaceValues(ValueMap values) {
    std::lock_guard lock(m_mutex);
    m_values = std::move(values);
    // Empty sections do not exist in a registry-like store.
    std::erase_if(m_values, [](const auto& section) { return section.second.empty(); });
    ++m_changeCount;
}

uint64_t OSettings_Memory::iChangeCount() const {
    std::lock_guard lock(m_mutex);
    return m_changeCount;
}
