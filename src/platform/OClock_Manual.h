// A clock that moves only when told, for tests. Advance moves both the monotonic and the
// calendar time; SetWall sets the calendar time alone (the monotonic time never goes back).
#pragma once

#include <mutex>

#include "platform/Clock.h"

class OClock_Manual : public Clock {
  public:
    OClock_Manual();

    std::chrono::steady_clock::time_point Now() const override;
    std::chrono::system_clock::time_point WallNow() const override;

    // Negative durations are ignored: monotonic time cannot run backwards.
    void Advance(std::chrono::steady_clock::duration duration);
    void SetWall(std::chrono::system_clock::time_point wall);

  private:
    mutable std::mutex m_mutex;
    std::chrono::steady_clock::time_point m_now;
    std::chrono::system_clock::time_point m_wall;
};
