#include "PassScheduler.h"

#include <time.h>

#include "view/Scene.h"

namespace {
int64_t AtLeastOne(int32_t period)
{
    return period < 1 ? 1 : period;
}
} // namespace

CPassScheduler::CPassScheduler(int32_t liftPeriod, int32_t peoplePeriod, int64_t now, bool grouped)
    : m_periods{AtLeastOne(liftPeriod), AtLeastOne(peoplePeriod), LEGEND_PERIOD}, m_due{}, m_grouped(grouped)
{
    for (int index = 0; index < PASS_COUNT; ++index)
        m_due[index] = now + m_periods[index];
}

void CPassScheduler::SetPeriod(Pass pass, int32_t period, int64_t now)
{
    const int index = static_cast<int>(pass);
    m_periods[index] = AtLeastOne(period);
    m_due[index] = now + m_periods[index];
}

DuePasses CPassScheduler::TakeDue(int64_t now)
{
    DuePasses due{0, {}};
    bool anyDue = false;
    for (int index = 0; index < PASS_COUNT; ++index)
        anyDue = anyDue || m_due[index] <= now;
    if (!anyDue)
        return due;
    bool taken[PASS_COUNT] = {};
    for (;;) {
        int next = -1;
        for (int index = 0; index < PASS_COUNT; ++index) {
            const int64_t reach = m_grouped ? now + m_periods[index] / 4 : now;
            if (!taken[index] && m_due[index] <= reach && (next < 0 || m_due[index] < m_due[next]))
                next = index;
        }
        if (next < 0)
            return due;
        taken[next] = true;
        due.passes[due.count++] = static_cast<Pass>(next);
        m_due[next] += m_periods[next];
        if (m_due[next] <= now)
            m_due[next] = now + m_periods[next];
    }
}

int64_t CPassScheduler::GetWait(int64_t now) const
{
    int64_t earliest = m_due[0];
    for (int index = 1; index < PASS_COUNT; ++index) {
        if (m_due[index] < earliest)
            earliest = m_due[index];
    }
    return earliest > now ? earliest - now : 0;
}

void RunScenePass(CScene& scene, Pass pass, CSurface& surface)
{
    switch (pass) {
    case Pass::LIFTS:
        scene.RunLiftPass(surface);
        break;
    case Pass::PEOPLE:
        scene.RunPeoplePass(surface);
        break;
    case Pass::LEGEND:
        scene.RunLegendPass(surface);
        break;
    }
}

int64_t GetMonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
