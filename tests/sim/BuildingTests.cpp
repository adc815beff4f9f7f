#include <gtest/gtest.h>

#include <cstring>

#include "ModelTesting.h"

namespace {

class BuildingTest : public ::testing::Test {
protected:
    void SetUp() override { StartBuilding(1, 10, DRIVER_PRIMITIVE); }

    // Lift ticks until the car stands at the given height, at most `limit` ticks; returns the ticks taken.
    static int32_t RunUntilPosition(int32_t liftIndex, int32_t position, int32_t limit = 200)
    {
        for (int32_t tick = 1; tick <= limit; ++tick) {
            RunLiftTick(5, 15);
            if (g_lifts[liftIndex].GetPosition() == position)
                return tick;
        }
        return -1;
    }
};

// --- stops for hall calls and requested floors ---

TEST_F(BuildingTest, CarMovingUpPassesAFloorWhereOnlyTheDownButtonIsLit)
{
    PlaceCar(0, 100, 1, 5);
    g_building.SetCall(3, -1, 1);
    ASSERT_EQ(RunUntilPosition(0, 300), 10);
    EXPECT_LT(g_lifts[0].GetPause(), 0);
    EXPECT_EQ(g_building.QueryCall(3, -1), -1);
    RunLiftTick(5, 15);
    EXPECT_EQ(g_lifts[0].GetPosition(), 320);
}

TEST_F(BuildingTest, CarStopsForALitButtonInItsDirectionAndClearsIt)
{
    PlaceCar(0, 100, 1, 5);
    g_building.SetCall(3, 1, 1);
    ASSERT_EQ(RunUntilPosition(0, 300), 10);
    EXPECT_EQ(g_building.QueryCall(3, 1), 0);
    EXPECT_EQ(g_lifts[0].GetPause(), 15);
    EXPECT_EQ(g_lifts[0].GetDirection(), 1);
    for (int tick = 0; tick < 15; ++tick)
        RunLiftTick(5, 15);
    EXPECT_EQ(g_lifts[0].GetPosition(), 300);
    RunLiftTick(5, 15);
    EXPECT_EQ(g_lifts[0].GetPosition(), 320);
}

TEST_F(BuildingTest, FullCarClearsTheButtonAndPassesAndTheWaitingPersonLightsItAgain)
{
    PlaceCar(0, 100, 1, 8).m_load = 5;
    PlacePerson(0, 3, 6, 0);
    g_building.SetCall(3, 1, 1);
    ASSERT_EQ(RunUntilPosition(0, 300), 10);
    EXPECT_EQ(g_building.QueryCall(3, 1), 0);
    EXPECT_LT(g_lifts[0].GetPause(), 0);
    RunLiftTick(5, 15);
    EXPECT_EQ(g_lifts[0].GetPosition(), 320);
    EXPECT_EQ(StepPersonDraw(0).code, 0);
    EXPECT_EQ(g_building.QueryCall(3, 1), 1);
}

TEST_F(BuildingTest, RequestedStopHaltsTheCarWhateverItsLoad)
{
    CLift& car = PlaceCar(0, 100, 1, 8);
    car.m_load = 9;
    car.RequestStop(3);
    ASSERT_EQ(RunUntilPosition(0, 300), 10);
    EXPECT_EQ(car.GetPause(), 15);
    EXPECT_EQ(car.m_stops[3], 0);
}

// --- the lift step's outputs ---

TEST_F(BuildingTest, ErasePassWritesOnlyThePositionAndChangesNothing)
{
    PlaceCar(0, 400, 0, 4, 5).m_load = 2;
    const CLift carBefore = g_lifts[0];
    const CBuilding buildingBefore = g_building;
    int32_t direction = -7, position = -7, load = -7;
    EXPECT_EQ(g_building.StepLift(0, 1, direction, position, load, 5, 15), 3);
    EXPECT_EQ(position, 400);
    EXPECT_EQ(direction, -7);
    EXPECT_EQ(load, -7);
    EXPECT_EQ(std::memcmp(&carBefore, &g_lifts[0], sizeof(CLift)), 0);
    EXPECT_EQ(std::memcmp(&buildingBefore, &g_building, sizeof(CBuilding)), 0);

    g_lifts[0].SetPause(2);
    EXPECT_EQ(g_building.StepLift(0, 1, direction, position, load, 5, 15), 3);
    g_lifts[0].SetPause(1);
    EXPECT_EQ(g_building.StepLift(0, 1, direction, position, load, 5, 15), 2);
    g_lifts[0].SetPause(-4);
    EXPECT_EQ(g_building.StepLift(0, 1, direction, position, load, 5, 15), 2);
}

TEST_F(BuildingTest, DrawPassReportsTheCarAfterItsStep)
{
    PlaceCar(0, 100, 1, 3).m_load = 2;
    int32_t direction = -7, position = -7, load = -7;
    EXPECT_EQ(g_building.StepLift(0, 0, direction, position, load, 5, 15), 1);
    EXPECT_EQ(position, 120);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(load, 2);
    PlaceCar(0, 280, 1, 3);
    g_building.StepLift(0, 0, direction, position, load, 5, 15);
    EXPECT_EQ(position, 300);
    EXPECT_EQ(direction, 0);
}

// --- dispatch stages ---

TEST_F(BuildingTest, CallLightsTheButtonAndPrefersACarAlreadyAtTheFloorWithoutStoppingIt)
{
    g_building.Reset(2, 10, DRIVER_PRIMITIVE);
    PlaceCar(1, 300, -1, 1, -3); // only passing floor 3, and going the other way
    PlacePerson(0, 3, 5);
    EXPECT_EQ(g_building.CallLift(0), 1);
    EXPECT_EQ(g_people[0].GetAssignedLift(), 1);
    EXPECT_EQ(g_building.QueryCall(3, 1), 1);
    EXPECT_EQ(g_building.QueryCall(3, -1), 0);
    EXPECT_EQ(g_lifts[1].m_stops[3], 0);
    EXPECT_EQ(g_lifts[1].m_target, 1);
    EXPECT_EQ(g_lifts[0].GetDirection(), 0) << "the idle car is not sent";
}

TEST_F(BuildingTest, CarComingThisWayIsTakenOnlyBeforeItReachesTheFloor)
{
    PlaceCar(0, 500, -1, 1);
    PlacePerson(0, 7, 2);
    EXPECT_EQ(g_building.CallLift(0), -1);
    EXPECT_EQ(g_people[0].GetAssignedLift(), -1);
    EXPECT_EQ(g_building.QueryCall(7, -1), -1);

    PlacePerson(1, 3, 1);
    EXPECT_EQ(g_building.CallLift(1), 0);
    EXPECT_EQ(g_people[1].GetAssignedLift(), 0);
    EXPECT_EQ(g_lifts[0].m_target, 1) << "floor 3 lies short of the target: the button stops the car";
    EXPECT_EQ(g_lifts[0].m_stops[3], 0);

    PlaceCar(0, 500, -1, 4);
    EXPECT_EQ(g_building.CallLift(1), 0);
    EXPECT_EQ(g_lifts[0].m_target, 3);
    EXPECT_EQ(g_lifts[0].m_stops[3], 1);
}

TEST_F(BuildingTest, CarComingThisWayIsPreferredToAnIdleCar)
{
    g_building.Reset(2, 10, DRIVER_PRIMITIVE);
    PlaceCar(1, 200, 1, 8);
    PlacePerson(0, 5, 9);
    EXPECT_EQ(g_building.CallLift(0), 1);
    EXPECT_EQ(g_lifts[0].GetDirection(), 0);
}

TEST_F(BuildingTest, IdleCarIsSentWhenNoCarComesThisWay)
{
    g_building.Reset(3, 10, DRIVER_PRIMITIVE);
    PlaceCar(0, 900, -1, 8);
    PlaceCar(1, 500, 0, 5, 4);
    PlacePerson(0, 2, 4);
    EXPECT_EQ(g_building.CallLift(0), 1);
    EXPECT_EQ(g_lifts[1].m_target, 2);
    EXPECT_EQ(g_lifts[1].GetDirection(), -1);
    EXPECT_EQ(g_lifts[2].GetDirection(), 0) << "only the first idle car is sent";
}

TEST_F(BuildingTest, CallThatFindsNoLiftKeepsTheEarlierAssignmentAndTheButtonStaysLit)
{
    PlaceCar(0, 520, 1, 9);
    PlacePerson(0, 3, 1, 0);
    EXPECT_EQ(g_building.CallLift(0), -1);
    EXPECT_EQ(g_people[0].GetAssignedLift(), 0);
    for (int tick = 0; tick < 30; ++tick)
        RunLiftTick(5, 15);
    EXPECT_EQ(g_lifts[0].GetPosition(), 900);
    EXPECT_EQ(g_building.QueryCall(3, -1), -1);
}

TEST_F(BuildingTest, CarsBeyondTheLiftCountAreNeitherSearchedNorBoarded)
{
    PlaceCar(0, 900, 1, 12);
    PlaceCar(1, 300, 0, 3, 3);
    PlacePerson(0, 3, 6, 0);
    EXPECT_EQ(StepPersonDraw(0).code, 0);
    EXPECT_EQ(g_people[0].GetRidingLift(), -1);
    EXPECT_EQ(g_lifts[1].m_load, 0);
}

// --- boarding and alighting ---

TEST_F(BuildingTest, PersonBoardsACarWhoseLoadEqualsTheCapacityButNotAFullerOne)
{
    PlaceCar(0, 300, 0, 3, 5).m_load = 5;
    PlacePerson(0, 3, 6, 0).m_waitCount = 3;
    const PersonStepResult boarded = StepPersonDraw(0, 5);
    EXPECT_EQ(boarded.code, 3);
    EXPECT_EQ(boarded.waitCount, 4) << "the count at boarding";
    EXPECT_EQ(boarded.position, 300);
    EXPECT_EQ(g_lifts[0].m_load, 6);
    EXPECT_EQ(g_lifts[0].m_target, 6);
    EXPECT_EQ(g_lifts[0].GetDirection(), 1);
    EXPECT_EQ(g_lifts[0].m_stops[6], 1);
    EXPECT_EQ(g_people[0].GetRidingLift(), 0);
    EXPECT_EQ(g_people[0].GetAssignedLift(), -1);
    EXPECT_EQ(g_people[0].AddWait(0), 0);

    g_building.Reset(1, 10, DRIVER_PRIMITIVE);
    PlacePerson(1, 3, 7, 0);
    EXPECT_EQ(StepPersonDraw(1, 5).code, 0);
    EXPECT_EQ(g_lifts[0].m_load, 6);
    EXPECT_EQ(g_people[1].GetRidingLift(), -1);
    EXPECT_EQ(g_building.QueryCall(3, 1), 1) << "passing over a full car renews the call";
}

TEST_F(BuildingTest, BoardingScanPassesOverAFullCarToTheNextOne)
{
    g_building.Reset(2, 10, DRIVER_PRIMITIVE);
    PlaceCar(0, 300, 0, 3, 5).m_load = 6;
    PlaceCar(1, 300, 0, 3, 5);
    PlacePerson(0, 3, 1, 0);
    EXPECT_EQ(StepPersonDraw(0, 5).code, 3);
    EXPECT_EQ(g_people[0].GetRidingLift(), 1);
    EXPECT_EQ(g_lifts[1].GetDirection(), -1);
    EXPECT_EQ(g_building.QueryCall(3, -1), -1);
}

TEST_F(BuildingTest, FirstBoarderGivesAnIdleCarItsDirectionAndLaterBoardersMustFollowIt)
{
    PlaceCar(0, 300, 0, 3, 5);
    PlacePerson(0, 3, 1, 0);
    PlacePerson(1, 3, 6, 0);
    PlacePerson(2, 3, 2, 0);
    EXPECT_EQ(StepPersonDraw(0).code, 3);
    EXPECT_EQ(g_lifts[0].GetDirection(), -1);
    EXPECT_EQ(StepPersonDraw(1).code, 0);
    EXPECT_EQ(g_people[1].GetAssignedLift(), 0) << "re-assigned to the car at the floor";
    EXPECT_EQ(StepPersonDraw(2).code, 3);
    EXPECT_EQ(g_lifts[0].m_load, 2);
    EXPECT_EQ(g_lifts[0].m_target, 1);
    EXPECT_EQ(g_lifts[0].m_stops[2], 1) << "a floor short of the target becomes a requested stop";
}

TEST_F(BuildingTest, RiderGetsOutAtTheDestinationReportingTheRideInGrey)
{
    PlaceCar(0, 600, 0, 6, 10).m_load = 2;
    CPerson& rider = PlacePerson(0, 3, 6);
    rider.Board(0);
    rider.AddWait(6);
    const PersonStepResult result = StepPersonDraw(0);
    EXPECT_EQ(result.code, 4);
    EXPECT_EQ(result.waitCount, 7);
    EXPECT_EQ(result.position, 600);
    EXPECT_EQ(result.colour, MakeColour(128, 128, 128));
    EXPECT_EQ(g_lifts[0].m_load, 1);
    EXPECT_EQ(rider.GetFloor(), 6);
    EXPECT_EQ(rider.GetRidingLift(), -1);
    EXPECT_EQ(rider.AddWait(0), 7);
}

TEST_F(BuildingTest, StayAfterArrivalLastsExactlyThePauseDrawnForIt)
{
    // A pause of p at arrival: the person's steps on the next p people ticks decide nothing, and
    // the step on the tick after them draws the next trip (a pause draw, then a destination draw).
    for (const int32_t pause : {0, 1, 2, 7, 50}) {
        StartBuilding(1, 10, DRIVER_PRIMITIVE);
        PlaceCar(0, 600, 0, 6, 10).m_load = 1;
        CPerson& rider = PlacePerson(0, 3, 6);
        rider.Board(0);
        rider.m_pause = pause;
        ASSERT_EQ(StepPersonDraw(0).code, 4) << "arrives";
        for (int32_t tick = 1; tick <= pause; ++tick) {
            const uint32_t before = GetRandomState();
            EXPECT_EQ(StepPersonDraw(0).code, 2);
            ASSERT_EQ(GetRandomState(), before) << "pause " << pause << ": decided on tick " << tick;
        }
        const uint32_t before = GetRandomState();
        StepPersonDraw(0);
        EXPECT_EQ(StepBackwards(StepBackwards(GetRandomState())), before)
            << "pause " << pause << ": no decision on tick " << pause + 1;
    }
}

TEST_F(BuildingTest, RiderShortOfTheDestinationStaysAboardAndReportsNoWait)
{
    PlaceCar(0, 500, 1, 6, 10).m_load = 1;
    CPerson& rider = PlacePerson(0, 3, 6);
    rider.Board(0);
    const PersonStepResult result = StepPersonDraw(0);
    EXPECT_EQ(result.code, 3);
    EXPECT_EQ(result.position, 300);
    EXPECT_EQ(result.colour, 0u);
    EXPECT_EQ(result.waitCount, -99);
    EXPECT_EQ(rider.AddWait(0), 1);
    EXPECT_EQ(g_lifts[0].m_load, 1);
}

TEST_F(BuildingTest, PersonWhoseFirstCallFoundNoLiftWaitsCallsAgainAndBoards)
{
    PlaceCar(0, 900, -1, 1);
    CPerson& person = PlacePerson(0, 3, 3);
    PlaceDraw(8, 1); // destination draw 8: floor 6
    EXPECT_EQ(StepPersonDraw(0).code, 2);
    ASSERT_EQ(person.GetDestination(), 6);
    ASSERT_EQ(person.GetAssignedLift(), -1) << "every car moving away: the first call finds none";
    const int32_t pauseAfterDecision = person.m_pause;

    g_building.SetCall(3, 1, 0);
    const PersonStepResult waiting = StepPersonDraw(0);
    EXPECT_EQ(waiting.code, 0);
    EXPECT_EQ(waiting.waitCount, 1);
    EXPECT_EQ(waiting.colour, MakeColour(0, 10, 0));
    EXPECT_EQ(g_building.QueryCall(3, 1), 1);
    EXPECT_EQ(person.m_pause, pauseAfterDecision) << "no trip decision while a trip is pending";

    bool boarded = false;
    for (int32_t tick = 1; tick <= 400 && !boarded; ++tick) {
        RunLiftTick(5, 15);
        if (tick % 5 == 0)
            boarded = StepPersonDraw(0).code == 3;
    }
    EXPECT_TRUE(boarded);
    EXPECT_EQ(person.GetRidingLift(), 0);
    EXPECT_EQ(g_lifts[0].m_target, 6);
}

// --- colours ---

TEST_F(BuildingTest, WaitingColourRisesFromBlackThroughGreenAndCyanToWhite)
{
    PlaceCar(0, 520, 1, 9);
    struct Case {
        int32_t waitCount;
        int32_t temper;
        Colour colour;
    };
    const Case cases[] = {
        {1, 10, MakeColour(0, 10, 0)},       {25, 10, MakeColour(0, 250, 0)},
        {26, 10, MakeColour(0, 255, 5)},     {51, 10, MakeColour(0, 255, 255)},
        {52, 10, MakeColour(10, 255, 255)},  {76, 10, MakeColour(250, 255, 255)},
        {77, 10, MakeColour(255, 255, 255)}, {255, 1, MakeColour(0, 255, 0)},
        {256, 1, MakeColour(0, 255, 1)},     {511, 1, MakeColour(1, 255, 255)},
        {765, 1, MakeColour(255, 255, 255)}, {2000000000, 50, MakeColour(255, 255, 255)},
    };
    for (const Case& test : cases) {
        PlacePerson(0, 3, 1, 0).m_waitCount = test.waitCount - 1;
        const PersonStepResult result = StepPersonDraw(0, 5, 50, test.temper);
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.waitCount, test.waitCount);
        EXPECT_EQ(result.colour, test.colour) << "wait " << test.waitCount << " temper " << test.temper;
    }
}

