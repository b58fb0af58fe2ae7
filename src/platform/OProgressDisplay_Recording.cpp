#include "platform/OProgressDisplay_Recording.h"

void OProgressDisplay_Recording::ShowProgress(int percent) {
    std::lock_guard lock(m_mutex);
    m_updates.push_back({OProgressUpdate::Kind::Progress, percent, {}});
}

void OProgressDisplay_Recording::ShowStatusText(std::string_view text) {
    std::lock_guard lock(m_mutex);
    m_updates.push_back({OProgressUpdate::Kind::StatusText, 0, std::string(text)});
}

std::vector<OProgressUpdate> OProgressDisplay_Recording::Updates() const {
    std::lock_guard lock(m_mutex);
    return m_updates;
}

std::vector<int> OProgressDisplay_Recording::Percents() const {
    std::lock_guard lock(m_mutex);
    std::vector<int> percents;
    for (const auto& update : m_updates) {
        if (update.kind == OProgressUpdate::Kind::Progress) percents.push_back(update.percent);
    }
    return percents;
}

std::vector<std::string> OProgressDisplay_Recording::StatusTexts() const {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const auto& update : m_updates) {
        if (update.kind == OProgressUpdate::Kind::StatusText) texts.push_back(update.text);
    }
    return texts;
}

void OProgressDisplay_Recording::Clear() {
    std::lock_guard lock(m_mutex);
    m_updates.clear();
}
