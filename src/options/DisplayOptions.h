#pragma once
#include <cstddef>
#include <cstdint>

#include "SimulationOptions.h"
#include "sim/Colour.h"

// The simulation's settings and how the building is drawn: the Linux savers take them from their
// command lines, the web page from its address and its settings panel.
struct CDisplayOptions : CSimulationOptions {
    int32_t m_scale;
    int32_t m_colours; // 0 or 1
    int32_t m_legend;  // 0 or 1
    Colour m_backColour;
    // --back-colour's text as given, null when not given. ReadBackColour reads it into
    // m_backColour, which keeps the default when the text cannot be read.
    const char* m_backColourName;
    bool m_fps;      // the lift ticks per second and the CPU share in a corner
    bool m_fitScale; // no --scale given: the scale is chosen to fit every lift in the window
    bool m_help;     // -h or --help
    bool m_version;  // --version

    CDisplayOptions(); // every setting at the settings table's default
};

// The view settings a scene runs with for these options.
ViewSettings GetViewSettings(const CDisplayOptions& options);

// Reads the current option of `line` when it is one of the simulation's settings (see
// ParseSimulationOption) or --scale, --colours, --no-colours, --legend, --no-legend,
// --back-colour, --fps, -h, --help or --version. The background colour is only kept as text here: it is never
// INVALID for a colour it cannot read.
OptionMatch ParseDisplayOption(CCommandLine& line, CDisplayOptions& options, char* error, size_t errorSize);

// The lines of --help for the options ParseDisplayOption reads beyond the simulation's, for every
// program that takes them from a command line.
#define DISPLAY_OPTIONS_USAGE                                                                                          \
    "  --scale N           20..50, larger draws the building smaller (default: fitted,\n"                              \
    "                      the smallest from 25 up that shows every lift, floor 1 and\n"                               \
    "                      the legend whole; past 50 where a narrow window needs it)\n"                                \
    "  --colours, --no-colours   coloured lifts, people and slabs (on)\n"                                              \
    "  --legend, --no-legend     the legend line (on)\n"                                                               \
    "  --back-colour C     the background colour (000080): a colour name such as navy or\n"                            \
    "                      \"dark slate gray\", #RGB, #RRGGBB, rgb:RR/GG/BB or RRGGBB\n"                               \
    "  --fps               the lift ticks per second and the CPU share, top left\n"                                    \
    "  -h, --help          this text\n"                                                                                \
    "  --version           the version and the copyright\n"

// What --version prints for `program`, as Debian's programs print it: the name and the version,
// then the copyright and the licence.
void PrintVersion(const char* program);

// The one line a front end writes on stderr for a --back-colour it cannot read, before it runs
// with the default colour.
void FormatColourWarning(const char* program, const char* text, char* warning, size_t size);

// "RRGGBB", six hex digits; a leading '#' is allowed as colour pickers write it.
bool ParseColour(const char* text, Colour& colour);
