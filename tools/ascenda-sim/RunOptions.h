#pragma once
#include <cstddef>
#include <cstdint>

// What one invocation of the runner asks for: the view's settings, how long to run and what to print.
struct CRunOptions {
    int32_t m_people;
    int32_t m_cars;
    int32_t m_capacity;
    int32_t m_driver;
    int32_t m_floors;
    int32_t m_liftPause;
    int32_t m_passPause;
    int32_t m_passInterval; // milliseconds between people ticks
    int32_t m_temper;
    int32_t m_speed;      // the update speed: lift ticks every 501 - 5 * speed milliseconds
    int64_t m_durationMs; // simulated time
    bool m_trace;
    bool m_compare;
    bool m_json;
    bool m_help;
    bool m_quiet; // no progress line

    CRunOptions(); // every setting at its stored default, 60 simulated minutes, a summary
    int32_t GetLiftInterval() const { return 501 - 5 * m_speed; }
};

// Reads the command line into options. Returns true when it is valid; otherwise writes one line
// naming the offending option and its range into `error`.
bool ParseRunOptions(int argc, const char* const* argv, CRunOptions& options, char* error, size_t errorSize);

// The text --help prints.
const char* GetUsageText();

// "Primitive", "Auto ground", "Random", "Smart"; "?" for anything else.
const char* GetDriverName(int32_t driver);
