#include <gtest/gtest.h>

#include <cstring>

#include "ModelTesting.h"

namespace {

class LiftTest : public ::testing::Test {
protected:
    void SetUp() override { RestartModel(); }
};

// --- movement and pauses ---

TEST_F(LiftTest, NewCarTravelsOneFloorInFiveTicksAndArrivesPaused)
{
    CLift car;
    EXPECT_EQ(car.AcceptStop(2), 0);
    EXPECT_EQ(car.GetDirection(), 1);
    const int32_t between[] = {120, 140, 160, 180};
    for (int32_t expected : between) {
        EXPECT_EQ(car.Step(15), expected);
        EXPECT_EQ(car.GetFloor(), 0) << "between floors at " << expected;
        EXPECT_EQ(car.GetDirection(), 1);
    }
    EXPECT_EQ(car.Step(15), 200);
    EXPECT_EQ(car.GetFloor(), 2);
    EXPECT_EQ(car.GetDirection(), 0);
    EXPECT_EQ(car.GetPause(), 15);
}

TEST_F(LiftTest, CountdownHoldsACarForThatManyTicksAndRunsBelowZeroWhileMoving)
{
    CLift car;
    car.AcceptStop(3);
    car.SetPause(3);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_EQ(car.Step(15), 100) << "tick " << tick;
    EXPECT_EQ(car.GetPause(), 0);
    EXPECT_EQ(car.Step(15), 120);
    car.Step(15);
    EXPECT_EQ(car.GetPause(), -2);
}

TEST_F(LiftTest, IdleCountdownCyclesFromLiftPauseToZeroAndNeverGoesNegative)
{
    CLift car;
    car.Step(15); // an idle car at its target "arrives" again at once
    EXPECT_EQ(car.GetPause(), 15);
    for (int32_t expected = 14; expected >= 0; --expected) {
        car.Step(15);
        EXPECT_EQ(car.GetPause(), expected);
    }
    car.Step(15);
    EXPECT_EQ(car.GetPause(), 15);
    for (int tick = 0; tick < 100; ++tick) {
        car.Step(15);
        EXPECT_GE(car.GetPause(), 0);
        EXPECT_EQ(car.GetPosition(), 100);
        EXPECT_EQ(car.GetFloor(), 1);
    }
}

TEST_F(LiftTest, FloorIsReportedExactlyAtEveryFloorAndZeroBetween)
{
    CLift car = PlaceCar(0, 0, 1, 29, 0);
    for (int32_t position = 20; position < 2900; position += 20) {
        ASSERT_EQ(car.Step(15), position);
        ASSERT_EQ(car.GetFloor(), position % 100 == 0 ? position / 100 : 0) << "at " << position;
    }
    EXPECT_EQ(car.Step(15), 2900);
    EXPECT_EQ(car.GetFloor(), 29);

    CLift downward = PlaceCar(1, 2900, -1, 0, 0);
    for (int32_t position = 2880; position > 0; position -= 20) {
        ASSERT_EQ(downward.Step(15), position);
        ASSERT_EQ(downward.GetFloor(), position % 100 == 0 ? position / 100 : 0) << "at " << position;
    }
}

// --- stops ---

TEST_F(LiftTest, MovingCarRefusesFloorsShortOfItsTargetAndExtendsBeyondIt)
{
    CLift car;
    car.AcceptStop(5);
    car.Step(15);
    EXPECT_EQ(car.AcceptStop(3), 1);
    EXPECT_EQ(car.AcceptStop(2), 1);
    EXPECT_EQ(car.AcceptStop(5), 1);
    EXPECT_EQ(car.AcceptStop(1), 1);
    EXPECT_EQ(car.m_target, 5);
    EXPECT_EQ(car.m_stops[3], 0);
    EXPECT_EQ(car.AcceptStop(7), 0);
    EXPECT_EQ(car.m_target, 7);
    EXPECT_EQ(car.m_stops[7], 1);
    EXPECT_EQ(car.GetDirection(), 1);
}

TEST_F(LiftTest, DownwardCarExtendsOnlyDownwardsAndAnIdleCarHeadsForAnyOtherFloor)
{
    CLift car = PlaceCar(0, 800, -1, 4);
    EXPECT_EQ(car.AcceptStop(6), 1);
    EXPECT_EQ(car.AcceptStop(9), 1);
    EXPECT_EQ(car.AcceptStop(2), 0);
    EXPECT_EQ(car.m_target, 2);

    CLift idle = PlaceCar(0, 600, 0, 6);
    EXPECT_EQ(idle.AcceptStop(2), 0);
    EXPECT_EQ(idle.GetDirection(), -1);
    EXPECT_EQ(idle.m_target, 2);

    CLift own; // asked for its own floor: stays idle with the flag set
    EXPECT_EQ(own.AcceptStop(1), 0);
    EXPECT_EQ(own.GetDirection(), 0);
    EXPECT_EQ(own.m_target, 1);
    EXPECT_EQ(own.m_stops[1], 1);
}

TEST_F(LiftTest, StopFlagsAndLoadOutsideTheTableAreIgnored)
{
    CLift car;
    EXPECT_EQ(car.RequestStop(4), 1);
    EXPECT_EQ(car.TakeStop(4), 1);
    EXPECT_EQ(car.TakeStop(4), 0);
    EXPECT_EQ(car.m_target, 1) << "a requested stop is not a target";
    EXPECT_EQ(car.AddLoad(1), 1);
    EXPECT_EQ(car.AddLoad(-1), 0);
    const CLift before = car;
    EXPECT_EQ(car.AcceptStop(MAX_FLOORS), 1);
    EXPECT_EQ(car.AcceptStop(-1), 1);
    EXPECT_EQ(car.RequestStop(MAX_FLOORS), 1);
    EXPECT_EQ(car.RequestStop(-3), 1);
    EXPECT_EQ(car.TakeStop(MAX_FLOORS + 5), 0);
    EXPECT_EQ(std::memcmp(&before, &car, sizeof car), 0);
}

// --- parking by mode ---

TEST_F(LiftTest, ParkLeavesGroundFloorMovingAndPausedCarsAlone)
{
    for (int32_t mode = DRIVER_PRIMITIVE; mode <= DRIVER_SMART; ++mode) {
        CLift ground;
        EXPECT_EQ(ground.Park(mode, 10, 1), 1);
        EXPECT_EQ(ground.GetDirection(), 0);

        CLift below = PlaceCar(0, 0, 0, 0);
        below.Park(mode, 10, 1);
        EXPECT_EQ(below.m_target, 0);

        CLift moving = PlaceCar(0, 500, 1, 7, 0);
        EXPECT_EQ(moving.Park(mode, 10, 1), 7);

        CLift paused = PlaceCar(0, 500, 0, 5, 2);
        EXPECT_EQ(paused.Park(mode, 10, 1), 5) << "mode " << mode;
        EXPECT_EQ(paused.GetDirection(), 0);
    }
}

TEST_F(LiftTest, ParkActsWhileTheCountdownIsOneOrZeroExceptForPrimitiveAndUnknownModes)
{
    for (int32_t pause : {1, 0}) {
        CLift car = PlaceCar(0, 500, 0, 5, pause);
        EXPECT_EQ(car.Park(DRIVER_AUTO_GROUND, 10, 0), 1);
        EXPECT_EQ(car.GetDirection(), -1);
    }
    for (int32_t mode : {int32_t{DRIVER_PRIMITIVE}, 4, -1}) {
        CLift car = PlaceCar(0, 700, 0, 7, 0);
        EXPECT_EQ(car.Park(mode, 10, 0), 7);
        EXPECT_EQ(car.GetDirection(), 0);
    }
}

TEST_F(LiftTest, SmartParksEachCarByItsIndex)
{
    const int32_t tenFloors[] = {1, 8, 3, 1, 8, 3, 1, 8, 3, 12};
    for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex) {
        CLift car = PlaceCar(liftIndex, 1200, 0, 12, 0);
        EXPECT_EQ(car.Park(DRIVER_SMART, 10, liftIndex), tenFloors[liftIndex]) << "car " << liftIndex;
    }
    const int32_t fourFloors[] = {1, 2, 1};
    for (int32_t liftIndex = 0; liftIndex < 3; ++liftIndex) {
        CLift car = PlaceCar(liftIndex, 1200, 0, 12, 0);
        EXPECT_EQ(car.Park(DRIVER_SMART, 4, liftIndex), fourFloors[liftIndex]) << "car " << liftIndex;
    }
}

