#pragma once
#include <cstdint>

#include "Building.h"

// The settings a run needs, in the model's units, and a clock that fires lift and people ticks
// in the order the view's timers deliver them (a lift tick first when both fall due together).
struct RunSettings {
    int32_t people = 100;
    int32_t cars = 10;
    int32_t capacity = 5;
    int32_t driver = DRIVER_SMART;
    int32_t floors = 25;
    int32_t liftPause = 15;
    int32_t passPause = 50;
    int32_t passInterval = 500; // milliseconds between people ticks
    int32_t liftInterval = 101; // milliseconds between lift ticks
};

inline void LiftPass(const RunSettings& settings)
{
    for (int32_t liftIndex = 0; liftIndex < settings.cars; ++liftIndex) {
        int32_t direction = 0, position = 0, load = 0;
        g_building.StepLift(liftIndex, 1, direction, position, load, settings.capacity, settings.liftPause);
        direction = position = load = 0;
        g_building.StepLift(liftIndex, 0, direction, position, load, settings.capacity, settings.liftPause);
    }
}

inline void PeoplePass(const RunSettings& settings, int32_t temper = 10)
{
    for (int32_t personIndex = 0; personIndex < settings.people; ++personIndex) {
        for (int32_t erase = 1; erase >= 0; --erase) {
            int32_t height = 0, waitCount = 0;
            Colour colour = 0x808080;
            g_building.StepPerson(personIndex, erase, height, colour, settings.capacity, settings.passPause, temper,
                                  waitCount);
        }
    }
}

// Runs `durationMs` of simulated time from a fresh model; `afterTick(isLiftTick)` is called after each tick.
template <typename AfterTick> void RunSimulation(const RunSettings& settings, int64_t durationMs, AfterTick afterTick)
{
    RestartModel();
    g_building.Reset(settings.cars, settings.floors, settings.driver);
    int64_t nextLift = settings.liftInterval;
    int64_t nextPeople = settings.passInterval;
    for (;;) {
        const bool liftDue = nextLift <= nextPeople;
        const int64_t now = liftDue ? nextLift : nextPeople;
        if (now > durationMs)
            return;
        if (liftDue) {
            LiftPass(settings);
            nextLift += settings.liftInterval;
        } else {
            PeoplePass(settings);
            nextPeople += settings.passInterval;
        }
        afterTick(liftDue);
    }
}
