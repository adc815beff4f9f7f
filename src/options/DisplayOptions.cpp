#include "DisplayOptions.h"

#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "numbers/WholeNumber.h"
#include "resources/Version.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

CDisplayOptions::CDisplayOptions()
    : m_scale(Setting::Scale.defaultValue), m_colours(Setting::Colours.defaultValue),
      m_legend(Setting::Legend.defaultValue), m_backColour(GetDefaultBackColour()), m_backColourName(nullptr),
      m_fps(false), m_fitScale(true), m_help(false), m_version(false)
{
}

namespace {

// An option that takes no value and sets a field to a fixed value.
template <typename Field> struct SwitchOption {
    const char* name;
    Field CDisplayOptions::*field;
    Field value;
};

const SwitchOption<int32_t> NUMBER_SWITCHES[] = {
    {"--colours", &CDisplayOptions::m_colours, 1},
    {"--no-colours", &CDisplayOptions::m_colours, 0},
    {"--legend", &CDisplayOptions::m_legend, 1},
    {"--no-legend", &CDisplayOptions::m_legend, 0},
};

const SwitchOption<bool> FLAG_SWITCHES[] = {
    {"--fps", &CDisplayOptions::m_fps, true},
    {"--help", &CDisplayOptions::m_help, true},
    {"--h", &CDisplayOptions::m_help, true}, // -h, spelt with two dashes as every option is
    {"--version", &CDisplayOptions::m_version, true},
};

template <typename Field, size_t count>
bool FindSwitch(const SwitchOption<Field> (&switches)[count], const char* name, CDisplayOptions& options)
{
    for (const SwitchOption<Field>& option : switches) {
        if (std::strcmp(name, option.name) == 0) {
            options.*option.field = option.value;
            return true;
        }
    }
    return false;
}

} // namespace

OptionMatch ParseDisplayOption(CCommandLine& line, CDisplayOptions& options, char* error, size_t errorSize)
{
    const OptionMatch simulation = ParseSimulationOption(line, options, error, errorSize);
    if (simulation != OptionMatch::NOT_MINE)
        return simulation;
    const char* name = line.GetName();
    if (FindSwitch(NUMBER_SWITCHES, name, options) || FindSwitch(FLAG_SWITCHES, name, options)) {
        if (!line.HasJoinedValue())
            return OptionMatch::TAKEN;
        std::snprintf(error, errorSize, "%s takes no value", name);
        return OptionMatch::INVALID;
    }
    if (std::strcmp(name, "--scale") == 0) {
        if (!ParseRangedValue(line, Setting::Scale.minimum, Setting::Scale.maximum, "", options.m_scale, error,
                              errorSize))
            return OptionMatch::INVALID;
        options.m_fitScale = false;
        return OptionMatch::TAKEN;
    }
    if (std::strcmp(name, "--back-colour") != 0)
        return OptionMatch::NOT_MINE;
    options.m_backColourName = line.TakeValue();
    if (options.m_backColourName == nullptr) {
        std::snprintf(error, errorSize, "--back-colour needs a colour such as navy or #000080");
        return OptionMatch::INVALID;
    }
    return OptionMatch::TAKEN;
}

void PrintVersion(const char* program)
{
    std::printf("%s %s\n%s\nLicense: MIT. There is NO WARRANTY, to the extent permitted by law.\n", program,
                ASCENDA_VERSION_TEXT, ASCENDA_COPYRIGHT_TEXT);
}

void FormatColourWarning(const char* program, const char* text, char* warning, size_t size)
{
    char shown[64];
    const Colour colour = GetDefaultBackColour();
    std::snprintf(warning, size, "%s: warning: \"%s\" is not a colour; the background stays %02X%02X%02X", program,
                  ShowOnTerminal(text, shown, sizeof shown), RedOf(colour), GreenOf(colour), BlueOf(colour));
}

ViewSettings GetViewSettings(const CDisplayOptions& options)
{
    ViewSettings settings = MakeViewSettings(options);
    settings.colours = options.m_colours;
    settings.legend = options.m_legend;
    settings.backColour = options.m_backColour;
    settings.scale = options.m_scale;
    return LimitViewSettings(settings);
}

bool ParseColour(const char* text, Colour& colour)
{
    if (text == nullptr)
        return false;
    if (*text == '#')
        ++text;
    if (std::strlen(text) != 6)
        return false;
    uint32_t channels[3] = {};
    for (int index = 0; index < 6; ++index) {
        const int digit = DigitValue(text[index], 16);
        if (digit < 0)
            return false;
        channels[index / 2] = channels[index / 2] * 16 + static_cast<uint32_t>(digit);
    }
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return true;
}
