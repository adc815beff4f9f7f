#pragma once
#include <cstdint>

#include "Colour.h"
#include "Lift.h"
#include "Person.h"

// Call buttons, the active lift and floor counts and the intelligence in force.
// No constructor: the process-wide record is all zero until the first Reset.
struct CBuilding {
    int32_t m_upCalls[MAX_FLOORS];
    int32_t m_downCalls[MAX_FLOORS];
    int32_t m_liftCount;
    int32_t m_floorCount;
    int32_t m_driverMode;

    int32_t Reset(int32_t liftCount, int32_t floorCount, int32_t driverMode);
    int32_t StepLift(int32_t liftIndex, int32_t erase, int32_t& direction, int32_t& position, int32_t& load,
                     int32_t capacity, int32_t liftPause);
    int32_t StepPerson(int32_t personIndex, int32_t erase, int32_t& position, Colour& colour, int32_t capacity,
                       int32_t passPause, int32_t temper, int32_t& waitCount);
    int32_t CallLift(int32_t personIndex);
    int32_t SetCall(int32_t floor, int32_t direction, int32_t value);
    int32_t QueryCall(int32_t floor, int32_t direction) const;

    // The draw pass's half of StepLift and StepPerson, for a valid index. The erase pass only
    // reads, and the passes make as many erase calls as draw calls, so the steps themselves are
    // kept inline below and only the draw pass pays for a call.
    int32_t AdvanceLift(int32_t liftIndex, int32_t& direction, int32_t& position, int32_t& load, int32_t capacity,
                        int32_t liftPause);
    int32_t AdvancePerson(int32_t personIndex, int32_t& position, Colour& colour, int32_t capacity, int32_t passPause,
                          int32_t temper, int32_t& waitCount);
};

// Asked for every floor on every lift tick, so it is kept where callers can inline it.
// 1 for a lit up button, -1 for a lit down button, 0 otherwise (and for floors outside the table).
inline int32_t CBuilding::QueryCall(int32_t floor, int32_t direction) const
{
    if (floor < 0 || floor >= MAX_FLOORS)
        return 0;
    if (direction > 0 && m_upCalls[floor] > 0)
        return 1;
    if (direction < 0 && m_downCalls[floor] > 0)
        return -1;
    return 0;
}

extern CBuilding g_building;
extern CLift g_lifts[MAX_LIFTS];
extern CPerson g_people[MAX_PEOPLE];

inline int32_t CBuilding::StepLift(int32_t liftIndex, int32_t erase, int32_t& direction, int32_t& position,
                                   int32_t& load, int32_t capacity, int32_t liftPause)
{
    if (liftIndex < 0 || liftIndex >= MAX_LIFTS)
        return 0;
    const CLift& car = g_lifts[liftIndex];
    position = car.m_position; // where the car stood before this tick
    if (erase)
        return car.m_pause > 1 ? 3 : 2;
    return AdvanceLift(liftIndex, direction, position, load, capacity, liftPause);
}

inline int32_t CBuilding::StepPerson(int32_t personIndex, int32_t erase, int32_t& position, Colour& colour,
                                     int32_t capacity, int32_t passPause, int32_t temper, int32_t& waitCount)
{
    if (personIndex < 0 || personIndex >= MAX_PEOPLE)
        return 0;
    colour = 0;
    position = g_people[personIndex].m_floor * 100;
    if (erase)
        return 1;
    return AdvancePerson(personIndex, position, colour, capacity, passPause, temper, waitCount);
}

// Puts every record and the random source back to their program-start state, for a fresh run
// in the same process (tests, the headless runner's comparisons).
void RestartModel();
// Puts every lift car and person back where a run starts them (cars idle at floor 1, everyone on
// floor 1 with no trip), leaving the buttons and the random source as they are: for a building
// whose floors were taken away from under them.
void RestartLiftsAndPeople();
