#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/ViewSettings.h"

class CCommandLine;

// The intelligences' names, which --driver takes as well as their numbers 0 to 3.
constexpr int32_t DRIVER_WORD_COUNT = 4;
extern const char* const DRIVER_WORDS[DRIVER_WORD_COUNT];

// The simulation's settings as a command line gives them, each starting at the settings table's
// default. The runner and the X11 saver accept them under the same names and ranges.
struct CSimulationOptions {
    int32_t m_people;
    int32_t m_cars;
    int32_t m_capacity;
    int32_t m_driver;
    int32_t m_floors;
    int32_t m_liftPause;
    int32_t m_passPause;
    int32_t m_passInterval; // milliseconds between people ticks
    int32_t m_temper;
    int32_t m_speed; // the update speed: lift ticks every 501 - 5 * speed milliseconds

    CSimulationOptions();
    int32_t GetLiftInterval() const { return LiftPeriodFromSpeed(m_speed); }
};

// The view settings a scene runs with for these options, limited as LimitViewSettings limits;
// the display settings (colours, legend, background, scale) as an empty store gives them.
ViewSettings MakeViewSettings(const CSimulationOptions& options);

// The lines of --help that list these settings, for both programs' usage texts.
#define SIMULATION_OPTIONS_USAGE                                                                                       \
    "  --people N          10..100 people (50)\n"                                                                      \
    "  --cars N            1..10 lifts (2)\n"                                                                          \
    "  --capacity N        1..10 people a lift stops for (5)\n"                                                        \
    "  --driver D          0..3 or primitive|auto-ground|random|smart (0)\n"                                           \
    "  --floors N          4..25 floors (10)\n"                                                                        \
    "  --lift-pause N      1..30 lift ticks a lift stands at a stop (15)\n"                                            \
    "  --pass-pause N      10..300 people ticks, the longest stay at a floor (50)\n"                                   \
    "  --pass-interval MS  100..2000 ms between people ticks (500)\n"                                                  \
    "  --temper N          1..50 impatience factor of the waiting colour (10)\n"                                       \
    "  --speed N           1..100 update speed: a lift tick every 501 - 5 * N ms (80)\n"

enum class OptionMatch {
    NOT_MINE, // the current option is none of the simulation's settings
    TAKEN,    // it was one, and its value is stored
    INVALID,  // it was one, but its value is missing or out of range: `error` says which
};

// Reads the current option of `line` when it is --people, --cars, --capacity, --driver, --floors,
// --lift-pause, --pass-pause, --pass-interval, --temper or --speed.
OptionMatch ParseSimulationOption(CCommandLine& line, CSimulationOptions& options, char* error, size_t errorSize);

// Reads the current option's value as a whole number from minimum to maximum. On failure writes
// one line naming the option, its range (followed by `unit`, e.g. " ms") and what was given.
bool ParseRangedValue(CCommandLine& line, int32_t minimum, int32_t maximum, const char* unit, int32_t& value,
                      char* error, size_t errorSize);
