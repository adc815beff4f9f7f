#include "SaverOptions.h"

#include <cstdio>
#include <cstring>

#include "numbers/WholeNumber.h"
#include "options/CommandLine.h"
#include "settings/SettingsTable.h"

namespace {

constexpr uint32_t MAX_RESOURCE_ID = 0x1FFFFFFF;

// --window and --root, which take no value. Returns false when the name is neither.
bool ParseTargetSwitch(const char* name, CSaverOptions& options)
{
    if (std::strcmp(name, "--window") == 0)
        options.m_target = DrawTarget::NEW_WINDOW;
    else if (std::strcmp(name, "--root") == 0)
        options.m_target = DrawTarget::ROOT;
    else
        return false;
    return true;
}

} // namespace

CSaverOptions::CSaverOptions() : m_target(DrawTarget::NEW_WINDOW), m_windowId(0), m_display(nullptr) {}

bool ParseWindowId(const char* text, uint32_t& id)
{
    int64_t value = 0;
    if (!ReadWholeNumber(text, {0, false, 1, MAX_RESOURCE_ID}, value))
        return false;
    id = static_cast<uint32_t>(value);
    return true;
}

bool ParseSaverOptions(int argc, const char* const* argv, CSaverOptions& options, char* error, size_t errorSize)
{
    CCommandLine line(argc, argv);
    while (line.Next()) {
        const char* name = line.GetName();
        if (ParseTargetSwitch(name, options)) {
            if (line.HasJoinedValue()) {
                std::snprintf(error, errorSize, "%s takes no value", name);
                return false;
            }
            continue;
        }
        const OptionMatch match = ParseDisplayOption(line, options, error, errorSize);
        if (match == OptionMatch::INVALID)
            return false;
        if (match == OptionMatch::TAKEN)
            continue;
        if (std::strcmp(name, "--window-id") == 0) {
            const char* text = line.TakeValue();
            if (!ParseWindowId(text, options.m_windowId)) {
                std::snprintf(error, errorSize, "--window-id needs a window id, decimal or 0x hex, from 1 to 0x%X %s",
                              MAX_RESOURCE_ID, line.Got(text));
                return false;
            }
            options.m_target = DrawTarget::WINDOW_ID;
            continue;
        }
        if (std::strcmp(name, "--display") == 0) {
            options.m_display = line.TakeValue();
            if (options.m_display == nullptr) {
                std::snprintf(error, errorSize, "--display needs a display name such as :0");
                return false;
            }
            continue;
        }
        std::snprintf(error, errorSize, "unknown option \"%s\" (see --help)", line.Shown(line.GetArgument()));
        return false;
    }
    return true;
}

TimerPeriods GetTimerPeriods(const CSaverOptions& options)
{
    return {options.GetLiftInterval(), options.m_passInterval};
}

const char* GetSaverUsageText()
{
    return "Usage: ascenda [options]\n"
           "An office building's lifts and the people who ride them, as an X11 screen saver.\n"
           "Every option may be written with one dash or two.\n"
           "\n"
           "Where to draw:\n"
           "  --window            a window of its own, 1024 x 768 (the default); any input\n"
           "                      in it ends it, as on a screen saver\n"
           "  --root              the window in $XSCREENSAVER_WINDOW, else the root window\n"
           "  --window-id ID      the window ID (decimal or 0x hex)\n"
           "  --display NAME      the X display (default $DISPLAY)\n"
           "SIGTERM, SIGINT or SIGHUP ends it, by that signal.\n"
           "\n"
           "Settings (default in brackets):\n" SIMULATION_OPTIONS_USAGE DISPLAY_OPTIONS_USAGE
           "The background colour may be any name an X server knows; one it cannot read gives\n"
           "a warning, and the default is used.\n"
           "Values may follow the option or be joined to it with '='. Invalid options exit with status 2.\n";
}
