// The time source of every rule that depends on time (debounce, time-outs), so that tests
// can set the time. Implementations are thread-safe.
#pragma once

#include <chrono>

class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time, for intervals.
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // Calendar time, for time stamps.
    virtual std::chrono::system_clock::time_point WallNow() const = 0;
};
