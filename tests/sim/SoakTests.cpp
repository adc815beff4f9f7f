#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ModelInvariants.h"
#include "SimulationClock.h"

namespace {

constexpr int64_t HOUR_MS = 3600 * 1000;

struct SoakCase {
    const char* name;
    RunSettings settings;
    int64_t hours;
};

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
        failure = BrokenInvariant(soak.settings.floors, soak.settings.capacity);
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
