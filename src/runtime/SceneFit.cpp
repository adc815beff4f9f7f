#include "SceneFit.h"

#include "settings/SettingsTable.h"
#include "view/Scene.h"

namespace {

// `legend`: the legend must show, and lie inside. A drawing so small that the scene leaves the
// legend out does not count as fitting it.
bool Fits(int32_t scale, int32_t screenFactor, int32_t cars, int32_t floors, const FitArea& area, bool legend)
{
    const SceneExtent extent = CScene::MeasureScene(scale, screenFactor, cars, floors);
    if (extent.shaftsRight >= area.width || extent.top < 0 || extent.bottom >= area.height)
        return false;
    if (!legend)
        return true;
    return CScene::LegendFits(screenFactor) && extent.legendX + area.legendWidth <= area.width &&
           extent.legendY + area.legendHeight <= area.height;
}

} // namespace

int32_t GetLargestReadableScale(int32_t screenFactor)
{
    const int32_t largest = FLOOR_HEIGHT * screenFactor / MIN_FLOOR_PIXELS;
    return largest > Setting::Scale.defaultValue ? largest : Setting::Scale.defaultValue;
}

SceneFit FitScene(int32_t cars, int32_t floors, const FitArea& area)
{
    const int32_t ownFactor = CScene::GetScreenFactorForSize(area.width, area.height);
    // A window too small for the legend at its own size has none to fit.
    const bool legend = area.legendHeight > 0 && CScene::LegendFits(ownFactor);
    for (int32_t screenFactor = ownFactor; screenFactor >= 1; --screenFactor) {
        const int32_t largest = GetLargestReadableScale(screenFactor);
        for (int32_t scale = Setting::Scale.defaultValue; scale <= largest; ++scale) {
            if (Fits(scale, screenFactor, cars, floors, area, legend))
                return {scale, screenFactor};
        }
    }
    return {GetLargestReadableScale(ownFactor), ownFactor};
}

void ApplySceneFit(const SceneFit& fit)
{
    g_scale = fit.scale;
    g_screenFactor = fit.screenFactor;
}
