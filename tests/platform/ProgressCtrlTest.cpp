#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "platform/OClock_Manual.h"
#include "platform/OProgressCtrl.h"
#include "platform/OProgressDisplay_Recording.h"

namespace {

using namespace std::chrono_literals;

TEST(ProgressCtrl, PercentEdgeCases) {
    OProgressCtrl progress;
    progress.Start();
    EXPECT_EQ(progress.iPercent(), 0);
    progress.Increase(5);  // no length yet
    EXPECT_EQ(progress.iPercent(), 0);

    progress.Length(3);
    progress.Start();
    progress.Length(3);
    progress.Increase();
    EXPECT_EQ(progress.iPercent(), 33);  // rounded down
    progress.Increase();
    EXPECT_EQ(progress.iPercent(), 66);
    progress.Increase();
    EXPECT_EQ(progress.iPercent(), 100);
    progress.Increase(10);  // overshoot
    EXPECT_EQ(progress.iPosition(), 13);
    EXPECT_EQ(progress.iPercent(), 100);

    progress.Length(-5);
    EXPECT_EQ(progress.iLength(), 0);
    EXPECT_EQ(progress.iPercent(), 0);
    progress.Length(200);
    progress.Increase(-100);  // position below zero
    EXPECT_EQ(progress.iPosition(), -87);
    EXPECT_EQ(progress.iPercent(), 0);
}

TEST(ProgressCtrl, HugeLengthsDoNotOverflow) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();  // 2^63 - 1
    struct Case {
        int64_t position;
        int percent;
    };
    const Case cases[] = {
        {kMax / 4, 24},      // 2^61 - 1: just below a quarter
        {kMax / 2, 49},      // 2^62 - 1: just below a half
        {kMax / 2 + 1, 50},  // 2^62: just above a half
        {kMax - 1, 99},     {kMax, 100},
    };
    OProgressCtrl progress;
    for (const Case& c : cases) {
        progress.Start();
        progress.Length(kMax);
        progress.Increase(c.position);
        EXPECT_EQ(progress.iPercent(), c.percent) << c.position;
    }
}

TEST(ProgressCtrl, ForwardsToTheDisplay) {
    OProgressDisplay_Recording display;
    OProgressCtrl progress(&display);
    EXPECT_EQ(progress.StatusText(), "For Help, press F1");
    progress.Start();
    progress.Length(4);
    progress.SetStatusText("Extracting features ...");
    progress.Increase();
    progress.UpdateDisplay();
    progress.Increase(3);
    progress.UpdateDisplay();
    EXPECT_TRUE(progress.bIsRunning());
    progress.End();
    EXPECT_FALSE(progress.bIsRunning());
    EXPECT_EQ(progress.iPosition(), 0);
    EXPECT_EQ(progress.StatusText(), "For Help, press F1");

    using Kind = OProgressUpdate::Kind;
    const std::vector<OProgressUpdate> expected{
        {Kind::Progress, 0, ""},  {Kind::StatusText, 0, "Extracting features ..."},
        {Kind::Progress, 25, ""}, {Kind::Progress, 100, ""},
        {Kind::Progress, 0, ""},  {Kind::StatusText, 0, "For Help, press F1"},
    };
    EXPECT_EQ(display.Updates(), expected);
    EXPECT_EQ(display.Percents(), (std::vector<int>{0, 25, 100, 0}));
}

TEST(ProgressCtrl, WorksWithoutADisplay) {
    OProgressCtrl progress;
    progress.Start();
    progress.Length(2);
    progress.Increase();
    progress.UpdateDisplay();
    progress.SetStatusText("x");
    EXPECT_EQ(progress.StatusText(), "x");
    progress.End();
    EXPECT_EQ(progress.StatusText(), "For Help, press F1");
}

TEST(ProgressCtrl, DisplayIsRefreshedOnlyAfterMoreThan400Ms) {
    OProgressDisplay_Recording display;
    OProgressCtrl progress(&display);
    OClock_Manual clock;
    progress.Start();
    progress.Length(10);
    display.Clear();
    EXPECT_TRUE(progress.bUpdateDisplayIfDue(clock.Now()));  // the first one after Start
    progress.Increase();
    clock.Advance(400ms);
    EXPECT_FALSE(progress.bUpdateDisplayIfDue(clock.Now()));
    clock.Advance(1ms);
    EXPECT_TRUE(progress.bUpdateDisplayIfDue(clock.Now()));
    clock.Advance(100ms);
    EXPECT_FALSE(progress.bUpdateDisplayIfDue(clock.Now()));
    progress.Start();  // a new operation shows at once
    EXPECT_TRUE(progress.bUpdateDisplayIfDue(clock.Now()));
    EXPECT_EQ(display.Percents(), (std::vector<int>{0, 10, 0, 0}));
}

TEST(ProgressCtrl, IncreaseFromSeveralThreads) {
    OProgressCtrl progress;
    progress.Start();
    progress.Length(40000);
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&progress] {
            for (int i = 0; i < 10000; ++i)
                progress.Increase();
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(progress.iPosition(), 40000);
    EXPECT_EQ(progress.iPercent(), 100);
}

}  // namespace
