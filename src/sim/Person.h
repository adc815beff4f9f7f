#pragma once
#include <cstdint>

constexpr int32_t MAX_PEOPLE = 100;

// One person. Pauses and wait counts in people ticks.
struct CPerson {
    int32_t m_assignedLift;
    int32_t m_floor;
    int32_t m_pause;
    int32_t m_ridingLift;
    int32_t m_destination;
    int32_t m_waitCount;

    CPerson();
    int32_t DecideTrip(int32_t passPause, int32_t floorCount);
    int32_t Board(int32_t liftIndex);
    void Arrive();
    int32_t SetAssignedLift(int32_t liftIndex)
    {
        m_assignedLift = liftIndex;
        return 1;
    }
    int32_t GetAssignedLift() const { return m_assignedLift; }
    int32_t GetFloor() const { return m_floor; }
    int32_t GetDestination() const { return m_destination; }
    int32_t GetRidingLift() const { return m_ridingLift; }
    int32_t AddWait(int32_t delta) { return m_waitCount += delta; }
};
