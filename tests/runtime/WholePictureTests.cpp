#include <gtest/gtest.h>

#include <vector>

#include "runtime/ImageSurface.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "view/Scene.h"

namespace {

constexpr int32_t WIDTH = 640, HEIGHT = 480;

std::vector<Colour> Pixels(const CImageSurface& image)
{
    std::vector<Colour> pixels(static_cast<size_t>(WIDTH) * HEIGHT);
    for (int32_t y = 0; y < HEIGHT; ++y)
        image.ReadRow(y, pixels.data() + static_cast<size_t>(y) * WIDTH);
    return pixels;
}

// The image a view shows after a repaint and `ticks` rounds of the passes, against a fresh
// DrawWhole of the same moment: the pixels that differ (text is drawn in neither).
int32_t DifferencesAfterPasses(CScene& scene, int32_t ticks)
{
    CImageSurface shown(WIDTH, HEIGHT);
    scene.DrawWhole(shown, WIDTH, HEIGHT);
    for (int32_t tick = 0; tick < ticks; ++tick) {
        scene.RunLiftPass(shown);
        if (tick % 3 == 0)
            scene.RunPeoplePass(shown);
    }
    CImageSurface fresh(WIDTH, HEIGHT);
    scene.DrawWhole(fresh, WIDTH, HEIGHT);
    const std::vector<Colour> before = Pixels(shown), after = Pixels(fresh);
    int32_t count = 0;
    for (size_t index = 0; index < before.size(); ++index)
        count += before[index] != after[index] ? 1 : 0;
    return count;
}

class WholePicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RestartModel();
        RestartScene();
        CMemoryStore store;
        m_settings = LoadViewSettings(store);
        m_settings.people = 60;
        m_settings.cars = 4;
        m_settings.passPause = 10;
        CScene::SetScreenFactorFromSize(WIDTH, HEIGHT);
    }
    void TearDown() override
    {
        RestartModel();
        RestartScene();
    }
    ViewSettings m_settings{};
};

} // namespace

TEST_F(WholePicture, IsWhatThePassesLeaveOnScreenWhateverTheSettings)
{
    struct Case {
        const char* what;
        int32_t colours, legend, floors, scale;
    };
    const Case cases[] = {
        {"defaults", 1, 1, 10, 20},
        {"colours off", 0, 1, 10, 20},
        {"no legend, small", 1, 0, 4, 50},
        {"every floor", 1, 1, 25, 40},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        RestartModel();
        RestartScene();
        CScene::SetScreenFactorFromSize(WIDTH, HEIGHT);
        m_settings.colours = test.colours;
        m_settings.legend = test.legend;
        m_settings.floors = test.floors;
        m_settings.scale = test.scale;
        CScene scene(m_settings);
        EXPECT_EQ(DifferencesAfterPasses(scene, 600), 0);
    }
}

TEST_F(WholePicture, FewerFloorsLeaveNobodyAboveTheRoofAndAFreshPicture)
{
    CScene scene(m_settings);
    CImageSurface shown(WIDTH, HEIGHT);
    scene.DrawWhole(shown, WIDTH, HEIGHT);
    bool someoneHigh = false;
    for (int32_t tick = 0; tick < 20000 && !someoneHigh; ++tick) {
        scene.RunLiftPass(shown);
        scene.RunPeoplePass(shown);
        for (int32_t index = 0; index < m_settings.people; ++index)
            someoneHigh = someoneHigh || g_people[index].GetFloor() > 4;
    }
    ASSERT_TRUE(someoneHigh);
    scene.SetCustom(4, m_settings.liftPause, m_settings.passPause, m_settings.passInterval, m_settings.temper);
    for (int32_t index = 0; index < MAX_PEOPLE; ++index)
        EXPECT_EQ(g_people[index].GetFloor(), 1) << "person " << index;
    for (int32_t index = 0; index < MAX_LIFTS; ++index)
        EXPECT_EQ(g_lifts[index].GetPosition(), 100) << "lift " << index;
    // Raising the floors again moves nobody.
    scene.RunLiftPass(shown);
    const int32_t position = g_lifts[0].GetPosition();
    scene.SetCustom(10, m_settings.liftPause, m_settings.passPause, m_settings.passInterval, m_settings.temper);
    EXPECT_EQ(g_lifts[0].GetPosition(), position);
    EXPECT_EQ(DifferencesAfterPasses(scene, 300), 0);
}

TEST_F(WholePicture, ImageCoversPolygonCornersAndLeavesOutALinesEnd)
{
    CImageSurface image(8, 8);
    const BrushDescription brush{BRUSH_STYLE_SOLID, MakeColour(1, 2, 3), 0};
    const DevicePoint box[4] = {{1, 1}, {3, 1}, {3, 2}, {1, 2}};
    image.DrawPolygon(brush, box);
    image.DrawLine({BRUSH_STYLE_SOLID, MakeColour(9, 9, 9), 0}, {6, 5}, {6, 1});
    Colour row[8];
    image.ReadRow(2, row);
    EXPECT_EQ(row[0], 0u);
    EXPECT_EQ(row[1], brush.colour);
    EXPECT_EQ(row[3], brush.colour);
    EXPECT_EQ(row[4], 0u);
    EXPECT_EQ(row[6], MakeColour(9, 9, 9));
    image.ReadRow(1, row);
    EXPECT_EQ(row[6], 0u) << "the line's end point";
    image.ReadRow(5, row);
    EXPECT_EQ(row[6], MakeColour(9, 9, 9)) << "the line's start";
}
