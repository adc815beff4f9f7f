#pragma once
#include <cstdio>
#include <cstdlib>

#include "settings/SettingsTable.h"
#include "settings/ViewSettings.h"

// Stops the run naming the promise an input broke: the fuzzer then keeps the input, and the
// replay names the file it came from.
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : FailFuzzCheck(#condition, __FILE__, __LINE__))

[[noreturn]] inline void FailFuzzCheck(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
    std::abort();
}

// The first of a view's settings outside what the dialogs can produce, or nullptr. The update
// speed may also be 0, which a stored negative speed becomes.
inline const char* FindSettingOutOfRange(const ViewSettings& settings)
{
    const struct {
        int32_t value;
        const SettingKey& key;
    } checks[] = {
        {settings.people, Setting::People},       {settings.capacity, Setting::Capacity},
        {settings.driver, Setting::Driver},       {settings.scale, Setting::Scale},
        {settings.floors, Setting::NoFloors},     {settings.liftPause, Setting::LiftPause},
        {settings.passPause, Setting::PassPause}, {settings.passInterval, Setting::PassIntvl},
        {settings.temper, Setting::Temper},       {settings.cars, Setting::Cars},
    };
    for (const auto& check : checks) {
        if (check.value < check.key.minimum || check.value > check.key.maximum)
            return check.key.name;
    }
    if (settings.updateSpeed < 0 || settings.updateSpeed > Setting::UpdSpd.maximum)
        return Setting::UpdSpd.name;
    if ((settings.colours | settings.legend) & ~1)
        return "Colours or Legend";
    return settings.backColour > 0xFFFFFFu ? "the background colour" : nullptr;
}
