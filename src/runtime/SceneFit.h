#pragma once
#include <cstdint>

#include "view/Scene.h"

// A window's drawing area in device pixels and the legend line's size in the surface's font
// (0 x 0 when the legend is off).
struct FitArea {
    int32_t width;
    int32_t height;
    int32_t legendWidth;
    int32_t legendHeight;
};

// The scale and the screen factor a window draws the building with.
struct SceneFit {
    int32_t scale;
    int32_t screenFactor;
};

// The drawing for a window when the user named no scale, fitted again on every resize: the
// smallest scale from the settings' default up at which every lift shaft, floor 1 and the legend
// lie wholly inside the area. A fitted scale is never stored, so it may go past the settings'
// largest where a narrow window needs it, up to the largest at which the building stays readable
// (GetLargestReadableScale). Where the ground line itself lies below a short window, the screen
// factor is lowered until it fits. When nothing fits, the smallest drawing the fit allows: the
// window's own screen factor at the largest readable scale. Reads and changes no global.
SceneFit FitScene(int32_t cars, int32_t floors, const FitArea& area);

// A floor must stay at least this many pixels tall: below it a person's bar (two fifths of a
// floor) is under four pixels and merges with the car beside it, and the building reads as
// stripes. So the largest readable scale is the one at which a floor is this tall.
constexpr int32_t MIN_FLOOR_PIXELS = 10;
int32_t GetLargestReadableScale(int32_t screenFactor);

// Sets the scene's process-wide scale and screen factor to the fit, as a paint of that window
// needs them.
void ApplySceneFit(const SceneFit& fit);

// How every front end sets the drawing for a window of this size: with no scale given, the fit,
// the legend line measured by `measure(text, length, width, height)` in the front end's own font
// (none while the legend is off); with a scale the user gave, only the screen factor follows.
template <typename MeasureText>
void FitSceneToWindow(const CScene& scene, bool fitScale, int32_t width, int32_t height, MeasureText measure)
{
    if (!fitScale) {
        CScene::SetScreenFactorFromSize(width, height);
        return;
    }
    FitArea area{width, height, 0, 0};
    if (scene.m_legend != 0) {
        char legend[128];
        measure(legend, scene.FormatLegend(legend, sizeof legend), area.legendWidth, area.legendHeight);
    }
    ApplySceneFit(FitScene(g_liftCount, scene.m_floors, area));
}
