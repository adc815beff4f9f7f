#pragma once
#include <cstdint>
#include <cstdio>

#include "HeadlessView.h"
#include "Progress.h"
#include "RunOptions.h"

// What one run measured. Waits run from a person's call to boarding; people still waiting when the
// run ends count with the wait they have so far, so a caller who is never served shows up.
struct CRunSummary {
    int32_t m_driver;
    int64_t m_durationMs;
    int64_t m_tripsCompleted;
    double m_tripsPerHour;
    int64_t m_waitsCounted;
    int64_t m_stillWaiting;
    double m_waitMeanSeconds;
    double m_waitPercentile95Seconds;
    double m_waitMaxSeconds;
    double m_rideMeanSeconds;
    double m_floorsTravelled; // by all cars together
    char m_legend[128];       // the legend line after the last passes
};

// Told about every tick as it happens.
class CTickObserver {
public:
    virtual ~CTickObserver() = default;
    virtual void AfterLiftTick(int64_t now) = 0;
    virtual void AfterPeopleTick(int64_t now) = 0;
};

// The simulated clock: lift ticks at Tl, 2 Tl, ... and people ticks at Tp, 2 Tp, ..., a lift tick
// first when both fall due together, every tick up to and including the options' duration.
void RunClock(CHeadlessView& view, const CRunOptions& options, CTickObserver* observer);

// Runs the model from its program-start state for the options' duration. With a trace file every
// tick writes one line there; a progress sink hears the simulated time now and then and at the end.
// Both pass modes give the same figures and the same trace; the full scene passes are only slower.
CRunSummary RunSimulation(const CRunOptions& options, std::FILE* trace, CProgressSink* progress = nullptr,
                          PassMode passes = PassMode::ModelOnly);
