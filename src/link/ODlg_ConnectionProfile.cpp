#include "link/ODlg_ConnectionProfile.h"

#include <algorithm>

ODlg_ConnectionProfile::ODlg_ConnectionProfile(std::vector<OConnectionProfile> profiles,
                                               OConnectionProfile::Kind kind, int selected)
    : m_profiles(std::move(profiles)), m_kind(kind), m_selected(selected) {
    const auto listed = ListedProfiles();
    if (std::find(listed.begin(), listed.end(), m_selected) == listed.end())
        m_selected = listed.empty() ? -1 : listed.front();
}

std::vector<int> ODlg_ConnectionProfile::ListedProfiles() const {
    std::vector<int> out;
    for (size_t i = 0; i < m_profiles.size(); ++i) {
        if (m_profiles[i].kind == m_kind) out.push_back(static_cast<int>(i));
    }
    return out;
}

int ODlg_ConnectionProfile::iAddProfile(std::string name) {
    OConnectionProfile p;
    p.name = std::move(name);
    p.kind = m_kind;
    m_profiles.push_back(std::move(p));
    m_selected = static_cast<int>(m_profiles.size()) - 1;
    return m_selected;
}

bool ODlg_ConnectionProfile::bValidate(std::string& message) {
    if (m_selected < 0 || m_selected >= static_cast<int>(m_profiles.size()) ||
        m_profiles[static_cast<size_t>(m_selected)].kind != m_kind) {
        message = "Choose a connection profile.";
        return false;
    }
    if (m_profiles.size() > static_cast<size_t>(ConnectionProfiles::kMaxProfiles)) {
        message = "At most " + std::to_string(ConnectionProfiles::kMaxProfiles) +
                  " profiles can be kept.";
        return false;
    }
    // Every kept profile must be usable: the login refers to profiles by their place.
    for (const OConnectionProfile& p : m_profiles) {
        if (!p.bValidate(message)) {
            message = "\"" + p.name + "\": " + message;
            return false;
        }
    }
    return true;
}
