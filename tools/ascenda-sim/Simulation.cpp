#include "Simulation.h"

#include <cstdlib>

#include "HeadlessView.h"
#include "WaitTally.h"
#include "sim/Building.h"

namespace {

constexpr double MS_PER_SECOND = 1000.0;
constexpr double MS_PER_HOUR = 3600.0 * 1000.0;

// Follows every person from tick to tick and notes calls, boardings and arrivals. Persons change
// only in people ticks, and at most one of these happens to a person in one tick.
class CTripLog {
public:
    CTripLog(int32_t people, int64_t peopleInterval) : m_people(people), m_waits(peopleInterval)
    {
        for (int32_t personIndex = 0; personIndex < MAX_PEOPLE; ++personIndex) {
            m_callTime[personIndex] = -1;
            m_boardTime[personIndex] = -1;
            m_seen[personIndex] = NOT_SEEN;
        }
    }

    void AfterPeopleTick(int64_t now)
    {
        for (int32_t personIndex = 0; personIndex < m_people; ++personIndex) {
            const CPerson& person = g_people[personIndex];
            const bool riding = person.m_ridingLift >= 0;
            // Most people look as they did on the last tick, which was then noted in full: nothing
            // to do, and a skip that a branch predictor gets right.
            const int32_t seen = (riding ? 2 : 0) + (person.m_destination != person.m_floor ? 1 : 0);
            if (seen == m_seen[personIndex])
                continue;
            m_seen[personIndex] = seen;
            if (riding && m_boardTime[personIndex] < 0) {
                m_waits.Add(now - m_callTime[personIndex]);
                m_boardTime[personIndex] = now;
                m_callTime[personIndex] = -1;
            } else if (!riding && m_boardTime[personIndex] >= 0) {
                m_rideSum += now - m_boardTime[personIndex];
                ++m_trips;
                m_boardTime[personIndex] = -1;
                m_seen[personIndex] = NOT_SEEN; // a call in this tick is noted on the next
            } else if (!riding && person.m_destination != person.m_floor && m_callTime[personIndex] < 0) {
                m_callTime[personIndex] = now;
            }
        }
    }

    void Summarise(int64_t end, CRunSummary& summary)
    {
        for (int32_t personIndex = 0; personIndex < m_people; ++personIndex) {
            if (m_callTime[personIndex] >= 0) {
                m_waits.Add(end - m_callTime[personIndex]);
                ++summary.m_stillWaiting;
            }
        }
        summary.m_tripsCompleted = m_trips;
        summary.m_tripsPerHour = end > 0 ? m_trips * MS_PER_HOUR / end : 0.0;
        summary.m_rideMeanSeconds = m_trips > 0 ? m_rideSum / MS_PER_SECOND / m_trips : 0.0;
        summary.m_waitsCounted = m_waits.GetCount();
        if (m_waits.GetCount() == 0)
            return;
        summary.m_waitMeanSeconds = m_waits.GetSumMs() / MS_PER_SECOND / static_cast<double>(m_waits.GetCount());
        summary.m_waitPercentile95Seconds = m_waits.GetPercentileMs(95) / MS_PER_SECOND;
        summary.m_waitMaxSeconds = m_waits.GetMaxMs() / MS_PER_SECOND;
    }

private:
    static constexpr int32_t NOT_SEEN = -1;

