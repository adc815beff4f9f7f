#pragma once
#include <cstdint>

// Whether the pointer has moved, as a saver reads it. Compositors report where the pointer rests
// when a window appears under it, or moves away from under it (an output went away), and the
// first motion after that may only repeat the resting place: none of that is the user moving.
// After a report of where it rests, a move of more than SLACK pixels on either axis is.
class CPointerRest {
public:
    static constexpr double SLACK = 4.0; // window pixels

    CPointerRest() : m_known(false), m_x(0), m_y(0) {}

    // The pointer entered one of the windows at (x, y): where it rests now.
    void OnEnter(double x, double y);
    // The pointer left the windows: the next report is again only where it rests.
    void OnLeave() { m_known = false; }
    // The pointer is at (x, y). Returns true when that is the user moving it.
    bool OnMotion(double x, double y);

private:
    bool m_known;
    double m_x;
    double m_y;
};
