#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "Sign.h"
#include "SimulationClock.h"

namespace {

constexpr int64_t HOUR_MS = 3600 * 1000;

struct SoakCase {
    const char* name;
    RunSettings settings;
    int64_t hours;
};

// Breaks one of the model's promises about cars and people; empty when all hold.
std::string BrokenInvariant(const RunSettings& settings)
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
        if (person.m_floor < 1 || person.m_floor > settings.floors || person.m_destination < 1 ||
            person.m_destination > settings.floors)
            return "person " + std::to_string(personIndex) + " is outside the building";
    }
    for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex) {
        const CLift& car = g_lifts[liftIndex];
        const auto name = [liftIndex] { return "car " + std::to_string(liftIndex); };
        if (car.m_load != riders[liftIndex])
            return name() + " load " + std::to_string(car.m_load) + " but " + std::to_string(riders[liftIndex]) +
                   " riders";
        if (car.m_load > settings.capacity + 1)
            return name() + " carries more than capacity + 1";
        if (car.m_position % 20 != 0 || car.m_position < 0 || car.m_position > 2900)
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

void PrintTo(const SoakCase& soak, std::ostream* stream)
{
    *stream << soak.name;
}

class SoakTest : public ::testing::TestWithParam<SoakCase> {};

TEST_P(SoakTest, InvariantsHoldAfterEveryTickAndEveryoneTravels)
{
    const SoakCase& soak = GetParam();
    int32_t trips[MAX_PEOPLE] = {};
    int32_t ridingBefore[MAX_PEOPLE];
    for (int32_t& riding : ridingBefore)
        riding = -1;
    std::string failure;
    int64_t ticks = 0;
    RunSimulation(soak.settings, soak.hours * HOUR_MS, [&](bool) {
        ++ticks;
        if (!failure.empty())
            return;
        failure = BrokenInvariant(soak.settings);
        if (!failure.empty())
            failure += " after tick " + std::to_string(ticks);
        for (int32_t personIndex = 0; personIndex < MAX_PEOPLE; ++personIndex) {
            const int32_t riding = g_people[personIndex].m_ridingLift;
            if (ridingBefore[personIndex] >= 0 && riding < 0)
                ++trips[personIndex];
            ridingBefore[personIndex] = riding;
        }
    });
    EXPECT_EQ(failure, "");
    for (int32_t personIndex = 0; personIndex < soak.settings.people; ++personIndex)
        EXPECT_GT(trips[personIndex], 0) << "person " << personIndex << " never completed a trip";
}

RunSettings Stressed(int32_t driver)
{
    RunSettings settings;
    settings.driver = driver;
    settings.capacity = 1;
    settings.liftPause = 1;
    settings.passPause = 10;
    settings.passInterval = 100;
    settings.liftInterval = 496;
    settings.floors = 4;
    return settings;
}

RunSettings Busy(int32_t driver)
{
    RunSettings settings;
    settings.driver = driver;
    return settings;
}

const SoakCase SOAK_CASES[] = {
    {"PrimitiveBusy", Busy(DRIVER_PRIMITIVE), 4},
    {"AutoGroundBusy", Busy(DRIVER_AUTO_GROUND), 4},
    {"RandomBusy", Busy(DRIVER_RANDOM), 4},
    {"SmartBusy", Busy(DRIVER_SMART), 4},
    {"PrimitiveCrowded", Stressed(DRIVER_PRIMITIVE), 2},
    {"AutoGroundCrowded", Stressed(DRIVER_AUTO_GROUND), 2},
    {"RandomCrowded", Stressed(DRIVER_RANDOM), 2},
    {"SmartCrowded", Stressed(DRIVER_SMART), 2},
};

INSTANTIATE_TEST_SUITE_P(EachIntelligence, SoakTest, ::testing::ValuesIn(SOAK_CASES),
                         [](const ::testing::TestParamInfo<SoakCase>& info) { return std::string(info.param.name); });

} // namespace