    int32_t m_people;
    int32_t m_seen[MAX_PEOPLE];      // riding 2 + trip pending 1, as last noted; NOT_SEEN to look again
    int64_t m_callTime[MAX_PEOPLE];  // tick of the pending call, -1 when none
    int64_t m_boardTime[MAX_PEOPLE]; // tick of boarding while riding, -1 otherwise
    CWaitTally m_waits;
    int64_t m_rideSum = 0;
    int64_t m_trips = 0;
};

void TraceLiftTick(std::FILE* trace, int64_t now, const CRunOptions& options)
{
    uint32_t upMask = 0;
    uint32_t downMask = 0;
    for (int32_t floor = 1; floor <= options.m_floors; ++floor) {
        if (g_building.QueryCall(floor, 1) > 0)
            upMask |= 1u << floor;
        if (g_building.QueryCall(floor, -1) < 0)
            downMask |= 1u << floor;
    }
    std::fprintf(trace, "L %lld %x %x", static_cast<long long>(now), upMask, downMask);
    for (int32_t liftIndex = 0; liftIndex < options.m_cars; ++liftIndex) {
        const CLift& car = g_lifts[liftIndex];
        uint32_t stopsMask = 0;
        for (int32_t floor = 0; floor < MAX_FLOORS; ++floor) {
            if (car.m_stops[floor] != 0)
                stopsMask |= 1u << floor;
        }
        std::fprintf(trace, " %d/%d/%d/%d/%d/%d/%x", car.m_position, car.m_direction, car.m_load, car.m_pause,
                     car.m_target, car.m_floor, stopsMask);
    }
    std::fputc('\n', trace);
}

void TracePeopleTick(std::FILE* trace, int64_t now, const CRunOptions& options, const CHeadlessView& view)
{
    std::fprintf(trace, "P %lld %d %d", static_cast<long long>(now), view.GetWaitCount(), view.GetWaitSum());
    for (int32_t personIndex = 0; personIndex < options.m_people; ++personIndex) {
        const CPerson& person = g_people[personIndex];
        std::fprintf(trace, " %d/%d/%d/%d/%d/%d", person.m_floor, person.m_destination, person.m_assignedLift,
                     person.m_ridingLift, person.m_waitCount, person.m_pause);
    }
    std::fputc('\n', trace);
}

// Measures trips and cars and, when asked, writes the trace.
class CRunRecorder : public CTickObserver {
public:
    CRunRecorder(const CRunOptions& options, const CHeadlessView& view, std::FILE* trace, CProgressSink* progress)
        : m_options(options), m_view(view), m_trace(trace), m_progress(progress),
          m_trips(options.m_people, options.m_passInterval)
    {
        RememberHeights();
    }

    void AfterLiftTick(int64_t now) override
    {
        if (m_progress != nullptr && --m_ticksToProgress == 0) {
            m_ticksToProgress = TICKS_PER_PROGRESS;
            m_progress->Advance(now);
        }
        for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex)
            m_travelled += std::abs(g_lifts[liftIndex].m_position - m_heights[liftIndex]);
        RememberHeights();
        if (m_trace)
            TraceLiftTick(m_trace, now, m_options);
    }

    void AfterPeopleTick(int64_t now) override
    {
        m_trips.AfterPeopleTick(now);
        if (m_trace)
            TracePeopleTick(m_trace, now, m_options, m_view);
    }

    void Summarise(CRunSummary& summary)
    {
        if (m_progress != nullptr)
            m_progress->Advance(m_options.m_durationMs);
        summary.m_driver = m_options.m_driver;
        summary.m_durationMs = m_options.m_durationMs;
        summary.m_floorsTravelled = m_travelled / 100.0;
        m_trips.Summarise(m_options.m_durationMs, summary);
        m_view.FormatLegend(summary.m_legend, sizeof summary.m_legend);
    }

private:
    void RememberHeights()
    {
        for (int32_t liftIndex = 0; liftIndex < MAX_LIFTS; ++liftIndex)
            m_heights[liftIndex] = g_lifts[liftIndex].m_position;
    }

    // A lift tick takes well under a microsecond, so this reports every few milliseconds.
    static constexpr int32_t TICKS_PER_PROGRESS = 4096;

    const CRunOptions& m_options;
    const CHeadlessView& m_view;
    std::FILE* m_trace;
    CProgressSink* m_progress;
    int32_t m_ticksToProgress = TICKS_PER_PROGRESS;
    CTripLog m_trips;
    int32_t m_heights[MAX_LIFTS];
    int64_t m_travelled = 0; // hundredths of a floor, all cars
};

} // namespace

void RunClock(CHeadlessView& view, const CRunOptions& options, CTickObserver* observer)
{
    const int64_t liftInterval = options.GetLiftInterval();
    const int64_t peopleInterval = options.m_passInterval;
    int64_t nextLift = liftInterval;
    int64_t nextPeople = peopleInterval;
    for (;;) {
        const bool liftDue = nextLift <= nextPeople;
        const int64_t now = liftDue ? nextLift : nextPeople;
        if (now > options.m_durationMs)
            return;
        if (liftDue) {
            view.RunLiftPass();
            nextLift += liftInterval;
            if (observer)
                observer->AfterLiftTick(now);
        } else {
            view.RunPeoplePass();
            nextPeople += peopleInterval;
            if (observer)
                observer->AfterPeopleTick(now);
        }
    }
}

CRunSummary RunSimulation(const CRunOptions& options, std::FILE* trace, CProgressSink* progress, PassMode passes)
{
    RestartModel();
    CHeadlessView view(options, passes);
    CRunRecorder recorder(options, view, trace, progress);
    RunClock(view, options, &recorder);
    CRunSummary summary{};
    recorder.Summarise(summary);
    return summary;
}
