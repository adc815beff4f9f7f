#include "SimulationOptions.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CommandLine.h"
#include "numbers/WholeNumber.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

const char* const DRIVER_WORDS[DRIVER_WORD_COUNT] = {"primitive", "auto-ground", "random", "smart"};

namespace {

// One numeric option: its name on the command line, where it goes, the settings key whose range
// it accepts and the unit its error message names.
struct NumericOption {
    const char* name;
    int32_t CSimulationOptions::*field;
    const SettingKey& key;
    const char* unit;
};

const NumericOption NUMERIC_OPTIONS[] = {
    {"--people", &CSimulationOptions::m_people, Setting::People, ""},
    {"--cars", &CSimulationOptions::m_cars, Setting::Cars, ""},
    {"--capacity", &CSimulationOptions::m_capacity, Setting::Capacity, ""},
    {"--floors", &CSimulationOptions::m_floors, Setting::NoFloors, ""},
    {"--lift-pause", &CSimulationOptions::m_liftPause, Setting::LiftPause, " lift ticks"},
    {"--pass-pause", &CSimulationOptions::m_passPause, Setting::PassPause, " people ticks"},
    {"--pass-interval", &CSimulationOptions::m_passInterval, Setting::PassIntvl, " ms"},
    {"--temper", &CSimulationOptions::m_temper, Setting::Temper, ""},
    {"--speed", &CSimulationOptions::m_speed, Setting::UpdSpd, ""},
};

// Whether a name's character is one of those that do not count: blanks and the hyphen, so that
// "Auto ground" from the page's list, "auto-ground" and " AutoGround " all name the same one.
bool IsNameSeparator(char character)
{
    return character == ' ' || character == '\t' || character == '-' || character == '_';
}

// Whether `text` is `word` whatever its case and separators.
bool IsDriverWord(const char* text, const char* word)
{
    for (;;) {
        while (IsNameSeparator(*text))
            ++text;
        while (IsNameSeparator(*word))
            ++word;
        const int a = std::tolower(static_cast<unsigned char>(*text));
        const int b = std::tolower(static_cast<unsigned char>(*word));
        if (a != b)
            return false;
        if (a == '\0')
            return true;
        ++text;
        ++word;
    }
}

bool ParseDriver(const char* text, int32_t& driver)
{
    if (text == nullptr)
        return false;
    for (int32_t mode = 0; mode < DRIVER_WORD_COUNT; ++mode) {
        if (IsDriverWord(text, DRIVER_WORDS[mode])) {
            driver = mode;
            return true;
        }
    }
    int32_t number = 0;
    if (!ReadWholeNumber(text, {10, true, Setting::Driver.minimum, Setting::Driver.maximum}, number))
        return false;
    driver = number;
    return true;
}

} // namespace

CSimulationOptions::CSimulationOptions()
    : m_people(Setting::People.defaultValue), m_cars(Setting::Cars.defaultValue),
      m_capacity(Setting::Capacity.defaultValue), m_driver(Setting::Driver.defaultValue),
      m_floors(Setting::NoFloors.defaultValue), m_liftPause(Setting::LiftPause.defaultValue),
      m_passPause(Setting::PassPause.defaultValue), m_passInterval(Setting::PassIntvl.defaultValue),
      m_temper(Setting::Temper.defaultValue), m_speed(Setting::UpdSpd.defaultValue)
{
}

ViewSettings MakeViewSettings(const CSimulationOptions& options)
{
    // Limited as every route into a view is: the parser checks the ranges, but not every caller
    // fills the options through it.
    ViewSettings settings{};
    settings.people = options.m_people;
    settings.driver = options.m_driver;
    settings.capacity = options.m_capacity;
    settings.colours = Setting::Colours.defaultValue;
    settings.legend = Setting::Legend.defaultValue;
    settings.floors = options.m_floors;
    settings.liftPause = options.m_liftPause;
    settings.passPause = options.m_passPause;
    settings.passInterval = options.m_passInterval;
    settings.temper = options.m_temper;
    settings.backColour = GetDefaultBackColour();
    settings.scale = Setting::Scale.defaultValue;
    settings.cars = options.m_cars;
    settings.updateSpeed = options.m_speed;
    return LimitViewSettings(settings);
}

bool ParseRangedValue(CCommandLine& line, int32_t minimum, int32_t maximum, const char* unit, int32_t& value,
                      char* error, size_t errorSize)
{
    const char* text = line.TakeValue();
    int32_t number = 0;
    if (!ReadWholeNumber(text, {10, true, minimum, maximum}, number)) {
        std::snprintf(error, errorSize, "%s needs a whole number from %d to %d%s %s", line.GetName(), minimum, maximum,
                      unit, line.Got(text));
        return false;
    }
    value = number;
    return true;
}

OptionMatch ParseSimulationOption(CCommandLine& line, CSimulationOptions& options, char* error, size_t errorSize)
{
    const char* name = line.GetName();
    for (const NumericOption& option : NUMERIC_OPTIONS) {
        if (std::strcmp(name, option.name) != 0)
            continue;
        const bool valid = ParseRangedValue(line, option.key.minimum, option.key.maximum, option.unit,
                                            options.*option.field, error, errorSize);
        return valid ? OptionMatch::TAKEN : OptionMatch::INVALID;
    }
    if (std::strcmp(name, "--driver") != 0)
        return OptionMatch::NOT_MINE;
    const char* text = line.TakeValue();
    if (!ParseDriver(text, options.m_driver)) {
        std::snprintf(error, errorSize,
                      "--driver needs 0 to 3 or primitive, auto-ground, random or smart, in any case %s",
                      line.Got(text));
        return OptionMatch::INVALID;
    }
    return OptionMatch::TAKEN;
}
