#include "HeadlessView.h"

#include <cstdio>

#include "sim/Building.h"

namespace {
const Colour GREY = MakeColour(128, 128, 128);
}

CHeadlessView::CHeadlessView(const CRunOptions& options)
    : m_options(options), m_calls(0), m_waitCount(0), m_waitSum(0)
{
    g_building.Reset(m_options.m_cars, m_options.m_floors, m_options.m_driver);
}

void CHeadlessView::DrawLift(int32_t liftIndex, bool erase)
{
    int32_t direction = 0;
    int32_t position = 0;
    int32_t load = 0;
    g_building.StepLift(liftIndex, erase ? 1 : 0, direction, position, load, m_options.m_capacity,
                        m_options.m_liftPause);
}

void CHeadlessView::DrawPerson(int32_t personIndex, bool erase)
{
    int32_t height = 0;
    Colour colour = GREY;
    int32_t wait = 0;
    g_building.StepPerson(personIndex, erase ? 1 : 0, height, colour, m_options.m_capacity, m_options.m_passPause,
                          m_options.m_temper, wait);
    if (wait > 0) {
        ++m_waitCount;
        m_waitSum += wait;
    }
}

void CHeadlessView::RunLiftPass()
{
    for (int32_t liftIndex = 0; liftIndex < m_options.m_cars; ++liftIndex) {
        DrawLift(liftIndex, true);
        DrawLift(liftIndex, false);
    }
    m_calls = 0;
    for (int32_t floor = 1; floor <= m_options.m_floors; ++floor) {
        if (g_building.QueryCall(floor, 1) > 0)
            ++m_calls;
        if (g_building.QueryCall(floor, -1) < 0)
            ++m_calls;
    }
}

void CHeadlessView::RunPeoplePass()
{
    m_waitCount = 0;
    m_waitSum = 0;
    for (int32_t personIndex = 0; personIndex < m_options.m_people; ++personIndex) {
        DrawPerson(personIndex, true);
        DrawPerson(personIndex, false);
    }
}

int32_t CHeadlessView::FormatLegend(char* buffer, size_t bufferSize) const
{
    return std::snprintf(buffer, bufferSize,
                         "  Ascenda Vintra | People=%2i | Waiting=%2i | Calls=%2i | Ave Wait=%2i   ", m_options.m_people,
                         m_waitCount, m_calls, m_waitSum / (m_waitCount + 1));
}
