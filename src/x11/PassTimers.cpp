#include "PassTimers.h"

namespace {
int64_t AtLeastOne(int32_t period)
{
    return period < 1 ? 1 : period;
}
} // namespace

CPassTimers::CPassTimers(int32_t liftPeriod, int32_t peoplePeriod, int64_t now)
    : m_periods{AtLeastOne(liftPeriod), AtLeastOne(peoplePeriod), LEGEND_PERIOD}, m_due{}
{
    for (int index = 0; index < TIMER_COUNT; ++index)
        m_due[index] = now + m_periods[index];
}

Pass CPassTimers::TakeDue(int64_t now)
{
    int earliest = -1;
    for (int index = 0; index < TIMER_COUNT; ++index) {
        if (m_due[index] <= now && (earliest < 0 || m_due[index] < m_due[earliest]))
            earliest = index;
    }
    if (earliest < 0)
        return Pass::NONE;
    m_due[earliest] += m_periods[earliest];
    if (m_due[earliest] <= now)
        m_due[earliest] = now + m_periods[earliest];
    static const Pass PASSES[TIMER_COUNT] = {Pass::LIFTS, Pass::PEOPLE, Pass::LEGEND};
    return PASSES[earliest];
}

int64_t CPassTimers::GetWait(int64_t now) const
{
    int64_t earliest = m_due[0];
    for (int index = 1; index < TIMER_COUNT; ++index) {
        if (m_due[index] < earliest)
            earliest = m_due[index];
    }
    return earliest > now ? earliest - now : 0;
}
