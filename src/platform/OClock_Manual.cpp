#include "platform/OClock_Manual.h"

namespace {
// A fixed, recognisable start: 2024-01-01 00:00:00 UTC on the calendar, one hour on the
// monotonic clock (so that "now minus a few seconds" stays after the clock's epoch).
constexpr std::chrono::seconds kWallStart{1704067200};
constexpr std::chrono::hours kMonotonicStart{1};
}  // namespace

OClock_Manual::OClock_Manual()
    : m_now(std::chrono::steady_clock::time_point(kMonotonicStart)),
      m_wall(std::chrono::system_clock::time_point(kWallStart)) {}

std::chrono::steady_clock::time_point OClock_Manual::Now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

std::chrono::system_clock::time_point OClock_Manual::WallNow() const {
    std::lock_guard lock(m_mutex);
    return m_wall;
}

void OClock_Manual::Advance(std::chrono::steady_clock::duration duration) {
    if (duration < std::chrono::steady_clock::duration::zero()) return;
    std::lock_guard lock(m_mutex);
    m_now += duration;
    m_wall += std::chrono::duration_cast<std::chrono::system_clock::duration>(duration);
}

void OClock_Manual::SetWall(std::chrono::system_clock::time_point wall) {
    std::lock_guard lock(m_mutex);
    m_wall = wall;
}
