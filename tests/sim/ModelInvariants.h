#pragma once
#include <cstdint>
#include <string>

#include "Building.h"
#include "Sign.h"

// The first of the model's promises about cars and people that the records break, for a building of
// `floors` floors and cars that stop for `capacity` people; empty when all hold.
inline std::string BrokenInvariant(int32_t floors, int32_t capacity)
{
    int32_t riders[MAX_LIFTS] = {};
    for (int32_t personIndex = 0; personIndex < MAX_PEOPLE; ++personIndex) {
        const CPerson& person = g_people[personIndex];
        if (person.m_assignedLift >= 0 && person.m_ridingLift >= 0)
            return "person " + std::to_string(personIndex) + " is both assigned and riding";
        if (person.m_ridingLift >= MAX_LIFTS)
            return "person " + std::to_string(personIndex) + " rides a car that does not exist";
        if (person.m_ridingLift >= 0)
            ++riders[person.m_ridingLift];
        if (person.m_floor < 1 || person.m_floor > floors || person.m_destination < 1 || person.m_destination > floors)
            return "person " + std::to_string(personIndex) + " is outside the building";
    }
    for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex) {
        const CLift& car = g_lifts[liftIndex];
        const auto name = [liftIndex] { return "car " + std::to_string(liftIndex); };
        if (car.m_load != riders[liftIndex])
            return name() + " load " + std::to_string(car.m_load) + " but " + std::to_string(riders[liftIndex]) +
                   " riders";
        if (car.m_load > capacity + 1)
            return name() + " carries more than capacity + 1";
        if (car.m_position % 20 != 0 || car.m_position < 0 || car.m_position > 100 * floors)
            return name() + " at position " + std::to_string(car.m_position);
        if (car.m_direction == 0 && car.m_position != car.m_target * 100)
            return name() + " idle away from its target";
        if (car.m_direction != 0 && car.m_direction != Sign(car.m_target * 100 - car.m_position))
            return name() + " moving away from its target";
        if (car.m_floor != 0 && car.m_position != car.m_floor * 100)
            return name() + " reports a floor it does not stand at";
    }
    return {};
}
