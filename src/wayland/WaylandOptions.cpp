#include "WaylandOptions.h"

#include <cstdio>
#include <cstring>

#include "options/ColourNames.h"
#include "options/CommandLine.h"

namespace {
constexpr int32_t IDLE_SECONDS_MAX = 86400; // a day
} // namespace

CWaylandOptions::CWaylandOptions() : m_everyMonitor(false), m_idleSeconds(0), m_background(false), m_stop(false) {}

namespace {

// The options of this saver alone that take no value.
struct WaylandSwitch {
    const char* name;
    bool CWaylandOptions::*field;
};
const WaylandSwitch SWITCHES[] = {
    {"--every-monitor", &CWaylandOptions::m_everyMonitor},
    {"--background", &CWaylandOptions::m_background},
    {"--stop", &CWaylandOptions::m_stop},
};

} // namespace

bool ParseWaylandOptions(int argc, const char* const* argv, CWaylandOptions& options, char* error, size_t errorSize)
{
    CCommandLine line(argc, argv);
    while (line.Next()) {
        const OptionMatch match = ParseDisplayOption(line, options, error, errorSize);
        if (match == OptionMatch::INVALID)
            return false;
        if (match == OptionMatch::TAKEN)
            continue;
        const char* name = line.GetName();
        const WaylandSwitch* found = nullptr;
        for (const WaylandSwitch& option : SWITCHES) {
            if (std::strcmp(name, option.name) == 0)
                found = &option;
        }
        if (found != nullptr) {
            if (line.HasJoinedValue()) {
                std::snprintf(error, errorSize, "%s takes no value", name);
                return false;
            }
            options.*found->field = true;
            continue;
        }
        if (std::strcmp(name, "--idle") == 0) {
            if (!ParseRangedValue(line, 1, IDLE_SECONDS_MAX, " seconds", options.m_idleSeconds, error, errorSize))
                return false;
            continue;
        }
        std::snprintf(error, errorSize, "unknown option \"%s\" (see --help)", line.Shown(line.GetArgument()));
        return false;
    }
    ReadBackColour("ascenda-wayland", options);
    return true;
}

const char* GetWaylandUsageText()
{
    return "Usage: ascenda-wayland [options]\n"
           "An office building's lifts and the people who ride them, as a screen saver for\n"
           "Wayland desktops: full screen on every output until a key, a button, the wheel, a\n"
           "touch or a movement of the pointer, then it exits 0. Every option may be written\n"
           "with one dash or two.\n"
           "\n"
           "Where and when:\n"
           "  --every-monitor     the building on every output (default: on the first one,\n"
           "                      the others show the background)\n"
           "  --idle SECONDS      1..86400: wait until the seat has been idle that long, then\n"
           "                      start (needs a compositor with idle notifications)\n"
           "  --background        return at once and go on in the background, for an idle\n"
           "                      daemon's timeout command (swayidle)\n"
           "  --stop              end the running saver, for an idle daemon's resume command\n"
           "One saver runs at a time on a display: started while one runs, it does nothing.\n"
           "SIGTERM, SIGINT or SIGHUP ends it, by that signal.\n"
           "\n"
           "Settings (default in brackets):\n" SIMULATION_OPTIONS_USAGE DISPLAY_OPTIONS_USAGE
           "Values may follow the option or be joined to it with '='. Invalid options exit with status 2.\n";
}
