#include <gtest/gtest.h>

#include "platform/OClock_Manual.h"

namespace {

using namespace std::chrono_literals;

TEST(ClockManual, MovesOnlyWhenTold) {
    OClock_Manual clock;
    const auto start = clock.Now();
    const auto wallStart = clock.WallNow();
    EXPECT_EQ(clock.Now(), start);
    EXPECT_EQ(wallStart, std::chrono::sys_days{std::chrono::January / 1 / 2024});

    clock.Advance(2s);
    EXPECT_EQ(clock.Now() - start, 2s);
    EXPECT_EQ(clock.WallNow() - wallStart, 2s);
    clock.Advance(1999ms);
    EXPECT_EQ(clock.Now() - start, 3999ms);

    clock.Advance(-10s);  // monotonic time cannot go back
    EXPECT_EQ(clock.Now() - start, 3999ms);
}

TEST(ClockManual, SetWallChangesOnlyTheCalendar) {
    OClock_Manual clock;
    const auto now = clock.Now();
    const auto newYear = std::chrono::sys_days{std::chrono::January / 1 / 2030};
    clock.SetWall(newYear);
    EXPECT_EQ(clock.WallNow(), newYear);
    EXPECT_EQ(clock.Now(), now);
    clock.Advance(90min);
    EXPECT_EQ(clock.WallNow(), newYear + 90min);
}

}  // namespace