TEST_F(LiftTest, SmartCarAtItsParkingFloorStaysPut)
{
    StartBuilding(2, 10, DRIVER_SMART);
    PlaceCar(1, 800, 0, 8, 1);
    for (int tick = 0; tick < 40; ++tick) {
        RunLiftTick(5, 15);
        ASSERT_EQ(g_lifts[1].GetPosition(), 800);
        ASSERT_EQ(g_lifts[1].GetDirection(), 0);
    }
}

TEST_F(LiftTest, RandomParkingReducesTheDrawByFiveUntilItIsAFloor)
{
    PlaceDraw(300);
    CLift car = PlaceCar(0, 900, 0, 9, 0);
    EXPECT_EQ(car.Park(DRIVER_RANDOM, 10, 0), 2); // 300, 60, 12, 2
    PlaceDraw(10);
    CLift top = PlaceCar(0, 900, 0, 9, 0);
    EXPECT_EQ(top.Park(DRIVER_RANDOM, 10, 0), 10);
    PlaceDraw(11);
    CLift above = PlaceCar(0, 900, 0, 9, 0);
    EXPECT_EQ(above.Park(DRIVER_RANDOM, 10, 0), 2);
    PlaceDraw(30000);
    CLift nonsense = PlaceCar(0, 900, 0, 9, 0);
    EXPECT_EQ(nonsense.Park(DRIVER_RANDOM, -5, 0), 0) << "the reduction stops at 0 for a floor count below zero";
}

