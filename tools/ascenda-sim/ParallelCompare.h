#pragma once
#include <cstdint>
#include <string>

#include "Progress.h"
#include "Simulation.h"

// A comparison runs the same settings once under each intelligence, rows in DriverMode order.
constexpr int32_t COMPARE_RUNS = 4;

// One run of a comparison: the options with the intelligence set, and where it reports progress.
using CompareRun = CRunSummary (*)(const CRunOptions& options, CProgressSink* progress);

// How many runs of a comparison may go at once: the processor cores this process may use, from 1
// to COMPARE_RUNS.
int32_t GetCompareJobs();

// Runs the options under every intelligence and fills `rows` in DriverMode order. With one job the
// runs follow each other in this process. With more, each run goes to a child process of its own,
// since the model's records are process-wide, and at most `jobs` run at a time; a run starts from
// the model's program-start state either way, so the rows are the same. `progress`, when given,
// hears the simulated time the runs have done on average, out of the duration.
// When a child fails, the runs still going are stopped and the function returns false with a
// message naming the intelligence whose run failed and how.
bool RunComparison(const CRunOptions& options, int32_t jobs, CompareRun run, CProgressSink* progress,
                   CRunSummary (&rows)[COMPARE_RUNS], std::string& error);
