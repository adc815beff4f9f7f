#include <gtest/gtest.h>

#include <vector>

#include "x11/PassTimers.h"

namespace {

// Every pass taken at `now`, in the order the loop runs them.
std::vector<Pass> TakeAll(CPassTimers& timers, int64_t now)
{
    std::vector<Pass> passes;
    for (Pass pass = timers.TakeDue(now); pass != Pass::NONE; pass = timers.TakeDue(now))
        passes.push_back(pass);
    return passes;
}

TEST(PassTimersTest, EachTimerFiresOnItsPeriodAndTiesRunLiftsPeopleLegend)
{
    CPassTimers timers(100, 500, 5000);
    EXPECT_EQ(timers.GetWait(5000), 100);
    EXPECT_TRUE(TakeAll(timers, 5099).empty());
    EXPECT_EQ(TakeAll(timers, 5100), std::vector<Pass>{Pass::LIFTS});
    EXPECT_EQ(timers.GetWait(5150), 50);
    int lifts = 1;
    int people = 0;
    for (int64_t now = 5101; now < 5999; ++now) {
        for (Pass pass : TakeAll(timers, now))
            (pass == Pass::LIFTS ? lifts : people) += 1;
    }
    EXPECT_EQ(lifts, 9);
    EXPECT_EQ(people, 1);
    // At 6000 all three are due together.
    EXPECT_EQ(TakeAll(timers, 6000), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE, Pass::LEGEND}));
    EXPECT_EQ(timers.GetWait(6000), 100);
}

TEST(PassTimersTest, ALateTimerFiresOnceAndKeepsItsPeriodFromThen)
{
    CPassTimers timers(101, 500, 0);
    // Stopped for ten seconds: one pass of each, no burst to catch up.
    EXPECT_EQ(TakeAll(timers, 10000), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE, Pass::LEGEND}));
    EXPECT_EQ(timers.GetWait(10000), 101);
    EXPECT_EQ(TakeAll(timers, 10101), std::vector<Pass>{Pass::LIFTS});
    EXPECT_EQ(timers.GetWait(10101), 101);
}

TEST(PassTimersTest, PeriodsBelowOneMillisecondTickEveryMillisecond)
{
    // Speed 101 would give -4 ms, speed 100.2 gives 0: neither may spin nor stop the lifts.
    for (const int32_t period : {0, -4, INT32_MIN}) {
        CPassTimers timers(period, period, 0);
        EXPECT_EQ(timers.GetWait(0), 1) << period;
        EXPECT_EQ(TakeAll(timers, 1), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE})) << period;
        EXPECT_EQ(timers.GetWait(1), 1) << period;
    }
}

} // namespace
