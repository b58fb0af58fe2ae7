// The progress object of every long operation: a position within a length and the status
// text, shown on an optional ProgressDisplay.
//
// Increase and the getters are thread-safe (extraction workers increase the position from
// several threads). Start, Length, UpdateDisplay, SetStatusText and End belong to the UI
// thread, which also owns the display. Callers refresh the display only when more than
// 400 ms have passed since the last refresh, which bUpdateDisplayIfDue does for them.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ProgressDisplay.h"

class OProgressCtrl {
  public:
    static constexpr std::string_view kIdleStatusText = "For Help, press F1";
    static constexpr std::chrono::milliseconds kDisplayInterval{400};

    OProgressCtrl() = default;
    explicit OProgressCtrl(ProgressDisplay* display) : m_display(display) {}

    // The display is not owned; nullptr detaches it.
    void SetDisplay(ProgressDisplay* display);

    // Begins an operation: position and length 0, the bar shown empty.
    void Start();
    // Negative totals count as 0.
    void Length(int64_t total);
    void Increase(int64_t step = 1);
    // Shows the current percentage.
    void UpdateDisplay();
    // UpdateDisplay when more than kDisplayInterval has passed since the last one (or there
    // was none since Start); true when it updated.
    bool bUpdateDisplayIfDue(std::chrono::steady_clock::time_point now);
    void SetStatusText(std::string_view text);
    // Ends the operation: the bar is cleared and the idle text restored.
    void End();

    int64_t iPosition() const { return m_position.load(); }
    int64_t iLength() const { return m_length.load(); }
    // 0 to 100; 0 while the length is 0, 100 once the position reaches the length.
    int iPercent() const;
    std::string StatusText() const;
    bool bIsRunning() const { return m_running.load(); }

  private:
    void ShowStatus(std::string_view text);

    ProgressDisplay* m_display = nullptr;
    std::atomic<int64_t> m_position{0};
    std::atomic<int64_t> m_length{0};
    std::atomic<bool> m_running{false};
    std::optional<std::chrono::steady_clock::time_point> m_lastDisplay;
    mutable std::mutex m_textMutex;
    std::string m_statusText{kIdleStatusText};
};
