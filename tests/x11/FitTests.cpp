#include <gtest/gtest.h>

#include <string>

#include "../view/RecordingSurface.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "view/Scene.h"
#include "x11/FrameRate.h"
#include "x11/ScaleFit.h"

namespace {

// The lift pass's shapes for a building of `cars` lifts and `floors` floors at `scale`, drawn in a
// client area of the given size.
CRecordingSurface DrawLifts(int32_t cars, int32_t floors, int32_t scale, int32_t width, int32_t height)
{
    RestartModel();
    RestartScene();
    CMemoryStore store;
    ViewSettings settings = LoadViewSettings(store);
    settings.cars = cars;
    settings.floors = floors;
    settings.scale = scale;
    CScene scene(settings);
    CScene::SetScreenFactorFromSize(width, height);
    CRecordingSurface painted;
    scene.Paint(painted, width, height);
    CRecordingSurface lifts;
    scene.RunLiftPass(lifts);
    return lifts;
}

bool AllInside(const CRecordingSurface& surface, int32_t width, int32_t height)
{
    for (const RecordedShape& shape : surface.m_shapes) {
        for (const DevicePoint& corner : shape.points) {
            if (shape.kind == RecordedShape::POLYGON &&
                (corner.x < 0 || corner.x >= width || corner.y < 0 || corner.y >= height))
                return false;
        }
    }
    return true;
}

TEST(ScaleFitTest, TakesTheSmallestScaleThatShowsEveryLiftWhole)
{
    const struct {
        int32_t cars, floors, width, height;
        bool fits; // false: no scale up to 50 fits, so the default stays
    } cases[] = {
        {10, 10, 1920, 1080, true}, {10, 10, 1280, 800, true},   {10, 10, 1024, 768, false},
        {2, 10, 1024, 768, true},   {10, 25, 1920, 1080, false},
    };
    for (const auto& test : cases) {
        const std::string name = std::to_string(test.cars) + " lifts, " + std::to_string(test.floors) + " floors, " +
                                 std::to_string(test.width) + "x" + std::to_string(test.height);
        const int32_t scale = FitScale(test.cars, test.floors, test.width, test.height);
        if (!test.fits) {
            EXPECT_EQ(scale, 25) << name;
            continue;
        }
        EXPECT_TRUE(
            AllInside(DrawLifts(test.cars, test.floors, scale, test.width, test.height), test.width, test.height))
            << name << " at " << scale;
        // One step larger would cut a lift: the scale is the smallest that fits.
        if (scale > 25) {
            EXPECT_FALSE(AllInside(DrawLifts(test.cars, test.floors, scale - 1, test.width, test.height), test.width,
                                   test.height))
                << name << " at " << scale - 1;
        }
    }
    EXPECT_GT(FitScale(10, 10, 1280, 800), 25); // ten lifts do not fit at the default here
}

TEST(FrameRateTest, ReportsTicksPerSecondAndCpuShareOverTheLastPeriod)
{
    CFrameRate rate(1000, 50);
    for (int tick = 0; tick < 25; ++tick)
        rate.CountLiftTick();
    char text[64];
    // 25 ticks in 2 s; 100 ms of CPU in 2000 ms.
    rate.Report(3000, 150, text, sizeof text);
    EXPECT_STREQ(text, "  12.5 lift ticks/s  CPU   5.0%");
    // The next period starts afresh: no ticks in half a second, 500 ms of CPU on one processor.
    rate.Report(3500, 650, text, sizeof text);
    EXPECT_STREQ(text, "   0.0 lift ticks/s  CPU 100.0%");
    // A line cut to a small buffer stays terminated and reports what it kept.
    EXPECT_EQ(rate.Report(3600, 650, text, 8), 7);
    EXPECT_EQ(std::string(text).size(), 7u);
}

} // namespace
