// ascenda-sim: the lift simulation without a window, for measuring intelligences and for
// comparing traces tick by tick.
#include <cstdio>
#include <string>

#include "ParallelCompare.h"
#include "Progress.h"
#include "Report.h"
#include "RunOptions.h"
#include "Simulation.h"

namespace {

CRunSummary RunOne(const CRunOptions& options, CProgressSink* progress)
{
    return RunSimulation(options, nullptr, progress);
}

} // namespace

int main(int argc, char** argv)
{
    CRunOptions options;
    char error[256];
    if (!ParseRunOptions(argc, argv, options, error, sizeof error)) {
        std::fprintf(stderr, "ascenda-sim: %s\n", error);
        return 2;
    }
    if (options.m_help) {
        std::fputs(GetUsageText(), stdout);
        return 0;
    }
    // Progress goes to standard error only, so the trace and the reports stay clean.
    const bool showProgress = CProgressMeter::IsWanted(stderr, options.m_quiet);
    if (options.m_trace) {
        static char buffer[1 << 16];
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
        CProgressMeter meter(stderr, options.m_durationMs, showProgress);
        RunSimulation(options, stdout, &meter);
        meter.Finish();
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    CRunSummary rows[COMPARE_RUNS];
    if (options.m_compare) {
        CProgressMeter meter(stderr, options.m_durationMs, showProgress, "4 runs, on average");
        std::string failure;
        const bool compared = RunComparison(options, GetCompareJobs(), RunOne, &meter, rows, failure);
        meter.Finish();
        if (!compared) {
            std::fprintf(stderr, "ascenda-sim: --compare: %s\n", failure.c_str());
            return 1;
        }
    } else {
        CProgressMeter meter(stderr, options.m_durationMs, showProgress);
        rows[0] = RunOne(options, &meter);
        meter.Finish();
    }
    const int count = options.m_compare ? COMPARE_RUNS : 1;
    if (options.m_json)
        PrintJson(stdout, options, rows, count, options.m_compare);
    else if (options.m_compare)
        PrintTable(stdout, options, rows, count);
    else
        PrintSummary(stdout, options, rows[0]);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
