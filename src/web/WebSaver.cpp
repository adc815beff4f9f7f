#include "WebSaver.h"

#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>

#include "CanvasResolution.h"
#include "runtime/SceneFit.h"

namespace {
// The legend's line height against the screen factor: 13 pixels at 1024 x 768, and in proportion
// to the building on any other screen, so the line always fits beside it; but never below what
// can be read at arm's length on a phone, where the line wraps instead.
constexpr int32_t FONT_PER_FACTOR_NUMERATOR = 4, FONT_PER_FACTOR_DENOMINATOR = 5;
constexpr double MIN_FONT_CSS_PIXELS = 11;

// `canvasRatio`: canvas pixels per CSS pixel.
int32_t GetFontPixels(int32_t screenFactor, double canvasRatio)
{
    const int32_t proportional = screenFactor * FONT_PER_FACTOR_NUMERATOR / FONT_PER_FACTOR_DENOMINATOR;
    const auto smallest = static_cast<int32_t>(std::ceil(MIN_FONT_CSS_PIXELS * canvasRatio));
    return proportional > smallest ? proportional : smallest;
}

EM_BOOL OnWindowResize(int, const EmscriptenUiEvent*, void* saver)
{
    static_cast<CWebSaver*>(saver)->OnSize();
    return EM_FALSE;
}
} // namespace

CWebSaver::CWebSaver(const char* selector, const CDisplayOptions& options)
    : m_selector{}, m_options(options), m_scene(GetViewSettings(options)), m_surface(),
      m_scheduler(options.GetLiftInterval(), options.m_passInterval, GetMonotonicMs(), true), m_browserTimer(0),
      m_width(0), m_height(0), m_canvasRatio(1), m_textScale(1), m_frozen(false), m_reference()
{
    std::snprintf(m_selector, sizeof m_selector, "%s", selector);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, OnWindowResize);
    OnSize();
    RunDuePasses();
}

void CWebSaver::OnSize()
{
    double cssWidth = 0;
    double cssHeight = 0;
    emscripten_get_element_css_size(m_selector, &cssWidth, &cssHeight);
    const double deviceRatio = emscripten_get_device_pixel_ratio();
    const double ratio = GetCanvasPixelRatio(cssWidth, cssHeight, deviceRatio);
    const int32_t width = static_cast<int32_t>(std::lround(cssWidth * ratio));
    const int32_t height = static_cast<int32_t>(std::lround(cssHeight * ratio));
    if (width == m_width && height == m_height && ratio == m_canvasRatio && deviceRatio / ratio == m_textScale)
        return;
    m_width = width;
    m_height = height;
    m_canvasRatio = ratio;
    m_textScale = deviceRatio / ratio;
    ApplySize();
    Repaint();
}

void CWebSaver::ApplySize()
{
    const int32_t ownFactor = CScene::GetScreenFactorForSize(m_width, m_height);
    CCanvasSurface::SetSize(m_width, m_height, GetFontPixels(ownFactor, m_canvasRatio), m_canvasRatio, m_textScale);
    FitSceneToWindow(m_scene, m_options.m_fitScale, m_width, m_height, CCanvasSurface::MeasureText);
    // A drawing made smaller to fit has its legend in a smaller font, as a smaller window has.
    if (g_screenFactor != ownFactor)
        CCanvasSurface::SetSize(m_width, m_height, GetFontPixels(g_screenFactor, m_canvasRatio), m_canvasRatio,
                                m_textScale);
}

void CWebSaver::MeasureLegend(int32_t& width, int32_t& height) const
{
    char legend[128];
    CCanvasSurface::MeasureText(legend, m_scene.FormatLegend(legend, sizeof legend), width, height);
}

void CWebSaver::ShowExtent()
{
    const SceneExtent extent = CScene::MeasureScene(g_scale, g_screenFactor, g_liftCount, m_scene.m_floors);
    int32_t bottom = extent.bottom;
    if (m_scene.m_legend != 0 && CScene::LegendFits(g_screenFactor)) {
        int32_t width = 0;
        int32_t height = 0;
        MeasureLegend(width, height);
        bottom = extent.legendY + height > bottom ? extent.legendY + height : bottom;
    }
    CCanvasSurface::ShowExtent(g_scale, g_screenFactor, bottom);
}

bool CWebSaver::Set(const char* name, const char* value)
{
    const PageSetting* setting = SetPageOption(m_options, name, value);
    if (setting == nullptr)
        return false;
    Apply(setting->setter);
    // The lifts, the floors, the scale and the legend all change what fits.
    ApplySize();
    Repaint();
    return true;
}

void CWebSaver::Apply(PageSetter setter)
{
    const CDisplayOptions& options = m_options;
    const ViewSettings settings = GetViewSettings(options);
    switch (setter) {
    case PageSetter::PEOPLE:
        m_scene.SetPeople(settings.people);
        break;
    case PageSetter::CARS:
        m_scene.SetCars(settings.cars);
        break;
    case PageSetter::CAPACITY:
        m_scene.SetCapacity(settings.capacity);
        break;
    case PageSetter::DRIVER:
        m_scene.SetDriver(settings.driver, 0);
        break;
    case PageSetter::SCALE:
        m_scene.SetScale(settings.scale);
        break;
    case PageSetter::BACK_COLOUR:
        m_scene.SetBackColour(settings.backColour);
        break;
    case PageSetter::COLOURS:
        m_scene.SetColours(settings.colours);
        break;
    case PageSetter::LEGEND:
        m_scene.SetLegend(settings.legend);
        break;
    case PageSetter::SPEED:
        SetTimer(Pass::LIFTS, LiftPeriodFromSpeed(settings.updateSpeed));
        break;
    case PageSetter::CUSTOM:
        m_scene.SetCustom(settings.floors, settings.liftPause, settings.passPause, settings.passInterval,
                          settings.temper);
        // The page has no window to create again: a new people tick takes effect at once.
        SetTimer(Pass::PEOPLE, settings.passInterval);
        break;
    }
}

void CWebSaver::SetTimer(Pass pass, int32_t period)
{
    m_scheduler.SetPeriod(pass, period, GetMonotonicMs());
    RunDuePasses();
}

void CWebSaver::Repaint()
{
    // The page repaints on every change of size or setting: the whole building at once, as a
    // fresh start with these settings shows it, rather than as the cars and timers come by.
    m_scene.DrawWhole(m_surface, m_width, m_height);
    ShowExtent();
}

void CWebSaver::Freeze(bool frozen)
{
    m_frozen = frozen;
    m_reference.reset();
    if (!frozen)
        return;
    m_reference = std::make_unique<CImageSurface>(m_width, m_height);
    m_scene.DrawWhole(*m_reference, m_width, m_height);
}

void CWebSaver::RunDuePasses()
{
    if (!m_frozen)
        ::RunDuePasses(m_scheduler, m_scene, m_surface, nullptr, false, GetMonotonicMs());
    if (m_browserTimer != 0)
        emscripten_clear_timeout(m_browserTimer);
    m_browserTimer = emscripten_set_timeout(OnTimer, static_cast<double>(m_scheduler.GetWait(GetMonotonicMs())), this);
}

void CWebSaver::OnTimer(void* saver)
{
    CWebSaver& self = *static_cast<CWebSaver*>(saver);
    self.m_browserTimer = 0;
    self.RunDuePasses();
}
