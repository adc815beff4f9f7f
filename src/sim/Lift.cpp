#include "Lift.h"

#include <cmath>

#include "Random.h"
#include "Sign.h"

namespace {

constexpr int32_t LIFT_STEP = 20; // hundredths of a floor per lift tick

// Floor numbers index the stop table; anything outside it is ignored rather than written past the end.
bool IsTableFloor(int32_t floor)
{
    return floor >= 0 && floor < MAX_FLOORS;
}

constexpr int32_t NO_PARKING = -1;

// Floor on which a Smart car waits while idle: a third of the cars each at the ground floor, near the top
// and a third of the way up. The tenth car stays where its last trip ended.
int32_t SmartParkingFloor(int32_t floorCount, int32_t liftIndex)
{
    if (liftIndex < 0 || liftIndex > 8)
        return NO_PARKING;
    switch (liftIndex % 3) {
    case 0:
        return 1;
    case 1:
        return floorCount - 2;
    default:
        return floorCount / 3;
    }
}

} // namespace

CLift::CLift() : m_stops{}, m_floor(1), m_position(100), m_target(1), m_pause(0), m_load(0), m_direction(0) {}

int32_t CLift::Step(int32_t liftPause)
{
    // The countdown falls on every tick, also while the car moves, so a moving car's count runs negative.
    const int32_t old = m_pause;
    m_pause = old - 1;
    if (old > 0)
        return m_position;

    m_position += m_direction * LIFT_STEP;
    if (m_position == m_target * 100) {
        // An idle car stands at its target, so it "arrives" again whenever its countdown runs out.
        m_floor = m_target;
        m_direction = 0;
        m_pause = liftPause;
        return m_position;
    }

    // Kept in double precision: positions are multiples of 20, so this is exact at floors and 0 between them.
    const int32_t whole = m_position / 100;
    m_floor = std::fabs(m_position * 0.01 - whole) < 0.1 ? whole : 0;
    return m_position;
}

int32_t CLift::AcceptStop(int32_t floor)
{
    if (!IsTableFloor(floor))
        return 1;
    if (m_direction == 0) {
        m_target = floor;
        m_stops[floor] = 1;
        m_direction = Sign(floor * 100 - m_position);
        return 0;
    }
    // A moving car only extends its trip; floors short of the target are served through stop flags and buttons.
    if (m_direction == Sign(floor - m_target) && m_direction * m_target < m_direction * floor) {
        m_target = floor;
        m_stops[floor] = 1;
        return 0;
    }
    return 1;
}

int32_t CLift::Park(int32_t mode, int32_t floorCount, int32_t liftIndex)
{
    if (m_direction != 0 || m_position <= 100 || m_pause > 1)
        return m_target;

    switch (mode) {
    case DRIVER_AUTO_GROUND:
        AcceptStop(1);
        break;
    case DRIVER_RANDOM: {
        int32_t floor = RandomDraw();
        // The draw is at least 0, so stopping at 0 keeps the loop finite even for a nonsensical floor count.
        while (floor > floorCount && floor > 0)
            floor /= 5;
        AcceptStop(floor);
        break;
    }
    case DRIVER_SMART: {
        const int32_t floor = SmartParkingFloor(floorCount, liftIndex);
        if (floor != NO_PARKING)
            AcceptStop(floor);
        break;
    }
    default:
        break;
    }
    return m_target;
}

int32_t CLift::RequestStop(int32_t floor)
{
    if (IsTableFloor(floor))
        m_stops[floor] = 1;
    return 1;
}

int32_t CLift::TakeStop(int32_t floor)
{
    if (!IsTableFloor(floor))
        return 0;
    const int32_t previous = m_stops[floor];
    m_stops[floor] = 0;
    return previous;
}
