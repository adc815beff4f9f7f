#pragma once
#include <cstddef>
#include <cstdint>

#include "options/DisplayOptions.h"

// Where the saver draws.
enum class DrawTarget {
    NEW_WINDOW, // a top-level window of its own (--window, the default)
    ROOT,       // $XSCREENSAVER_WINDOW when set, else the root window (--root)
    WINDOW_ID,  // the window given by --window-id
};

// One invocation of the X11 saver: the simulation's settings as the runner takes them, the
// display settings, and where to draw.
struct CSaverOptions : CDisplayOptions {
    DrawTarget m_target;
    uint32_t m_windowId;   // for WINDOW_ID
    const char* m_display; // null: $DISPLAY

    CSaverOptions(); // every setting at the settings table's default, a window of its own
};

// Reads the command line. Every option may have one or two leading dashes. Returns true when it
// is valid; otherwise writes one line naming the offending option and its range into `error`.
bool ParseSaverOptions(int argc, const char* const* argv, CSaverOptions& options, char* error, size_t errorSize);

// A window id as X11 programs write it: decimal, or hexadecimal after "0x". Zero and values
// beyond the 29 bits of an X resource id are refused.
bool ParseWindowId(const char* text, uint32_t& id);

// The lift and people timers' periods in milliseconds, from the options as the Windows view takes
// them from its settings: the speed drives the lifts, the person interval the people.
struct TimerPeriods {
    int32_t lift;
    int32_t people;
};
TimerPeriods GetTimerPeriods(const CSaverOptions& options);

// The text --help prints.
const char* GetSaverUsageText();
