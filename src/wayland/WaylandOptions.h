#pragma once
#include <cstddef>
#include <cstdint>

#include "options/DisplayOptions.h"

// One invocation of the Wayland saver: the simulation's and the display's settings under the X11
// saver's names, and what only this saver has.
struct CWaylandOptions : CDisplayOptions {
    bool m_everyMonitor;   // the building on every output, not only the first
    int32_t m_idleSeconds; // wait until the seat has been idle this long before showing; 0: at once
    bool m_background;     // go on in the background, the command returning at once
    bool m_stop;           // end the running saver instead of starting one

    CWaylandOptions();
};

// Reads the command line, every option with one dash or two. Returns true when it is valid;
// otherwise writes one line naming the offending option into `error`. The background colour's
// name is read as well: a name that is no colour writes one warning on stderr and keeps the
// default, as the X11 saver does.
bool ParseWaylandOptions(int argc, const char* const* argv, CWaylandOptions& options, char* error, size_t errorSize);

// The text --help prints.
const char* GetWaylandUsageText();
