#pragma once
#include <cstdint>

#include "Building.h"
#include "Random.h"

// Helpers shared by the model's tests: a fresh building, cars placed by hand, chosen random draws.

inline void StartBuilding(int32_t liftCount, int32_t floorCount, int32_t driverMode)
{
    RestartModel();
    g_building.Reset(liftCount, floorCount, driverMode);
}

// Puts a car where a test needs it; the floor field follows the position as stepping would leave it.
inline CLift& PlaceCar(int32_t liftIndex, int32_t position, int32_t direction, int32_t target, int32_t pause = 0)
{
    CLift& car = g_lifts[liftIndex];
    car.m_position = position;
    car.m_direction = direction;
    car.m_target = target;
    car.m_pause = pause;
    car.m_floor = position % 100 == 0 ? position / 100 : 0;
    return car;
}

inline CPerson& PlacePerson(int32_t personIndex, int32_t floor, int32_t destination, int32_t assignedLift = -1)
{
    CPerson& person = g_people[personIndex];
    person.m_floor = floor;
    person.m_destination = destination;
    person.m_assignedLift = assignedLift;
    return person;
}

inline uint32_t StepBackwards(uint32_t state)
{
    const uint32_t multiplier = 214013u;
    uint32_t inverse = multiplier; // Newton's iteration doubles the correct low bits each round
    for (int round = 0; round < 5; ++round)
        inverse *= 2u - multiplier * inverse;
    return (state - 2531011u) * inverse;
}

// Sets the generator so that, after `drawsBefore` further draws, the next one returns `value`.
inline void PlaceDraw(int32_t value, int32_t drawsBefore = 0)
{
    uint32_t state = static_cast<uint32_t>(value) << 16;
    for (int32_t step = 0; step <= drawsBefore; ++step)
        state = StepBackwards(state);
    SetRandomState(state);
}

// Sets the generator so that the next draw returns `value` and the one after it lies in
// `followingLow`..`followingHigh`, searching the state bits a draw does not show.
inline bool PlaceDrawPair(int32_t value, int32_t followingLow, int32_t followingHigh)
{
    for (uint32_t hidden = 0; hidden < 0x20000u; ++hidden) {
        const uint32_t state = ((hidden >> 16) << 31) | (static_cast<uint32_t>(value) << 16) | (hidden & 0xFFFF);
        const int32_t following = static_cast<int32_t>(((state * 214013u + 2531011u) >> 16) & 0x7FFF);
        if (following >= followingLow && following <= followingHigh) {
            SetRandomState(StepBackwards(state));
            return true;
        }
    }
    return false;
}

// One lift tick of the active cars as the lift pass runs it: erase, then draw, per car.
inline void RunLiftTick(int32_t capacity, int32_t liftPause)
{
    for (int32_t liftIndex = 0; liftIndex < g_building.m_liftCount; ++liftIndex) {
        int32_t direction = 0, position = 0, load = 0;
        g_building.StepLift(liftIndex, 1, direction, position, load, capacity, liftPause);
        g_building.StepLift(liftIndex, 0, direction, position, load, capacity, liftPause);
    }
}

struct PersonStepResult {
    int32_t code;
    int32_t position;
    Colour colour;
    int32_t waitCount;
};

// The draw-pass step of one person, outputs preset to values no step ever writes.
inline PersonStepResult StepPersonDraw(int32_t personIndex, int32_t capacity = 5, int32_t passPause = 50,
                                       int32_t temper = 10)
{
    PersonStepResult result{-99, -99, 0xDEADBEEF, -99};
    result.code = g_building.StepPerson(personIndex, 0, result.position, result.colour, capacity, passPause, temper,
                                        result.waitCount);
    return result;
}
