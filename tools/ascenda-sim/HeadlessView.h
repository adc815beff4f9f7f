#pragma once
#include <cstddef>
#include <cstdint>

#include "RunOptions.h"

// The view's timer passes without a window: the one place where the runner steps the model.
// Each pass makes exactly the calls, in exactly the order, that the window's passes make, with the
// outputs preset as they preset them, and keeps the same two counters the legend shows.
class CHeadlessView {
public:
    // As a view's construction: the building reset with the lifts, floors and intelligence.
    // The model records are expected in their program-start state (RestartModel).
    explicit CHeadlessView(const CRunOptions& options);

    // Every lift, erase then draw; then the call buttons of every floor, up then down, counted.
    void RunLiftPass();
    // Every person, erase then draw; waits above 0 counted as the legend counts them.
    void RunPeoplePass();

    int32_t GetCalls() const { return m_calls; }
    int32_t GetWaitCount() const { return m_waitCount; }
    int32_t GetWaitSum() const { return m_waitSum; }
    // The legend line as the saver draws it, blanks included; returns its length.
    int32_t FormatLegend(char* buffer, size_t bufferSize) const;

private:
    void DrawLift(int32_t liftIndex, bool erase);
    void DrawPerson(int32_t personIndex, bool erase);

    CRunOptions m_options;
    int32_t m_calls;
    int32_t m_waitCount;
    int32_t m_waitSum;
};
