// ascenda-sim: the lift simulation without a window, for measuring intelligences and for
// comparing traces tick by tick.
#include <cstdio>

#include "RunOptions.h"
#include "Simulation.h"

namespace {

void PrintSettings(const CRunOptions& options)
{
    std::printf("Settings: %d people, %d cars, capacity %d, %d floors, lift pause %d, pass pause %d, "
                "people every %d ms, lifts every %d ms, temper %d\n",
                options.m_people, options.m_cars, options.m_capacity, options.m_floors, options.m_liftPause,
                options.m_passPause, options.m_passInterval, options.GetLiftInterval(), options.m_temper);
}

void PrintSummary(const CRunOptions& options, const CRunSummary& summary)
{
    std::printf("Intelligence: %s\n", GetDriverName(summary.m_driver));
    PrintSettings(options);
    std::printf("Simulated time: %.0f s\n", summary.m_durationMs / 1000.0);
    std::printf("Trips completed: %lld (%.1f per hour)\n", static_cast<long long>(summary.m_tripsCompleted),
                summary.m_tripsPerHour);
    std::printf("Wait from call to boarding: mean %.1f s, 95th percentile %.1f s, max %.1f s "
                "(%lld waits, %lld still waiting)\n",
                summary.m_waitMeanSeconds, summary.m_waitPercentile95Seconds, summary.m_waitMaxSeconds,
                static_cast<long long>(summary.m_waitsCounted), static_cast<long long>(summary.m_stillWaiting));
    std::printf("Ride: mean %.1f s\n", summary.m_rideMeanSeconds);
    std::printf("Floors travelled by all cars: %.1f\n", summary.m_floorsTravelled);
    std::printf("Legend: \"%s\"\n", summary.m_legend);
}

void PrintTable(const CRunOptions& options, const CRunSummary* rows, int count)
{
    PrintSettings(options);
    std::printf("Simulated time: %.0f s\n", options.m_durationMs / 1000.0);
    std::printf("%-12s %8s %9s %10s %10s %10s %10s %10s\n", "Intelligence", "Trips", "Trips/h", "Wait mean", "Wait p95",
                "Wait max", "Ride mean", "Floors");
    for (int index = 0; index < count; ++index) {
        const CRunSummary& row = rows[index];
        std::printf("%-12s %8lld %9.1f %9.1fs %9.1fs %9.1fs %9.1fs %10.1f\n", GetDriverName(row.m_driver),
                    static_cast<long long>(row.m_tripsCompleted), row.m_tripsPerHour, row.m_waitMeanSeconds,
                    row.m_waitPercentile95Seconds, row.m_waitMaxSeconds, row.m_rideMeanSeconds, row.m_floorsTravelled);
    }
}

// The legend holds only letters, digits, blanks, '|' and '='; nothing in it needs escaping.
void PrintJsonSummaryFields(const CRunSummary& summary, const char* indent)
{
    std::printf("%s\"intelligence\": \"%s\",\n", indent, GetDriverName(summary.m_driver));
    std::printf("%s\"tripsCompleted\": %lld,\n", indent, static_cast<long long>(summary.m_tripsCompleted));
    std::printf("%s\"tripsPerHour\": %.3f,\n", indent, summary.m_tripsPerHour);
    std::printf("%s\"waitsCounted\": %lld,\n", indent, static_cast<long long>(summary.m_waitsCounted));
    std::printf("%s\"stillWaiting\": %lld,\n", indent, static_cast<long long>(summary.m_stillWaiting));
    std::printf("%s\"waitMeanSeconds\": %.3f,\n", indent, summary.m_waitMeanSeconds);
    std::printf("%s\"waitP95Seconds\": %.3f,\n", indent, summary.m_waitPercentile95Seconds);
    std::printf("%s\"waitMaxSeconds\": %.3f,\n", indent, summary.m_waitMaxSeconds);
    std::printf("%s\"rideMeanSeconds\": %.3f,\n", indent, summary.m_rideMeanSeconds);
    std::printf("%s\"floorsTravelled\": %.2f,\n", indent, summary.m_floorsTravelled);
    std::printf("%s\"legend\": \"%s\"\n", indent, summary.m_legend);
}

void PrintJsonSettings(const CRunOptions& options)
{
    std::printf("  \"settings\": {\"people\": %d, \"cars\": %d, \"capacity\": %d, \"driver\": %d, \"floors\": %d, "
                "\"liftPause\": %d, \"passPause\": %d, \"passInterval\": %d, \"temper\": %d, \"speed\": %d},\n",
                options.m_people, options.m_cars, options.m_capacity, options.m_driver, options.m_floors,
                options.m_liftPause, options.m_passPause, options.m_passInterval, options.m_temper, options.m_speed);
    std::printf("  \"simulatedSeconds\": %.3f,\n", options.m_durationMs / 1000.0);
}

void PrintJson(const CRunOptions& options, const CRunSummary* rows, int count, bool table)
{
    std::printf("{\n");
    PrintJsonSettings(options);
    if (!table) {
        PrintJsonSummaryFields(rows[0], "  ");
        std::printf("}\n");
        return;
    }
    std::printf("  \"rows\": [\n");
    for (int index = 0; index < count; ++index) {
        std::printf("    {\n");
        PrintJsonSummaryFields(rows[index], "      ");
        std::printf("    }%s\n", index + 1 < count ? "," : "");
    }
    std::printf("  ]\n}\n");
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
    if (options.m_trace) {
        static char buffer[1 << 16];
        std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
        RunSimulation(options, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    CRunSummary rows[4];
    int count = 0;
    if (options.m_compare) {
        for (int32_t driver = 0; driver < 4; ++driver) {
            CRunOptions variant = options;
            variant.m_driver = driver;
            rows[count++] = RunSimulation(variant, nullptr);
        }
    } else {
        rows[count++] = RunSimulation(options, nullptr);
    }
    if (options.m_json)
        PrintJson(options, rows, count, options.m_compare);
    else if (options.m_compare)
        PrintTable(options, rows, count);
    else
        PrintSummary(options, rows[0]);
    return 0;
}
