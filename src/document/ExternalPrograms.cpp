#include "document/ExternalPrograms.h"

#include <algorithm>

bool OExternalPrograms_Recording::bStartDetached(const std::string& program, std::string& error) {
    m_started.push_back(program);
    if (std::find(m_startable.begin(), m_startable.end(), program) != m_startable.end())
        return true;
    error = "cannot start " + program;
    return false;
}

bool OExternalPrograms_Recording::bActivateWindow(int64_t handle, int commandId) {
    if (handle == 0 || handle != m_window) return false;
    m_activations.emplace_back(handle, commandId);
    return true;
}
