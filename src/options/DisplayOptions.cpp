#include "DisplayOptions.h"

#include <cstring>

#include "settings/SettingsStore.h"
#include "settings/SettingsTable.h"

CDisplayOptions::CDisplayOptions()
    : m_scale(Setting::Scale.defaultValue), m_colours(Setting::Colours.defaultValue),
      m_legend(Setting::Legend.defaultValue), m_backColour(GetDefaultBackColour())
{
}

ViewSettings GetViewSettings(const CDisplayOptions& options)
{
    ViewSettings settings = MakeViewSettings(options);
    settings.colours = options.m_colours;
    settings.legend = options.m_legend;
    settings.backColour = options.m_backColour;
    settings.scale = options.m_scale;
    return settings;
}

int HexDigit(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    return -1;
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
        const int digit = HexDigit(text[index]);
        if (digit < 0)
            return false;
        channels[index / 2] = channels[index / 2] * 16 + static_cast<uint32_t>(digit);
    }
    colour = MakeColour(channels[0], channels[1], channels[2]);
    return true;
}
