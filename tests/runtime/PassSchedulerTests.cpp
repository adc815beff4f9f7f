#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../view/RecordingSurface.h"
#include "runtime/FrameRate.h"
#include "runtime/PassScheduler.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "view/Scene.h"

namespace {

std::vector<Pass> Take(CPassScheduler& scheduler, int64_t now)
{
    const DuePasses due = scheduler.TakeDue(now);
    return std::vector<Pass>(due.passes, due.passes + due.count);
}

// Runs the scheduler as a front end's loop does, waking when it says, from `start` to `end`, and
// counts each pass; `frames` counts the wake-ups that ran anything.
struct Counts {
    int passes[PASS_COUNT];
    int frames;
};
Counts RunLoop(CPassScheduler& scheduler, int64_t start, int64_t end)
{
    Counts counts{};
    for (int64_t now = start; now < end; now += scheduler.GetWait(now)) {
        const DuePasses due = scheduler.TakeDue(now);
        counts.frames += due.count > 0;
        for (int index = 0; index < due.count; ++index)
            ++counts.passes[static_cast<int>(due.passes[index])];
    }
    return counts;
}

TEST(PassSchedulerTest, EveryPeriodIsKeptOverAnHourAndALateClockRunsOnceWithoutABurst)
{
    // The lift tick at the fastest, default and slowest speeds; the people tick's range; grouped
    // or not, each pass keeps its period on average over a simulated hour.
    const struct {
        int32_t lift, people;
    } periods[] = {{1, 100}, {101, 500}, {501, 2000}, {496, 333}};
    constexpr int64_t HOUR = 3600 * 1000;
    for (const bool grouped : {false, true}) {
        for (const auto& period : periods) {
            CPassScheduler scheduler(period.lift, period.people, 0, grouped);
            const Counts counts = RunLoop(scheduler, 0, HOUR + 1);
            // Grouped, a pass due just after the hour may run with the hour's last frame.
            EXPECT_NEAR(counts.passes[0], HOUR / period.lift, 1) << period.lift << " grouped " << grouped;
            EXPECT_NEAR(counts.passes[1], HOUR / period.people, 1) << period.people << " grouped " << grouped;
            EXPECT_NEAR(counts.passes[2], HOUR / CPassScheduler::LEGEND_PERIOD, 1) << grouped;
            // Stopped for a minute (a hidden page, a stopped process): one pass of each, then the
            // periods again from then on.
            EXPECT_EQ(Take(scheduler, HOUR + 60000).size(), 3u) << grouped;
            EXPECT_EQ(scheduler.GetWait(HOUR + 60000), std::min({period.lift, period.people, 1000}));
            const Counts after = RunLoop(scheduler, HOUR + 60001, HOUR + 70001);
            EXPECT_NEAR(after.passes[2], 10, 1) << grouped;
            EXPECT_NEAR(after.passes[0], 10000 / period.lift, 1) << grouped;
        }
    }
}

TEST(PassSchedulerTest, GroupedPassesDueWithinAQuarterPeriodShareOneFrame)
{
    // Lifts every 101 ms, people every 500 ms, the legend every 1000: ungrouped, the people and
    // legend passes mostly land between lift ticks and each makes a frame of its own.
    CPassScheduler single(101, 500, 0, false);
    CPassScheduler grouped(101, 500, 0, true);
    const Counts apart = RunLoop(single, 0, 101 * 1000 + 1);
    const Counts together = RunLoop(grouped, 0, 101 * 1000 + 1);
    EXPECT_EQ(together.frames, 1000); // one per lift tick: the others ride along
    EXPECT_GT(apart.frames, 1000 + 150);
    // A pass taken early keeps its schedule: the people pass due at 500 runs at 404 with the
    // fourth lift tick, and the next one is still due at 1000, so it runs with the ninth at 909
    // (the legend, a quarter of whose period is 250 ms, went with the eighth).
    CPassScheduler early(101, 500, 0, true);
    RunLoop(early, 0, 404);
    EXPECT_EQ(Take(early, 404), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE}));
    RunLoop(early, 405, 909);
    EXPECT_EQ(Take(early, 909), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE}));
    // Beyond a quarter of its period, a pass waits for its own time.
    CPassScheduler far(400, 1000, 0, true);
    EXPECT_EQ(Take(far, 400), std::vector<Pass>{Pass::LIFTS});
}

TEST(PassSchedulerTest, PeriodsBelowOneMillisecondTickEveryMillisecondAndANewPeriodStartsNow)
{
    // Speed 101 would give -4 ms, speed 100.2 gives 0: neither may spin nor stop the lifts.
    for (const int32_t period : {0, -4, INT32_MIN}) {
        CPassScheduler scheduler(period, period, 0, false);
        EXPECT_EQ(scheduler.GetWait(0), 1) << period;
        EXPECT_EQ(Take(scheduler, 1), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE})) << period;
    }
    // Due at the same moment, they run lifts, people, legend.
    CPassScheduler tied(100, 500, 0, false);
    RunLoop(tied, 0, 1000);
    EXPECT_EQ(Take(tied, 1000), (std::vector<Pass>{Pass::LIFTS, Pass::PEOPLE, Pass::LEGEND}));
    CPassScheduler scheduler(101, 500, 0, false);
    scheduler.SetPeriod(Pass::PEOPLE, 2000, 450);
    EXPECT_EQ(RunLoop(scheduler, 450, 2450).passes[1], 0);
    EXPECT_EQ(Take(scheduler, 2450), std::vector<Pass>{Pass::PEOPLE});
}

} // namespace

// The due passes on a window, with the --fps line: ten lift passes in a second of a 100-ms lift
// period read as ten ticks a second, drawn with the legend pass; without the line, none.
TEST(PassSchedulerTest, DuePassesCountLiftTicksForTheFrameRateLine)
{
    RestartModel();
    RestartScene();
    CMemoryStore store;
    CScene scene(LoadViewSettings(store));
    for (const bool shown : {true, false}) {
        CPassScheduler scheduler(100, 500, 0, true);
        CFrameRate frameRate(0, 0);
        CRecordingSurface surface;
        scene.Paint(surface, 1024, 768);
        for (int64_t now = 100; now <= 1000; now += 100)
            RunDuePasses(scheduler, scene, surface, &frameRate, shown, now);
        std::string line;
        for (const RecordedShape& shape : surface.m_shapes) {
            if (shape.kind == RecordedShape::TEXT && shape.text.find("lift ticks/s") != std::string::npos)
                line = shape.text;
        }
        EXPECT_EQ(line.empty() ? "none" : line.substr(0, 19), shown ? "  10.0 lift ticks/s" : "none");
    }
    RestartModel();
    RestartScene();
}