// --- what the passes count ---

TEST_F(BuildingTest, PersonErasePassReportsTheFloorInBlackAndChangesNothing)
{
    CPerson& person = PlacePerson(0, 4, 7, 0);
    const CPerson before = person;
    Colour colour = 0x123456;
    int32_t position = -1, waitCount = -99;
    EXPECT_EQ(g_building.StepPerson(0, 1, position, colour, 5, 50, 10, waitCount), 1);
    EXPECT_EQ(position, 400);
    EXPECT_EQ(colour, 0u);
    EXPECT_EQ(waitCount, -99);
    EXPECT_EQ(std::memcmp(&before, &person, sizeof person), 0);
}

TEST_F(BuildingTest, StandingPersonReportsNoWait)
{
    PlacePerson(0, 2, 2).m_pause = 10;
    const PersonStepResult result = StepPersonDraw(0);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.position, 200);
    EXPECT_EQ(result.colour, 0u);
    EXPECT_EQ(result.waitCount, -99);
    EXPECT_EQ(g_people[0].m_pause, 9);
}

TEST_F(BuildingTest, ResetClearsEveryButtonAndNothingElse)
{
    g_building.Reset(3, 10, DRIVER_SMART);
    PlaceCar(1, 540, 1, 8).m_load = 3;
    PlacePerson(4, 6, 2, 1).m_waitCount = 9;
    for (int32_t floor = 0; floor < MAX_FLOORS; ++floor) {
        g_building.SetCall(floor, 1, 1);
        g_building.SetCall(floor, -1, 1);
    }
    CLift carsBefore[MAX_LIFTS];
    CPerson peopleBefore[MAX_PEOPLE];
    std::memcpy(carsBefore, g_lifts, sizeof g_lifts);
    std::memcpy(peopleBefore, g_people, sizeof g_people);

    EXPECT_EQ(g_building.Reset(3, 10, DRIVER_SMART), 1);
    for (int32_t floor = 0; floor < MAX_FLOORS; ++floor) {
        EXPECT_EQ(g_building.m_upCalls[floor], 0);
        EXPECT_EQ(g_building.m_downCalls[floor], 0);
    }
    EXPECT_EQ(g_building.m_liftCount, 3);
    EXPECT_EQ(g_building.m_floorCount, 10);
    EXPECT_EQ(g_building.m_driverMode, DRIVER_SMART);
    EXPECT_EQ(std::memcmp(carsBefore, g_lifts, sizeof g_lifts), 0);
    EXPECT_EQ(std::memcmp(peopleBefore, g_people, sizeof g_people), 0);
}

