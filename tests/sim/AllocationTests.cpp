#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "SimulationClock.h"

#ifdef ASCENDA_TEST_RUNNER
#include "Simulation.h"
#endif

// This binary replaces the global allocation functions to count every heap allocation made while
// the counter is switched on.
namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};

// Kept out of line so the compiler does not pair a visible malloc in operator new with the free in
// operator delete and warn about a mismatch that is not there.
[[gnu::noinline]] void ReleaseMemory(void* memory)
{
    std::free(memory);
}
} // namespace

void* operator new(std::size_t size)
{
    if (g_counting.load())
        ++g_allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_counting.load())
        ++g_allocations;
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void* memory) noexcept
{
    ReleaseMemory(memory);
}

void operator delete[](void* memory) noexcept
{
    ReleaseMemory(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    ReleaseMemory(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    ReleaseMemory(memory);
}

namespace {

TEST(AllocationTest, CounterSeesAnAllocation)
{
    g_allocations = 0;
    g_counting = true;
    int* probe = new int(7);
    g_counting = false;
    delete probe;
    EXPECT_EQ(g_allocations.load(), 1);
}

TEST(AllocationTest, RunningTheModelNeverAllocates)
{
    for (int32_t driver = DRIVER_PRIMITIVE; driver <= DRIVER_SMART; ++driver) {
        RunSettings settings;
        settings.driver = driver;
        long ticks = 0;
        g_allocations = 0;
        g_counting = true;
        RunSimulation(settings, 2 * 3600 * 1000, [&](bool) { ++ticks; });
        g_counting = false;
        EXPECT_GT(ticks, 0);
        EXPECT_EQ(g_allocations.load(), 0) << "driver " << driver;
    }
}

#ifdef ASCENDA_TEST_RUNNER
// The headless runner at full load, passes, trip log and trace-free report together: a run
// allocates the same however long it lasts, so nothing is allocated per tick.
TEST(AllocationTest, TheRunnerAllocatesNothingPerTick)
{
    for (int32_t driver = DRIVER_PRIMITIVE; driver <= DRIVER_SMART; ++driver) {
        CRunOptions options;
        options.m_people = 100;
        options.m_cars = 10;
        options.m_floors = 25;
        options.m_driver = driver;
        long perRun[2] = {0, 0};
        for (int run = 0; run < 2; ++run) {
            options.m_durationMs = (run + 1) * 2 * 3600 * 1000;
            g_allocations = 0;
            g_counting = true;
            const CRunSummary summary = RunSimulation(options, nullptr);
            g_counting = false;
            perRun[run] = g_allocations.load();
            EXPECT_GT(summary.m_tripsCompleted, 1000);
        }
        EXPECT_EQ(perRun[1], perRun[0]) << "two hours and four hours, driver " << driver;
    }
}
#endif

} // namespace
