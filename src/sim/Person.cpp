#include "Person.h"

#include "Random.h"

CPerson::CPerson() : m_assignedLift(-1), m_floor(1), m_pause(-1), m_ridingLift(-1), m_destination(1), m_waitCount(0) {}

int32_t CPerson::DecideTrip(int32_t passPause, int32_t floorCount)
{
    m_pause = m_pause - 1;
    if (m_destination != m_floor || m_pause >= 0)
        return -1;

    // Both draws happen on every decision, pause first, so the shared random sequence stays in step.
    // Reducing stops at 0, which keeps the loops finite for any bound.
    m_pause = RandomDraw();
    while (m_pause > passPause && m_pause > 0)
        m_pause /= 5;

    int32_t draw = RandomDraw();
    while (draw > floorCount + 2 && draw > 0)
        draw /= 6;
    m_destination = draw - 2 < 1 ? 1 : draw - 2;

    if (m_destination == m_floor) {
        m_pause = -1; // no trip: decide again on the next call
        return -1;
    }
    return m_destination;
}

int32_t CPerson::Board(int32_t liftIndex)
{
    m_assignedLift = -1;
    m_waitCount = 0;
    m_ridingLift = liftIndex;
    return liftIndex;
}

void CPerson::Arrive()
{
    m_floor = m_destination;
    m_ridingLift = -1;
}
