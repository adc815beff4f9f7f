#include <gtest/gtest.h>

#include "../view/RecordingSurface.h"
#include "runtime/SceneFit.h"
#include "settings/MemoryStore.h"
#include "sim/Building.h"
#include "view/Scene.h"

namespace {

// The X11 server's default fixed font draws the legend about this big.
constexpr int32_t LEGEND_WIDTH = 450, LEGEND_HEIGHT = 13;

struct Window {
    int32_t cars, floors, width, height;
};

// Draws the building as a window of that size would with this fit (a paint, the first lift pass,
// the legend unless its height is 0) and says whether every car of the first pass, the top
// floor's and floor 1's slabs (which a car at those floors covers exactly, top and bottom) and
// the legend lie inside: no row below the window's last.
bool DrawnInside(const Window& window, const SceneFit& fit, int32_t legendHeight = LEGEND_HEIGHT)
{
    RestartModel();
    RestartScene();
    CMemoryStore store;
    ViewSettings settings = LoadViewSettings(store);
    settings.cars = window.cars;
    settings.floors = window.floors;
    settings.legend = legendHeight > 0 ? 1 : 0;
    CScene scene(settings);
    ApplySceneFit(fit);
    CRecordingSurface surface;
    scene.Paint(surface, window.width, window.height);
    scene.RunLiftPass(surface);
    scene.RunLegendPass(surface);
    int cars = 0;
    bool legend = false;
    bool inside = true;
    for (const RecordedShape& shape : surface.m_shapes) {
        if (shape.kind == RecordedShape::TEXT) {
            legend = true;
            inside = inside && shape.points[0].x + LEGEND_WIDTH <= window.width &&
                     shape.points[0].y + legendHeight <= window.height;
        } else if (shape.kind == RecordedShape::POLYGON && shape.colour == COLOUR_OLIVE) {
            ++cars;
            inside = inside && shape.points[0].x >= 0 && shape.points[2].x < window.width;
        } else if (shape.kind == RecordedShape::POLYGON && shape.colour == settings.backColour) {
            inside = inside && shape.points[0].y >= 0 && shape.points[2].y < window.height;
        }
    }
    RestartModel();
    RestartScene();
    return inside && cars == window.cars && legend == (legendHeight > 0 && CScene::LegendFits(fit.screenFactor));
}

TEST(SceneFitTest, TheSmallestScaleFromTheDefaultAtWhichEveryShaftFloorOneAndTheLegendLieInside)
{
    const struct {
        Window window;
        int32_t scale;
    } cases[] = {
        {{10, 10, 1920, 1080}, 29},                           // at 28 the tenth shaft would end at x = 1952
        {{10, 10, 1280, 800}, 34},  {{2, 20, 1024, 768}, 43}, // at 42 the top floor's car would start above the window
        {{10, 10, 1024, 768}, 52},  // past the stored scales' largest, 50: a fit is never stored
        {{10, 10, 1080, 1920}, 53}, // portrait: at 50 the tenth shaft is cut
        {{2, 24, 1024, 768}, 52},   // the top floors need room above
        {{2, 25, 1024, 768}, 54},   {{10, 25, 1920, 1080}, 54},
        {{10, 10, 634, 356}, 28},   // the daemon's preview: the ground line moves up into view
        {{4, 10, 1920, 400}, 25},   // wide and short
        {{10, 10, 1170, 2532}, 51}, // a phone in portrait
    };
    for (const auto& test : cases) {
        const Window& window = test.window;
        const SceneFit fit =
            FitScene(window.cars, window.floors, {window.width, window.height, LEGEND_WIDTH, LEGEND_HEIGHT});
        // Globals set to values no fit gives: the fit must leave them as they are.
        g_scale = 37;
        g_screenFactor = 7;
        const SceneFit again =
            FitScene(window.cars, window.floors, {window.width, window.height, LEGEND_WIDTH, LEGEND_HEIGHT});
        EXPECT_EQ(g_scale, 37) << "the fit changes no global";
        EXPECT_EQ(g_screenFactor, 7) << "the fit changes no global";
        EXPECT_EQ(again.scale, fit.scale) << "the globals change no fit";
        EXPECT_EQ(fit.scale, test.scale) << window.width << "x" << window.height << " floors " << window.floors;
        EXPECT_TRUE(DrawnInside(window, fit)) << window.width << "x" << window.height;
        if (fit.scale > 25) {
            EXPECT_FALSE(DrawnInside(window, {fit.scale - 1, fit.screenFactor}))
                << window.width << "x" << window.height;
        }
    }
}

// At every height, with the legend (which then lies lowest) and without: a fit one pixel off
// would put the lowest row just below the window at some height.
TEST(SceneFitTest, NothingDrawnFallsBelowTheWindowsLastRow)
{
    for (const int32_t legendHeight : {LEGEND_HEIGHT, 0}) {
        for (int32_t height = 300; height <= 1100; ++height) {
            const Window window{10, 10, 1024, height};
            const SceneFit fit = FitScene(window.cars, window.floors,
                                          {window.width, height, legendHeight > 0 ? LEGEND_WIDTH : 0, legendHeight});
            ASSERT_TRUE(DrawnInside(window, fit, legendHeight)) << "height " << height << ", legend " << legendHeight;
        }
    }
}

TEST(SceneFitTest, WhereNothingFitsTheSmallestReadableDrawingIsUsed)
{
    // 25 floors in a window 200 pixels high: even a floor of ten pixels leaves the top floors out.
    const Window window{2, 25, 1920, 200};
    const SceneFit fit =
        FitScene(window.cars, window.floors, {window.width, window.height, LEGEND_WIDTH, LEGEND_HEIGHT});
    EXPECT_EQ(fit.screenFactor, CScene::GetScreenFactorForSize(window.width, window.height));
    EXPECT_EQ(fit.scale, GetLargestReadableScale(fit.screenFactor));
    EXPECT_EQ(MapToDevice(100, fit.scale, fit.screenFactor), 10) << "a floor ten pixels tall";
    EXPECT_FALSE(DrawnInside(window, fit));
}

TEST(SceneFitTest, ATallerLegendLowersTheBuildingAndNoLegendNeedsNoRoom)
{
    // At 1024 x 768 the ground line lies 8 pixels above the window's bottom, and the legend sits
    // just above it: a line 30 pixels high only fits once the whole drawing is smaller.
    const int32_t ownFactor = CScene::GetScreenFactorForSize(1024, 768);
    const SceneFit tall = FitScene(2, 10, {1024, 768, 450, 30});
    EXPECT_LT(tall.screenFactor, ownFactor);
    EXPECT_EQ(FitScene(2, 10, {1024, 768, 0, 0}).screenFactor, ownFactor);
    const SceneFit narrow = FitScene(2, 10, {1024, 768, 1100, 13});
    EXPECT_EQ(narrow.scale, GetLargestReadableScale(ownFactor)) << "a legend wider than the window never fits";
}

// A front end fits with its legend as measured in its own font, and measures none while the
// legend is off: at 1024 x 768 a legend 30 pixels high only fits once the drawing is smaller.
TEST(SceneFitTest, AFrontEndFitsWithTheLegendItMeasures)
{
    const int32_t ownFactor = CScene::GetScreenFactorForSize(1024, 768);
    for (const int32_t legend : {1, 0}) {
        CMemoryStore store;
        ViewSettings settings = LoadViewSettings(store);
        settings.legend = legend;
        const CScene scene(settings);
        int32_t measured = 0;
        FitSceneToWindow(scene, true, 1024, 768, [&](const char*, int32_t, int32_t& width, int32_t& height) {
            ++measured;
            width = 450;
            height = 30;
        });
        EXPECT_EQ(measured, legend);
        EXPECT_EQ(g_screenFactor < ownFactor, legend == 1) << "legend " << legend;
    }
    RestartScene();
}

} // namespace