TEST_F(BuildingTest, ResetKeepsTheCountsInsideTheTables)
{
    g_building.Reset(50, 40, DRIVER_RANDOM);
    EXPECT_EQ(g_building.m_liftCount, MAX_LIFTS);
    EXPECT_EQ(g_building.m_floorCount, MAX_FLOORS - 1);
    g_building.Reset(-2, -8, DRIVER_RANDOM);
    EXPECT_EQ(g_building.m_liftCount, 0);
    EXPECT_EQ(g_building.m_floorCount, 0);
}

TEST_F(BuildingTest, CallButtonsFollowTheDirectionAndIgnoreFloorsOutsideTheTable)
{
    EXPECT_EQ(g_building.SetCall(4, 0, 1), 1);
    EXPECT_EQ(g_building.QueryCall(4, 1), 0);
    EXPECT_EQ(g_building.QueryCall(4, -1), 0);
    g_building.SetCall(4, -1, 1);
    EXPECT_EQ(g_building.QueryCall(4, -1), -1);
    EXPECT_EQ(g_building.QueryCall(4, 1), 0);
    EXPECT_EQ(g_building.QueryCall(4, 0), 0);
    g_building.SetCall(5, 1, -1);
    EXPECT_EQ(g_building.QueryCall(5, 1), 0) << "only a positive value is lit";
    const CBuilding before = g_building;
    EXPECT_EQ(g_building.SetCall(MAX_FLOORS, 1, 1), 1);
    EXPECT_EQ(g_building.SetCall(-1, -1, 1), 1);
    EXPECT_EQ(g_building.QueryCall(MAX_FLOORS, 1), 0);
    EXPECT_EQ(std::memcmp(&before, &g_building, sizeof before), 0);
}

TEST_F(BuildingTest, StepsOutsideTheTablesTouchNothing)
{
    int32_t direction = -7, position = -7, load = -7, waitCount = -7;
    Colour colour = 5;
    EXPECT_EQ(g_building.StepLift(MAX_LIFTS, 0, direction, position, load, 5, 15), 0);
    EXPECT_EQ(g_building.StepPerson(MAX_PEOPLE, 0, position, colour, 5, 50, 10, waitCount), 0);
    EXPECT_EQ(g_building.CallLift(-1), -1);
    EXPECT_EQ(position, -7);
    EXPECT_EQ(colour, 5u);
}

} // namespace