TEST_F(LiftTest, RandomDrawOfZeroSendsCarToLevelZeroHaltingOnTheWay)
{
    StartBuilding(1, 10, DRIVER_RANDOM);
    PlaceCar(0, 300, 0, 3, 2);
    PlaceDraw(0);
    RunLiftTick(5, 15); // countdown 2 -> 1: the car parks
    CLift& car = g_lifts[0];
    EXPECT_EQ(car.m_target, 0);
    EXPECT_EQ(car.GetDirection(), -1);
    EXPECT_EQ(car.m_stops[0], 1);
    RunLiftTick(5, 15); // countdown 1 -> 0, still standing
    EXPECT_EQ(car.GetPosition(), 300);
    RunLiftTick(5, 15); // first tick between floors: the level-0 flag halts it
    EXPECT_EQ(car.GetPosition(), 280);
    EXPECT_EQ(car.GetPause(), 15);
    EXPECT_EQ(car.m_stops[0], 0);
    for (int tick = 0; tick < 15; ++tick)
        RunLiftTick(5, 15);
    EXPECT_EQ(car.GetPosition(), 280);
    for (int tick = 0; tick < 14; ++tick)
        RunLiftTick(5, 15);
    EXPECT_EQ(car.GetPosition(), 0);
    EXPECT_EQ(car.GetFloor(), 0);
    EXPECT_EQ(car.GetDirection(), 0);
    const uint32_t stateBefore = GetRandomState();
    for (int tick = 0; tick < 100; ++tick)
        RunLiftTick(5, 15);
    EXPECT_EQ(car.GetPosition(), 0) << "a car below the first floor never parks";
    EXPECT_EQ(GetRandomState(), stateBefore);
}

// --- the random source ---

TEST_F(LiftTest, RandomSourceReplaysTheClassicSequenceAfterARestart)
{
    const int32_t expected[] = {41, 18467, 6334, 26500};
    for (int32_t value : expected)
        EXPECT_EQ(RandomDraw(), value);
    RestartRandom();
    for (int32_t value : expected)
        EXPECT_EQ(RandomDraw(), value);
}

} // namespace
