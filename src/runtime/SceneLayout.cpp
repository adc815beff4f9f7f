#include "SceneLayout.h"

#include "FrameRate.h"
#include "sim/Building.h"
#include "sim/Random.h"
#include "view/NullSurface.h"
#include "view/Scene.h"

namespace {

// Everything a pass may change besides the drawing.
struct ModelState {
    CBuilding building;
    CLift lifts[MAX_LIFTS];
    CPerson people[MAX_PEOPLE];
    uint32_t randomState;
    WaitStats waitStats;
    int32_t calls;
};

void SaveModel(ModelState& state)
{
    state.building = g_building;
    for (int index = 0; index < MAX_LIFTS; ++index)
        state.lifts[index] = g_lifts[index];
    for (int index = 0; index < MAX_PEOPLE; ++index)
        state.people[index] = g_people[index];
    state.randomState = GetRandomState();
    state.waitStats = g_waitStats;
    state.calls = g_calls;
}

void RestoreModel(const ModelState& state)
{
    g_building = state.building;
    for (int index = 0; index < MAX_LIFTS; ++index)
        g_lifts[index] = state.lifts[index];
    for (int index = 0; index < MAX_PEOPLE; ++index)
        g_people[index] = state.people[index];
    SetRandomState(state.randomState);
    g_waitStats = state.waitStats;
    g_calls = state.calls;
}

} // namespace

SceneLayout GetSceneLayout()
{
    return {g_scale, g_screenFactor, g_originX, g_originY};
}

void ApplySceneLayout(const SceneLayout& layout)
{
    g_scale = layout.scale;
    g_screenFactor = layout.screenFactor;
    g_originX = layout.originX;
    g_originY = layout.originY;
}

void RunScenePassOnEach(CScene& scene, Pass pass, const LayoutTarget* targets, int count)
{
    if (count <= 0) {
        CNullSurface nothing;
        RunScenePass(scene, pass, nothing);
        return;
    }
    if (count == 1) {
        ApplySceneLayout(targets[0].layout);
        RunScenePass(scene, pass, *targets[0].surface);
        return;
    }
    ModelState before;
    const CScene sceneBefore = scene;
    SaveModel(before);
    for (int index = 0; index < count; ++index) {
        if (index > 0) {
            RestoreModel(before);
            scene = sceneBefore;
        }
        ApplySceneLayout(targets[index].layout);
        RunScenePass(scene, pass, *targets[index].surface);
    }
}

void RunDuePassesOnEach(CPassScheduler& scheduler, CScene& scene, const LayoutTarget* targets, int count,
                        CFrameRate* frameRate, bool showFrameRate, int64_t nowMs)
{
    const DuePasses due = scheduler.TakeDue(nowMs);
    for (int index = 0; index < due.count; ++index) {
        const Pass pass = due.passes[index];
        RunScenePassOnEach(scene, pass, targets, count);
        if (frameRate == nullptr)
            continue;
        if (pass == Pass::LIFTS)
            frameRate->CountLiftTick();
        if (pass == Pass::LEGEND && showFrameRate) {
            char text[64];
            const int32_t length = frameRate->Report(nowMs, CFrameRate::GetProcessCpuMs(), text, sizeof text);
            for (int target = 0; target < count; ++target)
                targets[target].surface->DrawOpaqueText(FRAME_RATE_MARGIN, FRAME_RATE_MARGIN, text, length,
                                                        COLOUR_OLIVE, scene.m_backColour);
        }
    }
}

void RunDuePasses(CPassScheduler& scheduler, CScene& scene, CSurface& surface, CFrameRate* frameRate,
                  bool showFrameRate, int64_t nowMs)
{
    const LayoutTarget target{GetSceneLayout(), &surface};
    RunDuePassesOnEach(scheduler, scene, &target, 1, frameRate, showFrameRate, nowMs);
}
