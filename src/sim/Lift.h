#pragma once
#include <cstdint>

constexpr int32_t MAX_LIFTS = 10;
constexpr int32_t MAX_FLOORS = 30;

enum DriverMode : int32_t { DRIVER_PRIMITIVE = 0, DRIVER_AUTO_GROUND = 1, DRIVER_RANDOM = 2, DRIVER_SMART = 3 };

// One lift car. Heights in hundredths of a floor; pauses in lift ticks.
struct CLift {
    int32_t m_stops[MAX_FLOORS];
    int32_t m_floor;
    int32_t m_position;
    int32_t m_target;
    int32_t m_pause;
    int32_t m_load;
    int32_t m_direction;

    CLift();
    int32_t Step(int32_t liftPause);
    int32_t AcceptStop(int32_t floor);
    int32_t Park(int32_t mode, int32_t floorCount, int32_t liftIndex);
    int32_t GetDirection() const { return m_direction; }
    int32_t GetFloor() const { return m_floor; }
    int32_t GetPosition() const { return m_position; }
    int32_t GetPause() const { return m_pause; }
    void SetPause(int32_t value) { m_pause = value; }
    int32_t AddLoad(int32_t delta) { return m_load += delta; }
    int32_t RequestStop(int32_t floor);
    int32_t TakeStop(int32_t floor);
};
