#include <gtest/gtest.h>

#include "ModelTesting.h"

namespace {

class PersonTest : public ::testing::Test {
protected:
    void SetUp() override { RestartModel(); }
};

// --- trip decisions ---

TEST_F(PersonTest, NewPersonDrawsAtOnceAndDrawsAgainWhileTheDestinationIsItsOwnFloor)
{
    // From the start of the sequence: draws 41 and 18467 give pause 41 and floor 1 (no trip),
    // 6334 and 26500 give pause 50 and floor 1 again, 19169 and 15724 give pause 30 and floor 10.
    CPerson person;
    EXPECT_EQ(person.DecideTrip(50, 10), -1);
    EXPECT_EQ(person.m_pause, -1);
    EXPECT_EQ(person.GetDestination(), 1);
    EXPECT_EQ(person.DecideTrip(50, 10), -1);
    EXPECT_EQ(person.m_pause, -1);
    EXPECT_EQ(person.DecideTrip(50, 10), 10);
    EXPECT_EQ(person.GetDestination(), 10);
    EXPECT_EQ(person.m_pause, 30);
    EXPECT_EQ(person.GetFloor(), 1);
}

TEST_F(PersonTest, PauseDrawAboveThePassPauseIsDividedByFive)
{
    const int32_t draws[][2] = {{50, 50}, {0, 0}, {51, 10}, {300, 12}, {32767, 10}};
    for (const auto& draw : draws) {
        CPerson person;
        ASSERT_TRUE(PlaceDrawPair(draw[0], 4, 12)); // a destination draw that starts a trip
        EXPECT_GT(person.DecideTrip(50, 10), 1);
        EXPECT_EQ(person.m_pause, draw[1]) << "draw " << draw[0];
    }
}

TEST_F(PersonTest, DestinationDrawIsDividedBySixAndShiftedDownByTwo)
{
    // With 10 floors draws up to 12 are used directly; 0 to 3 all mean floor 1.
    const int32_t draws[][2] = {{12, 10}, {4, 2}, {5, 3}, {72, 10}, {13, 1}, {80, 1}, {90, 1}};
    for (const auto& draw : draws) {
        CPerson person;
        PlaceDraw(draw[0], 1);
        const int32_t result = person.DecideTrip(50, 10);
        EXPECT_EQ(person.GetDestination(), draw[1]) << "draw " << draw[0];
        EXPECT_EQ(result, draw[1] == 1 ? -1 : draw[1]);
    }
    for (int32_t value = 0; value <= 3; ++value) {
        CPerson person;
        PlaceDraw(value, 1);
        EXPECT_EQ(person.DecideTrip(50, 10), -1);
        EXPECT_EQ(person.GetDestination(), 1);
        EXPECT_EQ(person.m_pause, -1);
    }
}

TEST_F(PersonTest, DestinationOfTheCurrentFloorAboveGroundStartsNoTrip)
{
    CPerson person;
    person.m_floor = person.m_destination = 4;
    PlaceDraw(6, 1);
    EXPECT_EQ(person.DecideTrip(50, 10), -1);
    EXPECT_EQ(person.m_pause, -1);
}

TEST_F(PersonTest, PendingTripRefusesEveryDecisionButTheCountdownStillFalls)
{
    CPerson person;
    person.m_destination = 5;
    person.m_pause = 3;
    const uint32_t stateBefore = GetRandomState();
    for (int32_t expected = 2; expected >= -5; --expected) {
        EXPECT_EQ(person.DecideTrip(50, 10), -1);
        EXPECT_EQ(person.m_pause, expected);
    }
    EXPECT_EQ(GetRandomState(), stateBefore) << "no draw while a trip is pending";

    CPerson idle; // with no trip pending the countdown decides after exactly that many calls
    idle.m_pause = 3;
    for (int call = 0; call < 3; ++call)
        EXPECT_EQ(idle.DecideTrip(50, 10), -1);
    PlaceDraw(7, 1);
    EXPECT_EQ(idle.DecideTrip(50, 10), 5);
}

TEST_F(PersonTest, DecisionsEndForNonsensicalBounds)
{
    CPerson person;
    PlaceDraw(30000);
    person.DecideTrip(-7, -9);
    EXPECT_EQ(person.m_pause, -1); // destination 1: no trip
    EXPECT_EQ(person.GetDestination(), 1);
}

// --- boarding and the wait count ---

TEST_F(PersonTest, WaitCountRestartsAtBoardingAndSurvivesArrival)
{
    CPerson person;
    person.m_destination = 6;
    person.SetAssignedLift(2);
    person.AddWait(4);
    EXPECT_EQ(person.Board(2), 2);
    EXPECT_EQ(person.GetAssignedLift(), -1);
    EXPECT_EQ(person.GetRidingLift(), 2);
    EXPECT_EQ(person.AddWait(0), 0);
    for (int tick = 0; tick < 7; ++tick)
        person.AddWait(1);
    person.Arrive();
    EXPECT_EQ(person.GetFloor(), 6);
    EXPECT_EQ(person.GetRidingLift(), -1);
    EXPECT_EQ(person.AddWait(0), 7);
    EXPECT_EQ(person.AddWait(1), 8);
}

} // namespace
