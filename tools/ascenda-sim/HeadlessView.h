#pragma once
#include <cstddef>
#include <cstdint>

#include "ModelStepper.h"
#include "RunOptions.h"
#include "view/NullSurface.h"
#include "view/Scene.h"

// How the headless view ticks the model. Both make the same model calls in the same order; the
// full scene passes also run every drawing operation on a surface that draws nothing, which only
// costs time. They are kept to check the model-only passes against.
enum class PassMode { ModelOnly, FullScene };

// The view's timer passes without a window: the one place where the runner steps the model.
// The model sees exactly the calls, in exactly the order, that the saver makes, and the counters
// are the legend's own.
class CHeadlessView {
public:
    // As a view's construction: the building reset with the lifts, floors and intelligence.
    // The model records are expected in their program-start state (RestartModel).
    explicit CHeadlessView(const CRunOptions& options, PassMode passes = PassMode::ModelOnly);

    // Every lift, erase then draw; then the call buttons of every floor, up then down, counted.
    void RunLiftPass();
    // Every person, erase then draw; waits above 0 counted as the legend counts them.
    void RunPeoplePass();

    int32_t GetCalls() const { return g_calls; }
    int32_t GetWaitCount() const { return g_waitStats.count; }
    int32_t GetWaitSum() const { return g_waitStats.sum; }
    // The legend line as the saver draws it, blanks included; returns its length.
    int32_t FormatLegend(char* buffer, size_t bufferSize) const;

private:
    CScene m_scene;
    CNullSurface m_surface;
    CModelStepper m_stepper;
    PassMode m_passes;
};
