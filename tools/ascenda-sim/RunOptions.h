#pragma once
#include <cstddef>
#include <cstdint>

#include "options/SimulationOptions.h"

// What one invocation of the runner asks for: the view's settings, how long to run and what to print.
struct CRunOptions : CSimulationOptions {
    int64_t m_durationMs; // simulated time
    bool m_trace;
    bool m_compare;
    bool m_json;
    bool m_help;
    bool m_quiet; // no progress line

    CRunOptions(); // every setting at its stored default, 60 simulated minutes, a summary
};

// Reads the command line into options. Returns true when it is valid; otherwise writes one line
// naming the offending option and its range into `error`.
bool ParseRunOptions(int argc, const char* const* argv, CRunOptions& options, char* error, size_t errorSize);

// The text --help prints.
const char* GetUsageText();

// "Primitive", "Auto ground", "Random", "Smart"; "?" for anything else.
const char* GetDriverName(int32_t driver);
