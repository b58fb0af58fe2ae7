#include "platform/OProgressCtrl.h"

void OProgressCtrl::SetDisplay(ProgressDisplay* display) {
    m_display = display;
}

void OProgressCtrl::Start() {
    m_position = 0;
    m_length = 0;
    m_running = true;
    m_lastDisplay.reset();
    if (m_display) m_display->ShowProgress(0);
}

void OProgressCtrl::Length(int64_t total) {
    m_length = total < 0 ? 0 : total;
}

void OProgressCtrl::Increase(int64_t step) {
    m_position.fetch_add(step);
}

int OProgressCtrl::iPercent() const {
    const int64_t length = m_length.load();
    const int64_t position = m_position.load();
    if (length <= 0 || position <= 0) return 0;
    if (position >= length) return 100;
    // position * 100 can exceed 64 bits for huge lengths.
    __extension__ typedef __int128 Wide;
    return static_cast<int>(static_cast<Wide>(position) * 100 / length);
}

void OProgressCtrl::UpdateDisplay() {
    if (m_display) m_display->ShowProgress(iPercent());
}

bool OProgressCtrl::bUpdateDisplayIfDue(std::chrono::steady_clock::time_point now) {
    if (m_lastDisplay && now - *m_lastDisplay <= kDisplayInterval) return false;
    m_lastDisplay = now;
    UpdateDisplay();
    return true;
}

void OProgressCtrl::SetStatusText(std::string_view text) {
    ShowStatus(text);
}

void OProgressCtrl::End() {
    m_position = 0;
    m_length = 0;
    m_running = false;
    m_lastDisplay.reset();
    if (m_display) m_display->ShowProgress(0);
    ShowStatus(kIdleStatusText);
}

std::string OProgressCtrl::StatusText() const {
    std::lock_guard lock(m_textMutex);
    return m_statusText;
}

void OProgressCtrl::ShowStatus(std::string_view text) {
    {
        std::lock_guard lock(m_textMutex);
        m_statusText.assign(text);
    }
    if (m_display) m_display->ShowStatusText(text);
}
