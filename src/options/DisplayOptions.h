#pragma once
#include <cstdint>

#include "SimulationOptions.h"
#include "sim/Colour.h"

// The simulation's settings and how the building is drawn: the X11 saver takes them from its
// command line, the web page from its address and its settings panel.
struct CDisplayOptions : CSimulationOptions {
    int32_t m_scale;
    int32_t m_colours; // 0 or 1
    int32_t m_legend;  // 0 or 1
    Colour m_backColour;

    CDisplayOptions(); // every setting at the settings table's default
};

// The view settings a scene runs with for these options.
ViewSettings GetViewSettings(const CDisplayOptions& options);

// "RRGGBB", six hex digits; a leading '#' is allowed as colour pickers write it.
bool ParseColour(const char* text, Colour& colour);

// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigit(char digit);
