#include "document/ORecentFileList.h"

#include <algorithm>

#include "platform/Settings.h"

namespace {

std::string EntryName(int index) {
    return "File" + std::to_string(index + 1);
}

}  // namespace

ORecentFileList::ORecentFileList(Settings& settings, int size)
    : m_settings(settings), m_size(std::max(1, size)) {
    Load();
}

void ORecentFileList::Load() {
    m_entries.clear();
    for (int i = 0; i < m_size; ++i) {
        std::string path = m_settings.GetText(kSection, EntryName(i), "");
        if (!path.empty()) m_entries.push_back(std::move(path));
    }
}

void ORecentFileList::Add(const std::string& path) {
    if (path.empty()) return;
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (static_cast<int>(m_entries.size()) > m_size) m_entries.resize(static_cast<size_t>(m_size));
    Store();
}

void ORecentFileList::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    m_entries.erase(m_entries.begin() + index);
    Store();
}

void ORecentFileList::Store() {
    for (int i = 0; i < m_size; ++i) {
        if (i < static_cast<int>(m_entries.size())) {
            m_settings.SetText(kSection, EntryName(i), m_entries[static_cast<size_t>(i)]);
        } else {
            m_settings.RemoveValue(kSection, EntryName(i));
        }
    }
}
