#include "Building.h"

#include "Random.h"
#include "Sign.h"

CBuilding g_building;
CLift g_lifts[MAX_LIFTS];
CPerson g_people[MAX_PEOPLE];

namespace {

const Colour GREY = MakeColour(128, 128, 128);

bool IsTableFloor(int32_t floor)
{
    return floor >= 0 && floor < MAX_FLOORS;
}

int32_t Limit(int32_t value, int32_t minimum, int32_t maximum)
{
    return value < minimum ? minimum : (value > maximum ? maximum : value);
}

// A waiting person turns from black through green and cyan to white as wait count × temper grows.
// Worked out in 64 bits so that a very long wait cannot overflow.
Colour ImpatienceColour(int32_t waitCount, int32_t temper)
{
    int64_t impatience = static_cast<int64_t>(waitCount) * temper;
    if (impatience < 0)
        impatience = 0;
    if (impatience <= 255)
        return MakeColour(0, static_cast<uint32_t>(impatience), 0);
    if (impatience <= 510)
        return MakeColour(0, 255, static_cast<uint32_t>(impatience - 255));
    if (impatience <= 765)
        return MakeColour(static_cast<uint32_t>(impatience - 510), 255, 255);
    return MakeColour(255, 255, 255);
}

int32_t AssignLift(CPerson& person, int32_t liftIndex)
{
    person.SetAssignedLift(liftIndex);
    return liftIndex;
}

} // namespace

int32_t CBuilding::SetCall(int32_t floor, int32_t direction, int32_t value)
{
    if (!IsTableFloor(floor))
        return value;
    if (direction > 0)
        m_upCalls[floor] = value;
    else if (direction < 0)
        m_downCalls[floor] = value;
    return value;
}

int32_t CBuilding::Reset(int32_t liftCount, int32_t floorCount, int32_t driverMode)
{
    for (int32_t floor = 0; floor < MAX_FLOORS; ++floor) {
        m_upCalls[floor] = 0;
        m_downCalls[floor] = 0;
    }
    // Counts beyond the fixed tables would make every later pass read and write past their ends.
    m_liftCount = Limit(liftCount, 0, MAX_LIFTS);
    m_floorCount = Limit(floorCount, 0, MAX_FLOORS - 1);
    m_driverMode = driverMode;
    return 1;
}

int32_t CBuilding::AdvanceLift(int32_t liftIndex, int32_t& direction, int32_t& position, int32_t& load,
                               int32_t capacity, int32_t liftPause)
{
    CLift& car = g_lifts[liftIndex];
    const int32_t loadBefore = car.m_load;
    load = loadBefore;
    position = car.Step(liftPause);

    // Hall call: a car standing at a floor whose button for its direction is lit clears it, and stops only
    // when it has room, so a full car passes and the waiting people light the button again.
    const int32_t carDirection = car.m_direction;
    const int32_t carFloor = car.m_floor;
    if (carDirection * QueryCall(carFloor, carDirection) > 0) {
        SetCall(carFloor, carDirection, 0);
        if (loadBefore < capacity)
            car.SetPause(liftPause);
    }
    // Between floors carFloor is 0, so it is the level-0 flag that is taken there.
    if (car.TakeStop(carFloor) > 0)
        car.SetPause(liftPause);
    car.Park(m_driverMode, m_floorCount, liftIndex);
    direction = car.m_direction;
    return 1;
}

int32_t CBuilding::CallLift(int32_t personIndex)
{
    if (personIndex < 0 || personIndex >= MAX_PEOPLE)
        return -1;
    CPerson& person = g_people[personIndex];
    const int32_t floor = person.m_floor;
    const int32_t callDirection = Sign(person.m_destination - floor);
    SetCall(floor, callDirection, 1);

    // A car at the floor, idle, stopped or just passing; it is not asked to stop.
    for (int32_t liftIndex = 0; liftIndex < m_liftCount; ++liftIndex) {
        if (g_lifts[liftIndex].m_floor == floor)
            return AssignLift(person, liftIndex);
    }
    // A car travelling the caller's way that has not reached the floor yet.
    for (int32_t liftIndex = 0; liftIndex < m_liftCount; ++liftIndex) {
        CLift& car = g_lifts[liftIndex];
        if (Sign(car.m_direction) == callDirection &&
            car.m_position * car.m_direction < floor * 100 * car.m_direction) {
            car.AcceptStop(floor);
            return AssignLift(person, liftIndex);
        }
    }
    // An idle car anywhere, which sets off towards the floor.
    for (int32_t liftIndex = 0; liftIndex < m_liftCount; ++liftIndex) {
        CLift& car = g_lifts[liftIndex];
        if (car.m_direction == 0) {
            car.AcceptStop(floor);
            return AssignLift(person, liftIndex);
        }
    }
    return -1;
}

int32_t CBuilding::AdvancePerson(int32_t personIndex, int32_t& position, Colour& colour, int32_t capacity,
                                 int32_t passPause, int32_t temper, int32_t& waitCount)
{
    CPerson& person = g_people[personIndex];
    if (person.m_ridingLift >= 0 && person.m_ridingLift < MAX_LIFTS) {
        CLift& car = g_lifts[person.m_ridingLift];
        person.AddWait(1);
        if (car.m_floor != person.m_destination)
            return 3;
        car.AddLoad(-1);
        waitCount = person.m_waitCount;
        person.Arrive();
        position = person.m_floor * 100;
        colour = GREY;
        return 4;
    }

    // A person whose first call found no lift still has a trip pending; they wait and call like anyone
    // assigned a car, so they are never left standing with a lit button and no way to board.
    const bool tripPending = person.m_destination != person.m_floor;
    if (person.m_assignedLift < 0 && !tripPending) {
        if (person.DecideTrip(passPause, m_floorCount) >= 0)
            CallLift(personIndex);
        return 2;
    }

    const int32_t wait = person.AddWait(1);
    waitCount = wait;
    colour = ImpatienceColour(wait, temper);

    const int32_t travelDirection = Sign(person.m_destination - person.m_floor);
    for (int32_t liftIndex = 0; liftIndex < m_liftCount; ++liftIndex) {
        CLift& car = g_lifts[liftIndex];
        if (car.m_floor != person.m_floor || (car.m_direction != travelDirection && car.m_direction != 0))
            continue;
        if (car.m_load > capacity) {
            CallLift(personIndex); // full: renew the call and look further
            continue;
        }
        // A load equal to the capacity still admits one more person.
        car.AcceptStop(person.m_destination);
        person.Board(liftIndex);
        car.AddLoad(1);
        car.RequestStop(person.m_destination);
        return 3;
    }
    CallLift(personIndex);
    return 0;
}

void RestartModel()
{
    g_building = CBuilding{};
    RestartLiftsAndPeople();
    RestartRandom();
}

void RestartLiftsAndPeople()
{
    for (CLift& car : g_lifts)
        car = CLift();
    for (CPerson& person : g_people)
        person = CPerson();
}
