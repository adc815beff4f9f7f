#pragma once
#include <cstdint>

#include "SettingsStore.h"
#include "sim/Colour.h"

// The settings a simulation view runs with, as loaded from the store.
struct ViewSettings {
    int32_t people;
    int32_t driver;
    int32_t capacity;
    int32_t colours;
    int32_t legend;
    int32_t floors;
    int32_t liftPause;
    int32_t passPause;
    int32_t passInterval;
    int32_t temper;
    Colour backColour;
    int32_t scale;
    int32_t cars;
    int32_t updateSpeed;
};

// Every value limited as a view takes it, whatever route it came by (the store, a command line, a
// page's address): each to its settings key's range, so that no value can overrun a table, divide
// by zero, hang a loop or stop the timers. Legend and Colours: nonzero becomes 1. The update speed
// also takes 0 (the slowest lift tick), to which a view raises any stored negative speed.
ViewSettings LimitViewSettings(ViewSettings settings);

// Reads People, Capacity, Driver, Scale, the colour, Legend, Colours, NoFloors, LiftPause,
// PassPause, PassIntvl, Temper, Cars and finally UpdSpd, in that order, limited as above.
ViewSettings LoadViewSettings(CSettingsStore& store);

// AllMonitors as 0 or 1 (any nonzero stored value means on): whether the full-screen saver shows
// the building on every monitor rather than on the primary alone.
int32_t LoadAllMonitors(CSettingsStore& store);

// UpdSpd alone, limited as above (what a view reads when its window is created).
int32_t LoadUpdateSpeed(CSettingsStore& store);

// The lift timer's period in milliseconds for an update speed: 501 - 5 * speed, for every int32
// speed. A negative speed counts as 0 (501 ms), wherever it comes from; a speed above 100 would
// give 0 or less, and the fastest tick the platform offers, 1 ms, is what it means.
inline int32_t LiftPeriodFromSpeed(int32_t updateSpeed)
{
    constexpr int32_t SLOWEST = 501, FASTEST = 1, STEP = 5;
    if (updateSpeed < 0)
        return SLOWEST;
    // Compared before multiplying, so a huge stored speed cannot overflow the product.
    if (updateSpeed >= (SLOWEST - FASTEST) / STEP)
        return FASTEST;
    return SLOWEST - STEP * updateSpeed;
}
