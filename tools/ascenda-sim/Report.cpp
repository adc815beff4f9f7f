#include "Report.h"

namespace {

void PrintSettings(std::FILE* out, const CRunOptions& options)
{
    std::fprintf(out,
                 "Settings: %d people, %d cars, capacity %d, %d floors, lift pause %d, pass pause %d, "
                 "people every %d ms, lifts every %d ms, temper %d\n",
                 options.m_people, options.m_cars, options.m_capacity, options.m_floors, options.m_liftPause,
                 options.m_passPause, options.m_passInterval, options.GetLiftInterval(), options.m_temper);
}

// The legend holds only letters, digits, blanks, '|' and '='; nothing in it needs escaping.
void PrintJsonSummaryFields(std::FILE* out, const CRunSummary& summary, const char* indent)
{
    std::fprintf(out, "%s\"intelligence\": \"%s\",\n", indent, GetDriverName(summary.m_driver));
    std::fprintf(out, "%s\"tripsCompleted\": %lld,\n", indent, static_cast<long long>(summary.m_tripsCompleted));
    std::fprintf(out, "%s\"tripsPerHour\": %.3f,\n", indent, summary.m_tripsPerHour);
    std::fprintf(out, "%s\"waitsCounted\": %lld,\n", indent, static_cast<long long>(summary.m_waitsCounted));
    std::fprintf(out, "%s\"stillWaiting\": %lld,\n", indent, static_cast<long long>(summary.m_stillWaiting));
    std::fprintf(out, "%s\"waitMeanSeconds\": %.3f,\n", indent, summary.m_waitMeanSeconds);
    std::fprintf(out, "%s\"waitP95Seconds\": %.3f,\n", indent, summary.m_waitPercentile95Seconds);
    std::fprintf(out, "%s\"waitMaxSeconds\": %.3f,\n", indent, summary.m_waitMaxSeconds);
    std::fprintf(out, "%s\"rideMeanSeconds\": %.3f,\n", indent, summary.m_rideMeanSeconds);
    std::fprintf(out, "%s\"floorsTravelled\": %.2f,\n", indent, summary.m_floorsTravelled);
    std::fprintf(out, "%s\"legend\": \"%s\"\n", indent, summary.m_legend);
}

void PrintJsonSettings(std::FILE* out, const CRunOptions& options)
{
    std::fprintf(out,
                 "  \"settings\": {\"people\": %d, \"cars\": %d, \"capacity\": %d, \"driver\": %d, \"floors\": %d, "
                 "\"liftPause\": %d, \"passPause\": %d, \"passInterval\": %d, \"temper\": %d, \"speed\": %d},\n",
                 options.m_people, options.m_cars, options.m_capacity, options.m_driver, options.m_floors,
                 options.m_liftPause, options.m_passPause, options.m_passInterval, options.m_temper, options.m_speed);
    std::fprintf(out, "  \"simulatedSeconds\": %.3f,\n", options.m_durationMs / 1000.0);
}
} // namespace

void PrintSummary(std::FILE* out, const CRunOptions& options, const CRunSummary& summary)
{
    std::fprintf(out, "Intelligence: %s\n", GetDriverName(summary.m_driver));
    PrintSettings(out, options);
    std::fprintf(out, "Simulated time: %.0f s\n", summary.m_durationMs / 1000.0);
    std::fprintf(out, "Trips completed: %lld (%.1f per hour)\n", static_cast<long long>(summary.m_tripsCompleted),
                 summary.m_tripsPerHour);
    std::fprintf(out,
                 "Wait from call to boarding: mean %.1f s, 95th percentile %.1f s, max %.1f s "
                 "(%lld waits, %lld still waiting)\n",
                 summary.m_waitMeanSeconds, summary.m_waitPercentile95Seconds, summary.m_waitMaxSeconds,
                 static_cast<long long>(summary.m_waitsCounted), static_cast<long long>(summary.m_stillWaiting));
    std::fprintf(out, "Ride: mean %.1f s\n", summary.m_rideMeanSeconds);
    std::fprintf(out, "Floors travelled by all cars: %.1f\n", summary.m_floorsTravelled);
    std::fprintf(out, "Legend: \"%s\"\n", summary.m_legend);
}

void PrintTable(std::FILE* out, const CRunOptions& options, const CRunSummary* rows, int count)
{
    PrintSettings(out, options);
    std::fprintf(out, "Simulated time: %.0f s\n", options.m_durationMs / 1000.0);
    std::fprintf(out, "%-12s %8s %9s %10s %10s %10s %10s %10s\n", "Intelligence", "Trips", "Trips/h", "Wait mean",
                 "Wait p95", "Wait max", "Ride mean", "Floors");
    for (int index = 0; index < count; ++index) {
        const CRunSummary& row = rows[index];
        std::fprintf(out, "%-12s %8lld %9.1f %9.1fs %9.1fs %9.1fs %9.1fs %10.1f\n", GetDriverName(row.m_driver),
                     static_cast<long long>(row.m_tripsCompleted), row.m_tripsPerHour, row.m_waitMeanSeconds,
                     row.m_waitPercentile95Seconds, row.m_waitMaxSeconds, row.m_rideMeanSeconds, row.m_floorsTravelled);
    }
}

void PrintJson(std::FILE* out, const CRunOptions& options, const CRunSummary* rows, int count, bool table)
{
    std::fprintf(out, "{\n");
    PrintJsonSettings(out, options);
    if (!table) {
        PrintJsonSummaryFields(out, rows[0], "  ");
        std::fprintf(out, "}\n");
        return;
    }
    std::fprintf(out, "  \"rows\": [\n");
    for (int index = 0; index < count; ++index) {
        std::fprintf(out, "    {\n");
        PrintJsonSummaryFields(out, rows[index], "      ");
        std::fprintf(out, "    }%s\n", index + 1 < count ? "," : "");
    }
    std::fprintf(out, "  ]\n}\n");
}
