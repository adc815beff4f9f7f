#include "RunOptions.h"

#include <cstdio>
#include <cstring>

#include "options/CommandLine.h"

namespace {

constexpr int32_t MAX_SECONDS = 365 * 24 * 3600;
constexpr int32_t MAX_MINUTES = 365 * 24 * 60;

// An option that only switches something on.
struct FlagOption {
    const char* name;
    bool CRunOptions::*field;
};

const FlagOption FLAG_OPTIONS[] = {{"--trace", &CRunOptions::m_trace},
                                   {"--compare", &CRunOptions::m_compare},
                                   {"--json", &CRunOptions::m_json},
                                   {"--help", &CRunOptions::m_help},
                                   {"--quiet", &CRunOptions::m_quiet}};

} // namespace

CRunOptions::CRunOptions()
    : m_durationMs(60 * 60 * 1000), m_trace(false), m_compare(false), m_json(false), m_help(false), m_quiet(false)
{
}

bool ParseRunOptions(int argc, const char* const* argv, CRunOptions& options, char* error, size_t errorSize)
{
    CCommandLine line(argc, argv);
    while (line.Next()) {
        const char* name = line.GetName();
        const bool inlineValue = line.HasJoinedValue();

        bool handled = false;
        for (const FlagOption& flag : FLAG_OPTIONS) {
            if (std::strcmp(name, flag.name) != 0)
                continue;
            if (inlineValue) {
                std::snprintf(error, errorSize, "%s takes no value", flag.name);
                return false;
            }
            options.*flag.field = true;
            handled = true;
        }
        if (handled)
            continue;

        const OptionMatch match = ParseSimulationOption(line, options, error, errorSize);
        if (match == OptionMatch::INVALID)
            return false;
        if (match == OptionMatch::TAKEN)
            continue;
        if (std::strcmp(name, "--seconds") == 0 || std::strcmp(name, "--minutes") == 0) {
            const bool seconds = name[2] == 's';
            const int32_t maximum = seconds ? MAX_SECONDS : MAX_MINUTES;
            int32_t number = 0;
            if (!ParseRangedValue(line, 1, maximum, "", number, error, errorSize))
                return false;
            options.m_durationMs = static_cast<int64_t>(number) * (seconds ? 1000 : 60 * 1000);
            continue;
        }
        std::snprintf(error, errorSize, "unknown option \"%s\" (see --help)", line.Shown(line.GetArgument()));
        return false;
    }
    if (options.m_trace && (options.m_compare || options.m_json)) {
        std::snprintf(error, errorSize, "--trace prints the ticks only and cannot be combined with %s",
                      options.m_compare ? "--compare" : "--json");
        return false;
    }
    return true;
}

const char* GetDriverName(int32_t driver)
{
    static const char* const names[] = {"Primitive", "Auto ground", "Random", "Smart"};
    return driver >= 0 && driver < 4 ? names[driver] : "?";
}

const char* GetUsageText()
{
    return "Usage: ascenda-sim [options]\n"
           "Runs the lift simulation without a window, ticking it as the screen saver's timers do.\n"
           "\n"
           "Settings (default in brackets):\n" SIMULATION_OPTIONS_USAGE "Duration of simulated time:\n"
           "  --seconds N         1..31536000\n"
           "  --minutes N         1..525600 (60)\n"
           "Output:\n"
           "  --trace             one line per tick and nothing else:\n"
           "                        L <t> <upMask> <downMask> "
           "<position/direction/load/pause/target/floor/stopsMask>...\n"
           "                        P <t> <waitCount> <waitSum> "
           "<floor/destination/assigned/riding/waitCount/pause>...\n"
           "  --compare           the same settings under all four intelligences, one row each\n"
           "  --json              the summary or the comparison as JSON\n"
           "  --quiet             no progress line on standard error (shown only on a terminal)\n"
           "  --help              this text\n"
           "Values may follow the option or be joined to it with '='. Invalid options exit with status 2.\n";
}
