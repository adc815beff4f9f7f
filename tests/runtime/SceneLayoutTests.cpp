#include <gtest/gtest.h>

#include "../view/RecordingSurface.h"
#include "runtime/SceneFit.h"
#include "runtime/SceneLayout.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "sim/Random.h"
#include "view/Scene.h"

namespace {

struct Outputs {
    CRecordingSurface large, small; // 1024 x 768, always drawn; 640 x 480, drawn only when asked
    int32_t positions[MAX_LIFTS];
    uint32_t randomState;
};

// Three simulated minutes of passes, as a saver's loop runs them, on one output or on two.
void Simulate(bool twoOutputs, Outputs& run)
{
    RestartModel();
    RestartScene();
    CMemoryStore store;
    ViewSettings settings = LoadViewSettings(store);
    settings.cars = 4;
    settings.people = 100;
    CScene scene(settings);
    LayoutTarget targets[2] = {{{}, &run.large}, {{}, &run.small}};
    const int32_t sizes[2][2] = {{1024, 768}, {640, 480}};
    for (int index = 0; index < 2; ++index) {
        ApplySceneFit(FitScene(4, settings.floors, {sizes[index][0], sizes[index][1], 0, 0}));
        scene.Paint(*targets[index].surface, sizes[index][0], sizes[index][1]);
        targets[index].layout = GetSceneLayout();
    }
    const Pass passes[] = {Pass::LIFTS, Pass::LIFTS, Pass::PEOPLE, Pass::LIFTS, Pass::LEGEND};
    for (int tick = 0; tick < 1800; ++tick)
        RunScenePassOnEach(scene, passes[tick % 5], targets, twoOutputs ? 2 : 1);
    for (int index = 0; index < MAX_LIFTS; ++index)
        run.positions[index] = g_lifts[index].m_position;
    run.randomState = GetRandomState();
    RestartModel();
    RestartScene();
}

TEST(SceneLayoutTest, TwoOutputsShowOneSimulationEachInItsOwnLayout)
{
    Outputs alone, both;
    Simulate(false, alone);
    Simulate(true, both);
    // The model stepped once per pass: the same lifts and random draws as with one output.
    for (int index = 0; index < MAX_LIFTS; ++index)
        EXPECT_EQ(both.positions[index], alone.positions[index]) << index;
    EXPECT_EQ(both.randomState, alone.randomState);
    // The first output got exactly what it gets alone; the second the same shapes and legend
    // lines in its own, smaller layout.
    ASSERT_EQ(both.large.m_shapes.size(), alone.large.m_shapes.size());
    ASSERT_EQ(both.small.m_shapes.size(), both.large.m_shapes.size());
    int smaller = 0;
    for (size_t index = 0; index < both.large.m_shapes.size(); ++index) {
        const RecordedShape& large = both.large.m_shapes[index];
        const RecordedShape& small = both.small.m_shapes[index];
        EXPECT_EQ(large.points[0].x, alone.large.m_shapes[index].points[0].x);
        EXPECT_EQ(small.kind, large.kind);
        EXPECT_EQ(small.colour, large.colour);
        EXPECT_EQ(small.text, large.text);
        smaller += large.kind == RecordedShape::POLYGON && small.HalfWidth() < large.HalfWidth();
    }
    EXPECT_GT(smaller, 0);
}

} // namespace
