// One simulated day of the busiest building the settings allow, ticked as the view's timers do:
// with the runner's model-only passes, and for comparison with the scene's full passes.
#include <benchmark/benchmark.h>

#include "HeadlessView.h"
#include "Simulation.h"
#include "sim/Building.h"

namespace {

CRunOptions BusyDay(int32_t driver)
{
    CRunOptions options;
    options.m_people = 100;
    options.m_cars = 10;
    options.m_floors = 25;
    options.m_driver = driver;
    options.m_passInterval = 500;
    options.m_speed = 80; // a lift tick every 101 ms
    options.m_durationMs = 24LL * 3600 * 1000;
    return options;
}

// Counts the ticks so the report shows what a day costs per tick.
class CTickCounter : public CTickObserver {
public:
    void AfterLiftTick(int64_t) override { ++m_liftTicks; }
    void AfterPeopleTick(int64_t) override { ++m_peopleTicks; }
    int64_t m_liftTicks = 0;
    int64_t m_peopleTicks = 0;
};

void RunDay(benchmark::State& state, PassMode passes)
{
    const CRunOptions options = BusyDay(static_cast<int32_t>(state.range(0)));
    CTickCounter counter;
    for (auto _ : state) {
        RestartModel();
        CHeadlessView view(options, passes);
        counter = CTickCounter();
        RunClock(view, options, &counter);
        benchmark::DoNotOptimize(g_lifts[0].m_position);
        benchmark::ClobberMemory();
    }
    state.SetLabel(GetDriverName(options.m_driver));
    state.counters["ticks"] = static_cast<double>(counter.m_liftTicks + counter.m_peopleTicks);
    state.counters["tick_rate"] = benchmark::Counter(static_cast<double>(counter.m_liftTicks + counter.m_peopleTicks),
                                                     benchmark::Counter::kIsIterationInvariantRate);
}

void SimulatedDay(benchmark::State& state)
{
    RunDay(state, PassMode::ModelOnly);
}

void SimulatedDayFullScene(benchmark::State& state)
{
    RunDay(state, PassMode::FullScene);
}

} // namespace

// Argument: the intelligence. Smart (3) is the one with the goal: a day in under 0.35 s, so that
// the longest run the runner allows, a year, takes under two minutes.
BENCHMARK(SimulatedDay)
    ->Arg(DRIVER_SMART)
    ->Arg(DRIVER_PRIMITIVE)
    ->Arg(DRIVER_AUTO_GROUND)
    ->Arg(DRIVER_RANDOM)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SimulatedDayFullScene)->Arg(DRIVER_SMART)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
