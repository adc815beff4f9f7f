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

// A scene with many people and short pauses, so that they soon reach the upper floors.
ViewSettings Busy(int32_t colours, int32_t floors, int32_t scale)
{
    RestartModel();
    RestartScene();
    CScene::SetScreenFactorFromSize(WIDTH, HEIGHT);
    CMemoryStore store;
    ViewSettings settings = LoadViewSettings(store);
    settings.people = 60, settings.cars = 4, settings.passPause = 10;
    settings.colours = colours, settings.floors = floors, settings.scale = scale;
    return settings;
}
} // namespace

// What a repaint and then `ticks` rounds of the passes leave on an image is what a fresh whole
// drawing of that moment gives (neither draws text).
TEST(WholePicture, IsWhatThePassesLeaveWhateverTheSettings)
{
    const ViewSettings cases[] = {Busy(1, 10, 20), Busy(0, 10, 20), Busy(1, 4, 50), Busy(1, 25, 40)};
    for (const ViewSettings& settings : cases) {
        SCOPED_TRACE(testing::Message() << "colours " << settings.colours << ", floors " << settings.floors);
        Busy(settings.colours, settings.floors, settings.scale);
        CScene scene(settings);
        CImageSurface shown(WIDTH, HEIGHT), fresh(WIDTH, HEIGHT);
        scene.DrawWhole(shown, WIDTH, HEIGHT);
        for (int32_t tick = 0; tick < 600; ++tick) {
            scene.RunLiftPass(shown);
            if (tick % 3 == 0)
                scene.RunPeoplePass(shown);
        }
        scene.DrawWhole(fresh, WIDTH, HEIGHT);
        EXPECT_TRUE(Pixels(shown) == Pixels(fresh));
    }
}

TEST(WholePicture, FewerFloorsStartEveryoneAgainFromFloorOneAndMoreFloorsMoveNobody)
{
    const ViewSettings settings = Busy(1, 10, 20);
    CScene scene(settings);
    CImageSurface shown(WIDTH, HEIGHT);
    auto highest = [] {
        int32_t floor = 0;
        for (const CPerson& person : g_people)
            floor = person.GetFloor() > floor ? person.GetFloor() : floor;
        return floor;
    };
    for (int32_t tick = 0; tick < 20000 && highest() <= 4; ++tick) {
        scene.RunLiftPass(shown);
        scene.RunPeoplePass(shown);
    }
    ASSERT_GT(highest(), 4);
    scene.SetCustom(4, settings.liftPause, settings.passPause, settings.passInterval, settings.temper);
    EXPECT_EQ(highest(), 1);
    for (const CLift& car : g_lifts)
        EXPECT_EQ(car.GetPosition(), 100);
    scene.RunLiftPass(shown);
    const int32_t position = g_lifts[0].GetPosition();
    scene.SetCustom(10, settings.liftPause, settings.passPause, settings.passInterval, settings.temper);
    EXPECT_EQ(g_lifts[0].GetPosition(), position);
}
