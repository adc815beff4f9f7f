#include "RunOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/SettingsTable.h"

namespace {

constexpr int32_t MAX_SECONDS = 365 * 24 * 3600;
constexpr int32_t MAX_MINUTES = 365 * 24 * 60;

// One numeric option: its name on the command line, where it goes and the range it accepts.
struct NumericOption {
    const char* name;
    int32_t CRunOptions::*field;
    int32_t minimum;
    int32_t maximum;
    const char* unit;
};

const NumericOption NUMERIC_OPTIONS[] = {
    {"--people", &CRunOptions::m_people, Setting::People.minimum, Setting::People.maximum, ""},
    {"--cars", &CRunOptions::m_cars, Setting::Cars.minimum, Setting::Cars.maximum, ""},
    {"--capacity", &CRunOptions::m_capacity, Setting::Capacity.minimum, Setting::Capacity.maximum, ""},
    {"--floors", &CRunOptions::m_floors, Setting::NoFloors.minimum, Setting::NoFloors.maximum, ""},
    {"--lift-pause", &CRunOptions::m_liftPause, Setting::LiftPause.minimum, Setting::LiftPause.maximum, " lift ticks"},
    {"--pass-pause", &CRunOptions::m_passPause, Setting::PassPause.minimum, Setting::PassPause.maximum,
     " people ticks"},
    {"--pass-interval", &CRunOptions::m_passInterval, Setting::PassIntvl.minimum, Setting::PassIntvl.maximum, " ms"},
    {"--temper", &CRunOptions::m_temper, Setting::Temper.minimum, Setting::Temper.maximum, ""},
    {"--speed", &CRunOptions::m_speed, Setting::UpdSpd.minimum, Setting::UpdSpd.maximum, ""},
};

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

const char* const DRIVER_WORDS[] = {"primitive", "auto-ground", "random", "smart"};

// A whole decimal number and nothing else, inside int32.
bool ParseWhole(const char* text, int32_t& value)
{
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool ParseDriver(const char* text, int32_t& driver)
{
    if (text == nullptr)
        return false;
    for (int32_t mode = 0; mode < 4; ++mode) {
        if (std::strcmp(text, DRIVER_WORDS[mode]) == 0) {
            driver = mode;
            return true;
        }
    }
    return ParseWhole(text, driver) && driver >= Setting::Driver.minimum && driver <= Setting::Driver.maximum;
}

// Splits "--name=value" into its parts; "--name" alone leaves value null.
void SplitOption(const char* argument, char* name, size_t nameSize, const char*& value)
{
    const char* equals = std::strchr(argument, '=');
    const size_t length = equals ? static_cast<size_t>(equals - argument) : std::strlen(argument);
    const size_t kept = length < nameSize - 1 ? length : nameSize - 1;
    std::memcpy(name, argument, kept);
    name[kept] = '\0';
    value = equals ? equals + 1 : nullptr;
}

} // namespace

CRunOptions::CRunOptions()
    : m_people(Setting::People.defaultValue), m_cars(Setting::Cars.defaultValue),
      m_capacity(Setting::Capacity.defaultValue), m_driver(Setting::Driver.defaultValue),
      m_floors(Setting::NoFloors.defaultValue), m_liftPause(Setting::LiftPause.defaultValue),
      m_passPause(Setting::PassPause.defaultValue), m_passInterval(Setting::PassIntvl.defaultValue),
      m_temper(Setting::Temper.defaultValue), m_speed(Setting::UpdSpd.defaultValue), m_durationMs(60 * 60 * 1000),
      m_trace(false), m_compare(false), m_json(false), m_help(false), m_quiet(false)
{
}

bool ParseRunOptions(int argc, const char* const* argv, CRunOptions& options, char* error, size_t errorSize)
{
    for (int index = 1; index < argc; ++index) {
        char name[64];
        const char* value = nullptr;
        SplitOption(argv[index], name, sizeof name, value);
        const bool inlineValue = value != nullptr;
        // Takes the value from "--name=value" or from the next argument.
        const auto takeValue = [&]() -> const char* {
            if (inlineValue)
                return value;
            return index + 1 < argc ? argv[++index] : nullptr;
        };

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

        for (const NumericOption& option : NUMERIC_OPTIONS) {
            if (std::strcmp(name, option.name) != 0)
                continue;
            const char* text = takeValue();
            int32_t number = 0;
            if (!ParseWhole(text, number) || number < option.minimum || number > option.maximum) {
                std::snprintf(error, errorSize, "%s needs a whole number from %d to %d%s (got \"%s\")", option.name,
                              option.minimum, option.maximum, option.unit, text ? text : "nothing");
                return false;
            }
            options.*option.field = number;
            handled = true;
        }
        if (handled)
            continue;

        if (std::strcmp(name, "--driver") == 0) {
            const char* text = takeValue();
            if (!ParseDriver(text, options.m_driver)) {
                std::snprintf(error, errorSize,
                              "--driver needs 0 to 3 or primitive, auto-ground, random or smart (got \"%s\")",
                              text ? text : "nothing");
                return false;
            }
            continue;
        }
        if (std::strcmp(name, "--seconds") == 0 || std::strcmp(name, "--minutes") == 0) {
            const bool seconds = name[2] == 's';
            const int32_t maximum = seconds ? MAX_SECONDS : MAX_MINUTES;
            const char* text = takeValue();
            int32_t number = 0;
            if (!ParseWhole(text, number) || number < 1 || number > maximum) {
                std::snprintf(error, errorSize, "%s needs a whole number from 1 to %d (got \"%s\")", name, maximum,
                              text ? text : "nothing");
                return false;
            }
            options.m_durationMs = static_cast<int64_t>(number) * (seconds ? 1000 : 60 * 1000);
            continue;
        }
        std::snprintf(error, errorSize, "unknown option \"%s\" (see --help)", argv[index]);
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
           "Settings (default in brackets):\n"
           "  --people N          10..100 people stepped (50)\n"
           "  --cars N            1..10 lifts (2)\n"
           "  --capacity N        1..10 people a lift stops for (5)\n"
           "  --driver D          0..3 or primitive|auto-ground|random|smart (0)\n"
           "  --floors N          4..25 floors (10)\n"
           "  --lift-pause N      1..30 lift ticks a lift stands at a stop (15)\n"
           "  --pass-pause N      10..300 people ticks, the longest stay at a floor (50)\n"
           "  --pass-interval MS  100..2000 ms between people ticks (500)\n"
           "  --temper N          1..50 impatience factor of the waiting colour (10)\n"
           "  --speed N           1..100 update speed: a lift tick every 501 - 5 * N ms (80)\n"
           "Duration of simulated time:\n"
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
