#include "ScaleFit.h"

#include "settings/SettingsTable.h"
#include "view/Scene.h"

int32_t FitScale(int32_t cars, int32_t floors, int32_t width, int32_t height)
{
    CScene::SetScreenFactorFromSize(width, height);
    const int32_t previous = g_scale;
    int32_t fitting = Setting::Scale.defaultValue;
    for (int32_t scale = Setting::Scale.defaultValue; scale <= Setting::Scale.maximum; ++scale) {
        g_scale = scale;
        if (CScene::ShaftsFit(cars, floors, width, height)) {
            fitting = scale;
            break;
        }
    }
    g_scale = previous;
    return fitting;
}
