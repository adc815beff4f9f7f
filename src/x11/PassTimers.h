#pragma once
#include <cstdint>

// The scene's three passes, in the order they run when due at the same moment.
enum class Pass { NONE, LIFTS, PEOPLE, LEGEND };

// The view's three timers on one monotonic clock in milliseconds: the lift pass every lift
// period, the people pass every people period, the legend every second. Like window timers, a
// timer that is late fires once and then keeps its period from then on, rather than catching up
// with a burst of passes after the process was stopped or the machine slept.
class CPassTimers {
public:
    // Periods below 1 ms (a speed above 100 gives 0 or less) run as 1 ms, the fastest tick.
    CPassTimers(int32_t liftPeriod, int32_t peoplePeriod, int64_t now);

    // The earliest pass that is due at `now`, which is then rescheduled; NONE when none is due.
    Pass TakeDue(int64_t now);
    // Milliseconds from `now` to the next due pass; 0 when one is due already.
    int64_t GetWait(int64_t now) const;

    static constexpr int32_t LEGEND_PERIOD = 1000;

private:
    static constexpr int TIMER_COUNT = 3;
    int64_t m_periods[TIMER_COUNT];
    int64_t m_due[TIMER_COUNT];
};
