#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ParallelCompare.h"
#include "Progress.h"
#include "Report.h"
#include "Simulation.h"
#include "WaitTally.h"
#include "sim/Lift.h"

// The runner's library in this process: the model-only passes against the scene's own, the
// parallel comparison against a sequential one, the wait figures and the progress line.
namespace {

// Collects what a function writes to a FILE*.
class CMemoryFile {
public:
    CMemoryFile() : m_file(open_memstream(&m_buffer, &m_size)) {}
    ~CMemoryFile()
    {
        if (m_file != nullptr)
            std::fclose(m_file);
        std::free(m_buffer);
    }
    std::FILE* Get() const { return m_file; }
    std::string Text()
    {
        std::fflush(m_file);
        return std::string(m_buffer, m_size);
    }

private:
    char* m_buffer = nullptr;
    size_t m_size = 0;
    std::FILE* m_file;
};

CRunOptions Settings(int32_t people, int32_t cars, int32_t capacity, int32_t floors, int32_t liftPause,
                     int32_t passPause, int32_t passInterval, int32_t temper, int32_t speed, int32_t minutes)
{
    CRunOptions options;
    options.m_people = people;
    options.m_cars = cars;
    options.m_capacity = capacity;
    options.m_floors = floors;
    options.m_liftPause = liftPause;
    options.m_passPause = passPause;
    options.m_passInterval = passInterval;
    options.m_temper = temper;
    options.m_speed = speed;
    options.m_durationMs = minutes * 60 * 1000LL;
    return options;
}

// --- the model-only passes ---

TEST(ModelOnlyPassesTest, TraceAndFiguresMatchTheFullScenePassesForEveryIntelligence)
{
    const CRunOptions settings[] = {
        CRunOptions(),                                     // the defaults
        Settings(100, 10, 5, 25, 15, 50, 500, 10, 80, 10), // full load
        Settings(100, 1, 1, 25, 30, 10, 100, 50, 100, 8),  // one tiny car, everyone in a hurry
        Settings(10, 3, 10, 4, 1, 300, 2000, 1, 1, 30),    // few people, slow ticks
        Settings(60, 7, 2, 13, 7, 120, 333, 25, 55, 10),   // in between, ticks falling together now and then
    };
    for (const CRunOptions& base : settings) {
        for (int32_t driver = DRIVER_PRIMITIVE; driver <= DRIVER_SMART; ++driver) {
            CRunOptions options = base;
            options.m_driver = driver;
            CMemoryFile fast;
            CMemoryFile full;
            const CRunSummary fastSummary = RunSimulation(options, fast.Get(), nullptr, PassMode::ModelOnly);
            const CRunSummary fullSummary = RunSimulation(options, full.Get(), nullptr, PassMode::FullScene);
            const std::string fastTrace = fast.Text();
            const std::string fullTrace = full.Text();
            const std::string setting = "driver " + std::to_string(driver) + ", people " +
                                        std::to_string(options.m_people) + ", cars " + std::to_string(options.m_cars);
            ASSERT_GT(std::count(fullTrace.begin(), fullTrace.end(), '\n'), 1000) << setting;
            EXPECT_TRUE(fastTrace == fullTrace) << setting; // megabytes: not printed
            EXPECT_STREQ(fastSummary.m_legend, fullSummary.m_legend) << setting;
            EXPECT_EQ(fastSummary.m_tripsCompleted, fullSummary.m_tripsCompleted) << setting;
        }
    }
}

// --- the parallel comparison ---

CRunSummary RunOne(const CRunOptions& options, CProgressSink* progress)
{
    return RunSimulation(options, nullptr, progress);
}

std::string Reports(const CRunOptions& options, const CRunSummary (&rows)[COMPARE_RUNS])
{
    CMemoryFile out;
    PrintTable(out.Get(), options, rows, COMPARE_RUNS);
    PrintJson(out.Get(), options, rows, COMPARE_RUNS, true);
    return out.Text();
}

// Records the mean simulated time the comparison reports.
class CProgressLog : public CProgressSink {
public:
    void Advance(int64_t doneMs) override { m_reports.push_back(doneMs); }
    std::vector<int64_t> m_reports;
};

TEST(ParallelCompareTest, ChildProcessesGiveTheReportsOfASequentialRunRowForRow)
{
    CRunOptions options = Settings(80, 4, 3, 12, 10, 40, 300, 10, 90, 60);
    CRunSummary sequential[COMPARE_RUNS];
    std::string error;
    CProgressLog sequentialProgress;
    ASSERT_TRUE(RunComparison(options, 1, RunOne, &sequentialProgress, sequential, error)) << error;
    for (int32_t driver = 0; driver < COMPARE_RUNS; ++driver)
        EXPECT_EQ(sequential[driver].m_driver, driver);
    EXPECT_NE(sequential[0].m_tripsCompleted, sequential[2].m_tripsCompleted) << "the rows must tell runs apart";
    EXPECT_EQ(sequentialProgress.m_reports.back(), options.m_durationMs);
    EXPECT_TRUE(std::is_sorted(sequentialProgress.m_reports.begin(), sequentialProgress.m_reports.end()));

    for (const int32_t jobs : {2, 3, 4}) {
        CRunSummary parallel[COMPARE_RUNS];
        CProgressLog progress;
        ASSERT_TRUE(RunComparison(options, jobs, RunOne, &progress, parallel, error)) << error;
        EXPECT_EQ(Reports(options, parallel), Reports(options, sequential)) << jobs << " jobs";
        ASSERT_FALSE(progress.m_reports.empty());
        EXPECT_EQ(progress.m_reports.back(), options.m_durationMs) << "all four runs done";
    }
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "every child has been waited for";
}

// Runs that fail in the child processes, one way each: the comparison must say which and how.
CRunSummary ExitInRandomRun(const CRunOptions& options, CProgressSink* progress)
{
    if (options.m_driver == DRIVER_RANDOM)
        _exit(3);
    return RunOne(options, progress);
}

CRunSummary KilledInAutoGroundRun(const CRunOptions& options, CProgressSink* progress)
{
    if (options.m_driver == DRIVER_AUTO_GROUND)
        kill(getpid(), SIGKILL);
    return RunOne(options, progress);
}

CRunSummary SilentSmartRun(const CRunOptions& options, CProgressSink* progress)
{
    if (options.m_driver == DRIVER_SMART)
        _exit(0);
    return RunOne(options, progress);
}

TEST(ParallelCompareTest, AFailingRunFailsTheComparisonNamingTheIntelligenceAndTheCause)
{
    const struct {
        CompareRun run;
        const char* message;
    } cases[] = {
        {ExitInRandomRun, "the Random run failed with exit status 3"},
        {KilledInAutoGroundRun, "the Auto ground run was killed by signal 9"},
        {SilentSmartRun, "the Smart run ended without its figures"},
    };
    CRunOptions options;
    options.m_durationMs = 10 * 60 * 1000;
    for (const auto& test : cases) {
        for (const int32_t jobs : {2, 4}) {
            CRunSummary rows[COMPARE_RUNS];
            std::string error;
            EXPECT_FALSE(RunComparison(options, jobs, test.run, nullptr, rows, error)) << test.message;
            EXPECT_EQ(error.rfind(test.message, 0), 0u) << error;
            errno = 0;
            EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "no child left behind";
            EXPECT_EQ(errno, ECHILD);
        }
    }
}

// --- the figures and the progress line ---

TEST(WaitTallyTest, FiguresEqualThoseOfEveryWaitKeptAndSorted)
{
    // People ticks of 300 ms; waits of whole ticks, some far beyond the table, and waits cut off
    // by the end of the run that are no whole number of ticks.
    CWaitTally tally(300);
    std::vector<int64_t> waits;
    uint32_t state = 12345;
    for (int index = 0; index < 5000; ++index) {
        state = state * 1103515245u + 12345u;
        int64_t wait = static_cast<int64_t>((state >> 16) % 200) * 300;
        if (index % 50 == 0)
            wait = (70000 + index) * 300LL; // over the table's 65536 ticks
        if (index % 97 == 0)
            wait = (state >> 8) % 100000; // any number of ms
        tally.Add(wait);
        waits.push_back(wait);
    }
    std::sort(waits.begin(), waits.end());
    int64_t sum = 0;
    for (int64_t wait : waits)
        sum += wait;
    EXPECT_EQ(tally.GetCount(), 5000);
    EXPECT_EQ(tally.GetSumMs(), sum);
    EXPECT_EQ(tally.GetMaxMs(), waits.back());
    for (const int32_t percent : {1, 50, 95, 97, 99, 100})
        EXPECT_EQ(tally.GetPercentileMs(percent), waits[(5000 * percent + 99) / 100 - 1]) << percent << " %";

    CWaitTally few(500); // nearest rank over 20 waits: the 95th percentile is the 19th
    for (int64_t ticks = 20; ticks >= 1; --ticks)
        few.Add(ticks * 500);
    EXPECT_EQ(few.GetPercentileMs(95), 19 * 500);
    EXPECT_EQ(CWaitTally(500).GetPercentileMs(95), 0);
}

TEST(ProgressLineTest, ShowsTheShareDoneAndEstimatesTheRestAtThePaceSoFar)
{
    char line[160];
    const int64_t year = 365LL * 24 * 3600 * 1000;
    // A quarter of a year in 10 s: three quarters take another 30 s.
    FormatProgress(line, sizeof line, "Simulated", year / 4, year, 10.0);
    EXPECT_STREQ(line, "Simulated 91d 06:00:00 of 365d 00:00:00 (25.0 %), 0:10 elapsed, 0:30 left");
    const int32_t length = FormatProgress(line, sizeof line, "4 runs", 3723000, 7200000, 3725.0);
    EXPECT_STREQ(line, "4 runs 01:02:03 of 02:00:00 (51.7 %), 1:02:05 elapsed, 57:59 left");
    EXPECT_EQ(length, static_cast<int32_t>(std::string(line).size()));
}

} // namespace
